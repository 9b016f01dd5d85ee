// Fuzz target: the echo reply decoder, fed any datagram. The first byte
// chooses the socket kind (odd: raw, the datagram begins with an IPv4
// header), the next four the identifier and sequence looked for, in machine
// order; the rest is the datagram.
#include "net/TvPing.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

template <typename T>
T fieldAt(const uint8_t *at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// What the decoder accepted, checked on its own: an echo reply with our
// identifier and sequence, long enough to carry the stamp it gave.
void checkAccepted(const uint8_t *datagram, size_t size, bool raw, quint16 identifier,
                   quint16 sequence, quint32 stamp)
{
    const size_t offset = raw ? size_t(datagram[0] & 0x0f) * 4 : 0;
    if ((raw && (offset < 20 || datagram[0] >> 4 != 4)) || size < offset + 12
        || datagram[offset] != TvPing::EchoReply
        || fieldAt<quint16>(datagram + offset + 4) != identifier
        || fieldAt<quint16>(datagram + offset + 6) != sequence
        || fieldAt<quint32>(datagram + offset + 8) != stamp)
        __builtin_trap();
}

// Our own request, answered in kind, decodes to its own stamp, and its
// checksum sums the whole request to zero.
void checkOwnRequest(quint16 identifier, quint16 sequence, quint32 stamp)
{
    QByteArray request = TvPing::echoRequest(identifier, sequence, stamp);
    if (request.size() != TvPing::RequestSize || TvPing::checksum(request.constData(), size_t(request.size())) != 0)
        __builtin_trap();
    request[0] = char(TvPing::EchoReply);
    quint32 back = ~stamp;
    if (!TvPing::decodeReply(reinterpret_cast<const uint8_t *>(request.constData()), size_t(request.size()),
                             false, identifier, sequence, &back)
        || back != stamp)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5)
        return 0;
    const bool raw = data[0] & 1;
    const quint16 identifier = fieldAt<quint16>(data + 1);
    const quint16 sequence = fieldAt<quint16>(data + 3);
    const uint8_t *datagram = data + 5;
    const size_t length = size - 5;
    quint32 stamp = 0;
    if (TvPing::decodeReply(datagram, length, raw, identifier, sequence, &stamp))
        checkAccepted(datagram, length, raw, identifier, sequence, stamp);
    TvPing::checksum(reinterpret_cast<const char *>(datagram), length);
    checkOwnRequest(identifier, sequence, quint32(length) * 2654435761u);
    return 0;
}
