#pragma once
#include "PkLinuxAdapter.h"

#include <cstdint>

// The replies to the program's driver OIDs (see PkDriver) from the network
// driver of a real adapter: name and version from the driver, description
// from the PCI ID list, link from the driver, speed and duplex from the
// link settings, frame counters from the interface statistics. The date
// is never known.
class PkLinuxDriver
{
public:
    // 0, 7 (null buffer or size) or 32 (unknown OID, nothing to say,
    // buffer too small).
    static int query(const PkLinuxAdapter &adapter, uint32_t oid, void *buffer, uint32_t *size);

    // The program's speed and duplex codes (0 when there is none).
    static int speedCode(quint32 megabits);
    static int duplexCode(int duplex, bool autoneg);

private:
    static bool reply(const PkLinuxAdapter &adapter, uint32_t oid, QByteArray *data);
    static bool portBytes(const PkLinuxAdapter &adapter, uint32_t oid, QByteArray *data);
    static int portByte(const PkPciFunction &port, uint32_t oid);
    // Mb/s of the port's link, 0 when the driver does not say.
    static quint32 linkSpeed(const PkPciFunction &port);
    static bool counters(const PkLinuxAdapter &adapter, uint32_t oid, QByteArray *data);
};
