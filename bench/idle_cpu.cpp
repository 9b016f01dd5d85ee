// What the main window costs while it only watches: the CPU time of this
// process (/proc/self/stat, user + system) over a stretch of idle seconds
// with the window shown on one tab, against a bare QMainWindow shown for
// the same time in the same run (the floor: the event loop and the
// platform by themselves).
//
//   cd build/run && QT_QPA_PLATFORM=offscreen ./idle_cpu [seconds] [tab]
//
// Defaults: 60 seconds, "GeneralTab" (its refresh every second). The tab is
// the object name of a page of the tab widget. The window is built from
// the description files and the machine file of the current directory,
// with private adapter locks, so a program running beside is not disturbed.
// Goal: the window under 1 % of one core.

#include "description/CAdapterInfo.h"
#include "text/TvProgram.h"
#include "ui/TvDiagMainWindow.h"

#include <probekit.h>

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// User plus system time of this process in seconds.
double processCpuSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The command name in parentheses may hold blanks; fields follow it.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int number = 3; fields >> field; ++number) {
        if (number == 14)
            utime = std::stoull(field);
        if (number == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// Per cent of one core used while the event loop idles for `seconds`.
double idlePercent(int seconds)
{
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double before = processCpuSeconds();
    loop.exec();
    return (processCpuSeconds() - before) * 100.0 / seconds;
}

bool readDescriptionFiles()
{
    CAdapterInfo &info = CAdapterInfo::instance();
    const QString english = QStringLiteral("en");
    return info.readConfigFile(TvProgram::configPath())
        && info.readAdapterInfoFile(TvProgram::adapterInfoPath(), english)
        && info.readTestInfoFile(TvProgram::testInfoPath(), english);
}

int measure(int seconds, const QString &tab)
{
    QMainWindow bare;
    bare.resize(630, 450);
    bare.show();
    const double floor = idlePercent(seconds);
    bare.hide();

    TvDiagMainWindow window;
    if (window.constructionFailed())
        return 1;
    window.show();
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("TvDiagDataTab"));
    QWidget *page = tabs->findChild<QWidget *>(tab);
    if (!page || tabs->indexOf(page) < 0) {
        std::fprintf(stderr, "no tab %s\n", qPrintable(tab));
        return 1;
    }
    tabs->setCurrentWidget(page);
    const double shown = idlePercent(seconds);
    const QByteArray onTab = "window on " + tab.toLocal8Bit();
    std::printf("idle CPU over %d s, per cent of one core\n", seconds);
    std::printf("  %-24s %6.3f %%\n", "bare QMainWindow", floor);
    std::printf("  %-24s %6.3f %%\n", onTab.constData(), shown);
    std::printf("  %-24s %6.3f %%\n", "window - floor", shown - floor);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const QString tab = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("GeneralTab");
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: %s [seconds] [tab]\n", argv[0]);
        return 2;
    }
    QTemporaryDir scratch;
    qputenv("PROBEKIT_LOCK_DIR", scratch.filePath(QStringLiteral("locks")).toLocal8Bit());
    qputenv("PROBEKIT_STATE_DIR", scratch.filePath(QStringLiteral("state")).toLocal8Bit());
    QApplication app(argc, argv);
    if (!readDescriptionFiles()) {
        std::fprintf(stderr, "the description files of the current directory cannot be read\n");
        return 1;
    }
    TvProgram::setBannerProduct(CAdapterInfo::instance().name);
    if (CoreInit() != 0) {
        std::fprintf(stderr, "the core library does not start\n");
        return 1;
    }
    const int status = measure(seconds, tab);
    CoreDeinit();
    return status;
}
