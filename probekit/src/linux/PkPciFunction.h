#pragma once
#include <QString>

// One network function on the PCI bus, as sysfs shows it.
struct PkPciFunction {
    QString address; // "0000:03:00.1"
    QString path;    // its directory
    int domain = 0, bus = 0, device = 0, function = 0;
    quint32 vendorId = 0, deviceId = 0, subsystemVendorId = 0, subsystemId = 0;
    quint32 revision = 0, irq = 0;
    quint64 ioBase = 0, memBase = 0;
    quint32 cacheLineSize = 0, latency = 0, linkWidth = 0;
    QString linkSpeed;  // "8.0 GT/s", empty for conventional PCI
    QString interface;  // "eth0", empty when no driver made one
    QString netDir;     // the interface's directory
    QString driver;     // the network driver, else the PCI one
    QString hwmonDir;   // empty without sensors
    QString vpdPath;    // empty without VPD
};
