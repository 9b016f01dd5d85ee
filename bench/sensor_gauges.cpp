// What the sensors tab costs with 20 gauges.
//
//   QT_QPA_PLATFORM=offscreen build/run/sensor_gauges [seconds] [polls]
//
// The main window runs over a simulated adapter with 20 sensors (14
// voltages, 3 temperatures, 3 fans, their readings wandering), sized so that
// every gauge is on screen, with the Sensors tab shown and polling every
// 2 s. Reported:
// - idle CPU: the process's CPU time (utime + stime of /proc/self/stat)
//   over `seconds` (default 60) of the window on that tab, then over as
//   long with only a bare QMainWindow shown (the floor: what the event loop
//   and the platform cost by themselves), each in per cent of one core;
// - repaint: one poll of the 20 sensors followed by a synchronous repaint
//   of the tab, `polls` times (default 100): the median and the
//   fastest, in milliseconds, and the median CPU time of the GUI thread
//   for it (what other processes on a busy machine do not add to).

#include "description/CAdapterInfo.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/sensors/TvSensorPage.h"

#include <probekit.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char *const AdapterKey = "1A5E:4322:1A5E:0002";

QJsonObject sensor(const char *name, int type, double max, double lower, double upper,
                   double nominal, double jitter)
{
    return QJsonObject{{"name", name},         {"type", type},       {"min", 0},
                       {"max", max},           {"lowerAlarm", lower}, {"upperAlarm", upper},
                       {"nominal", nominal},   {"jitter", jitter}};
}

QJsonObject adapterWithTwentySensors()
{
    QJsonArray sensors;
    for (int i = 0; i < 20; ++i) {
        if (i % 7 == 3)
            sensors.append(sensor("Temperature", 1, 100, 5, 70, 40, 1.5));
        else if (i % 7 == 6)
            sensors.append(sensor("Fan", 2, 8000, 3000, 6000, 4500, 80));
        else
            sensors.append(sensor("Voltage 3.3 V", 0, 4.5, 3.0, 3.6, 3.3, 0.05));
    }
    return QJsonObject{{"bus", 2},
                       {"device", 1},
                       {"slot", 2},
                       {"vendorId", "1A5E"},
                       {"deviceId", "4322"},
                       {"subsystemVendorId", "1A5E"},
                       {"subsystemId", "0002"},
                       {"misc", QJsonArray{"00:0A:5E:42:22:01", "1000BASE-T", "1"}},
                       {"sensors", sensors}};
}

bool startCore(const QTemporaryDir &scratch)
{
    const QString machine = scratch.filePath(QStringLiteral("machine.json"));
    QFile file(machine);
    const QJsonObject root{{"adapters", QJsonArray{adapterWithTwentySensors()}}};
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0)
        return false;
    file.close();
    for (const char *dir : {"locks", "state"})
        QDir().mkpath(scratch.filePath(QLatin1String(dir)));
    qputenv("PROBEKIT_MACHINE", machine.toLocal8Bit());
    qputenv("PROBEKIT_LOCK_DIR", scratch.filePath(QStringLiteral("locks")).toLocal8Bit());
    qputenv("PROBEKIT_STATE_DIR", scratch.filePath(QStringLiteral("state")).toLocal8Bit());
    return CoreInit() == 0;
}

void describe(const QTemporaryDir &scratch)
{
    CAdapterInfo &info = CAdapterInfo::instance();
    info.clear();
    info.name = QStringLiteral("Orlin Diagnostics");
    info.basepath = scratch.path();
    info.poll_interval = 2000;
    info.vendorIds = {PciIdEntry{0x1A5E, 0}};
    CTestCase registers;
    registers.testname = QStringLiteral("Register test");
    registers.subtests.append({QStringLiteral("Registers"), QString(), 101});
    info.testCases.insert(1, registers);
    CAdapterEntry entry;
    entry.id = QLatin1String(AdapterKey);
    entry.name = QStringLiteral("Orlin GE 4322-T");
    entry.testCaseIds = {1};
    info.adapters.insert(entry.id, entry);
}

// User and system CPU time of this process, in seconds.
double cpuSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string field;
    // The command name in field 2 holds no blank here.
    for (int i = 1; i < 14 && stat >> field; ++i) {
    }
    long long utime = 0, stime = 0;
    stat >> utime >> stime;
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Per cent of one core used while the event loop runs for `seconds`.
double idleLoad(int seconds)
{
    runFor(1000); // what showing the window posted is done first
    QElapsedTimer wall;
    wall.start();
    const double before = cpuSeconds();
    runFor(seconds * 1000);
    return 100.0 * (cpuSeconds() - before) / (double(wall.elapsed()) / 1000.0);
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void reportRepaint(TvSensorPage *page, int polls)
{
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
    for (int i = 0; i < polls; ++i) {
        QElapsedTimer wall;
        wall.start();
        const double cpu = threadCpuMs();
        page->sensorTimerExpired();
        page->repaint();
        cpuMs.push_back(threadCpuMs() - cpu);
        wallMs.push_back(double(wall.nsecsElapsed()) / 1e6);
    }
    std::printf("one poll of 20 gauges and its repaint, %d polls: median %.2f ms (fastest %.2f), "
                "of it CPU time %.2f ms (goal under 5 ms)\n",
                polls, median(wallMs), *std::min_element(wallMs.begin(), wallMs.end()),
                median(cpuMs));
}

int measure(int seconds, int polls)
{
    double windowLoad = 0.0;
    {
        TvDiagMainWindow window;
        if (window.constructionFailed())
            return 1;
        TvSensorPage *page = window.sensors();
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("TvDiagDataTab"));
        tabs->setCurrentWidget(page);
        // Every gauge on screen: the second row runs far to the right.
        QWidget *gauges = page->findChild<QWidget *>(QStringLiteral("SensorGauges"));
        window.resize(gauges->width() + 60, gauges->height() + 160);
        window.show();
        windowLoad = idleLoad(seconds);
        reportRepaint(page, polls);
    }
    QMainWindow bare;
    bare.resize(630, 450);
    bare.show();
    const double floorLoad = idleLoad(seconds);
    std::printf("idle CPU over %d s: Sensors tab with 20 gauges polling every 2 s %.2f %% of a "
                "core; bare QMainWindow %.2f %%; difference %.2f %% (goal under 1 %%)\n",
                seconds, windowLoad, floorLoad, windowLoad - floorLoad);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const int polls = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    describe(scratch);
    if (!startCore(scratch)) {
        std::fprintf(stderr, "the simulated core does not start\n");
        return 1;
    }
    const int status = measure(seconds, polls);
    CoreDeinit();
    return status;
}
