#pragma once
#include <QtGlobal>

// One supported PCI identity; a device ID of 0 stands for every device of the vendor.
struct PciIdEntry {
    quint32 vendorId = 0;
    quint32 deviceId = 0;
};
// Kept inside the list's own array rather than one allocation per entry.
Q_DECLARE_TYPEINFO(PciIdEntry, Q_PRIMITIVE_TYPE);
