#include "PkDriver.h"

#include <QtEndian>

#include <cstring>

int PkDriver::query(const PkAdapterModel &adapter, uint32_t oid, void *buffer, uint32_t *size,
                    const Moment &moment)
{
    if (!buffer || !size)
        return 7;
    bool known = false;
    const QByteArray data = reply(adapter, oid, moment, &known);
    if (!known)
        return 32;
    return deliver(data, buffer, size);
}

int PkDriver::deliver(const QByteArray &data, void *buffer, uint32_t *size)
{
    const uint32_t needed = static_cast<uint32_t>(data.size());
    if (*size < needed) {
        *size = needed;
        return 32;
    }
    std::memcpy(buffer, data.constData(), needed);
    *size = needed;
    return 0;
}

QByteArray PkDriver::reply(const PkAdapterModel &adapter, uint32_t oid, const Moment &moment, bool *known)
{
    *known = true;
    switch (oid) {
    case DriverName:
        return textReply(adapter.driverName);
    case DriverDescription:
        return textReply(adapter.driverDescription);
    case DriverVersion:
        return textReply(adapter.driverVersion);
    case DriverDate:
        return textReply(adapter.driverDate);
    case LinkState:
    case Duplex:
    case Speed:
        return portBytes(adapter, oid, moment.linkQuery);
    default:
        break;
    }
    if (oid >= FirstCounter && oid <= LastCounter && (oid - FirstCounter) % 2 == 0)
        return counters(adapter, oid, moment.elapsedMs);
    *known = false;
    return QByteArray();
}

QByteArray PkDriver::textReply(const QByteArray &text)
{
    QByteArray data(1, '\0');
    data.append(text.left(254));
    data.append('\0');
    return data;
}

QByteArray PkDriver::portBytes(const PkAdapterModel &adapter, uint32_t oid, int linkQuery)
{
    // Byte 0, then one byte for each of the two ports, then spare room.
    QByteArray data(16, '\0');
    for (int port = 0; port < 2 && port < adapter.ports.size(); ++port) {
        const PkAdapterModel::Port &p = adapter.ports.at(port);
        int value = 0;
        if (oid == LinkState)
            value = p.link && linkQuery > p.upAfterQueries ? LinkUp : p.downState;
        else if (oid == Duplex)
            value = p.duplex;
        else
            value = p.speed;
        data[1 + port] = static_cast<char>(value);
        if (oid == Speed)
            qToLittleEndian<quint32>(p.megabits, data.data() + SpeedMegabitsAt + 4 * port);
    }
    return data;
}

QByteArray PkDriver::counters(const PkAdapterModel &adapter, uint32_t oid, qint64 elapsedMs)
{
    // One 64-bit counter per port at byte port * 8; the six counters split
    // a port's traffic unevenly so that each one moves at its own pace.
    QByteArray data(32, '\0');
    const quint64 share = (oid - FirstCounter) / 2 + 1;
    for (int port = 0; port < 2 && port < adapter.ports.size(); ++port) {
        const PkAdapterModel::Port &p = adapter.ports.at(port);
        const quint64 value = p.framesIn(elapsedMs) * share / 21;
        qToLittleEndian<quint64>(value, data.data() + port * 8);
    }
    return data;
}
