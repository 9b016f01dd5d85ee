#include "PkNetAddress.h"
#include "PkFileReader.h"
#include "PkLog.h"
#include "PkSysfs.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

#include <cstring>

#include <arpa/inet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray text(const sockaddr *address)
{
    char buffer[INET_ADDRSTRLEN] = {};
    const auto *in = reinterpret_cast<const sockaddr_in *>(address);
    return inet_ntop(AF_INET, &in->sin_addr, buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

// A netlink socket that has asked the kernel for its IPv4 addresses
// (RTM_GETADDR dump); -1 when it could not be opened or asked.
int requestAddressDump()
{
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0)
        return -1;
    struct {
        nlmsghdr header;
        ifaddrmsg body;
    } request;
    std::memset(&request, 0, sizeof request);
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ifaddrmsg));
    request.header.nlmsg_type = RTM_GETADDR;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.body.ifa_family = AF_INET;
    if (::send(fd, &request, request.header.nlmsg_len, 0) < 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool PkNetAddress::lookup(const QByteArray &interface, QByteArray *address, QByteArray *mask, bool *isStatic)
{
    // A replayed capture's interfaces are not this machine's: an address
    // found here under the same name would be shown as theirs.
    const QString capture = QFile::decodeName(qgetenv("PROBEKIT_REPLAY"));
    if (!capture.isEmpty())
        return replayed(capture, interface, address, mask, isStatic);
    // The same dump a capture records, read the same way: the live view and
    // its replay cannot tell different stories.
    return !interface.isEmpty() && fromDump(dump(interface), address, mask, isStatic);
}

// <capture>/netlink/<interface>/RTM_GETADDR; none means no address.
bool PkNetAddress::replayed(const QString &capture, const QByteArray &interface, QByteArray *address,
                            QByteArray *mask, bool *isStatic)
{
    if (interface.isEmpty() || interface.contains('/') || interface == "." || interface == "..")
        return false;
    const QString path = capture + QStringLiteral("/netlink/") + QFile::decodeName(interface)
        + QStringLiteral("/RTM_GETADDR");
    if (!QFileInfo::exists(path))
        return false;
    if (!PkSysfs::within(capture, path)) {
        PkLog::line("Capture " + QFile::encodeName(path) + " refused: it leads outside the capture");
        return false;
    }
    QByteArray dump, why;
    if (PkFileReader::readAll(path, MaxDumpBytes, &dump, &why) != PkFileReader::Read) {
        PkLog::line("Capture " + QFile::encodeName(path) + " refused: " + why);
        return false;
    }
    if (!fromDump(dump, address, mask, isStatic)) {
        PkLog::line("Capture " + QFile::encodeName(path) + ": no IPv4 address in a well-formed RTM_NEWADDR message");
        return false;
    }
    return true;
}

bool PkNetAddress::fromDump(const QByteArray &dump, QByteArray *address, QByteArray *mask, bool *isStatic)
{
    // Aligned as the kernel's messages are.
    std::vector<nlmsghdr> copy(size_t(dump.size()) / sizeof(nlmsghdr) + 1);
    std::memcpy(copy.data(), dump.constData(), size_t(dump.size()));
    int left = dump.size();
    for (const nlmsghdr *message = copy.data(); NLMSG_OK(message, left); message = NLMSG_NEXT(message, left)) {
        if (message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR)
            break;
        if (message->nlmsg_type != RTM_NEWADDR || message->nlmsg_len < NLMSG_LENGTH(sizeof(ifaddrmsg)))
            continue;
        const auto *info = static_cast<const ifaddrmsg *>(NLMSG_DATA(message));
        if (info->ifa_family != AF_INET || info->ifa_prefixlen > 32)
            continue;
        quint32 flags = info->ifa_flags;
        const void *local = nullptr, *peer = nullptr;
        int length = int(IFA_PAYLOAD(message));
        for (const rtattr *attribute = IFA_RTA(info); RTA_OK(attribute, length);
             attribute = RTA_NEXT(attribute, length)) {
            if (RTA_PAYLOAD(attribute) < 4)
                continue;
            if (attribute->rta_type == IFA_LOCAL)
                local = RTA_DATA(attribute);
            else if (attribute->rta_type == IFA_ADDRESS)
                peer = RTA_DATA(attribute);
            else if (attribute->rta_type == IFA_FLAGS)
                std::memcpy(&flags, RTA_DATA(attribute), 4);
        }
        if (!local && !peer)
            continue;
        sockaddr_in in {};
        in.sin_family = AF_INET;
        std::memcpy(&in.sin_addr, local ? local : peer, 4);
        *address = text(reinterpret_cast<const sockaddr *>(&in));
        in.sin_addr.s_addr = info->ifa_prefixlen ? htonl(~0u << (32 - info->ifa_prefixlen)) : 0;
        *mask = text(reinterpret_cast<const sockaddr *>(&in));
        *isStatic = flags & IFA_F_PERMANENT;
        return true;
    }
    return false;
}

QByteArray PkNetAddress::dump(const QByteArray &interface)
{
    const unsigned index = interface.isEmpty() ? 0 : if_nametoindex(interface.constData());
    const int fd = index ? requestAddressDump() : -1;
    if (fd < 0)
        return QByteArray();
    QByteArray out;
    bool done = false;
    alignas(nlmsghdr) char buffer[16384];
    while (!done && out.size() < MaxDumpBytes) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        int left = int(got);
        for (const auto *message = reinterpret_cast<const nlmsghdr *>(buffer); NLMSG_OK(message, left);
             message = NLMSG_NEXT(message, left)) {
            const int length = int(qMin<quint32>(NLMSG_ALIGN(message->nlmsg_len), quint32(left)));
            const bool ours = message->nlmsg_type == RTM_NEWADDR
                && message->nlmsg_len >= NLMSG_LENGTH(sizeof(ifaddrmsg))
                && static_cast<const ifaddrmsg *>(NLMSG_DATA(message))->ifa_index == index;
            done = message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR;
            if (ours || (done && !out.isEmpty()))
                out += QByteArray(reinterpret_cast<const char *>(message), length);
            if (done)
                break;
        }
    }
    ::close(fd);
    return out;
}
