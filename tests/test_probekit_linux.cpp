// The core library's Linux backend without hardware: a fake sysfs tree
// (PROBEKIT_SYSFS_ROOT) and a fake driver answering the ethtool requests.
#include <probekit.h>
#include <probekit_testing.h>

#include "FamilyCapture.h"
#include "PkModuleEeprom.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <cstdarg>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include <linux/ethtool.h>
#include <linux/ethtool_netlink.h>
#include <sys/socket.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <unistd.h>

namespace {

// ---- VPD images as cards carry them.
QByteArray large(char tag, const QByteArray &data)
{
    return QByteArray(1, tag) + char(data.size() & 0xFF) + char(data.size() >> 8) + data;
}

QByteArray keyword(const char *name, const QByteArray &value)
{
    return QByteArray(name) + char(value.size()) + value;
}

QByteArray vpdImage(const QByteArray &name, bool goodChecksum)
{
    QByteArray image = large('\x82', name);
    const QByteArray readOnly = keyword("PN", "FK-42") + keyword("EC", "B1") + keyword("SN", "S123")
        + keyword("V1", "vendor");
    image += '\x90' + QByteArray(1, char(readOnly.size() + 4)) + '\0' + readOnly + "RV\x01";
    quint8 sum = 0;
    for (const char byte : qAsConst(image))
        sum = quint8(sum + quint8(byte));
    image += char(quint8(-sum) + (goodChecksum ? 0 : 1));
    image += large('\x91', keyword("Y1", "asset") + keyword("RW", QByteArray(40, '\0')));
    return image + '\x78';
}

// ---- The fake drivers, by interface name.
struct FakeDriver {
    QByteArray name = "fakedrv";
    bool link = true;
    quint32 speed = 1000;
    quint8 duplex = DUPLEX_FULL;
    quint8 autoneg = AUTONEG_ENABLE;
    QList<QByteArray> tests;
    bool testFails = false;
    int failing = -1;       // the self-test whose result is not 0
    bool shortReply = false; // results for one test fewer than named
    QList<QByteArray> stats;
    quint64 statsStep = 0;  // what the first counter grows by at each reading
    quint64 statsReads = 0;
    int statsErrorAfter = -1; // readings before the interface is gone
    int statsAddedAfterCount = 0;
    QByteArray eeprom;
    QByteArray module;    // the plugged module's EEPROM; empty for none
    int moduleError = 0;
    int error = 0;        // every request fails with it
    int identifyError = 0;
    int offlineRuns = 0;
    int selfTestRuns = 0;
};

std::map<std::string, FakeDriver> drivers;
std::atomic<int> identifyStarted {0};
std::atomic<int> identifyInterrupted {0};

int identify(const FakeDriver &driver, const ethtool_value *value)
{
    if (driver.identifyError)
        return driver.identifyError;
    ++identifyStarted;
    // As the kernel does: blink until the time is up or a signal comes.
    timespec wait {time_t(value->data), 0};
    if (nanosleep(&wait, nullptr) != 0 && errno == EINTR) {
        ++identifyInterrupted;
        return EINTR;
    }
    return 0;
}

int fakeEthtool(const char *interface, void *request)
{
    auto found = drivers.find(interface);
    if (found == drivers.end())
        return ENODEV;
    FakeDriver &d = found->second;
    const quint32 command = *static_cast<quint32 *>(request);
    if (command == ETHTOOL_PHYS_ID)
        return identify(d, static_cast<ethtool_value *>(request));
    if (d.error)
        return d.error;
    switch (command) {
    case ETHTOOL_GDRVINFO: {
        auto *info = static_cast<ethtool_drvinfo *>(request);
        qstrncpy(info->driver, d.name.constData(), sizeof info->driver);
        qstrncpy(info->version, "9.8.7", sizeof info->version);
        qstrncpy(info->bus_info, "0000:02:00.0", sizeof info->bus_info);
        info->eedump_len = quint32(d.eeprom.size());
        info->testinfo_len = quint32(d.tests.size());
        return 0;
    }
    case ETHTOOL_GLINK:
        static_cast<ethtool_value *>(request)->data = d.link;
        return 0;
    case ETHTOOL_GLINKSETTINGS: {
        auto *s = static_cast<ethtool_link_settings *>(request);
        if (s->link_mode_masks_nwords == 0) {
            s->link_mode_masks_nwords = -3;
            return 0;
        }
        s->speed = d.speed;
        s->duplex = d.duplex;
        s->autoneg = d.autoneg;
        return 0;
    }
    case ETHTOOL_GSSET_INFO: {
        // One count per set asked for, in the order of the sets' bits.
        auto *s = static_cast<ethtool_sset_info *>(request);
        int at = 0;
        if (s->sset_mask & (1ULL << ETH_SS_TEST))
            s->data[at++] = quint32(d.tests.size());
        if (s->sset_mask & (1ULL << ETH_SS_STATS))
            s->data[at++] = quint32(d.stats.size());
        // A driver reconfigured right after it counted.
        for (; d.statsAddedAfterCount > 0; --d.statsAddedAfterCount)
            d.stats << "added_" + QByteArray::number(d.statsAddedAfterCount);
        return 0;
    }
    case ETHTOOL_GSTRINGS: {
        // As the kernel does: every name, whatever length was asked for.
        auto *s = static_cast<ethtool_gstrings *>(request);
        const QList<QByteArray> &names = s->string_set == ETH_SS_STATS ? d.stats : d.tests;
        s->len = quint32(names.size());
        for (quint32 i = 0; i < s->len; ++i)
            qstrncpy(reinterpret_cast<char *>(s->data + i * ETH_GSTRING_LEN), names.at(int(i)).constData(), ETH_GSTRING_LEN);
        return 0;
    }
    case ETHTOOL_TEST: {
        auto *t = static_cast<ethtool_test *>(request);
        d.offlineRuns += (t->flags & ETH_TEST_FL_OFFLINE) ? 1 : 0;
        ++d.selfTestRuns;
        const bool fails = d.testFails || d.failing >= 0;
        t->flags = fails ? ETH_TEST_FL_FAILED : 0;
        t->len = quint32(d.tests.size() - (d.shortReply ? 1 : 0));
        for (quint32 i = 0; i < t->len; ++i)
            t->data[i] = (d.testFails && i == 0) || int(i) == d.failing ? 7 : 0;
        return 0;
    }
    case ETHTOOL_GSTATS: {
        auto *t = static_cast<ethtool_stats *>(request);
        if (d.statsErrorAfter >= 0 && d.statsReads >= quint64(d.statsErrorAfter))
            return ENODEV;
        t->n_stats = quint32(d.stats.size());
        for (quint32 i = 0; i < t->n_stats; ++i)
            t->data[i] = i == 0 ? 100 + d.statsReads * d.statsStep : 5;
        ++d.statsReads;
        return 0;
    }
    case ETHTOOL_GEEPROM: {
        auto *e = static_cast<ethtool_eeprom *>(request);
        std::memcpy(e->data, d.eeprom.constData() + e->offset, e->len);
        return 0;
    }
    case ETHTOOL_GMODULEINFO: {
        auto *m = static_cast<ethtool_modinfo *>(request);
        m->type = ETH_MODULE_SFF_8472;
        m->eeprom_len = quint32(d.module.size());
        return d.moduleError ? d.moduleError : d.module.isEmpty() ? EOPNOTSUPP : 0;
    }
    case ETHTOOL_GMODULEEEPROM: {
        auto *e = static_cast<ethtool_eeprom *>(request);
        if (e->offset + e->len > quint32(d.module.size()))
            return EIO;
        std::memcpy(e->data, d.module.constData() + e->offset, e->len);
        return 0;
    }
    default:
        return EOPNOTSUPP;
    }
}

// ---- What the core reports through its callbacks.
struct Reports {
    QList<QByteArray> texts;
    QList<int> questions;
    int answer = 3;
} reports;

int collect(const char *format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    reports.texts << QByteArray(buffer);
    return 0;
}

int progress(int) { return 0; }

// The state table as the monitor leaves it; the second reading of the
// first counter cancels the run, as the operator's Cancel would.
std::map<std::pair<int, int>, QByteArray> cells;
int cellText(int row, int column, const char *format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    cells[{row, column}] = buffer;
    if (row == 2 && column == 2 && QByteArray(buffer).endsWith("/s"))
        TestCancel();
    return 0;
}

int cellMessage(int row, int column, int message)
{
    cells[{row, column}] = "#" + QByteArray::number(message);
    return 0;
}

int ask(int message, int, int, int)
{
    reports.questions << message;
    return reports.answer;
}

const CoreCallbacks callbacks = {collect, collect, collect, cellMessage, cellText, progress, ask};

bool reported(const char *fragment)
{
    for (const QByteArray &text : qAsConst(reports.texts))
        if (text.contains(fragment))
            return true;
    return false;
}

// ---- A PHY's cable-test notifications as the kernel sends them.
QByteArray attribute(quint16 type, const QByteArray &payload)
{
    QByteArray out(4, '\0');
    const quint16 length = quint16(4 + payload.size());
    std::memcpy(out.data(), &length, 2);
    std::memcpy(out.data() + 2, &type, 2);
    out += payload;
    return out + QByteArray((4 - out.size() % 4) % 4, '\0');
}

QByteArray u32(quint32 value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), 4);
}

// ETHTOOL_MSG_CABLE_TEST_NTF for `interface`: status 1 started, 2
// completed; `results` the nest of pair results and fault lengths.
QByteArray cableNotification(const QByteArray &interface, char status, const QByteArray &results = QByteArray())
{
    QByteArray body = QByteArray(1, char(ETHTOOL_MSG_CABLE_TEST_NTF)) + QByteArray("\x01\0\0", 3)
        + attribute(ETHTOOL_A_CABLE_TEST_NTF_HEADER, attribute(ETHTOOL_A_HEADER_DEV_NAME, interface + '\0'))
        + attribute(ETHTOOL_A_CABLE_TEST_NTF_STATUS, QByteArray(1, status))
        + (results.isEmpty() ? QByteArray() : attribute(ETHTOOL_A_CABLE_TEST_NTF_NEST, results));
    nlmsghdr header {};
    header.nlmsg_len = quint32(sizeof header + size_t(body.size()));
    header.nlmsg_type = 0x15;
    return QByteArray(reinterpret_cast<const char *>(&header), sizeof header) + body;
}

QByteArray pairResult(char pair, char code, int faultCm = -1)
{
    QByteArray out = attribute(1, attribute(1, QByteArray(1, pair)) + attribute(2, QByteArray(1, code)));
    if (faultCm >= 0)
        out += attribute(2, attribute(1, QByteArray(1, pair)) + attribute(2, u32(quint32(faultCm))));
    return out;
}

void writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

// ---- The fake machine.
class FakeSysfs
{
public:
    void file(const QString &path, const QByteArray &contents)
    {
        const QString full = dir.filePath(path);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
    }

    QString device(const QString &address) const { return "bus/pci/devices/" + address + "/"; }

    // A network function with its identity, configuration header and,
    // given a name, an interface bound to the fake driver.
    void nic(const QString &address, const QByteArray &vendor, const QByteArray &deviceId,
             const QString &interface, quint32 rxPackets = 1000)
    {
        const QString d = device(address);
        file(d + "class", "0x020000\n");
        file(d + "vendor", vendor + "\n");
        file(d + "device", deviceId + "\n");
        file(d + "subsystem_vendor", vendor + "\n");
        file(d + "subsystem_device", "0x0001\n");
        file(d + "irq", "17\n");
        file(d + "resource", "0x0000004000100000 0x000000400017ffff 0x0000000000140204\n"
                             "0x000000000000e000 0x000000000000e01f 0x0000000000040101\n");
        QByteArray config(64, '\0');
        config[0x0C] = 0x10;
        config[0x0D] = 0x40;
        file(d + "config", config);
        if (interface.isEmpty())
            return;
        const QString net = d + "net/" + interface + "/";
        file(net + "address", "02:00:00:00:00:0" + QByteArray::number(address.at(11).digitValue()) + "\n");
        file(net + "carrier_changes", "2\n");
        file(net + "statistics/rx_packets", QByteArray::number(rxPackets) + "\n");
        file(net + "statistics/tx_packets", "500\n");
        file(net + "statistics/multicast", "12\n");
        file(net + "statistics/rx_errors", "0\n");
        file(net + "statistics/tx_errors", "0\n");
        QDir().mkpath(dir.filePath("bus/pci/drivers/fakedrv"));
        QDir().mkpath(dir.filePath(net + "device"));
        QFile::link(dir.filePath("bus/pci/drivers/fakedrv"), dir.filePath(net + "device/driver"));
        drivers[interface.toStdString()] = FakeDriver();
    }

    // Two adapters, one of them dual-function, and the bad input the
    // scanner must survive.
    void build()
    {
        // A dual-port adapter in slot 4 with sensors and a sound VPD.
        nic("0000:02:00.0", "0x8086", "0x10c9", "fk0");
        nic("0000:02:00.1", "0x8086", "0x10c9", "fk1");
        file("bus/pci/slots/4/address", "0000:02:00\n");
        file(device("0000:02:00.0") + "vpd", vpdImage("Fake Dual Port", true));
        const QString hwmon = device("0000:02:00.0") + "hwmon/hwmon3/";
        file(hwmon + "temp1_input", "48000\n");
        file(hwmon + "temp1_crit", "110000\n");
        file(hwmon + "temp1_max", "warm\n");
        file(hwmon + "temp1_label", "board\n");
        file(hwmon + "in0_input", "3300\n");
        file(hwmon + "in0_min", "3000\n");
        file(hwmon + "in0_max", "3600\n");
        file(hwmon + "fan1_input", "n/a\n");
        // A single-port adapter whose VPD checksum is wrong.
        nic("0000:05:00.0", "0x14e4", "0x1677", "fk2");
        file(device("0000:05:00.0") + "vpd", vpdImage("Fake Single Port", false));
        // A function without subsystem, resources or header, whose VPD
        // claims more than it holds.
        file(device("0000:08:00.0") + "class", "0x020000\n");
        file(device("0000:08:00.0") + "vendor", "0x14e4\n");
        file(device("0000:08:00.0") + "device", "0x1678\n");
        file(device("0000:08:00.0") + "vpd", QByteArray("\x82\xff\x7f" "short", 8));
        // Left out: garbage for a vendor, another class.
        file(device("0000:06:00.0") + "class", "0x020000\n");
        file(device("0000:06:00.0") + "vendor", "vendor?\n");
        file(device("0000:06:00.0") + "device", "0x1234\n");
        file(device("0000:07:00.0") + "class", "0x030000\n");
        file(device("0000:07:00.0") + "vendor", "0x1af4\n");
    }

    QTemporaryDir dir;
};

std::vector<AdapterRecord> enumerate(const std::vector<uint32_t> &filter = {})
{
    std::vector<AdapterRecord> records;
    for (const AdapterRecord *r = AdapterEnumerate(filter.empty() ? nullptr : filter.data());
         r && (r->busNumber || r->deviceNumber || r->vendorId); ++r)
        records.push_back(*r);
    return records;
}

int select(int bus, int device)
{
    for (const AdapterRecord &r : enumerate())
        if (r.busNumber == bus && r.deviceNumber == device)
            return AdapterSelect(&r);
    return -100;
}

QByteArray vpd(const char *name, int *status = nullptr)
{
    char buffer[256];
    uint32_t size = sizeof buffer;
    const int result = VpdReadKeyword(name, buffer, &size);
    if (status)
        *status = result;
    return result == 0 ? QByteArray(buffer, int(size)) : QByteArray();
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}


// ---- Module EEPROMs: published dumps, kept in tests/captures/modules.
QByteArray moduleDump(const char *name)
{
    return FamilyCapture::moduleDump(name);
}

// An SFP dump with a byte changed and its checksums made good again, so
// that only the change itself can make a difference.
QByteArray sealedSfp(QByteArray dump, const QList<QPair<int, int>> &bytes)
{
    for (const auto &b : bytes)
        dump[b.first] = char(b.second);
    const struct { int from, to; } sums[] = {{0, 63}, {64, 95}, {256, 351}};
    for (const auto &s : sums) {
        quint8 sum = 0;
        for (int i = s.from; i < s.to; ++i)
            sum = quint8(sum + quint8(dump[i]));
        dump[s.to] = char(sum);
    }
    return dump;
}

// "now high-alarm low-alarm high-warning low-warning" at the precision a
// module's figures are published with; "-" for a measure left out.
QByteArray measureText(const PkModuleEeprom &m, PkModuleEeprom::Quantity q, bool dBm)
{
    const int precision[] = {2, 4, 3, 4, 4};
    const PkModuleEeprom::Measure &measure = m.measures[q];
    if (!measure.present)
        return "-";
    QByteArray text;
    for (double v : {measure.value, measure.limits.highAlarm, measure.limits.lowAlarm, measure.limits.highWarning,
                     measure.limits.lowWarning}) {
        v = dBm ? PkModuleEeprom::dBm(v) : v;
        text += (text.isEmpty() ? "" : " ") + (std::isnan(v) ? QByteArray("none") : QByteArray::number(v, 'f', dBm ? 2 : precision[q]));
    }
    return text;
}

} // namespace

class TestProbekitLinux : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_sysfs.build();
        qputenv("PROBEKIT_BACKEND", "linux");
        qputenv("PROBEKIT_SYSFS_ROOT", m_sysfs.dir.path().toLocal8Bit());
        qputenv("PROBEKIT_STATE_DIR", m_sysfs.dir.filePath("state").toLocal8Bit());
        qputenv("PROBEKIT_LOCK_DIR", m_sysfs.dir.filePath("locks").toLocal8Bit());
        qputenv("PROBEKIT_TIME_SCALE", "0");
        PkSetEthtoolHook(fakeEthtool);
    }

    void init()
    {
        QCOMPARE(CoreInit(), 0);
        reports = Reports();
        for (auto &entry : drivers)
            entry.second = FakeDriver();
    }

    void cleanup()
    {
        CoreDeinit();
        qunsetenv("PROBEKIT_ALLOW_WRITE");
    }

    void enumerationReadsTheBus()
    {
        const std::vector<AdapterRecord> all = enumerate();
        // Garbage in vendor and the display function are left out; the
        // dual-function device is one adapter.
        QCOMPARE(all.size(), size_t(3));
        struct Expected { int bus, device, slot; quint32 vendor, deviceId, ioBase, cacheLine; const char *ports; };
        const Expected table[] = {{2, 0, 4, 0x8086, 0x10C9, 0xE000, 0x10, "2"},
                                  {5, 0, -1, 0x14E4, 0x1677, 0xE000, 0x10, "1"},
                                  {8, 0, -1, 0x14E4, 0x1678, 0, 0, "1"}};
        for (size_t i = 0; i < all.size(); ++i) {
            const AdapterRecord &r = all[i];
            const Expected &e = table[i];
            QCOMPARE(r.busNumber, e.bus);
            QCOMPARE(r.deviceNumber, e.device);
            QCOMPARE(r.slotNumber, e.slot);
            QCOMPARE(r.vendorId, e.vendor);
            QCOMPARE(r.deviceId, e.deviceId);
            QCOMPARE(r.ioBase, e.ioBase);
            QCOMPARE(r.cacheLineSize, e.cacheLine);
            QCOMPARE(QByteArray(r.miscText[2]), QByteArray(e.ports));
        }
        // A memory base above 4 GiB: its low 32 bits, said in a note.
        QCOMPARE(all[0].memBase, 0x00100000u);
        QCOMPARE(all[0].latency, 0x40u);
        QCOMPARE(QByteArray(all[0].miscText[1]), QByteArray("fk0 fk1"));
        QCOMPARE(QByteArray(all[0].miscText[6]), QByteArray("0000:02:00.0"));
        QCOMPARE(enumerate({0x14E4, 0x1677, 0, 0}).size(), size_t(1));
        char info[200];
        StatGetInfo(info, sizeof info);
        QVERIFY(QByteArray(info).contains("(Linux)"));
    }

    void vpdIsReadFromTheCard()
    {
        QCOMPARE(select(2, 0), 0);
        QCOMPARE(vpd("Name"), QByteArray("Fake Dual Port"));
        QCOMPARE(vpd("PN"), QByteArray("FK-42"));
        char list[512];
        uint32_t size = sizeof list, count = 0;
        QCOMPARE(VpdListKeywords(list, &size, &count), 0);
        QCOMPARE(QByteArray(list), QByteArray("PN EC SN V1 Y1"));
        // A bad checksum keeps the keywords readable and fails the test;
        // a VPD that claims more than it holds gives no keywords.
        const struct { int bus, status; } checks[] = {{2, 0}, {5, 1}, {8, 1}};
        for (const auto &check : checks) {
            QCOMPARE(select(check.bus, 0), 0);
            QCOMPARE(TestRun(401, nullptr, &callbacks), check.status);
        }
        int status = 0;
        QCOMPARE(vpd("Name", &status), QByteArray());
        QCOMPARE(status, 19);
        QCOMPARE(select(5, 0), 0);
        QCOMPARE(vpd("SN"), QByteArray("S123"));
    }

    void sensorsComeFromHwmon()
    {
        QCOMPARE(select(2, 0), 0);
        SensorInfo *list = nullptr;
        uint8_t count = 0;
        QCOMPARE(SensorGetList(&list, &count), 0);
        // The fan's value is not a number: left out. The temperature's
        // max is not one either: its crit stands in.
        QCOMPARE(int(count), 2);
        QCOMPARE(QByteArray(list[0].name), QByteArray("in0"));
        QCOMPARE(list[0].type, 0);
        QCOMPARE(list[0].lowerAlarm, 3.0);
        QCOMPARE(list[0].upperAlarm, 3.6);
        QCOMPARE(QByteArray(list[1].name), QByteArray("board"));
        QCOMPARE(list[1].type, 1);
        QCOMPARE(list[1].upperAlarm, 110.0);
        SensorReading *readings = nullptr;
        QCOMPARE(SensorReadValues(&readings, &count), 0);
        QCOMPARE(int(count), 2);
        QCOMPARE(readings[0].value, 3.3);
        QCOMPARE(readings[1].value, 48.0);
        QCOMPARE(select(5, 0), 0);
        QCOMPARE(SensorGetList(&list, &count), 0);
        QCOMPARE(int(count), 0);
        QVERIFY(list);
    }

    // A module read when the adapter was selected, then read again at each
    // reading: whatever happened to it since, no gauge shows a value that
    // is not the module's, and none that cannot be judged is judged.
    void moduleGaugesShowOnlyWhatTheModuleSays_data()
    {
        QTest::addColumn<QByteArray>("module");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("readings");
        const QByteArray sfp2 = moduleDump("sfp2.hex");
        const QByteArray none = "nan? nan? nan? nan? nan? nan? nan?";
        QTest::newRow("still plugged") << sfp2 << 0 << QByteArray("35.34 3.427 8.688 0.578 0.0021 -2.381 -26.78");
        QTest::newRow("pulled") << QByteArray() << 0 << none;
        QTest::newRow("pulled while read") << sfp2 << EIO << none;
        QTest::newRow("another module") << sealedSfp(sfp2, {{68, 'B'}}) << 0 << none;
        QTest::newRow("garbage") << moduleDump("sfp2-bnxt-corrupted.hex") + sfp2.mid(256) << 0 << none;
        QByteArray dark = sfp2;
        dark[256 + 104] = dark[256 + 105] = 0;
        QTest::newRow("no light: 0 mW has no dBm") << dark << 0 << QByteArray("35.34 3.427 8.688 0.578 0 -2.381 nan?");
    }

    void moduleGaugesShowOnlyWhatTheModuleSays()
    {
        QFETCH(QByteArray, module);
        QFETCH(int, error);
        QFETCH(QByteArray, readings);
        drivers["fk0"].module = moduleDump("sfp2.hex");
        QCOMPARE(select(2, 0), 0);
        SensorInfo *list = nullptr;
        uint8_t count = 0;
        QCOMPARE(SensorGetList(&list, &count), 0);
        QCOMPARE(int(count), 2 + 7); // the card's two, then the module's
        drivers["fk0"].module = module;
        drivers["fk0"].moduleError = error;
        SensorReading *values = nullptr;
        QCOMPARE(SensorReadValues(&values, &count), 0);
        QByteArrayList shown;
        for (int i = 2; i < count; ++i)
            shown << QByteArray::number(values[i].value, 'g', 4) + (values[i].toleranceCheck ? "" : "?");
        QCOMPARE(shown.join(' '), readings);
        QCOMPARE(vpd("module.a.serial"), QByteArray("A41ASYK"));
    }

    void driverRepliesComeFromTheDriver()
    {
        QCOMPARE(select(2, 0), 0);
        drivers["fk1"].link = false;
        DriverHandle handle = DriverOpen();
        QVERIFY(handle);
        const auto query = [handle](uint32_t oid, int *status = nullptr) {
            QByteArray buffer(256, '\0');
            uint32_t size = uint32_t(buffer.size());
            const int result = DriverQueryOid(handle, oid, buffer.data(), &size);
            if (status)
                *status = result;
            return buffer;
        };
        QCOMPARE(query(0xff020211).mid(1).constData(), "fakedrv");
        QCOMPARE(query(0xff010113).mid(1).constData(), "9.8.7");
        QCOMPARE(query(0xff010127).mid(1, 2), QByteArray("\x04\x02"));
        // 1000 Mb/s full duplex, autonegotiated: codes 4 and 5.
        const QByteArray speed = query(0xff010172);
        QCOMPARE(int(speed.at(1)), 4);
        // The speed itself follows the codes, for links faster than they go.
        QCOMPARE(qFromLittleEndian<quint32>(speed.constData() + 4), quint32(1000));
        QCOMPARE(int(query(0xff010126).at(1)), 5);
        QCOMPARE(qFromLittleEndian<quint64>(query(0x00020208).constData()), quint64(1000));
        int status = 0;
        query(0xff020210, &status);
        QCOMPARE(status, 32); // no driver date
        DriverClose(handle);
    }

    void subTestsAreHonest_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("link");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("offlineRuns");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("driver information") << 101 << 0 << true << 3 << 0 << 0 << QByteArray("answers");
        QTest::newRow("frame counters") << 102 << 0 << true << 3 << 0 << 0 << QByteArray("rx_packets 1000");
        QTest::newRow("link down") << 201 << 0 << false << 3 << 1 << 0 << QByteArray("Link is down");
        QTest::newRow("link at 25G") << 201 << 0 << true << 3 << 0 << 0 << QByteArray("Link is up: 25000 Mb/s, full duplex, autonegotiated");
        QTest::newRow("status at 25G") << -1 << 0 << true << 3 << 0 << 0 << QByteArray("Port A: 0000:02:00.0 fk0, link up at 25000 Mb/s, full duplex, autonegotiated, twisted pair");
        QTest::newRow("interface gone") << 101 << ENODEV << true << 3 << 4 << 0 << QByteArray("the interface is gone");
        QTest::newRow("self-test reply cut short") << 1001 << -1 << true << 3 << 4 << 1 << QByteArray("does not hold what was asked for");
        QTest::newRow("locate LED seen") << 601 << 0 << true << 3 << 0 << 0 << QByteArray("Locate LED of fk0 blinked");
        QTest::newRow("locate LED not seen") << 601 << 0 << true << 4 << 1 << 0 << QByteArray("saw it not blinking");
        QTest::newRow("link stability") << 202 << 0 << true << 3 << 0 << 0 << QByteArray("stayed up");
        QTest::newRow("online self-test") << 301 << 0 << true << 3 << 0 << 0 << QByteArray("Online self-test passed");
        QTest::newRow("offline declined") << 302 << 0 << true << 4 << 1 << 0 << QByteArray("did not confirm");
        QTest::newRow("offline confirmed") << 302 << 0 << true << 3 << 0 << 1 << QByteArray("Offline self-test passed");
        QTest::newRow("no privilege") << 101 << EPERM << true << 3 << 1 << 0 << QByteArray("needs root or CAP_NET_ADMIN");
        QTest::newRow("unsupported") << 201 << EOPNOTSUPP << true << 3 << 4 << 0 << QByteArray("not supported by the fakedrv driver");
        QTest::newRow("no counterpart") << 9981 << 0 << true << 3 << 4 << 0 << QByteArray("not available on this adapter");
        QTest::newRow("EEPROM") << 501 << 0 << true << 3 << 0 << 0 << QByteArray("EEPROM read: 64 bytes");
    }

    void subTestsAreHonest()
    {
        QFETCH(int, id);
        QFETCH(int, error);
        QFETCH(bool, link);
        QFETCH(int, answer);
        QFETCH(int, status);
        QFETCH(int, offlineRuns);
        QFETCH(QByteArray, text);
        QCOMPARE(select(2, 0), 0);
        FakeDriver &d = drivers["fk0"];
        d.error = qMax(error, 0);
        d.shortReply = error < 0;
        d.link = link;
        d.speed = 25000;
        d.tests = {"Register test", "Link test"};
        d.eeprom = QByteArray(64, '\x5A');
        reports.answer = answer;
        QCOMPARE(id < 0 ? CommandRun("status", nullptr, &callbacks) : TestRun(id, nullptr, &callbacks), status);
        QCOMPARE(d.offlineRuns, offlineRuns);
        QVERIFY2(reported(text.constData()), reports.texts.join(" / ").constData());
        const QMap<int, QList<int>> asked{{302, {100}}, {1001, {100}}, {601, {102}}};
        QCOMPARE(reports.questions, asked.value(id));
    }

    // The description written for the adapters present, and the driver's
    // self-tests as its sub-tests, with the names each family reports.
    void driverSelfTestsAreSubTests_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("runs"); // ETHTOOL_TEST requests for the whole case
        const QStringList intel = {"Register test  (offline)", "Eeprom test    (offline)", "Interrupt test (offline)",
                                   "Loopback test  (offline)", "Link test   (on/offline)"};
        QTest::newRow("e1000e, igb, ixgbe") << intel << 2 << 2;
        QTest::newRow("i40e") << QStringList{"Register test  (offline)", "Eeprom test    (offline)",
                                             "Interrupt test (offline)", "Link test   (on/offline)"} << -1 << 2;
        QTest::newRow("tg3") << QStringList{"nvram test        (online) ", "link test         (online) ",
                                            "register test     (offline)", "memory test       (offline)",
                                            "mac loopback test (offline)", "phy loopback test (offline)",
                                            "ext loopback test (offline)", "interrupt test    (offline)"} << 0 << 2;
        QTest::newRow("bnxt_en") << QStringList{"Mac loopback test (offline)", "Phy loopback test (offline)",
                                                "Ext loopback test (offline)", "Interrupt_test (offline)"} << 3 << 1;
        // Names that do not say whether they run online: run offline.
        QTest::newRow("mlx5_core") << QStringList{"Link Test", "Speed Test", "Health Test", "Loopback Test"} << -1 << 1;
        QTest::newRow("r8169: none") << QStringList() << -1 << 0;
        QTest::newRow("names to escape") << QStringList{"Link & <speed> test (online)", QString::fromLatin1("Caf\xc3\xa9 test\xff")}
                                         << -1 << 2;
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many << QString("Test %1 (offline)").arg(i + 1);
        QTest::newRow("10,000 self-tests") << many << 5 << 1;
    }

    void driverSelfTestsAreSubTests()
    {
        QFETCH(QStringList, names);
        QFETCH(int, failing);
        QFETCH(int, runs);
        FakeDriver &d = drivers["fk0"];
        for (const QString &name : names)
            d.tests << name.toLatin1();
        d.failing = failing;
        QTemporaryDir out;
        QCOMPARE(CommandRun(("describe " + out.path()).toLocal8Bit().constData(), nullptr, &callbacks), 0);
        const QByteArray adapters = fileBytes(out.filePath("adapterinfofile.xml"));
        const QByteArray tests = fileBytes(out.filePath("testinfofile.xml"));
        QVERIFY(fileBytes(out.filePath("config.xml")).contains("<vendor_entry id=\"14E4\">1677,1678</vendor_entry>"));
        // Each adapter by its database name, offering what its driver has.
        QVERIFY(adapters.contains("<id>8086:10C9:8086:0001</id>\n    <name>Intel Corporation 82576 Gigabit Network Connection</name>"));
        // No driver bound: the driver test, which says so, and the VPD.
        QVERIFY(adapters.contains("<name>Broadcom Inc. and subsidiaries NetXtreme BCM5715 Gigabit Ethernet</name>\n"
                                  "    <info></info>\n    <connector> </connector>\n    <medium> </medium>\n"
                                  "    <pixmap>images/generic.bmp</pixmap>\n    <miscconfig>1,2,3,4,5,6,7</miscconfig>\n"
                                  "    <testcases>1,4</testcases>"));
        QVERIFY(adapters.contains(names.isEmpty() ? "<testcases>1,2,4,6,7,9998</testcases>" : "<testcases>1,2,10,4,6,7,9998</testcases>"));
        QCOMPARE(tests.count("<testname>Driver self-test</testname>"), names.isEmpty() ? 0 : 1);
        QCOMPARE(tests.count("<testname>Treiber-Selbsttest</testname>"), names.isEmpty() ? 0 : 1);
        // The sub-tests as an XML reader sees them: the driver's names in
        // its order (bytes that are not UTF-8 as "?"), the first 64.
        const int shown = qMin(names.size(), 64);
        QStringList labels;
        QXmlStreamReader xml(tests);
        bool english = false, selfTest = false;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("testcases"))
                english = xml.attributes().value("lang") == QLatin1String("en");
            else if (xml.name() == QLatin1String("testname"))
                selfTest = english && xml.readElementText() == QLatin1String("Driver self-test");
            else if (xml.name() == QLatin1String("label") && selfTest)
                labels << xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QStringList expected;
        for (const QString &name : names.mid(0, shown))
            expected << QString::fromUtf8(name.toLatin1().replace('\xff', '?')).simplified();
        QCOMPARE(labels, expected);
        QCOMPARE(reported("the first 64 are offered"), names.size() > 64);
        QCOMPARE(select(2, 0), 0);
        // The case in a row, as the test tab runs it: one request for the
        // online tests, one for the offline ones after a single question.
        for (int i = 0; i < qMin(shown, 10); ++i) {
            QCOMPARE(TestRun(1001 + i, nullptr, &callbacks), i == failing ? 1 : 0);
            QVERIFY(reported(names.at(i).simplified().toLatin1() + (i == failing ? ": failed (7)" : ": passed")));
        }
        QCOMPARE(d.selfTestRuns, runs);
        QCOMPARE(d.offlineRuns, names.filter("(online)").size() < shown ? 1 : 0);
        QCOMPARE(reports.questions.size(), d.offlineRuns);
        // A sub-test on its own asks and runs again.
        if (!names.isEmpty()) {
            QCOMPARE(TestRun(1001, nullptr, &callbacks), failing == 0 ? 1 : 0);
            QCOMPARE(d.selfTestRuns, runs + 1);
        }
        // Declined once, the offline tests of the run fail unasked.
        reports.answer = 4;
        const int asked = reports.questions.size();
        int declined = 0;
        for (int i = 0; i < qMin(shown, 10); ++i) {
            const bool offline = !names.at(i).contains("(online)") && !names.at(i).contains("(on/offline)");
            declined += offline;
            QCOMPARE(TestRun(1001 + i, nullptr, &callbacks), offline || i == failing ? 1 : 0);
        }
        QCOMPARE(reports.questions.size(), asked + (declined ? 1 : 0));
    }

    void monitorShowsTheDriverStatistics()
    {
        QCOMPARE(select(2, 0), 0);
        FakeDriver &d = drivers["fk0"];
        d.stats = {"rx_packets", "tx_packets", "rx_crc_errors"};
        d.statsStep = 50;
        cells.clear();
        QCOMPARE(CommandRun("Monitor Port A", nullptr, &callbacks), -1);
        QCOMPARE(cells[std::make_pair(0, 1)], QByteArray("Monitor"));
        QCOMPARE(cells[std::make_pair(1, 1)], QByteArray("#45"));
        QCOMPARE(cells[std::make_pair(2, 0)], QByteArray("rx_packets"));
        QCOMPARE(cells[std::make_pair(2, 1)], QByteArray("150")); // the second reading
        QVERIFY(cells[std::make_pair(2, 2)] != "0.0/s");
        QCOMPARE(cells[std::make_pair(3, 2)], QByteArray("0.0/s"));
        // The interface gone after the first reading.
        d.statsReads = 0;
        d.statsErrorAfter = 1;
        QCOMPARE(CommandRun("monitor port a", nullptr, &callbacks), 4);
        QVERIFY(reported("Monitor fk0: statistics no network interface (no driver bound, or the interface is gone)"));
        QCOMPARE(cells[std::make_pair(1, 1)], QByteArray("#46"));
        // A driver with more statistics than the table holds.
        d.statsErrorAfter = -1;
        d.stats.clear();
        for (int i = 0; i < 10000; ++i)
            d.stats << "counter_" + QByteArray::number(i);
        cells.clear();
        QCOMPARE(CommandRun("monitor port a", nullptr, &callbacks), -1);
        QVERIFY(cells.count(std::make_pair(257, 1)) && !cells.count(std::make_pair(258, 0)));
        QVERIFY(reported("the driver reports 10000 statistics; the first 256 are shown"));
        d.stats = {"rx_packets", "tx_packets", "rx_crc_errors"};
        d.statsAddedAfterCount = 10;
        QCOMPARE(CommandRun("monitor port a", nullptr, &callbacks), 4);
        QVERIFY(reported("Monitor fk0: statistics the fakedrv driver's reply does not hold what was asked for"));
        d.stats.clear();
        QCOMPARE(CommandRun("monitor port b", nullptr, &callbacks), 8);
        QVERIFY(reported("the fakedrv driver reports no statistics"));
        QCOMPARE(CommandRun("repeater port a", nullptr, &callbacks), 8);
        QVERIFY(reported("repeater: not available on real adapters"));
        QCOMPARE(select(5, 0), 0);
        QCOMPARE(CommandRun("monitor port b", nullptr, &callbacks), 11);
    }

    void namesComeFromTheDatabaseElseTheIds()
    {
        QCOMPARE(select(2, 0), 0);
        DriverHandle handle = DriverOpen();
        QByteArray buffer(256, '\0');
        uint32_t size = uint32_t(buffer.size());
        QCOMPARE(DriverQueryOid(handle, 0xff010112, buffer.data(), &size), 0);
        QCOMPARE(buffer.mid(1).constData(), "Intel Corporation 82576 Gigabit Network Connection");
        qputenv("PROBEKIT_PCI_IDS", m_sysfs.dir.filePath("no-such-pci.ids").toLocal8Bit());
        QCOMPARE(DriverQueryOid(handle, 0xff010112, buffer.data(), &size), 0);
        qunsetenv("PROBEKIT_PCI_IDS");
        QCOMPARE(buffer.mid(1).constData(), "Network adapter 8086:10C9 (subsystem 8086:0001)");
        DriverClose(handle);
    }

    // A capture replayed: sys/ is the fake tree, ethtool/fk0/ the driver's
    // recorded replies, each as the kernel fills its structure.
    void replayAnswersFromTheCapture_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("text");
        ethtool_drvinfo info {};
        info.cmd = ETHTOOL_GDRVINFO;
        qstrncpy(info.driver, "e1000e", sizeof info.driver);
        qstrncpy(info.version, "3.2.6-k", sizeof info.version);
        const QByteArray drv(reinterpret_cast<const char *>(&info), sizeof info);
        QTest::newRow("driver information") << QByteArray("GDRVINFO") << drv << 101 << 0 << QByteArray("Driver e1000e 3.2.6-k answers");
        QTest::newRow("reply cut short") << QByteArray("GDRVINFO") << drv.left(20) << 101 << 4
                                         << QByteArray("Driver information: the fakedrv driver's reply does not hold what was asked for");
        QTest::newRow("reply too long") << QByteArray("GDRVINFO") << drv + 'x' << 101 << 4 << QByteArray("Driver information: the fakedrv driver's reply does not hold");
        QTest::newRow("another request's reply") << QByteArray("GLINK") << drv.left(8) << 201 << 4 << QByteArray("Link state: the fakedrv driver's reply does not hold");
        QTest::newRow("recorded EPERM") << QByteArray("GDRVINFO.errno") << QByteArray("1\n") << 101 << 1 << QByteArray("needs root or CAP_NET_ADMIN");
        QTest::newRow("errno not a number") << QByteArray("GDRVINFO.errno") << QByteArray("banana") << 101 << 4
                                            << QByteArray("Driver information: Input/output error");
        QTest::newRow("not recorded") << QByteArray("GDRVINFO-not") << drv << 101 << 4 << QByteArray("not supported by the fakedrv driver");
        QTest::newRow("interface gone") << QByteArray() << QByteArray() << 101 << 4 << QByteArray("the interface is gone");
        // A sound reply, but by a link to a file outside the capture.
        QTest::newRow("reply outside the capture") << QByteArray("GDRVINFO") << "->" + drv << 101 << 4
                                                   << QByteArray("Driver information: the fakedrv driver's reply does not hold");
        ethtool_link_settings link {};
        link.cmd = ETHTOOL_GLINKSETTINGS;
        link.speed = 2500;
        link.duplex = DUPLEX_FULL;
        link.port = PORT_TP;
        link.link_mode_masks_nwords = 2;
        QByteArray settings(reinterpret_cast<const char *>(&link), sizeof link);
        settings += QByteArray(3 * 2 * 4, '\0');
        QTest::newRow("link at 2.5G") << QByteArray("GLINKSETTINGS") << settings << 201 << 0
                                      << QByteArray("Link is up: 2500 Mb/s, full duplex, forced, twisted pair");
        QTest::newRow("link masks cut") << QByteArray("GLINKSETTINGS") << settings.left(settings.size() - 4) << 201 << 0
                                        << QByteArray("Link is up: settings the fakedrv driver's reply does not hold");
    }

    void replayAnswersFromTheCapture()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, contents);
        QFETCH(int, id);
        QFETCH(int, status);
        QFETCH(QByteArray, text);
        QTemporaryDir capture;
        QVERIFY(QFile::link(m_sysfs.dir.path(), capture.filePath("sys")));
        QDir().mkpath(capture.filePath("ethtool/fk0"));
        QTemporaryDir outside;
        const auto write = [&capture, &outside](const QString &name, const QByteArray &bytes) {
            const bool linked = bytes.startsWith("->");
            QFile f(linked ? outside.filePath(name) : capture.filePath("ethtool/fk0/" + name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(linked ? bytes.mid(2) : bytes);
            if (linked)
                QVERIFY(QFile::link(f.fileName(), capture.filePath("ethtool/fk0/" + name)));
        };
        const ethtool_value up {ETHTOOL_GLINK, 1};
        write("GLINK", QByteArray(reinterpret_cast<const char *>(&up), sizeof up));
        if (!file.isEmpty())
            write(QString::fromLatin1(file), contents);
        else
            QDir(capture.filePath("ethtool/fk0")).removeRecursively();
        qputenv("PROBEKIT_REPLAY", capture.path().toLocal8Bit());
        PkSetEthtoolHook(nullptr);
        QCOMPARE(select(2, 0), 0);
        const int result = TestRun(id, nullptr, &callbacks);
        PkSetEthtoolHook(fakeEthtool);
        qunsetenv("PROBEKIT_REPLAY");
        QCOMPARE(result, status);
        QVERIFY2(reported(text.constData()), reports.texts.join(" / ").constData());
    }

    // A capture of the fake machine replays as the machine answered; the
    // link is never taken down for it.
    void captureReplaysAsRecorded()
    {
        FakeDriver &d = drivers["fk0"];
        d.tests = {"Register test  (offline)", "Link test   (on/offline)"};
        d.failing = 1;
        d.stats = {"rx_packets", "tx_packets"};
        d.eeprom = QByteArray(64, 'E');
        d.speed = 10000;
        d.module = moduleDump("sfp2.hex");
        QTemporaryDir capture;
        QCOMPARE(CommandRun(("capture " + capture.path()).toLocal8Bit().constData(), nullptr, &callbacks), 0);
        QCOMPARE(d.offlineRuns, 0);
        const std::vector<AdapterRecord> live = enumerate();
        qputenv("PROBEKIT_REPLAY", capture.path().toLocal8Bit());
        PkSetEthtoolHook(nullptr);
        const std::vector<AdapterRecord> replayed = enumerate();
        QCOMPARE(replayed.size(), live.size());
        for (size_t i = 0; i < live.size(); ++i)
            QVERIFY(std::memcmp(&live[i], &replayed[i], sizeof(AdapterRecord)) == 0);
        QCOMPARE(select(2, 0), 0);
        const struct { int id, status; const char *text; } runs[] = {
            {101, 0, "Driver fakedrv 9.8.7 answers"},
            {201, 0, "Link is up: 10000 Mb/s, full duplex, autonegotiated"},
            {1002, 1, "Link test (on/offline): failed (7)"},
            {1001, 4, "Offline self-test: not supported by the fakedrv driver"},
            {501, 0, "EEPROM read: 64 bytes"},
            {601, 4, "not available on this adapter (not supported by the fakedrv driver)"},
        };
        for (const auto &run : runs) {
            QCOMPARE(TestRun(run.id, nullptr, &callbacks), run.status);
            QVERIFY2(reported(run.text), run.text);
        }
        QCOMPARE(vpd("module.a.part"), QByteArray("FTLX8574D3BNL-IT"));
        cells.clear();
        const int monitor = CommandRun("monitor port a", nullptr, &callbacks);
        PkSetEthtoolHook(fakeEthtool);
        qunsetenv("PROBEKIT_REPLAY");
        QCOMPARE(monitor, -1);
        QCOMPARE(cells[std::make_pair(3, 0)], QByteArray("tx_packets"));
        QCOMPARE(cells[std::make_pair(2, 2)], QByteArray("0.0/s"));
    }

    // Captures of the eight driver families, written as their drivers
    // fill the replies (self-test names as each driver's source has them;
    // PCI IDs from published lspci output where there is some), replayed:
    // the name, the link, each self-test's recorded result, the monitor,
    // and the modules in their ports (published dumps) as gauges and VPD.
    void familyCapturesReplay_data()
    {
        QTest::addColumn<QByteArray>("ids");
        QTest::addColumn<bool>("dual");
        QTest::addColumn<QByteArray>("driver");
        QTest::addColumn<QStringList>("tests");
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QByteArray>("name");
        // A module's dump in port A, and what its gauges read: name, type,
        // reading, band (warning thresholds), scale (alarm thresholds).
        QTest::addColumn<QByteArray>("module");
        QTest::addColumn<QByteArray>("gauges");
        const QStringList intel = {"Register test  (offline)", "Eeprom test    (offline)", "Interrupt test (offline)",
                                   "Loopback test  (offline)", "Link test   (on/offline)"};
        QTest::newRow("e1000e") << QByteArray("8086:10D3:8086:A01F") << false << QByteArray("e1000e") << intel << 3 << 1000
                                << QByteArray("Intel Corporation 82574L Gigabit Network Connection (Gigabit CT Desktop Adapter)") << QByteArray() << QByteArray();
        QTest::newRow("igb") << QByteArray("8086:10C9:8086:A03C") << true << QByteArray("igb") << intel << -1 << 1000
                             << QByteArray("Intel Corporation 82576 Gigabit Network Connection (Gigabit ET Dual Port Server Adapter)") << QByteArray() << QByteArray();
        QTest::newRow("ixgbe, Cisco X550-TX") << QByteArray("8086:1563:1137:01A3") << true << QByteArray("ixgbe") << intel << 4
                                              << 10000 << QByteArray("Intel Corporation Ethernet Controller X550</name>") << QByteArray() << QByteArray();
        QTest::newRow("i40e, XL710-Q2") << QByteArray("8086:1583:8086:0002") << true << QByteArray("i40e")
                                        << QStringList{"Register test  (offline)", "Eeprom test    (offline)",
                                                       "Interrupt test (offline)", "Link test   (on/offline)"}
                                        << 1 << 40000
                                        << QByteArray("Intel Corporation Ethernet Controller XL710 for 40GbE QSFP+ (Ethernet Converged Network Adapter XL710-Q2)") << QByteArray() << QByteArray();
        QTest::newRow("tg3, BCM57766") << QByteArray("14E4:1686:14E4:1686") << false << QByteArray("tg3")
                                       << QStringList{"nvram test        (online) ", "link test         (online) ",
                                                      "register test     (offline)", "memory test       (offline)",
                                                      "mac loopback test (offline)", "phy loopback test (offline)",
                                                      "ext loopback test (offline)", "interrupt test    (offline)"}
                                       << -1 << 1000 << QByteArray("Broadcom Inc. and subsidiaries NetXtreme BCM57766 Gigabit Ethernet PCIe") << QByteArray() << QByteArray();
        QTest::newRow("bnxt_en") << QByteArray("14E4:16D7:14E4:1402") << false << QByteArray("bnxt_en")
                                 << QStringList{"Mac loopback test (offline)", "Phy loopback test (offline)",
                                                "Ext loopback test (offline)", "Interrupt_test (offline)"}
                                 << 2 << 25000 << QByteArray("BCM57414 NetXtreme-E 10Gb/25Gb RDMA Ethernet Controller (BCM957414A4142CC") << QByteArray() << QByteArray();
        QTest::newRow("mlx5_core") << QByteArray("15B3:1017:15B3:0007") << true << QByteArray("mlx5_core")
                                   << QStringList{"Link Test", "Speed Test", "Health Test", "Loopback Test"} << 3 << 100000
                                   << QByteArray("Mellanox Technologies MT27800 Family [ConnectX-5] (Mellanox ConnectX-5 MCX516A-CCAT)")
                                   << QByteArray("qsfp1.hex")
                                   << QByteArray("Module A temperature 1 39.47 0..70 -10..80; Module A Vcc 0 3.348 3.135..3.465 3.1..3.5; "
                                                 "Module A bias 3 0 6..8 5.492..8.5; Module A Tx 4 0 0.1445..1.738 0.0724..3.467; "
                                                 "Module A Rx 4 0 0.0933..1.738 0.0467..3.467; "
                                                 "Module A Tx 5 nan -8.401..2.4 -11.4..5.4 unchecked; "
                                                 "Module A Rx 5 nan -10.3..2.4 -13.31..5.4 unchecked");
        QTest::newRow("ixgbe, X520-DA2") << QByteArray("8086:10FB:8086:0002") << true << QByteArray("ixgbe") << intel << -1 << 10000
                                         << QByteArray("Intel Corporation 82599ES 10-Gigabit SFI/SFP+ Network Connection (Ethernet Server Adapter X520-DA2)")
                                         << QByteArray("sfp2.hex")
                                         << QByteArray("Module A temperature 1 35.34 -8..88 -13..93; Module A Vcc 0 3.427 3..3.6 2.9..3.7; "
                                                       "Module A bias 3 8.688 5..12.5 4..13; Module A Tx 4 0.578 0.3162..0.7943 0.2512..1; "
                                                       "Module A Rx 4 0.0021 0.0158..0.7943 0.01..1; Module A Tx 5 -2.381 -5..-1 -6..0; "
                                                       "Module A Rx 5 -26.78 -18.01..-1 -20..0");
        QTest::newRow("r8169, RTL8125") << QByteArray("10EC:8125:10EC:8125") << false << QByteArray("r8169") << QStringList()
                                        << -1 << 2500 << QByteArray("Realtek Semiconductor Co., Ltd. RTL8125 2.5GbE Controller") << QByteArray() << QByteArray();
    }

    void familyCapturesReplay()
    {
        QFETCH(QByteArray, ids);
        QFETCH(bool, dual);
        QFETCH(QByteArray, driver);
        QFETCH(QStringList, tests);
        QFETCH(int, failing);
        QFETCH(int, speed);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, module);
        QFETCH(QByteArray, gauges);
        QTemporaryDir capture;
        const FamilyCapture family{ids, dual, driver, tests, failing, speed, moduleDump(module.constData())};
        QVERIFY(family.write(capture.path()));
        qputenv("PROBEKIT_REPLAY", capture.path().toLocal8Bit());
        PkSetEthtoolHook(nullptr);
        QTemporaryDir description;
        QCOMPARE(CommandRun(("describe " + description.path()).toLocal8Bit().constData(), nullptr, &callbacks), 0);
        const QByteArray adapters = fileBytes(description.filePath("adapterinfofile.xml"));
        const std::vector<AdapterRecord> listed = enumerate();
        QCOMPARE(listed.size(), size_t(1));
        QCOMPARE(QByteArray(listed[0].miscText[2]), QByteArray(dual ? "2" : "1"));
        QCOMPARE(QByteArray(listed[0].miscText[3]), driver);
        QCOMPARE(select(3, 0), 0);
        QList<int> statuses, expected;
        for (int i = 0; i < tests.size(); ++i) {
            statuses << TestRun(1001 + i, nullptr, &callbacks);
            expected << (i == failing ? 1 : 0);
        }
        const int linkStatus = TestRun(201, nullptr, &callbacks);
        SensorInfo *list = nullptr;
        SensorReading *readings = nullptr;
        uint8_t count = 0, readCount = 0;
        QCOMPARE(SensorGetList(&list, &count), 0);
        QCOMPARE(SensorReadValues(&readings, &readCount), 0);
        QCOMPARE(readCount, count);
        QByteArrayList shown;
        const auto n = [](double v) { return QByteArray::number(v, 'g', 4); };
        for (int i = 0; i < count; ++i)
            shown << QByteArray(list[i].name) + ' ' + n(list[i].type) + ' ' + n(readings[i].value) + ' '
                    + n(list[i].lowerAlarm) + ".." + n(list[i].upperAlarm) + ' ' + n(list[i].minimum) + ".."
                    + n(list[i].maximum) + (readings[i].toleranceCheck ? "" : " unchecked");
        char keywords[512] = {};
        uint32_t size = sizeof keywords, keywordCount = 0;
        QCOMPARE(VpdListKeywords(keywords, &size, &keywordCount), 0);
        const int written = VpdWriteKeyword("module.a.vendor", "x"), deleted = VpdDeleteKeyword("module.a.serial");
        cells.clear();
        const int monitor = CommandRun("monitor port a", nullptr, &callbacks);
        PkSetEthtoolHook(fakeEthtool);
        qunsetenv("PROBEKIT_REPLAY");
        QVERIFY2(adapters.contains(name), adapters.constData());
        QCOMPARE(adapters.contains("<testcases>1,2,10,"), !tests.isEmpty());
        QCOMPARE(statuses, expected);
        QCOMPARE(linkStatus, 0);
        QVERIFY(reported("Link is up: " + QByteArray::number(speed) + " Mb/s, full duplex, autonegotiated"));
        QCOMPARE(monitor, -1);
        QCOMPARE(cells[std::make_pair(2, 0)] + ' ' + cells[std::make_pair(2, 1)] + ' ' + cells[std::make_pair(2, 2)],
                 QByteArray("rx_packets 1000 0.0/s"));
        QCOMPARE(shown.join("; "), gauges);
        // The module's identity: read-only entries of its own.
        QCOMPARE(QByteArray(keywords).contains("module.a.vendor module.a.wavelength"), !module.isEmpty());
        QVERIFY(!QByteArray(keywords).contains("module.b"));
        QVERIFY(written != 0 && deleted != 0);
    }

    // The replayed address: netlink/<interface>/RTM_GETADDR as the kernel
    // sent the dump; a damaged dump gives no address, never a wrong one.
    void replayedAddressComesFromTheDump_data()
    {
        QTest::addColumn<QByteArray>("dump");
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<int>("isStatic");
        const auto message = [](quint32 flags) {
            alignas(nlmsghdr) char m[16 + 8 + 8 + 8] = {};
            auto *header = reinterpret_cast<nlmsghdr *>(m);
            header->nlmsg_len = sizeof m;
            header->nlmsg_type = RTM_NEWADDR;
            auto *info = reinterpret_cast<ifaddrmsg *>(m + 16);
            info->ifa_family = AF_INET;
            info->ifa_prefixlen = 24;
            const quint8 local[4] = {192, 168, 7, 20};
            const rtattr localAttribute {8, IFA_LOCAL}, flagsAttribute {8, IFA_FLAGS};
            std::memcpy(m + 24, &localAttribute, 4);
            std::memcpy(m + 28, local, 4);
            std::memcpy(m + 32, &flagsAttribute, 4);
            std::memcpy(m + 36, &flags, 4);
            return QByteArray(m, sizeof m);
        };
        QTest::newRow("static") << message(IFA_F_PERMANENT) << QByteArray("192.168.7.20") << 1;
        QTest::newRow("dynamic") << message(0) << QByteArray("192.168.7.20") << 0;
        QTest::newRow("cut short") << message(0).left(30) << QByteArray() << 0;
        QByteArray past = message(0);
        reinterpret_cast<rtattr *>(past.data() + 24)->rta_len = 4000;
        QTest::newRow("attribute past its message") << past << QByteArray() << 0;
    }

    void replayedAddressComesFromTheDump()
    {
        QFETCH(QByteArray, dump);
        QFETCH(QByteArray, address);
        QFETCH(int, isStatic);
        QTemporaryDir capture;
        QVERIFY(QFile::link(m_sysfs.dir.path(), capture.filePath("sys")));
        QDir().mkpath(capture.filePath("netlink/fk0"));
        QFile f(capture.filePath("netlink/fk0/RTM_GETADDR"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(dump);
        f.close();
        qputenv("PROBEKIT_REPLAY", capture.path().toLocal8Bit());
        QCOMPARE(select(2, 0), 0);
        uint8_t shownStatic = 7;
        const char *shown = GetIpAddress(0, &shownStatic);
        const char *mask = GetSubnetMask(0);
        qunsetenv("PROBEKIT_REPLAY");
        QCOMPARE(QByteArray(shown), address);
        if (!address.isEmpty()) {
            QCOMPARE(int(shownStatic), isStatic);
            QCOMPARE(QByteArray(mask), QByteArray("255.255.255.0"));
        }
    }

    // Each published module dump decoded: every value published with it
    // (and, for the dumps published without decoded text, the values
    // worked out by hand from their bytes), then the damage a module or a
    // driver can do to one.
    void moduleDumpsDecode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("identity");
        // Temperature, voltage, bias, Tx and Rx power, then both in dBm.
        QTest::addColumn<QByteArrayList>("measures");
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<QByteArray>("problem");
        const QByteArray sfp1 = moduleDump("sfp1.hex"), sfp2 = moduleDump("sfp2.hex"), qsfp1 = moduleDump("qsfp1.hex");
        const QByteArray intel = "Intel Corp|FTLX8574D3BNL-IT|A|A41ASYK|200706|850|LC";
        const QByteArrayList none = {"-", "-", "-", "-", "-", "-", "-"};
        const QByteArrayList sfp2Measures = {"35.34 93.00 -13.00 88.00 -8.00", "3.4272 3.7000 2.9000 3.6000 3.0000",
                                             "8.688 13.000 4.000 12.500 5.000", "0.5780 1.0000 0.2512 0.7943 0.3162",
                                             "0.0021 1.0000 0.0100 0.7943 0.0158", "-2.38 0.00 -6.00 -1.00 -5.00",
                                             "-26.78 0.00 -20.00 -1.00 -18.01"};
        QTest::newRow("sfp/1: active cable, no diagnostics declared")
            << sfp1 << 2 << QByteArray("MikroTik|S+AO0005|1.0|STST050B1900001|210515|0|Copper pigtail") << none
            << QByteArray("0000 0000") << QByteArray();
        QTest::newRow("sfp/2: 10GBASE-SR") << sfp2 << 2 << intel << sfp2Measures << QByteArray("0040 0040") << QByteArray();
        QTest::newRow("sfp/4: diagnostics page behind sfp/2's ID page")
            << sfp2.left(256) + moduleDump("sfp4-a2.hex") << 2 << intel
            << QByteArrayList{"36.30 85.00 -5.00 80.00 0.00", "3.2597 3.6000 3.0000 3.4600 3.1300",
                              "7.660 10.500 2.500 10.500 2.500", "0.5825 2.0000 0.1260 0.7900 0.3170",
                              "0.0001 2.0000 0.0315 0.7900 0.0315", "-2.35 3.01 -9.00 -1.02 -4.99",
                              "-40.00 3.01 -15.02 -1.02 -15.02"}
            << QByteArray("0040 0040") << QByteArray();
        // No light on the first lane: 0 mW, which has no dBm value.
        QTest::newRow("qsfp/1: QSFP28, 640 bytes")
            << qsfp1 << 3 << QByteArray("Mellanox|MMA1B00-SS1|A2|MT1834FT03846|180703|850|MPO 1x12")
            << QByteArrayList{"39.47 80.00 -10.00 70.00 0.00", "3.3477 3.5000 3.1000 3.4650 3.1350",
                              "0.000 8.500 5.492 8.000 6.000", "0.0000 3.4673 0.0724 1.7378 0.1445",
                              "0.0000 3.4673 0.0467 1.7378 0.0933", "none 5.40 -11.40 2.40 -8.40",
                              "none 5.40 -13.31 2.40 -10.30"}
            << QByteArray("0000 0000") << QByteArray();
        QTest::newRow("qsfp/1 read before page 3 was") << moduleDump("qsfp1-256.hex") << 3
            << QByteArray("Mellanox|MMA1B00-SS1|A2|MT1834FT03846|180703|850|MPO 1x12") << none
            << QByteArray("0000 0000") << QByteArray("no thresholds page (256 bytes read)");
        // Slopes 2 (bias), 0.5 (voltage), offsets -1 degree and +100 raw
        // (Tx), and Rx power 1e-4 x^4 + 2x + 10: every term counts.
        const QByteArray calibrated = sealedSfp(sfp2, {{92, 0x78}, {256 + 56, 0x38}, {256 + 57, 0xD1}, {256 + 58, 0xB7}, {256 + 59, 0x17},
                                                       {256 + 68, 0x40}, {256 + 69, 0}, {256 + 72, 0x41}, {256 + 73, 0x20},
                                                       {256 + 76, 2}, {256 + 83, 100}, {256 + 86, 0xFF},
                                                       {256 + 88, 0}, {256 + 89, 0x80}});
        QTest::newRow("external calibration") << calibrated << 2 << intel
            << QByteArrayList{"34.34", "1.7136 1.8500 1.4500 1.8000 1.5000", "17.376 26.000 8.000 25.000 10.000",
                              "0.5880", "0.0071", "-2.31", "-21.46"}
            << QByteArray("0040 0040") << QByteArray();
        QTest::newRow("bnxt dump: A2h shifted into A0h") << moduleDump("sfp2-bnxt-corrupted.hex") << 1
            << QByteArray("||||||") << none << QByteArray("0000 0000")
            << QByteArray("ID (CC_BASE) checksum fails: bytes 0-62 add up to");
        QTest::newRow("cut short") << sfp2.left(300) << 2 << QByteArray("||||||") << none << QByteArray("0000 0000")
                                   << QByteArray("300 bytes, where the module's EEPROM holds 512");
        QTest::newRow("a QSFP where the driver says SFP") << qsfp1 << 2 << QByteArray("||||||") << none
            << QByteArray("0000 0000") << QByteArray("identifier 0x11 is not an SFP's");
        QTest::newRow("an SFP where the driver says QSFP") << sfp2 << 3 << QByteArray("||||||") << none
            << QByteArray("0000 0000") << QByteArray("identifier 0x03 is not a QSFP's");
        QTest::newRow("unknown type") << sfp2 << 9 << QByteArray("||||||") << none << QByteArray("0000 0000")
                                      << QByteArray("module type 9 is neither SFP nor QSFP");
        QByteArray brokenExt = sfp2;
        brokenExt[95] = char(brokenExt[95] + 1);
        QTest::newRow("extended ID checksum fails") << brokenExt << 2 << QByteArray("Intel Corp|FTLX8574D3BNL-IT|A|||850|LC")
            << none << QByteArray("0000 0000") << QByteArray("extended ID (CC_EXT) checksum fails");
        QByteArray brokenDmi = sfp2;
        brokenDmi[256 + 1] = char(brokenDmi[256 + 1] + 1);
        QTest::newRow("diagnostics checksum fails") << brokenDmi << 2 << intel << none << QByteArray("0000 0000")
                                                    << QByteArray("diagnostics (CC_DMI) checksum fails");
        QTest::newRow("all-zero diagnostics page") << sfp2.left(256) + QByteArray(256, '\0') << 2 << intel << none
                                                   << QByteArray("0000 0000") << QByteArray("diagnostics page is blank");
        // Temperature's high and low alarm swapped.
        QByteArrayList swapped = sfp2Measures;
        swapped[0] = "-";
        QTest::newRow("thresholds out of order")
            << sealedSfp(sfp2, {{256, 0xF3}, {256 + 2, 0x5D}}) << 2 << intel << swapped << QByteArray("0040 0040")
            << QByteArray("temperature thresholds out of order (alarms 93..-13, warnings -8..88)");
        QByteArray qsfpWarnings = qsfp1;
        qsfpWarnings[384 + 148] = char(0x90); // voltage's high warning above its high alarm
        QByteArrayList qsfpLeft = {"39.47 80.00 -10.00 70.00 0.00", "-", "0.000 8.500 5.492 8.000 6.000",
                                   "0.0000 3.4673 0.0724 1.7378 0.1445", "0.0000 3.4673 0.0467 1.7378 0.0933",
                                   "none 5.40 -11.40 2.40 -8.40", "none 5.40 -13.31 2.40 -10.30"};
        QTest::newRow("QSFP warning past its alarm") << qsfpWarnings << 3
            << QByteArray("Mellanox|MMA1B00-SS1|A2|MT1834FT03846|180703|850|MPO 1x12") << qsfpLeft
            << QByteArray("0000 0000") << QByteArray("supply voltage thresholds out of order");
    }

    void moduleDumpsDecode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, type);
        QFETCH(QByteArray, identity);
        QFETCH(QByteArrayList, measures);
        QFETCH(QByteArray, flags);
        QFETCH(QByteArray, problem);
        const PkModuleEeprom m = PkModuleEeprom::decode(quint32(type), reinterpret_cast<const uint8_t *>(bytes.constData()),
                                                        size_t(bytes.size()));
        const QByteArrayList fields = {QByteArray::fromStdString(m.vendor), QByteArray::fromStdString(m.partNumber),
                                       QByteArray::fromStdString(m.revision), QByteArray::fromStdString(m.serial),
                                       QByteArray::fromStdString(m.dateCode),
                                       m.identified ? QByteArray::number(m.wavelength) : QByteArray(),
                                       QByteArray::fromStdString(m.connector)};
        QCOMPARE(fields.join('|'), identity);
        QByteArrayList shown;
        for (int i = 0; i < 7; ++i) {
            const auto q = PkModuleEeprom::Quantity(i < 5 ? i : i - 2);
            const QByteArray text = measureText(m, q, i >= 5);
            // A lone figure: only the reading is compared.
            shown << (measures.at(i).contains(' ') ? text : text.split(' ').first());
        }
        QCOMPARE(shown, measures);
        QCOMPARE(m.diagnostics, measures.count("-") < 7);
        QCOMPARE(QByteArray::number(m.alarmFlags, 16).rightJustified(4, '0') + ' '
                     + QByteArray::number(m.warningFlags, 16).rightJustified(4, '0'),
                 flags);
        QByteArray problems;
        for (const std::string &p : m.problems)
            problems += QByteArray::fromStdString(p) + '\n';
        QVERIFY2(problem.isEmpty() ? problems.isEmpty() : problems.contains(problem), problems.constData());
    }

    void flashIsOnlyEverRead()
    {
        QCOMPARE(select(2, 0), 0);
        drivers["fk0"].eeprom = QByteArray("\x55\xAA" "eeprom", 8);
        QByteArray buffer(64, '\0');
        uint32_t size = uint32_t(buffer.size());
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(buffer.data()), &size, &callbacks), 0);
        QCOMPARE(buffer.left(int(size)), drivers["fk0"].eeprom);
        const uint8_t image[4] = {1, 2, 3, 4};
        QCOMPARE(FlashLoadImage(image, 4, &callbacks), 28);
        QCOMPARE(FlashErase(&callbacks), 27);
        QVERIFY(reported("never done here"));
        drivers["fk0"].error = EPERM;
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(buffer.data()), &size, &callbacks), 1);
        drivers["fk0"].error = 0;
        QCOMPARE(select(5, 0), 0); // no EEPROM dump
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(buffer.data()), &size, &callbacks), 23);
        QVERIFY(reported("not supported by the fakedrv driver"));
    }

    void vpdReachesTheCardOnlyPastEveryGuard_data()
    {
        QTest::addColumn<QByteArray>("allow");
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("real");
        QTest::newRow("not allowed") << QByteArray() << true << 3 << false;
        QTest::newRow("another device allowed") << QByteArray("0000:05:00.0") << true << 3 << false;
        QTest::newRow("not advanced") << QByteArray("0000:02:00.0") << false << 3 << false;
        QTest::newRow("declined") << QByteArray("0000:02:00.0") << true << 4 << false;
        QTest::newRow("every guard") << QByteArray("0000:02:00.0") << true << 3 << true;
    }

    void vpdReachesTheCardOnlyPastEveryGuard()
    {
        QFETCH(QByteArray, allow);
        QFETCH(bool, advanced);
        QFETCH(int, answer);
        QFETCH(bool, real);
        const QString card = m_sysfs.dir.filePath(m_sysfs.device("0000:02:00.0") + "vpd");
        const QByteArray before = vpdImage("Fake Dual Port", true);
        m_sysfs.file(m_sysfs.device("0000:02:00.0") + "vpd", before);
        QDir(m_sysfs.dir.filePath("state")).removeRecursively();
        qputenv("PROBEKIT_ALLOW_WRITE", allow);
        QCOMPARE(select(2, 0), 0);
        reports.answer = answer;
        uint8_t mode[2] = {uint8_t(advanced ? 1 : 0), 0};
        QCOMPARE(CommandRun("vpd write Y1 new tag", mode, &callbacks), 0);
        // Either way the program reads what it wrote.
        QCOMPARE(vpd("Y1"), QByteArray("new tag"));
        const QByteArray after = fileBytes(card);
        QCOMPARE(after != before, real);
        QCOMPARE(reported("simulated"), !real);
        const QStringList backups = QDir(m_sysfs.dir.filePath("state/linux")).entryList({"*-vpd-*.bin"});
        QCOMPARE(backups.size(), real ? 1 : 0);
        if (!real)
            return;
        QCOMPARE(fileBytes(m_sysfs.dir.filePath("state/linux/" + backups.first())), before);
        QVERIFY(reported("read back"));
        QVERIFY(after.contains(keyword("Y1", "new tag")));
        QCOMPARE(after.size(), before.size());
        // The window's editor, which cannot ask, never reaches the card.
        QCOMPARE(VpdWriteKeyword("Y1", "editor"), 0);
        QCOMPARE(vpd("Y1"), QByteArray("editor"));
        QCOMPARE(fileBytes(card), after);
    }

    void locateBlinksUntilSwitchedOff()
    {
        QCOMPARE(select(2, 0), 0);
        const int interruptedBefore = identifyInterrupted;
        identifyStarted = 0;
        LocateLedSet(1);
        QTRY_VERIFY(identifyStarted > 0);
        LocateLedSet(0); // returns only once the request has ended
        QCOMPARE(identifyInterrupted.load(), interruptedBefore + 1);
        drivers["fk0"].identifyError = EOPNOTSUPP;
        LocateLedSet(1);
        QTRY_VERIFY(CommandRun("status", nullptr, &callbacks) == 0
                    && reported("Locate LED: off (Locate on fk0: not supported by the fakedrv driver)"));
        LocateLedSet(0);
    }

    // The cable test replayed from the kernel's notifications: each pair's
    // result and fault distance, and every way the report can fall short.
    void cableTestReportsEachPair_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("text");
        const QByteArray started = cableNotification("fk0", 1);
        const QByteArray faults = pairResult(0, 1) + pairResult(1, 2, 1200) + pairResult(2, 3, 250) + pairResult(3, 4, 1);
        const QByteArray done = cableNotification("fk0", 2, faults);
        QTest::newRow("faults with distances") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT") << started + done << 1
            << QByteArray("Pair A: OK; Pair B: open at 12 m; Pair C: short within the pair at 2.50 m; "
                          "Pair D: short to another pair at 0.01 m");
        QTest::newRow("every pair OK") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT")
            << started + cableNotification("fk0", 2, pairResult(1, 1) + pairResult(0, 1)) << 0
            << QByteArray("Pair A: OK; Pair B: OK");
        QTest::newRow("a code nobody knows") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT")
            << cableNotification("fk0", 2, pairResult(0, 1) + pairResult(3, 9)) << 1
            << QByteArray("Pair A: OK; Pair D: unknown (code 9)");
        QTest::newRow("never ends") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT") << started << 1
            << QByteArray("Cable test: started, but no end reported within 30 s");
        QTest::newRow("another interface's end") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT")
            << started + cableNotification("fk1", 2, faults) << 1 << QByteArray("started, but no end reported");
        QTest::newRow("end cut short") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT") << started + done.left(done.size() - 6)
            << 1 << QByteArray("started, but no end reported");
        QTest::newRow("pair beyond D") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT")
            << cableNotification("fk0", 2, pairResult(4, 1)) << 1
            << QByteArray("Cable test: the PHY reported its end but no pair");
        QTest::newRow("PHY without it") << QByteArray() << QByteArray() << 4
            << QByteArray("Sub-test 701: not available on this adapter (the PHY of fk0 has no cable test)");
        QTest::newRow("no privilege, no helper") << QByteArray("ETHTOOL_MSG_CABLE_TEST_ACT.errno") << QByteArray("1") << 1
            << QByteArray("Cable test: needs root or CAP_NET_ADMIN");
    }

    void cableTestReportsEachPair()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, contents);
        QFETCH(int, status);
        QFETCH(QByteArray, text);
        QTemporaryDir capture;
        QVERIFY(QFile::link(m_sysfs.dir.path(), capture.filePath("sys")));
        QDir().mkpath(capture.filePath("ethtool/fk0"));
        if (!file.isEmpty())
            writeFile(capture.filePath("netlink/fk0/" + file), contents);
        qputenv("PROBEKIT_REPLAY", capture.path().toLocal8Bit());
        qputenv("PROBEKIT_HELPER", "off");
        QCOMPARE(select(2, 0), 0);
        const int result = TestRun(701, nullptr, &callbacks);
        qunsetenv("PROBEKIT_REPLAY");
        qunsetenv("PROBEKIT_HELPER");
        QCOMPARE(result, status);
        QVERIFY2(reports.texts.contains(text) || reported(text.constData()), reports.texts.join(" / ").constData());
    }

    // Requests the kernel refused for lack of privilege go to the helper,
    // run here over the capture as root and as nobody; a helper that
    // cannot be started, is refused, dies or answers garbage leaves the
    // refusal standing with the reason.
    void privilegedRequestsGoToTheHelper_data()
    {
        QTest::addColumn<QString>("launcher");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("text");
        const QString nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups %H";
        QTest::newRow("root: self-test") << "%H" << QByteArray() << 1002 << 1 << QByteArray("Link test (on/offline): failed (7)");
        QTest::newRow("root: cable test") << "%H" << QByteArray() << 701 << 1 << QByteArray("Pair A: OK; Pair B: open at 12 m");
        QTest::newRow("root: locate") << "%H" << QByteArray() << 601 << 0 << QByteArray("Locate LED of fk0 blinked");
        QTest::newRow("nobody: self-test") << nobody << QByteArray() << 1002 << 1
            << QByteArray("needs root or CAP_NET_ADMIN; the privileged helper: needs root or CAP_NET_ADMIN");
        QTest::newRow("nobody: cable test") << nobody << QByteArray() << 701 << 1
            << QByteArray("Cable test: needs root or CAP_NET_ADMIN; the privileged helper: needs root");
        QTest::newRow("helper off") << "off" << QByteArray() << 1002 << 1 << QByteArray("Online self-test: needs root or CAP_NET_ADMIN");
        QTest::newRow("authentication dismissed") << "%D/pkexec %H" << QByteArray("exit 126") << 1002 << 1
            << QByteArray("authentication for the privileged helper was dismissed");
        QTest::newRow("not authorised") << "%D/pkexec %H" << QByteArray("exit 127") << 701 << 1
            << QByteArray("the privileged helper was not authorised");
        QTest::newRow("launcher missing") << "%D/none %H" << QByteArray() << 1002 << 1
            << QByteArray("the privileged helper cannot be started");
        QTest::newRow("dies before greeting") << "%D/pkexec" << QByteArray("exit 3") << 1002 << 1
            << QByteArray("the privileged helper ended with status 3 without answering");
        QTest::newRow("garbage greeting") << "%D/pkexec" << QByteArray("echo hello") << 1002 << 1
            << QByteArray("greeting is not understood (\"hello\")");
        QTest::newRow("garbage answer") << "%D/pkexec" << QByteArray("printf 'nicdiag-helper 1\\nbanana\\n'; cat >/dev/null")
            << 1002 << 1 << QByteArray("answer is not understood (\"banana\")");
        QTest::newRow("dies in its answer") << "%D/pkexec" << QByteArray("printf 'nicdiag-helper 1\\nok 999\\nabc'; read x")
            << 701 << 1 << QByteArray("answer ended early");
        QTest::newRow("another request answered") << "%D/pkexec"
            << QByteArray("printf 'nicdiag-helper 1\\nok 4\\nabcd'; cat >/dev/null") << 1002 << 1
            << QByteArray("the privileged helper answered another request than was asked");
    }

    void privilegedRequestsGoToTheHelper()
    {
        QFETCH(QString, launcher);
        QFETCH(QByteArray, script);
        QFETCH(int, id);
        QFETCH(int, status);
        QFETCH(QByteArray, text);
        if ((launcher.startsWith("setpriv") || QByteArray(QTest::currentDataTag()).startsWith("root:")) && ::geteuid() != 0)
            QSKIP("running the helper as root or as another user needs root");
        const QString capture = privilegedCapture();
        QTemporaryDir scripts;
        if (!script.isEmpty())
            writeFile(scripts.filePath("pkexec"), "#!/bin/sh\n" + script + "\n", true);
        launcher.replace("%H", NICDIAG_RUN_DIR "/nicdiag-helper").replace("%D", scripts.path());
        qputenv("PROBEKIT_HELPER", launcher.toLocal8Bit());
        qputenv("PROBEKIT_REPLAY", capture.toLocal8Bit());
        PkSetEthtoolHook(nullptr);
        QCOMPARE(select(2, 0), 0);
        const int result = TestRun(id, nullptr, &callbacks);
        PkSetEthtoolHook(fakeEthtool);
        qunsetenv("PROBEKIT_REPLAY");
        qunsetenv("PROBEKIT_HELPER");
        QCOMPARE(result, status);
        QVERIFY2(reported(text.constData()), reports.texts.join(" / ").constData());
    }

    // The helper's side: every request is checked before anything is
    // done; one that breaks the framing ends the conversation.
    void helperChecksEveryRequest_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        const auto raw = [](const auto &structure, const QByteArray &tail = QByteArray()) {
            return QByteArray(reinterpret_cast<const char *>(&structure), sizeof structure) + tail;
        };
        const auto ethtool = [](const QByteArray &interface, const QByteArray &request) {
            return "ethtool " + interface + ' ' + QByteArray::number(request.size()) + '\n' + request;
        };
        ethtool_drvinfo info {};
        info.cmd = ETHTOOL_GDRVINFO;
        ethtool_test test {};
        test.cmd = ETHTOOL_TEST;
        test.len = 2;
        ethtool_test strange = test;
        strange.flags = 4;
        const ethtool_value hour {ETHTOOL_PHYS_ID, 3600};
        ethtool_eeprom eeprom {};
        eeprom.cmd = ETHTOOL_GEEPROM;
        eeprom.offset = 0xFFFFFFF0;
        eeprom.len = 32;
        QTest::newRow("interface not a network adapter") << QByteArray("cable-test lo\n")
            << QByteArray("error 19 lo is not a network adapter of this machine\n");
        QTest::newRow("function of another class") << QByteArray("vpd-read 0000:07:00.0\n")
            << QByteArray("error 19 0000:07:00.0 is not a network adapter");
        QTest::newRow("a path for a name") << QByteArray("vpd-read ../../etc\n") << QByteArray("error 19 \"../../etc\" is not");
        QTest::newRow("self-test of lo") << ethtool("lo", raw(test, QByteArray(16, '\0'))) << QByteArray("error 19 lo is not");
        QTest::newRow("unprivileged request") << ethtool("fk0", raw(info)) << QByteArray("error 22 ethtool command 3 is not one");
        QTest::newRow("length not the header's") << ethtool("fk0", raw(test)) << QByteArray("error 22 ethtool request whose length");
        QTest::newRow("self-test flags") << ethtool("fk0", raw(strange, QByteArray(16, '\0'))) << QByteArray("error 22 self-test flags");
        QTest::newRow("locate for an hour") << ethtool("fk0", raw(hour)) << QByteArray("error 22 locate for more than 60 s");
        QTest::newRow("EEPROM past 16 MiB") << ethtool("fk0", raw(eeprom, QByteArray(32, '\0')))
            << QByteArray("error 22 EEPROM read beyond 16777216 bytes");
        QTest::newRow("VPD read") << QByteArray("vpd-read 0000:02:00.0\n") << "ok " + QByteArray::number(vpdImage("Fake Dual Port", true).size()) + "\n\x82";
        QTest::newRow("VPD write unguarded") << QByteArray("vpd-write 0000:02:00.0 Y1 x41 -\n")
            << QByteArray("error 1 PROBEKIT_ALLOW_WRITE does not name 0000:02:00.0");
        QTest::newRow("VPD write guard for another") << QByteArray("vpd-write 0000:02:00.0 Y1 x41 0000:05:00.0\n")
            << QByteArray("error 1 PROBEKIT_ALLOW_WRITE does not name");
        QTest::newRow("VPD read-only keyword") << QByteArray("vpd-write 0000:02:00.0 PN x41 0000:02:00.0\n")
            << QByteArray("error 22 PN is not a writable keyword");
        QTest::newRow("VPD value not hexadecimal") << QByteArray("vpd-write 0000:02:00.0 Y1 xZZ 0000:02:00.0\n")
            << QByteArray("error 22 the value is not");
        QTest::newRow("VPD value too long") << "vpd-write 0000:02:00.0 Y1 x" + QByteArray(256, 'A').toHex() + " 0000:02:00.0\n"
            << QByteArray("error 22 the value is not up to 255 bytes");
        QTest::newRow("VPD written") << QByteArray("vpd-write 0000:02:00.0 Y1 x4e6577 0000:02:00.0\n") << QByteArray("ok ");
        QTest::newRow("unknown request") << QByteArray("reboot now\n") << QByteArray("error 22 request not understood: reboot now\n");
        QTest::newRow("line too long") << QByteArray(1100, 'a') + '\n' << QByteArray("error 22 request line too long\n");
        QTest::newRow("request cut short") << QByteArray("ethtool fk0 100\nabc") << QByteArray();
        QTest::newRow("stop without a locate") << QByteArray("stop\n") << QByteArray();
    }

    void helperChecksEveryRequest()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        const QString capture = privilegedCapture();
        const QString card = capture + "/sys/bus/pci/devices/0000:02:00.0/vpd";
        writeFile(card, vpdImage("Fake Dual Port", true));
        QProcess helper;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PROBEKIT_REPLAY", capture);
        helper.setProcessEnvironment(environment);
        helper.start(NICDIAG_RUN_DIR "/nicdiag-helper", QStringList());
        QVERIFY(helper.waitForStarted());
        helper.write(request);
        helper.closeWriteChannel();
        QVERIFY(helper.waitForFinished());
        const QByteArray out = helper.readAllStandardOutput();
        QVERIFY2(out.startsWith("nicdiag-helper 1\n"), out.constData());
        QVERIFY2(answer.isEmpty() ? out == "nicdiag-helper 1\n" : out.mid(17).startsWith(answer), out.constData());
        QCOMPARE(helper.exitCode(), request.size() > 1024 || request.endsWith("abc") ? 2 : 0);
        QCOMPARE(fileBytes(card).contains(keyword("Y1", "New")), QByteArray(QTest::currentDataTag()) == "VPD written");
    }

    // A window that is not root reads and writes the card's VPD through the
    // helper. bash, started with the real user root, takes it back for the
    // helper, as pkexec would.
    void vpdGoesThroughTheHelperWhenNotRoot()
    {
        if (::geteuid() != 0)
            QSKIP("becoming another user and back needs root");
        const QString card = m_sysfs.dir.filePath(m_sysfs.device("0000:02:00.0") + "vpd");
        const QByteArray before = vpdImage("Fake Dual Port", true);
        m_sysfs.file(m_sysfs.device("0000:02:00.0") + "vpd", before);
        QVERIFY(QFile::setPermissions(card, QFile::ReadOwner | QFile::WriteOwner));
        privilegedCapture(); // every directory readable by every user
        QTemporaryDir scratch;
        const QFile::Permissions open = QFile::Permissions(0x7777);
        QVERIFY(QFile::setPermissions(scratch.path(), open));
        writeFile(scratch.filePath("root"), "#!/bin/bash\nexec " NICDIAG_RUN_DIR "/nicdiag-helper\n", true);
        for (const char *dir : {"state", "locks"}) {
            QVERIFY(QDir().mkpath(scratch.filePath(dir)));
            QVERIFY(QFile::setPermissions(scratch.filePath(dir), open));
        }
        qputenv("PROBEKIT_STATE_DIR", scratch.filePath("state").toLocal8Bit());
        qputenv("PROBEKIT_LOCK_DIR", scratch.filePath("locks").toLocal8Bit());
        qputenv("PROBEKIT_HELPER", scratch.filePath("root").toLocal8Bit());
        qputenv("PROBEKIT_ALLOW_WRITE", "0000:02:00.0");
        QCOMPARE(::seteuid(65534), 0);
        const int selected = select(2, 0);
        const QByteArray partNumber = vpd("PN");
        uint8_t mode[2] = {1, 0};
        const int written = CommandRun("vpd write Y1 New", mode, &callbacks);
        CoreDeinit();
        QCOMPARE(::seteuid(0), 0);
        qputenv("PROBEKIT_STATE_DIR", m_sysfs.dir.filePath("state").toLocal8Bit());
        qputenv("PROBEKIT_LOCK_DIR", m_sysfs.dir.filePath("locks").toLocal8Bit());
        qunsetenv("PROBEKIT_HELPER");
        QCOMPARE(selected, 0);
        QCOMPARE(partNumber, QByteArray("FK-42"));
        QCOMPARE(written, 0);
        QVERIFY2(reported("VPD written by the privileged helper and read back"), reports.texts.join(" / ").constData());
        QVERIFY(fileBytes(card).contains(keyword("Y1", "New")));
        QCOMPARE(QDir(scratch.filePath("state/linux")).entryList({"*-vpd-*.bin"}).size(), 1);
        m_sysfs.file(m_sysfs.device("0000:02:00.0") + "vpd", before);
    }

private:
    // A capture of the fake machine whose self-test, locate and cable test
    // were refused for lack of privilege, with the replies root would have
    // had beside them; readable by every user, as the helper run as nobody
    // must read it. Made once: a capture blinks the LED for a second.
    QString privilegedCapture()
    {
        const QString dir = m_privileged.path();
        if (QFileInfo::exists(dir + "/sys"))
            return dir;
        FakeDriver &d = drivers["fk0"];
        d.tests = {"Register test  (offline)", "Link test   (on/offline)"};
        d.failing = 1;
        const QFile::Permissions everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup;
        QFile::setPermissions(dir, everyone);
        QFile::setPermissions(m_sysfs.dir.path(), everyone);
        CommandRun(("capture " + dir).toLocal8Bit().constData(), nullptr, &callbacks);
        const QString ethtool = dir + "/ethtool/fk0/", netlink = dir + "/netlink/fk0/";
        const ethtool_value blink {ETHTOOL_PHYS_ID, 0};
        writeFile(ethtool + "PHYS_ID", QByteArray(reinterpret_cast<const char *>(&blink), sizeof blink));
        writeFile(netlink + "ETHTOOL_MSG_CABLE_TEST_ACT",
                  cableNotification("fk0", 1) + cableNotification("fk0", 2, pairResult(0, 1) + pairResult(1, 2, 1200)));
        for (const QString &refused : {ethtool + "TEST", ethtool + "PHYS_ID", netlink + "ETHTOOL_MSG_CABLE_TEST_ACT"})
            writeFile(refused + ".errno", "1\n");
        return dir;
    }

    FakeSysfs m_sysfs;
    QTemporaryDir m_privileged;
};

QTEST_GUILESS_MAIN(TestProbekitLinux)
#include "test_probekit_linux.moc"
