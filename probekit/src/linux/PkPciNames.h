#pragma once
#include <QByteArray>

// Vendor and device names from the PCI ID list of the pciutils data
// (pci.ids), when the machine has one.
class PkPciNames
{
public:
    // "Red Hat, Inc. Virtio 1.0 network device"; empty when unknown.
    static QByteArray describe(quint32 vendor, quint32 device);
};
