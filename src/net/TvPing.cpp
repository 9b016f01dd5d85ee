#include "TvPing.h"
#include "TvIcmpSocket.h"

#include "platform/TvPlatform.h"
#include "text/TvText.h"

#include <QRegularExpression>

#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const char Context[] = "TvPing";
constexpr size_t IcmpHeaderSize = 8;
constexpr size_t TimestampSize = 4;
constexpr size_t MinIpHeaderSize = 20;
// The longest IPv4 header (60 bytes) in front of a whole reply, and room to
// spare for other datagrams, which are cut here without harm.
constexpr size_t ReplyBufferSize = 256;
constexpr int MaxHostNameLength = 253;

template <typename T>
T readField(const uint8_t *at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void writeField(char *at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

// A text of only digits and dots is meant as an address; asking the name
// service about a malformed one such as 999.1.1.1 would only cost time.
bool looksNumeric(const QString &host)
{
    static const QRegularExpression numeric(QStringLiteral("^[0-9.]+$"));
    return numeric.match(host).hasMatch();
}

bool resolve(const QString &host, in_addr *address)
{
    const QByteArray name = host.toUtf8();
    if (name.isEmpty() || name.size() > MaxHostNameLength || name.contains('\0'))
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = looksNumeric(host) ? AI_NUMERICHOST : 0;
    addrinfo *found = nullptr;
    if (::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return false;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, ::freeaddrinfo);
    *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr;
    return true;
}

bool isPermissionError(int error)
{
    return error == EPERM || error == EACCES;
}

QString socketExplanation(const TvIcmpSocket &socket)
{
    const QString raw = qt_error_string(socket.rawError());
    const QString datagram = qt_error_string(socket.datagramError());
    if (isPermissionError(socket.rawError()) && isPermissionError(socket.datagramError()))
        return TvText::translate(Context, "PING_NOT_PERMITTED %1 %2 %3")
            .arg(raw, datagram).arg(::getegid());
    return TvText::translate(Context, "PING_SOCKET_FAILED %1 %2").arg(raw, datagram);
}

// Reads datagrams until the reply to our request comes or the deadline
// passes. On a raw socket the host's own echo requests and other programs'
// ICMP arrive too, so the first datagram is not necessarily the answer.
int awaitReply(TvIcmpSocket &socket, quint16 identifier, Clock::time_point deadline)
{
    uint8_t buffer[ReplyBufferSize];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return TvPing::ReceiveFailed;
        if (!socket.setReceiveTimeout(left))
            return TvPing::TimeoutFailed;
        const ssize_t received = socket.receive(buffer, sizeof buffer);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            return TvPing::ReceiveFailed;
        }
        quint32 timestamp = 0;
        if (!TvPing::decodeReply(buffer, size_t(received), socket.kind() == TvIcmpSocket::Raw,
                                 identifier, TvPing::Sequence, &timestamp))
            continue;
        // The tick count wraps; a stamp from the future is not ours.
        const quint32 elapsed = TvPlatform::tickCount() - timestamp;
        if (elapsed <= quint32(INT_MAX))
            return int(elapsed);
    }
}

} // namespace

const char TvPing::Payload[] = "network diagnostics pkt.";
static_assert(sizeof TvPing::Payload - 1 == TvPing::RequestSize - IcmpHeaderSize - TimestampSize,
              "the payload fills the request");

int TvPing::ping(const QString &source, const QString &destination, int timeoutMs,
                 QString *explanation)
{
    if (source.isEmpty() || destination.isEmpty())
        return MissingAddress;
    const QString host = destination.section(QLatin1Char(':'), 0, 0);
    TvIcmpSocket socket;
    if (socket.kind() == TvIcmpSocket::Closed) {
        if (explanation)
            *explanation = socketExplanation(socket);
        return SocketFailed;
    }
    const std::chrono::milliseconds wait(qMax(timeoutMs, 1));
    if (!socket.setReceiveTimeout(wait) || !socket.setSendTimeout(std::chrono::milliseconds(SendTimeoutMs)))
        return TimeoutFailed;
    in_addr target{};
    if (!resolve(host, &target))
        return ResolveFailed;
    in_addr from{};
    if (::inet_aton(source.toLatin1().constData(), &from) == 0 || !socket.bindTo(from))
        return BindFailed;
    const quint16 identifier = socket.identifier(quint16(TvPlatform::processId()));
    const QByteArray request = echoRequest(identifier, Sequence, TvPlatform::tickCount());
    if (socket.sendTo(request, target) < 0) {
        // No route, a network that is down: the system's own words.
        if (explanation)
            *explanation = qt_error_string(errno);
        return SendFailed;
    }
    return awaitReply(socket, identifier, Clock::now() + wait);
}

QByteArray TvPing::echoRequest(quint16 identifier, quint16 sequence, quint32 timestamp)
{
    QByteArray request(RequestSize, '\0');
    char *at = request.data();
    at[0] = char(EchoRequest);
    writeField(at + 4, identifier);
    writeField(at + 6, sequence);
    writeField(at + 8, timestamp);
    std::memcpy(at + IcmpHeaderSize + TimestampSize, Payload, sizeof Payload - 1);
    writeField(at + 2, checksum(at, RequestSize));
    return request;
}

quint16 TvPing::checksum(const char *data, size_t size)
{
    quint64 sum = 0;
    size_t i = 0;
    for (; i + 1 < size; i += 2)
        sum += readField<quint16>(reinterpret_cast<const uint8_t *>(data + i));
    if (i < size)
        sum += quint8(data[i]);
    while (sum >> 16)
        sum = (sum >> 16) + (sum & 0xffff);
    return quint16(~sum);
}

bool TvPing::decodeReply(const uint8_t *data, size_t size, bool withIpHeader,
                         quint16 identifier, quint16 sequence, quint32 *timestamp)
{
    size_t offset = 0;
    if (withIpHeader) {
        if (size < MinIpHeaderSize || (data[0] >> 4) != 4)
            return false;
        offset = size_t(data[0] & 0x0f) * 4;
        if (offset < MinIpHeaderSize)
            return false;
    }
    if (size < offset + IcmpHeaderSize + TimestampSize)
        return false;
    const uint8_t *icmp = data + offset;
    if (icmp[0] != EchoReply || readField<quint16>(icmp + 4) != identifier
        || readField<quint16>(icmp + 6) != sequence)
        return false;
    *timestamp = readField<quint32>(icmp + IcmpHeaderSize);
    return true;
}
