#pragma once
#include <QByteArray>
#include <QtGlobal>

#include <chrono>
#include <netinet/in.h>
#include <sys/types.h>

// One IPv4 ICMP socket, closed when the object goes away so that no return
// path of a ping can leak it.
//
// A raw socket needs CAP_NET_RAW; without it the kernel's unprivileged ping
// socket is used, which net.ipv4.ping_group_range allows per group. The two
// differ in what they hand back: a raw socket delivers every ICMP datagram
// to this host with its IP header, a ping socket only the echo replies
// addressed to it, without the IP header, and the kernel chooses the echo
// identifier itself.
class TvIcmpSocket
{
public:
    enum Kind { Closed, Raw, Datagram };

    TvIcmpSocket();
    ~TvIcmpSocket();
    TvIcmpSocket(const TvIcmpSocket &) = delete;
    TvIcmpSocket &operator=(const TvIcmpSocket &) = delete;

    Kind kind() const { return socketKind; }
    // errno of the failed attempts to open either kind (0 when not tried).
    int rawError() const { return rawErrno; }
    int datagramError() const { return datagramErrno; }

    bool setReceiveTimeout(std::chrono::microseconds timeout);
    bool setSendTimeout(std::chrono::microseconds timeout);
    bool bindTo(in_addr source);
    // The identifier the echo replies will carry, as its two bytes read in
    // machine order: ours for a raw socket, the kernel's for a ping socket
    // (known once bound).
    quint16 identifier(quint16 requested) const;
    ssize_t sendTo(const QByteArray &datagram, in_addr destination);
    // Like recv(): the bytes received or -1 with errno set.
    ssize_t receive(uchar *buffer, size_t size);

private:
    bool setTimeout(int option, std::chrono::microseconds timeout);

    int descriptor = -1;
    Kind socketKind = Closed;
    int rawErrno = 0;
    int datagramErrno = 0;
};
