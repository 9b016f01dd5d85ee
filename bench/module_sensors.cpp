// What pluggable modules cost on the Sensors tab of the Linux backend,
// over a replayed capture.
//
//   cd build/run && QT_QPA_PLATFORM=offscreen ./module_sensors [polls]
//
// The capture holds 8 dual-port adapters, each with an SFP+ module in port
// A and a QSFP28 module in port B (the published dumps of
// tests/captures/modules), and one single-port adapter with an SFP+ only.
// Reported:
// - polling: for each of the 8 adapters, selected in turn, the sensors tab
//   (14 module gauges, shown) polls `polls` times (default 200), each poll
//   reading both modules afresh, decoding them and updating the gauges,
//   events processed; the CPU time of the process (CLOCK_PROCESS_CPUTIME_ID)
//   per poll, summed over the 8 adapters, in per cent of one core at the
//   shipped poll interval of 2 s. Goal: under 1 %.
// - one module: SensorReadValues on the single-port adapter (the module's
//   information and EEPROM read from the capture, then decoded), against a
//   floor that only opens, checks and reads the same two files. Best of
//   `polls` runs each, by turns, in wall time; and the decoding alone, of
//   the same bytes, against the same floor. No goal for the first: what it
//   adds to the floor is the capture reader's own checks (that each reply
//   is a regular file inside the capture, found by its real path), which a
//   real adapter's ioctl does not pay. Goal for the decoding: under half of
//   merely reading the bytes.

#include "BenchTable.h"
#include "ReplayCapture.h"
#include "../probekit/src/linux/PkModuleEeprom.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/log/TvLogBook.h"
#include "ui/sensors/TvSensorPage.h"

#include <probekit.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <linux/ethtool.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Adapters = 8;
constexpr double PollSeconds = 2.0;

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

QByteArray dump(const char *name)
{
    QFile f(QStringLiteral(NICDIAG_SOURCE_DIR "/tests/captures/modules/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? QByteArray::fromHex(f.readAll().simplified().replace(' ', "")) : QByteArray();
}

template <typename T> QByteArray raw(const T &structure)
{
    return QByteArray(reinterpret_cast<const char *>(&structure), sizeof structure);
}

bool put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// One function with its interface, and the module in it.
bool function(const QString &root, int bus, int number, const QByteArray &module, quint32 type)
{
    const QString dir = root + QStringLiteral("/sys/bus/pci/devices/0000:%1:00.%2/").arg(bus, 2, 16, QLatin1Char('0')).arg(number);
    const QString name = QStringLiteral("eth%1").arg(bus * 2 + number);
    const QString e = root + QStringLiteral("/ethtool/") + name + QLatin1Char('/');
    ethtool_drvinfo info {};
    info.cmd = ETHTOOL_GDRVINFO;
    qstrncpy(info.driver, "ixgbe", sizeof info.driver);
    bool ok = put(dir + QStringLiteral("class"), "0x020000\n") && put(dir + QStringLiteral("vendor"), "0x8086\n")
        && put(dir + QStringLiteral("device"), "0x10fb\n") && put(dir + QStringLiteral("subsystem_vendor"), "0x8086\n")
        && put(dir + QStringLiteral("subsystem_device"), "0x0002\n")
        && put(dir + QStringLiteral("net/") + name + QStringLiteral("/address"), "00:1b:21:00:00:01\n")
        && put(e + QStringLiteral("GDRVINFO"), raw(info))
        && put(e + QStringLiteral("GMODULEINFO"), raw(ethtool_modinfo {ETHTOOL_GMODULEINFO, type, quint32(module.size()), {}}))
        && put(e + QStringLiteral("GMODULEEEPROM"), raw(ethtool_eeprom {ETHTOOL_GMODULEEEPROM, 0, 0, quint32(module.size())}) + module);
    return ok && QDir().mkpath(dir + QStringLiteral("net/") + name + QStringLiteral("/device"))
        && QFile::link(QStringLiteral("drivers/ixgbe"), dir + QStringLiteral("net/") + name + QStringLiteral("/device/driver"));
}

bool makeCapture(const QString &root)
{
    const QByteArray sfp = dump("sfp2.hex"), qsfp = dump("qsfp1.hex");
    for (int bus = 1; bus <= Adapters; ++bus)
        if (!function(root, bus, 0, sfp, ETH_MODULE_SFF_8472) || !function(root, bus, 1, qsfp, ETH_MODULE_SFF_8636))
            return false;
    return function(root, Adapters + 1, 0, sfp, ETH_MODULE_SFF_8472);
}

// The floor of one module read: its two replies, each opened without
// blocking, checked to be a regular file of a sane size, and read.
qint64 readReplies(const QByteArray &dir)
{
    qint64 total = 0;
    char buffer[1024];
    for (const char *name : {"/GMODULEINFO", "/GMODULEEEPROM"}) {
        const int fd = ::open((dir + name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= qint64(sizeof buffer))
            total += ::read(fd, buffer, size_t(st.st_size));
        if (fd >= 0)
            ::close(fd);
    }
    return total;
}

int selectAdapter(int index)
{
    const AdapterRecord *records = AdapterEnumerate(nullptr);
    return records ? AdapterSelect(records + index) : -1;
}

// Per cent of one core the 8 adapters' polling takes.
double pollingShare(TvSensorPage *page, int polls, int *gauges)
{
    double perPoll = 0;
    for (int adapter = 0; adapter < Adapters; ++adapter) {
        if (selectAdapter(adapter) != 0)
            return -1;
        page->buildSensorTab();
        *gauges = 0;
        while (page->gauge(*gauges))
            ++*gauges;
        const double before = cpuSeconds();
        for (int i = 0; i < polls; ++i) {
            page->sensorTimerExpired();
            QCoreApplication::processEvents();
        }
        perPoll += (cpuSeconds() - before) / polls;
    }
    return perPoll / PollSeconds * 100.0;
}

} // namespace

int main(int argc, char **argv)
{
    const int polls = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    QTemporaryDir capture;
    if (!capture.isValid() || !makeCapture(capture.path())) {
        std::fprintf(stderr, "module_sensors: could not build the capture\n");
        return 1;
    }
    ReplayCapture::replay(capture.path());
    QApplication app(argc, argv);
    if (CoreInit() != 0) {
        std::fprintf(stderr, "module_sensors: the core did not start on the capture\n");
        return 1;
    }
    TvAsk ask;
    TvLogBook book(&ask);
    TvAdapterSession session(&ask, &book);
    TvSensorPage page(&session, &ask);
    page.resize(1100, 400);
    page.show();
    int gauges = 0;
    const double share = pollingShare(&page, polls, &gauges);

    double best = 1e9, floor = 1e9, decode = 1e9;
    const QByteArray sfp = dump("sfp2.hex");
    const QByteArray replies = QFile::encodeName(capture.path()) + "/ethtool/eth" + QByteArray::number((Adapters + 1) * 2);
    SensorReading *readings = nullptr;
    uint8_t count = 0;
    const bool selected = selectAdapter(Adapters) == 0 && SensorReadValues(&readings, &count) == 0 && count == 7;
    for (int run = 0; selected && run < polls; ++run) {
        QElapsedTimer timer;
        timer.start();
        SensorReadValues(&readings, &count);
        best = std::min(best, timer.nsecsElapsed() / 1e3);
        timer.start();
        readReplies(replies);
        floor = std::min(floor, timer.nsecsElapsed() / 1e3);
        timer.start();
        const PkModuleEeprom decoded = PkModuleEeprom::decode(
            PkModuleEeprom::Sff8472, reinterpret_cast<const uint8_t *>(sfp.constData()), size_t(sfp.size()));
        decode = std::min(decode, timer.nsecsElapsed() / 1e3);
        if (!decoded.diagnostics)
            return 1;
    }
    CoreDeinit();
    std::fprintf(stderr, "%d adapters, %d module gauges each, %d polls: %.3f %% of one core at a poll every %.0f s\n",
                 Adapters, gauges, polls, share, PollSeconds);
    std::fprintf(stderr, "one module read and decoded: %.1f us, floor (its two replies read) %.1f us, ratio %.2f\n",
                 best, floor, best / floor);
    std::fprintf(stderr, "its decoding alone: %.2f us, ratio %.2f to the floor\n", decode, decode / floor);
    char value[32], floorText[32];
    std::snprintf(value, sizeof value, "%.3f %%", share);
    BenchTable::row("module_sensors", "Sensors tab polling 8 adapters with modules", value, "-", -1, "< 1 % of a core");
    std::snprintf(value, sizeof value, "%.1f us", best);
    std::snprintf(floorText, sizeof floorText, "%.1f us", floor);
    BenchTable::row("module_sensors", "one module read and decoded (replay)", value, floorText, best / floor, "-");
    std::snprintf(value, sizeof value, "%.2f us", decode);
    BenchTable::row("module_sensors", "its decoding alone", value, floorText, decode / floor, "<= 0.5x");
    return share >= 0 && gauges == 14 && selected ? 0 : 1;
}
