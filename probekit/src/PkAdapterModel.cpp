#include "PkAdapterModel.h"

#include "PkText.h"

#include <QJsonArray>

#include <cstring>

namespace {

QByteArray text(const QJsonValue &value)
{
    if (value.isDouble())
        return QByteArray::number(value.toDouble());
    return value.toString().toUtf8();
}

} // namespace

// IDs and addresses are written the way data sheets print them: hexadecimal
// strings ("1A5E", "0xF7E00000"); plain JSON numbers are taken as they are.
quint32 PkAdapterModel::number(const QJsonValue &value, quint32 fallback)
{
    if (value.isDouble())
        return static_cast<quint32>(value.toVariant().toLongLong());
    if (!value.isString())
        return fallback;
    QString digits = value.toString().trimmed();
    if (digits.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    bool ok = false;
    const quint32 parsed = digits.toUInt(&ok, 16);
    return ok ? parsed : fallback;
}

bool PkAdapterModel::fromJson(const QJsonObject &json, PkAdapterModel &out)
{
    out = PkAdapterModel();
    out.bus = json.value(QStringLiteral("bus")).toInt();
    out.device = json.value(QStringLiteral("device")).toInt();
    out.slot = json.value(QStringLiteral("slot")).toInt(-1);
    out.vendorId = number(json.value(QStringLiteral("vendorId")));
    out.deviceId = number(json.value(QStringLiteral("deviceId")));
    out.subsystemVendorId = number(json.value(QStringLiteral("subsystemVendorId")));
    out.subsystemId = number(json.value(QStringLiteral("subsystemId")));
    out.ioBase = number(json.value(QStringLiteral("ioBase")));
    out.memBase = number(json.value(QStringLiteral("memBase")));
    out.function = number(json.value(QStringLiteral("function")));
    out.slotSize = number(json.value(QStringLiteral("slotSize")));
    out.irq = number(json.value(QStringLiteral("irq")));
    out.cacheLineSize = number(json.value(QStringLiteral("cacheLineSize")));
    out.busClock = number(json.value(QStringLiteral("busClock")));
    out.latency = number(json.value(QStringLiteral("latency")));
    for (const QJsonValue &item : json.value(QStringLiteral("misc")).toArray())
        out.misc.append(QString::fromUtf8(text(item)));
    const QJsonObject vpd = json.value(QStringLiteral("vpd")).toObject();
    for (auto it = vpd.begin(); it != vpd.end(); ++it)
        out.vpd.insert(it.key(), text(it.value()));
    readSensors(json.value(QStringLiteral("sensors")), out);
    readDriver(json.value(QStringLiteral("driver")), out);
    readIp(json.value(QStringLiteral("ip")), out);
    readPorts(json.value(QStringLiteral("ports")), out);
    out.flashSize = number(json.value(QStringLiteral("flashSize")), 131072);
    out.tests = json.value(QStringLiteral("tests")).toObject();
    out.faults = PkFaults::fromJson(json.value(QStringLiteral("faults")));
    return out.vendorId != 0;
}

void PkAdapterModel::readSensors(const QJsonValue &value, PkAdapterModel &out)
{
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject s = item.toObject();
        Sensor sensor;
        sensor.name = s.value(QStringLiteral("name")).toString().toUtf8();
        sensor.type = s.value(QStringLiteral("type")).toInt();
        sensor.minimum = s.value(QStringLiteral("min")).toDouble();
        sensor.maximum = s.value(QStringLiteral("max")).toDouble();
        sensor.lowerAlarm = s.value(QStringLiteral("lowerAlarm")).toDouble();
        sensor.upperAlarm = s.value(QStringLiteral("upperAlarm")).toDouble();
        sensor.nominal = s.value(QStringLiteral("nominal")).toDouble();
        sensor.value = s.value(QStringLiteral("value")).toDouble(sensor.nominal);
        sensor.jitter = s.value(QStringLiteral("jitter")).toDouble();
        sensor.check = s.value(QStringLiteral("check")).toInt(1);
        out.sensors.append(sensor);
    }
}

void PkAdapterModel::readPorts(const QJsonValue &value, PkAdapterModel &out)
{
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject p = item.toObject();
        Port port;
        port.link = p.value(QStringLiteral("link")).toBool();
        port.duplex = p.value(QStringLiteral("duplex")).toInt();
        port.speed = p.value(QStringLiteral("speed")).toInt();
        port.traffic = static_cast<quint64>(
            p.value(QStringLiteral("traffic")).toDouble(port.link ? 120 : 0));
        out.ports.append(port);
    }
    // Without a port list the adapter has as many ports as its third
    // miscellaneous value says, all without a link.
    if (out.ports.isEmpty())
        out.ports.resize(out.misc.value(2).trimmed() == QLatin1String("2") ? 2 : 1);
}

void PkAdapterModel::readDriver(const QJsonValue &value, PkAdapterModel &out)
{
    if (!value.isObject())
        return;
    const QJsonObject d = value.toObject();
    out.hasDriver = true;
    out.driverName = d.value(QStringLiteral("name")).toString().toUtf8();
    out.driverDescription = d.value(QStringLiteral("description")).toString().toUtf8();
    out.driverVersion = d.value(QStringLiteral("version")).toString().toUtf8();
    out.driverDate = d.value(QStringLiteral("date")).toString().toUtf8();
}

void PkAdapterModel::readIp(const QJsonValue &value, PkAdapterModel &out)
{
    if (!value.isObject())
        return;
    const QJsonObject ip = value.toObject();
    out.hasIp = true;
    out.ipAddress = ip.value(QStringLiteral("address")).toString().toLatin1();
    out.subnetMask = ip.value(QStringLiteral("mask")).toString().toLatin1();
    out.ipStatic = ip.value(QStringLiteral("static")).toBool();
}

AdapterRecord PkAdapterModel::record() const
{
    AdapterRecord r;
    std::memset(&r, 0, sizeof r);
    r.busNumber = bus;
    r.deviceNumber = device;
    r.slotNumber = slot;
    r.deviceId = deviceId;
    r.vendorId = vendorId;
    r.subsystemId = subsystemId;
    r.subsystemVendorId = subsystemVendorId;
    r.ioBase = ioBase;
    r.memBase = memBase;
    r.functionNumber = function;
    r.slotSize = slotSize;
    r.irq = irq;
    r.cacheLineSize = cacheLineSize;
    r.busClock = busClock;
    r.latency = latency;
    for (int i = 0; i < PK_MISC_VALUES && i < misc.size(); ++i)
        PkText::copy(misc.at(i).toUtf8(), r.miscText[i], PK_MISC_TEXT_SIZE);
    return r;
}

QString PkAdapterModel::key() const
{
    return QStringLiteral("adapter-%1-%2").arg(bus).arg(device);
}
