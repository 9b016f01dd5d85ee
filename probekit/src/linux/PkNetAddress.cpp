#include "PkNetAddress.h"

#include <cstring>

#include <arpa/inet.h>
#include <ifaddrs.h>
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

// The flags of one address in a netlink address dump; IFA_FLAGS, when
// present, holds all 32 of them.
bool flagsOf(const nlmsghdr *message, unsigned interfaceIndex, const void *address, quint32 *flags)
{
    const auto *info = static_cast<const ifaddrmsg *>(NLMSG_DATA(message));
    if (info->ifa_family != AF_INET || info->ifa_index != interfaceIndex)
        return false;
    bool same = false;
    quint32 all = info->ifa_flags;
    int length = int(IFA_PAYLOAD(message));
    for (const rtattr *attribute = IFA_RTA(info); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == IFA_LOCAL || attribute->rta_type == IFA_ADDRESS)
            same = same || std::memcmp(RTA_DATA(attribute), address, 4) == 0;
        else if (attribute->rta_type == IFA_FLAGS && RTA_PAYLOAD(attribute) >= 4)
            std::memcpy(&all, RTA_DATA(attribute), 4);
    }
    if (same)
        *flags = all;
    return same;
}

} // namespace

bool PkNetAddress::lookup(const QByteArray &interface, QByteArray *address, QByteArray *mask, bool *isStatic)
{
    // A replayed capture's interfaces are not this machine's: an address
    // found here under the same name would be shown as theirs.
    if (!qEnvironmentVariableIsEmpty("PROBEKIT_REPLAY"))
        return false;
    ifaddrs *list = nullptr;
    if (interface.isEmpty() || getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (const ifaddrs *entry = list; entry && !found; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || interface != entry->ifa_name)
            continue;
        *address = text(entry->ifa_addr);
        *mask = entry->ifa_netmask ? text(entry->ifa_netmask) : QByteArray("0.0.0.0");
        const auto *in = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        *isStatic = permanent(if_nametoindex(entry->ifa_name), &in->sin_addr);
        found = true;
    }
    freeifaddrs(list);
    return found;
}

bool PkNetAddress::permanent(unsigned interfaceIndex, const void *address)
{
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0)
        return false;
    struct {
        nlmsghdr header;
        ifaddrmsg body;
    } request;
    std::memset(&request, 0, sizeof request);
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ifaddrmsg));
    request.header.nlmsg_type = RTM_GETADDR;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.body.ifa_family = AF_INET;
    quint32 flags = 0;
    bool seen = false, done = ::send(fd, &request, request.header.nlmsg_len, 0) < 0;
    alignas(nlmsghdr) char buffer[16384];
    while (!done) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        int left = int(got);
        for (const auto *message = reinterpret_cast<const nlmsghdr *>(buffer); NLMSG_OK(message, left);
             message = NLMSG_NEXT(message, left)) {
            if (message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR)
                done = true;
            else if (message->nlmsg_type == RTM_NEWADDR && !seen)
                seen = flagsOf(message, interfaceIndex, address, &flags);
        }
    }
    ::close(fd);
    return seen && (flags & IFA_F_PERMANENT);
}
