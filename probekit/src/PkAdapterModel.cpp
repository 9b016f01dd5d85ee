#include "PkAdapterModel.h"

#include "PkText.h"
#include "PkVpd.h"

#include <QJsonArray>

#include <cstring>
#include <limits>

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

// Sensor values also come as text, for what JSON cannot hold: "nan",
// "inf", "-inf".
double PkAdapterModel::real(const QJsonValue &value, double fallback)
{
    if (value.isDouble())
        return value.toDouble();
    if (!value.isString())
        return fallback;
    const QString word = value.toString().trimmed().toLower();
    if (word == QLatin1String("nan"))
        return std::numeric_limits<double>::quiet_NaN();
    if (word == QLatin1String("inf") || word == QLatin1String("+inf"))
        return std::numeric_limits<double>::infinity();
    if (word == QLatin1String("-inf"))
        return -std::numeric_limits<double>::infinity();
    bool ok = false;
    const double parsed = word.toDouble(&ok);
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
    readVpd(json.value(QStringLiteral("vpd")), out);
    readSensors(json.value(QStringLiteral("sensors")), out);
    out.noSensorList = json.value(QStringLiteral("sensors")).isNull();
    const int readings = json.value(QStringLiteral("readingCount")).toInt(-1);
    out.readingCount = readings < 0 ? -1 : qMin(readings, 255);
    readDriver(json.value(QStringLiteral("driver")), out);
    readIp(json.value(QStringLiteral("ip")), out);
    readPorts(json.value(QStringLiteral("ports")), out);
    out.flashSize = number(json.value(QStringLiteral("flashSize")), 131072);
    readFlashQuestion(json.value(QStringLiteral("flashQuestion")), out);
    out.tests = json.value(QStringLiteral("tests")).toObject();
    out.faults = PkFaults::fromJson(json.value(QStringLiteral("faults")));
    return out.vendorId != 0;
}

// A value is text, or bytes written as "hex:4100ff". A keyword's length
// field is one byte: longer values are cut to what it can say.
void PkAdapterModel::readVpd(const QJsonValue &value, PkAdapterModel &out)
{
    const QJsonObject vpd = value.toObject();
    for (auto it = vpd.begin(); it != vpd.end(); ++it) {
        QByteArray data = text(it.value());
        if (data.startsWith("hex:"))
            data = QByteArray::fromHex(data.mid(4));
        out.vpd.insert(it.key(), data.left(PkVpd::MaxValue));
    }
}

void PkAdapterModel::readSensors(const QJsonValue &value, PkAdapterModel &out)
{
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject s = item.toObject();
        Sensor sensor;
        sensor.name = s.value(QStringLiteral("name")).toString().toUtf8();
        sensor.type = s.value(QStringLiteral("type")).toInt();
        sensor.minimum = real(s.value(QStringLiteral("min")));
        sensor.maximum = real(s.value(QStringLiteral("max")));
        sensor.lowerAlarm = real(s.value(QStringLiteral("lowerAlarm")));
        sensor.upperAlarm = real(s.value(QStringLiteral("upperAlarm")));
        sensor.nominal = real(s.value(QStringLiteral("nominal")));
        sensor.value = real(s.value(QStringLiteral("value")), sensor.nominal);
        sensor.jitter = real(s.value(QStringLiteral("jitter")));
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
            qMax(0.0, p.value(QStringLiteral("traffic")).toDouble(port.link ? 120 : 0)));
        port.errors = static_cast<quint64>(qMax(0.0, p.value(QStringLiteral("errors")).toDouble()));
        port.upAfterQueries = qMax(0, p.value(QStringLiteral("upAfterQueries")).toInt());
        port.downState = p.value(QStringLiteral("downState")).toInt(port.downState) & 0xff;
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

// true asks message 24 (CHECK_LINK) with OK and Cancel and wants OK; an
// object chooses the question as a sub-test step does, plus the status
// returned when the answer is another.
void PkAdapterModel::readFlashQuestion(const QJsonValue &value, PkAdapterModel &out)
{
    FlashQuestion &flash = out.flashQuestion;
    if (value.isBool() && value.toBool()) {
        flash.question.message = 24;
        flash.question.buttons[0] = 1;
        flash.question.buttons[1] = 2;
        flash.question.expect = 1;
    } else if (value.isObject()) {
        flash.question = PkBehaviour::questionFromJson(value.toObject());
        flash.failStatus = value.toObject().value(QStringLiteral("failStatus")).toInt(flash.failStatus);
    }
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
