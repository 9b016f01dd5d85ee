#pragma once
#include <QByteArray>

// The first IPv4 address of a network interface, its mask, and whether it
// was configured statically: the kernel marks such an address permanent,
// while one from DHCP carries a lifetime.
class PkNetAddress
{
public:
    // False when the interface has no IPv4 address.
    static bool lookup(const QByteArray &interface, QByteArray *address, QByteArray *mask, bool *isStatic);

private:
    static bool permanent(unsigned interfaceIndex, const void *address);
};
