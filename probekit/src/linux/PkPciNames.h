#pragma once
#include <QByteArray>

// Adapter names from the system's PCI ID database (pci.ids) through
// libpci. A function the database does not know is named by its IDs, so
// that two unknown cards can still be told apart.
class PkPciNames
{
public:
    // "Red Hat, Inc. Virtio 1.0 network device"; with the subsystem's own
    // name in brackets when the database knows it; empty when the database
    // knows neither vendor nor device.
    static QByteArray describe(quint32 vendor, quint32 device, quint32 subVendor = 0, quint32 subDevice = 0);
    // describe(), else "Network adapter 8086:10C9 (subsystem 8086:A03C)".
    static QByteArray name(quint32 vendor, quint32 device, quint32 subVendor, quint32 subDevice);
};
