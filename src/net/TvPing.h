#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// ICMP echo to one IPv4 host, for the connectivity test.
//
// ping() sends one echo request and waits for its reply. The request is
// 36 bytes: type 8, code 0, the Internet checksum, the identifier (low 16
// bits of the process id), sequence 0, the millisecond tick count when it
// was built and the 24 payload characters; the multi-byte fields are in
// machine order. The reply carries the tick count back, so the echo time is
// the tick count on arrival minus that.
//
// The pieces are public so that tests (and a fuzzer, for decodeReply) can
// reach them without a network.
class TvPing
{
public:
    // ping() results below zero; zero or more is the echo time in ms.
    enum Failure {
        MissingAddress = -1,
        SocketLibraryFailed = -2, // kept for the numbering; Linux has no library start
        SocketFailed = -3,
        TimeoutFailed = -4,
        ResolveFailed = -5,
        BindFailed = -6,
        SendFailed = -7,
        ReceiveFailed = -8,
        OutOfMemory = -9 // kept for the numbering; the buffers live on the stack
    };

    static constexpr int RequestSize = 36;
    static constexpr int SendTimeoutMs = 5000;
    static constexpr quint8 EchoReply = 0;
    static constexpr quint8 EchoRequest = 8;
    static constexpr quint16 Sequence = 0;
    static const char Payload[];

    // source: dotted IPv4 address to send from; destination: dotted IPv4
    // address or host name, anything from its first ":" on ignored;
    // timeoutMs: the whole wait for the reply after sending. Other ICMP
    // datagrams that arrive meanwhile are passed over. When no ICMP socket
    // can be opened (SocketFailed), *explanation receives a translated text
    // saying why and how ordinary users can be allowed to ping; when the
    // request cannot be sent (SendFailed), the system's reason (no route
    // to the host, a network that is down); it is left alone otherwise.
    // Safe to call from any thread.
    static int ping(const QString &source, const QString &destination, int timeoutMs,
                    QString *explanation = nullptr);

    static QByteArray echoRequest(quint16 identifier, quint16 sequence, quint32 timestamp);
    // RFC 1071: 16-bit words summed in machine order, an odd last byte
    // added as it is, carries folded, one's complement.
    static quint16 checksum(const char *data, size_t size);
    // Whether data[0, size) is the echo reply with this identifier and
    // sequence number (both as read in machine order); if so its carried
    // timestamp goes to *timestamp. withIpHeader: the datagram begins with
    // an IPv4 header (raw socket). Reads nothing outside the buffer, for
    // any bytes.
    static bool decodeReply(const uint8_t *data, size_t size, bool withIpHeader,
                            quint16 identifier, quint16 sequence, quint32 *timestamp);
};
