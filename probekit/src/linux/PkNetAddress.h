#pragma once
#include <QByteArray>
#include <QString>

// The first IPv4 address of a network interface, its mask, and whether it
// was configured statically: the kernel marks such an address permanent,
// while one from DHCP carries a lifetime.
class PkNetAddress
{
public:
    // False when the interface has no IPv4 address.
    static bool lookup(const QByteArray &interface, QByteArray *address, QByteArray *mask, bool *isStatic);
    // The same from a recorded RTM_GETADDR dump (the netlink messages as
    // the kernel sent them): the first IPv4 address in it. The dump is
    // untrusted: every length is checked before it is followed.
    static bool fromDump(const QByteArray &dump, QByteArray *address, QByteArray *mask, bool *isStatic);

    // The interface's part of the kernel's RTM_GETADDR dump (its
    // RTM_NEWADDR messages, then NLMSG_DONE), for a capture; empty when it
    // has no address.
    static QByteArray dump(const QByteArray &interface);

    // A capture's dump for one interface is no larger than this.
    static constexpr int MaxDumpBytes = 1024 * 1024;

private:
    static bool replayed(const QString &capture, const QByteArray &interface, QByteArray *address, QByteArray *mask,
                         bool *isStatic);
};
