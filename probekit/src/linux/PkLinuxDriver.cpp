#include "PkLinuxDriver.h"
#include "PkDriver.h"
#include "PkEthtool.h"
#include "PkPciNames.h"
#include "PkSysfs.h"

#include <QtEndian>

namespace {

// Counters Linux keeps per interface, in the order of the six OIDs:
// frames sent, (multicast sent), (broadcast sent), frames received,
// multicast received, (broadcast received). Linux counts the bracketed
// ones with the first of their side, so they stay 0.
const char *const counterFiles[] = {"tx_packets", nullptr, nullptr, "rx_packets", "multicast", nullptr};

} // namespace

int PkLinuxDriver::query(const PkLinuxAdapter &adapter, uint32_t oid, void *buffer, uint32_t *size)
{
    if (!buffer || !size)
        return 7;
    QByteArray data;
    if (!reply(adapter, oid, &data))
        return 32;
    return PkDriver::deliver(data, buffer, size);
}

bool PkLinuxDriver::reply(const PkLinuxAdapter &adapter, uint32_t oid, QByteArray *data)
{
    const PkPciFunction &a = adapter.ports.first();
    PkEthtool::DriverInfo info;
    switch (oid) {
    case PkDriver::DriverName:
    case PkDriver::DriverVersion:
        if (PkEthtool(a.interface.toLocal8Bit()).driverInfo(&info) != 0)
            return false;
        *data = PkDriver::textReply(oid == PkDriver::DriverName ? info.driver : info.version);
        return true;
    case PkDriver::DriverDescription: {
        *data = PkDriver::textReply(PkPciNames::name(a.vendorId, a.deviceId, a.subsystemVendorId, a.subsystemId));
        return true;
    }
    case PkDriver::LinkState:
    case PkDriver::Duplex:
    case PkDriver::Speed:
        return portBytes(adapter, oid, data);
    default:
        break;
    }
    if (oid >= PkDriver::FirstCounter && oid <= PkDriver::LastCounter && (oid - PkDriver::FirstCounter) % 2 == 0)
        return counters(adapter, oid, data);
    return false;
}

bool PkLinuxDriver::portBytes(const PkLinuxAdapter &adapter, uint32_t oid, QByteArray *data)
{
    *data = QByteArray(16, '\0');
    for (int port = 0; port < 2 && port < adapter.ports.size(); ++port) {
        if (oid != PkDriver::Speed) {
            (*data)[1 + port] = char(portByte(adapter.ports.at(port), oid));
            continue;
        }
        // The codes end at 1000 Mb/s: the speed itself follows in the
        // reply's spare bytes, so that a faster link is shown as it is.
        const quint32 megabits = linkSpeed(adapter.ports.at(port));
        (*data)[1 + port] = char(speedCode(megabits));
        qToLittleEndian<quint32>(megabits, data->data() + PkDriver::SpeedMegabitsAt + 4 * port);
    }
    return true;
}

quint32 PkLinuxDriver::linkSpeed(const PkPciFunction &port)
{
    PkEthtool::LinkSettings settings;
    return PkEthtool(port.interface.toLocal8Bit()).linkSettings(&settings) == 0 ? settings.speed : 0;
}

int PkLinuxDriver::portByte(const PkPciFunction &port, uint32_t oid)
{
    const PkEthtool ethtool(port.interface.toLocal8Bit());
    bool up = false;
    if (ethtool.link(&up) != 0 && !port.netDir.isEmpty()) {
        // Without the driver's word, the carrier the kernel sees.
        up = PkSysfs::decimal(port.netDir + QStringLiteral("/carrier")).value_or(0) == 1;
    }
    if (oid == PkDriver::LinkState)
        return up ? PkDriver::LinkUp : PkDriver::LinkDown;
    PkEthtool::LinkSettings settings;
    if (ethtool.linkSettings(&settings) != 0)
        return 0;
    return oid == PkDriver::Speed ? speedCode(settings.speed) : duplexCode(settings.duplex, settings.autoneg);
}

int PkLinuxDriver::speedCode(quint32 megabits)
{
    switch (megabits) {
    case 10:
        return 2;
    case 100:
        return 3;
    case 1000:
        return 4;
    default:
        return 0;
    }
}

int PkLinuxDriver::duplexCode(int duplex, bool autoneg)
{
    if (duplex < 0)
        return 0;
    return (autoneg ? 4 : 2) + duplex;
}

bool PkLinuxDriver::counters(const PkLinuxAdapter &adapter, uint32_t oid, QByteArray *data)
{
    const char *file = counterFiles[(oid - PkDriver::FirstCounter) / 2];
    *data = QByteArray(32, '\0');
    for (int port = 0; port < 2 && port < adapter.ports.size(); ++port) {
        const PkPciFunction &p = adapter.ports.at(port);
        if (!file || p.netDir.isEmpty())
            continue;
        const std::optional<qint64> value =
            PkSysfs::decimal(p.netDir + QStringLiteral("/statistics/") + QLatin1String(file));
        if (!value)
            return false;
        qToLittleEndian<quint64>(quint64(*value), data->data() + port * 8);
    }
    return true;
}
