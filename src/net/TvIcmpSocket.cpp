#include "TvIcmpSocket.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

TvIcmpSocket::TvIcmpSocket()
{
    descriptor = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (descriptor >= 0) {
        socketKind = Raw;
        return;
    }
    rawErrno = errno;
    descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (descriptor >= 0) {
        socketKind = Datagram;
        return;
    }
    datagramErrno = errno;
}

TvIcmpSocket::~TvIcmpSocket()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

bool TvIcmpSocket::setTimeout(int option, std::chrono::microseconds timeout)
{
    // A zero time would mean "wait for ever" to the kernel.
    const qint64 micros = qMax<qint64>(timeout.count(), 1);
    timeval value{};
    value.tv_sec = time_t(micros / 1000000);
    value.tv_usec = suseconds_t(micros % 1000000);
    return ::setsockopt(descriptor, SOL_SOCKET, option, &value, sizeof value) == 0;
}

bool TvIcmpSocket::setReceiveTimeout(std::chrono::microseconds timeout)
{
    return setTimeout(SO_RCVTIMEO, timeout);
}

bool TvIcmpSocket::setSendTimeout(std::chrono::microseconds timeout)
{
    return setTimeout(SO_SNDTIMEO, timeout);
}

bool TvIcmpSocket::bindTo(in_addr source)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr = source;
    return ::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

quint16 TvIcmpSocket::identifier(quint16 requested) const
{
    if (socketKind != Datagram)
        return requested;
    // The ping socket's port is the identifier, in the byte order the
    // kernel writes into the message.
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(descriptor, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return requested;
    quint16 value = 0;
    std::memcpy(&value, &address.sin_port, sizeof value);
    return value;
}

ssize_t TvIcmpSocket::sendTo(const QByteArray &datagram, in_addr destination)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr = destination;
    return ::sendto(descriptor, datagram.constData(), size_t(datagram.size()), 0,
                    reinterpret_cast<const sockaddr *>(&address), sizeof address);
}

ssize_t TvIcmpSocket::receive(uchar *buffer, size_t size)
{
    return ::recv(descriptor, buffer, size, 0);
}
