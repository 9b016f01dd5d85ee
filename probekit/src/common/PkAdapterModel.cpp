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

bool PkAdapterModel::fromJson(const PkFieldReader &json, PkAdapterModel &out)
{
    out = PkAdapterModel();
    out.bus = int(json.integer("bus", 0, MaxBus, 0));
    out.device = int(json.integer("device", 0, MaxDevice, 0));
    out.slot = int(json.integer("slot", -1, MaxBus, -1));
    out.vendorId = quint32(json.hex("vendorId", 0xFFFF, 0));
    out.deviceId = quint32(json.hex("deviceId", 0xFFFF, 0));
    out.subsystemVendorId = quint32(json.hex("subsystemVendorId", 0xFFFF, 0));
    out.subsystemId = quint32(json.hex("subsystemId", 0xFFFF, 0));
    readResources(json, out);
    for (const QJsonValue &item : json.object().value(QStringLiteral("misc")).toArray())
        out.misc.append(QString::fromUtf8(text(item)));
    readVpd(json.object().value(QStringLiteral("vpd")), out);
    readSensors(json, out);
    out.noSensorList = json.object().value(QStringLiteral("sensors")).isNull();
    out.readingCount = int(json.integer("readingCount", 0, 255, -1));
    readDriver(json.object().value(QStringLiteral("driver")), out);
    readIp(json.object().value(QStringLiteral("ip")), out);
    readPorts(json, out);
    out.flashSize = quint32(json.hex("flashSize", MaxFlashSize, DefaultFlashSize, 0));
    readFlashQuestion(json, out);
    out.tests = json.object().value(QStringLiteral("tests")).toObject();
    PkBehaviour::check(json.child(QStringLiteral("tests")));
    out.faults = PkFaults::fromJson(json.child(QStringLiteral("faults")));
    return out.vendorId != 0;
}

// Resources go into the record's 32-bit words as they are; cache line size
// and latency are bytes of the configuration space.
void PkAdapterModel::readResources(const PkFieldReader &json, PkAdapterModel &out)
{
    out.ioBase = quint32(json.hex("ioBase", PkFieldReader::Word, 0));
    out.memBase = quint32(json.hex("memBase", PkFieldReader::Word, 0));
    out.function = quint32(json.hex("function", 7, 0));
    out.slotSize = quint32(json.hex("slotSize", PkFieldReader::Word, 0));
    out.irq = quint32(json.hex("irq", PkFieldReader::Word, 0));
    out.cacheLineSize = quint32(json.hex("cacheLineSize", 0xFF, 0));
    out.busClock = quint32(json.hex("busClock", PkFieldReader::Word, 0));
    out.latency = quint32(json.hex("latency", 0xFF, 0));
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

void PkAdapterModel::readSensors(const PkFieldReader &json, PkAdapterModel &out)
{
    const QJsonArray list = json.object().value(QStringLiteral("sensors")).toArray();
    constexpr double Any = std::numeric_limits<double>::max();
    for (int i = 0; i < list.size(); ++i) {
        const PkFieldReader s = json.element(QStringLiteral("sensors"), i, list.at(i).toObject());
        Sensor sensor;
        sensor.name = s.object().value(QStringLiteral("name")).toString().toUtf8();
        sensor.type = int(s.integer("type", PkFieldReader::IntMin, PkFieldReader::IntMax, 0));
        sensor.minimum = s.real("min", -Any, Any, 0, true);
        sensor.maximum = s.real("max", -Any, Any, 0, true);
        sensor.lowerAlarm = s.real("lowerAlarm", -Any, Any, 0, true);
        sensor.upperAlarm = s.real("upperAlarm", -Any, Any, 0, true);
        sensor.nominal = s.real("nominal", -Any, Any, 0, true);
        sensor.value = s.real("value", -Any, Any, sensor.nominal, true);
        sensor.jitter = s.real("jitter", -Any, Any, 0, true);
        sensor.check = int(s.integer("check", PkFieldReader::IntMin, PkFieldReader::IntMax, 1));
        out.sensors.append(sensor);
    }
}

void PkAdapterModel::readPorts(const PkFieldReader &json, PkAdapterModel &out)
{
    const QJsonArray list = json.object().value(QStringLiteral("ports")).toArray();
    for (int i = 0; i < list.size(); ++i) {
        const PkFieldReader p = json.element(QStringLiteral("ports"), i, list.at(i).toObject());
        Port port;
        port.link = p.object().value(QStringLiteral("link")).toBool();
        port.duplex = int(p.integer("duplex", 0, 0xFF, 0));
        port.speed = int(p.integer("speed", 0, 0xFF, 0));
        port.megabits = quint32(p.integer("megabits", 0, MaxMegabits, 0));
        port.traffic = quint64(p.integer("traffic", 0, MaxFrameRate, port.link ? 120 : 0));
        port.errors = quint64(p.integer("errors", 0, MaxFrameRate, 0));
        port.upAfterQueries = int(p.integer("upAfterQueries", 0, MaxQueries, 0));
        port.downState = int(p.integer("downState", 0, 0xFF, port.downState));
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
void PkAdapterModel::readFlashQuestion(const PkFieldReader &json, PkAdapterModel &out)
{
    FlashQuestion &flash = out.flashQuestion;
    const QJsonValue value = json.object().value(QStringLiteral("flashQuestion"));
    if (value.isBool() && value.toBool()) {
        flash.question.message = 24;
        flash.question.buttons[0] = 1;
        flash.question.buttons[1] = 2;
        flash.question.expect = 1;
    } else if (value.isObject()) {
        const PkFieldReader question = json.child(QStringLiteral("flashQuestion"));
        flash.question = PkBehaviour::questionFromJson(question);
        flash.failStatus = int(question.integer("failStatus", PkFieldReader::IntMin,
                                                PkFieldReader::IntMax, flash.failStatus));
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
