#include "PkLinuxCapture.h"
#include "PkModuleBank.h"
#include "PkEthtool.h"
#include "PkFileWriter.h"
#include "PkNetAddress.h"
#include "PkSysfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <vector>

#include <linux/ethtool.h>

namespace {

constexpr int MaxMaskWords = 127;
constexpr qint64 MaxAttribute = 4096;

// Room for more entries than counted a moment before: the kernel writes
// as many as the driver has by then (see PkEthtool).
size_t withSlack(int count)
{
    return size_t(count) * 2 + 64;
}

// A reply whose count is not the one asked for is recorded as the error
// the reader would see.
int checked(int error, quint32 got, int wanted)
{
    return error ? error : got == quint32(wanted) ? 0 : EPROTO;
}

const char *const functionFiles[] = {"class", "vendor", "device", "subsystem_vendor", "subsystem_device",
                                     "revision", "irq", "current_link_width", "current_link_speed", "resource"};
const char *const interfaceFiles[] = {"address", "carrier", "carrier_changes", "statistics/rx_packets",
                                      "statistics/tx_packets", "statistics/multicast", "statistics/rx_errors",
                                      "statistics/tx_errors", "statistics/rx_crc_errors"};

} // namespace

QString PkLinuxCapture::relative(const QString &sysfsPath) const
{
    return QStringLiteral("sys") + sysfsPath.mid(PkSysfs::root().size());
}

void PkLinuxCapture::put(const QString &relativePath, const QByteArray &bytes)
{
    const QString path = m_directory + QLatin1Char('/') + relativePath;
    QByteArray why;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !PkFileWriter::replace(path, bytes, &why)) {
        ++m_failures;
        m_reporter.log("Capture: " + QFile::encodeName(path) + " not written"
                       + (why.isEmpty() ? QByteArray() : ": " + why));
        return;
    }
    ++m_files;
}

void PkLinuxCapture::copy(const QString &path, qint64 maxBytes)
{
    if (const std::optional<QByteArray> bytes = PkSysfs::bytes(path, maxBytes))
        put(relative(path), *bytes);
}

// The backend reads only the last part of a driver link.
void PkLinuxCapture::link(const QString &path)
{
    const QString driver = PkSysfs::linkName(path);
    if (driver.isEmpty())
        return;
    const QString target = m_directory + QLatin1Char('/') + relative(path);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (!QFile::link(QStringLiteral("drivers/") + driver, target))
        ++m_failures;
}

void PkLinuxCapture::function(const PkPciFunction &f)
{
    for (const char *name : functionFiles)
        copy(f.path + QLatin1Char('/') + QLatin1String(name), MaxAttribute);
    copy(f.path + QStringLiteral("/config"), 64);
    if (!f.vpdPath.isEmpty())
        copy(f.vpdPath, MaxVpd);
    link(f.path + QStringLiteral("/driver"));
    if (!f.hwmonDir.isEmpty())
        for (const QString &name : PkSysfs::entries(f.hwmonDir))
            if (QFileInfo(f.hwmonDir + QLatin1Char('/') + name).isFile())
                copy(f.hwmonDir + QLatin1Char('/') + name, MaxAttribute);
    if (f.netDir.isEmpty())
        return;
    for (const char *name : interfaceFiles)
        copy(f.netDir + QLatin1Char('/') + QLatin1String(name), MaxAttribute);
    link(f.netDir + QStringLiteral("/device/driver"));
    ethtool(f.interface.toLocal8Bit());
    address(f.interface.toLocal8Bit());
}

int PkLinuxCapture::write(const QVector<PkLinuxAdapter> &adapters)
{
    const QString slotDir = PkSysfs::root() + QStringLiteral("/bus/pci/slots");
    for (const QString &slot : PkSysfs::entries(slotDir))
        copy(slotDir + QLatin1Char('/') + slot + QStringLiteral("/address"), MaxAttribute);
    // The devices directory is there even without a network function.
    QDir().mkpath(m_directory + QStringLiteral("/sys/bus/pci/devices"));
    for (const PkLinuxAdapter &adapter : adapters)
        for (const PkPciFunction &f : adapter.ports)
            function(f);
    m_reporter.log("Capture: " + QByteArray::number(m_files) + " file(s) of " + QByteArray::number(adapters.size())
                   + " adapter(s) written to " + QFile::encodeName(m_directory)
                   + (m_failures ? ", " + QByteArray::number(m_failures) + " not written" : QByteArray()));
    return m_failures;
}

// A reply as the kernel filled it; "not supported" is the missing file.
void PkLinuxCapture::record(const QByteArray &interface, const QByteArray &name, int error, const void *reply,
                            size_t size)
{
    const QString base = QStringLiteral("ethtool/") + QFile::decodeName(interface) + QLatin1Char('/')
        + QString::fromLatin1(name);
    if (error == EOPNOTSUPP)
        return;
    if (error)
        put(base + QStringLiteral(".errno"), QByteArray::number(error) + '\n');
    else
        put(base, QByteArray(static_cast<const char *>(reply), int(size)));
}

void PkLinuxCapture::ethtool(const QByteArray &interface)
{
    const PkEthtool e(interface);
    ethtool_drvinfo info {};
    info.cmd = ETHTOOL_GDRVINFO;
    const int infoError = e.raw(&info);
    record(interface, "GDRVINFO", infoError, &info, sizeof info);
    ethtool_value link {ETHTOOL_GLINK, 0};
    record(interface, "GLINK", e.raw(&link), &link, sizeof link);
    ethtool_modinfo module {};
    module.cmd = ETHTOOL_GMODULEINFO;
    const int moduleError = e.raw(&module);
    record(interface, "GMODULEINFO", moduleError, &module, sizeof module);
    if (!moduleError)
        moduleEeprom(e, interface, module.eeprom_len);
    linkSettings(e, interface);
    std::vector<uint32_t> setInfo(sizeof(ethtool_sset_info) / 4 + 2, 0);
    auto *sets = reinterpret_cast<ethtool_sset_info *>(setInfo.data());
    sets->cmd = ETHTOOL_GSSET_INFO;
    sets->sset_mask = (1ULL << ETH_SS_TEST) | (1ULL << ETH_SS_STATS);
    const int error = e.raw(sets);
    record(interface, "GSSET_INFO", error, sets,
           sizeof(ethtool_sset_info) + 4 * size_t(__builtin_popcountll(error ? 0 : sets->sset_mask)));
    // The names and their values: the online self-test, the statistics.
    QList<QByteArray> tests, stats;
    if (!e.stringSet(PkEthtool::TestSet, &tests) && !tests.isEmpty()) {
        strings(e, interface, ETH_SS_TEST, tests.size());
        values(e, interface, ETHTOOL_TEST, tests.size());
    }
    if (!e.stringSet(PkEthtool::StatisticsSet, &stats) && !stats.isEmpty()) {
        strings(e, interface, ETH_SS_STATS, stats.size());
        values(e, interface, ETHTOOL_GSTATS, stats.size());
    }
    if (!infoError && info.eedump_len > 0 && info.eedump_len <= MaxEeprom) {
        std::vector<uint8_t> buffer(sizeof(ethtool_eeprom) + info.eedump_len, 0);
        auto *eeprom = reinterpret_cast<ethtool_eeprom *>(buffer.data());
        eeprom->cmd = ETHTOOL_GEEPROM;
        eeprom->len = info.eedump_len;
        record(interface, "GEEPROM", e.raw(eeprom), eeprom, buffer.size());
    }
}

// The module's whole EEPROM, as long as its information said.
void PkLinuxCapture::moduleEeprom(const PkEthtool &e, const QByteArray &interface, quint32 length)
{
    if (length == 0 || length > PkModuleBank::MaxEeprom)
        return;
    std::vector<uint8_t> buffer(sizeof(ethtool_eeprom) + length, 0);
    auto *eeprom = reinterpret_cast<ethtool_eeprom *>(buffer.data());
    eeprom->cmd = ETHTOOL_GMODULEEEPROM;
    eeprom->len = length;
    record(interface, "GMODULEEEPROM", e.raw(eeprom), eeprom, buffer.size());
}

// The kernel's hand-shake first, then the reply with every mask word.
void PkLinuxCapture::linkSettings(const PkEthtool &e, const QByteArray &interface)
{
    std::vector<uint32_t> buffer((sizeof(ethtool_link_settings) + 3) / 4 + 3 * MaxMaskWords, 0);
    auto *s = reinterpret_cast<ethtool_link_settings *>(buffer.data());
    s->cmd = ETHTOOL_GLINKSETTINGS;
    int error = e.raw(s);
    const int words = -s->link_mode_masks_nwords;
    if (!error && words > 0 && words <= MaxMaskWords) {
        std::fill(buffer.begin(), buffer.end(), 0);
        s->cmd = ETHTOOL_GLINKSETTINGS;
        s->link_mode_masks_nwords = int8_t(words);
        error = e.raw(s);
    }
    record(interface, "GLINKSETTINGS", error, s, sizeof(ethtool_link_settings) + 3 * 4 * size_t(qMax(words, 0)));
}

void PkLinuxCapture::strings(const PkEthtool &e, const QByteArray &interface, quint32 set, int count)
{
    std::vector<uint8_t> buffer(sizeof(ethtool_gstrings) + withSlack(count) * ETH_GSTRING_LEN, 0);
    auto *g = reinterpret_cast<ethtool_gstrings *>(buffer.data());
    g->cmd = ETHTOOL_GSTRINGS;
    g->string_set = set;
    g->len = quint32(count);
    const int error = e.raw(g);
    record(interface, set == ETH_SS_TEST ? "GSTRINGS-TEST" : "GSTRINGS-STATS", checked(error, g->len, count), g,
           sizeof(ethtool_gstrings) + size_t(count) * ETH_GSTRING_LEN);
}

// ETHTOOL_TEST (online: the link stays up) or ETHTOOL_GSTATS, whose
// headers both end in the count, followed by one 64-bit value each.
void PkLinuxCapture::values(const PkEthtool &e, const QByteArray &interface, quint32 command, int count)
{
    const bool test = command == ETHTOOL_TEST;
    const size_t header = test ? sizeof(ethtool_test) : sizeof(ethtool_stats);
    std::vector<uint64_t> buffer((header + 7) / 8 + withSlack(count), 0);
    quint32 *length = nullptr;
    if (test) {
        auto *t = reinterpret_cast<ethtool_test *>(buffer.data());
        t->cmd = command;
        length = &t->len;
    } else {
        auto *v = reinterpret_cast<ethtool_stats *>(buffer.data());
        v->cmd = command;
        length = &v->n_stats;
    }
    *length = quint32(count);
    const int error = e.raw(buffer.data());
    record(interface, test ? "TEST" : "GSTATS", checked(error, *length, count), buffer.data(),
           header + 8 * size_t(count));
}

void PkLinuxCapture::address(const QByteArray &interface)
{
    const QByteArray dump = PkNetAddress::dump(interface);
    if (!dump.isEmpty())
        put(QStringLiteral("netlink/") + QFile::decodeName(interface) + QStringLiteral("/RTM_GETADDR"), dump);
}
