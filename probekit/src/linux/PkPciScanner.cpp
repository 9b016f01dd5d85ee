#include "PkPciScanner.h"
#include "PkSysfs.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr quint64 IoResource = 0x100;
constexpr quint64 MemResource = 0x200;
constexpr quint64 NetworkClass = 0x02;
constexpr int ConfigHeader = 64;
constexpr int CacheLineOffset = 0x0C;
constexpr int LatencyOffset = 0x0D;

QByteArray hex(quint64 value, int digits)
{
    return "0x" + QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

} // namespace

QVector<PkLinuxAdapter> PkPciScanner::scan(QList<QByteArray> *skipped) const
{
    const QString devices = m_root + QStringLiteral("/bus/pci/devices");
    // Functions of one device, in function order, by "domain:bus:device".
    QMap<QString, QVector<PkPciFunction>> grouped;
    QMap<QString, QList<QByteArray>> notes;
    for (const QString &name : PkSysfs::entries(devices)) {
        PkPciFunction function;
        function.path = devices + QLatin1Char('/') + name;
        function.address = name;
        const QString device = name.section(QLatin1Char('.'), 0, 0);
        if (readFunction(name, &function, &notes[device], skipped))
            grouped[device].append(function);
    }
    const QMap<QString, int> slotOf = slotNumbers();
    QVector<PkLinuxAdapter> adapters;
    for (auto it = grouped.begin(); it != grouped.end(); ++it)
        adapters.append(join(it.value(), notes.value(it.key()), slotOf.value(it.key(), -1)));
    return adapters;
}

bool PkPciScanner::readFunction(const QString &name, PkPciFunction *out, QList<QByteArray> *notes,
                                QList<QByteArray> *skipped) const
{
    static const QRegularExpression form(QStringLiteral("^([0-9a-f]{4,}):([0-9a-f]{2}):([0-9a-f]{2})\\.([0-7])$"));
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return false;
    const std::optional<quint64> classCode = PkSysfs::hex(out->path + QStringLiteral("/class"));
    if (!classCode) {
        skipped->append("PCI " + name.toLatin1() + ": left out, its class cannot be read");
        return false;
    }
    if ((*classCode >> 16) != NetworkClass)
        return false;
    out->domain = match.captured(1).toInt(nullptr, 16);
    out->bus = match.captured(2).toInt(nullptr, 16);
    out->device = match.captured(3).toInt(nullptr, 16);
    out->function = match.captured(4).toInt();
    if (!readIdentity(out, skipped))
        return false;
    readResources(out, notes);
    readConfigSpace(out, notes);
    findInterface(out);
    const QStringList hwmon = PkSysfs::entries(out->path + QStringLiteral("/hwmon"), QStringLiteral("hwmon*"));
    if (!hwmon.isEmpty())
        out->hwmonDir = out->path + QStringLiteral("/hwmon/") + hwmon.first();
    if (PkSysfs::exists(out->path + QStringLiteral("/vpd")))
        out->vpdPath = out->path + QStringLiteral("/vpd");
    return true;
}

// Without a vendor and device the function cannot be described; the
// subsystem and the rest may be missing (an old or odd kernel).
bool PkPciScanner::readIdentity(PkPciFunction *out, QList<QByteArray> *skipped) const
{
    const auto field = [out](const char *file) {
        return PkSysfs::hex(out->path + QLatin1Char('/') + QLatin1String(file));
    };
    const std::optional<quint64> vendor = field("vendor");
    const std::optional<quint64> device = field("device");
    if (!vendor || !device || *vendor == 0 || *vendor > 0xFFFF || *device > 0xFFFF) {
        skipped->append("PCI " + out->address.toLatin1()
                        + ": left out, its vendor or device file is missing or not a PCI ID");
        return false;
    }
    out->vendorId = quint32(*vendor);
    out->deviceId = quint32(*device);
    out->subsystemVendorId = quint32(field("subsystem_vendor").value_or(0) & 0xFFFF);
    out->subsystemId = quint32(field("subsystem_device").value_or(0) & 0xFFFF);
    out->revision = quint32(field("revision").value_or(0) & 0xFF);
    out->irq = quint32(PkSysfs::decimal(out->path + QStringLiteral("/irq")).value_or(0));
    out->linkWidth = quint32(PkSysfs::decimal(out->path + QStringLiteral("/current_link_width")).value_or(0));
    out->linkSpeed = QString::fromLatin1(
        PkSysfs::text(out->path + QStringLiteral("/current_link_speed")).value_or(QByteArray()))
                         .remove(QStringLiteral(" PCIe"));
    return true;
}

void PkPciScanner::readResources(PkPciFunction *out, QList<QByteArray> *notes) const
{
    const std::optional<QByteArray> table = PkSysfs::text(out->path + QStringLiteral("/resource"));
    if (!table) {
        notes->append("PCI " + out->address.toLatin1() + ": no resource table, I/O and memory base shown as 0");
        return;
    }
    for (const QByteArray &line : table->split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool ok = false, okFlags = false;
        const quint64 start = fields.value(0).toULongLong(&ok, 0);
        const quint64 flags = fields.value(2).toULongLong(&okFlags, 0);
        if (!ok || !okFlags || start == 0)
            continue;
        if ((flags & IoResource) && out->ioBase == 0)
            out->ioBase = start;
        else if ((flags & MemResource) && out->memBase == 0)
            out->memBase = start;
    }
}

// The first 64 bytes of configuration space are readable without
// privileges; the rest is not needed.
void PkPciScanner::readConfigSpace(PkPciFunction *out, QList<QByteArray> *notes) const
{
    QString error;
    const std::optional<QByteArray> config = PkSysfs::bytes(out->path + QStringLiteral("/config"),
                                                           ConfigHeader, &error);
    if (!config || config->size() < ConfigHeader) {
        notes->append("PCI " + out->address.toLatin1()
                      + ": configuration header unreadable, cache line size and latency shown as 0"
                      + (error.isEmpty() ? QByteArray() : " (" + error.toLocal8Bit() + ")"));
        return;
    }
    out->cacheLineSize = quint8(config->at(CacheLineOffset));
    out->latency = quint8(config->at(LatencyOffset));
}

// The interface lies under net/ of the function, or one level lower for
// drivers that put a bus of their own in between (virtio).
void PkPciScanner::findInterface(PkPciFunction *out) const
{
    QStringList candidates{out->path + QStringLiteral("/net")};
    for (const QString &child : PkSysfs::entries(out->path, QStringLiteral("virtio*")))
        candidates << out->path + QLatin1Char('/') + child + QStringLiteral("/net");
    for (const QString &netRoot : qAsConst(candidates)) {
        const QStringList names = PkSysfs::entries(netRoot);
        if (names.isEmpty())
            continue;
        out->interface = names.first();
        out->netDir = netRoot + QLatin1Char('/') + names.first();
        out->driver = PkSysfs::linkName(out->netDir + QStringLiteral("/device/driver"));
        break;
    }
    if (out->driver.isEmpty())
        out->driver = PkSysfs::linkName(out->path + QStringLiteral("/driver"));
}

QMap<QString, int> PkPciScanner::slotNumbers() const
{
    QMap<QString, int> slotOf;
    const QString dir = m_root + QStringLiteral("/bus/pci/slots");
    for (const QString &name : PkSysfs::entries(dir)) {
        bool numeric = false;
        const int number = name.toInt(&numeric);
        const std::optional<QByteArray> address = PkSysfs::text(dir + QLatin1Char('/') + name + QStringLiteral("/address"));
        if (numeric && address)
            slotOf.insert(QString::fromLatin1(address->trimmed()), number);
    }
    return slotOf;
}

PkLinuxAdapter PkPciScanner::join(const QVector<PkPciFunction> &functions,
                                  const QList<QByteArray> &notes, int slot) const
{
    PkLinuxAdapter adapter;
    adapter.notes = notes;
    adapter.ports = functions.mid(0, 2);
    if (functions.size() > 2)
        adapter.notes << "PCI " + functions.at(2).address.toLatin1()
                + " and further functions: only two ports per adapter are shown";
    const PkPciFunction &a = adapter.ports.first();
    PkAdapterModel &m = adapter.model;
    // Records carry no PCI domain: a domain other than 0 moves the bus.
    m.bus = a.domain * 256 + a.bus;
    m.device = a.device;
    m.slot = slot;
    m.vendorId = a.vendorId;
    m.deviceId = a.deviceId;
    m.subsystemVendorId = a.subsystemVendorId;
    m.subsystemId = a.subsystemId;
    m.function = quint32(a.function);
    m.irq = a.irq;
    m.cacheLineSize = a.cacheLineSize;
    m.latency = a.latency;
    m.slotSize = a.linkWidth;
    m.ioBase = quint32(a.ioBase);
    m.memBase = quint32(a.memBase);
    if (a.memBase > 0xFFFFFFFFull)
        adapter.notes << "PCI " + a.address.toLatin1() + ": memory base " + hex(a.memBase, 8)
                + " lies above 4 GiB; the record shows its low 32 bits " + hex(m.memBase, 8);
    if (a.ioBase > 0xFFFFFFFFull)
        adapter.notes << "PCI " + a.address.toLatin1() + ": I/O base " + hex(a.ioBase, 4) + " cut to 32 bits";
    QStringList interfaces;
    for (const PkPciFunction &port : qAsConst(adapter.ports))
        if (!port.interface.isEmpty())
            interfaces << port.interface;
    const QString link = a.linkWidth ? QStringLiteral("x%1 %2").arg(a.linkWidth).arg(a.linkSpeed) : QString();
    const QByteArray mac = a.netDir.isEmpty() ? QByteArray()
        : PkSysfs::text(a.netDir + QStringLiteral("/address")).value_or(QByteArray());
    m.misc = QStringList{
        QString::fromLatin1(mac),
        interfaces.join(QLatin1Char(' ')), QString::number(adapter.ports.size()), a.driver,
        QString::number(a.revision, 16).toUpper().rightJustified(2, QLatin1Char('0')), link, a.address};
    m.hasDriver = !a.interface.isEmpty();
    m.ports.resize(adapter.ports.size());
    return adapter;
}
