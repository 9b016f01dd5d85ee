// What watching eight real adapters costs: the General tab's refresh and
// one sample of the Monitor tab's driver statistics, for each of eight
// dual-port adapters of a replayed capture, once a second, as a share of
// one core.
//
//   cd build/run && QT_QPA_PLATFORM=offscreen ./linux_polling [seconds]
//
// Default 30 seconds. The capture is the virtio capture of tests/captures
// at 16 PCI addresses (8 adapters of two ports). Each second, for every
// adapter: it is selected, the General page reads the driver's name,
// version, link, duplex, speed, counters and IP address and shows them, and
// "monitor port a" runs until its first sample of every statistic is shown
// (each sample here reads the statistics' names again, which a running
// monitor does only once: an upper bound). The floor is the same event loop
// idling for as long, with the page shown. CPU time is that of the whole
// process (user + system). Goal: under 1 % of one core.

#include "BenchTable.h"
#include "ReplayCapture.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/general/TvGeneralPage.h"
#include "ui/log/TvLogBook.h"

#include <probekit.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdarg>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int Functions = 16;

double processCpuSeconds()
{
    struct rusage use {};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec)
        + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

int samples = 0;

int ignoreText(const char *, ...) { return 0; }
int ignoreMessage(int, int, int) { return 0; }
int ignoreProgress(int) { return 0; }
int refuse(int, int, int, int) { return 2; }

// A counter's value shown: the monitor has taken its sample, and is asked
// to end at its next wait.
int cellShown(int row, int column, const char *, ...)
{
    if (row >= 2 && column == 1 && ++samples >= 1)
        TestCancel();
    return 0;
}

const CoreCallbacks Callbacks = {ignoreText, ignoreText, ignoreText, ignoreMessage,
                                 cellShown, ignoreProgress, refuse};

std::vector<AdapterRecord> adapters()
{
    std::vector<AdapterRecord> found;
    for (const AdapterRecord *r = AdapterEnumerate(nullptr); r && r->vendorId != 0; ++r)
        found.push_back(*r);
    return found;
}

// One second's work for every adapter; false when a sample was not taken.
bool pollAll(const std::vector<AdapterRecord> &list, TvGeneralPage &page)
{
    for (const AdapterRecord &adapter : list) {
        if (AdapterSelect(&adapter) != 0)
            return false;
        page.applyPortCount(true);
        page.generalInfoTimerExpired();
        samples = 0;
        CommandRun("monitor port a", nullptr, &Callbacks);
        if (samples == 0)
            return false;
    }
    return true;
}

// Per cent of one core over `seconds`, with `work` run once a second.
double percentOver(int seconds, const std::function<void()> &work)
{
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, work);
    tick.start(1000);
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double before = processCpuSeconds();
    loop.exec();
    return (processCpuSeconds() - before) * 100.0 / seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: %s [seconds]\n", argv[0]);
        return 2;
    }
    QTemporaryDir capture;
    if (!capture.isValid() || !ReplayCapture::makeCapture(capture.path(), Functions)) {
        std::fprintf(stderr, "linux_polling: could not build the capture\n");
        return 1;
    }
    ReplayCapture::replay(capture.path());
    QApplication app(argc, argv);
    if (CoreInit() != 0) {
        std::fprintf(stderr, "linux_polling: the core did not start on the capture\n");
        return 1;
    }
    const std::vector<AdapterRecord> list = adapters();
    TvAsk ask;
    TvLogBook book{&ask};
    TvAdapterSession session{&ask, &book};
    TvGeneralPage page(&session);
    page.show();
    bool sampled = list.size() == Functions / 2;
    const double floor = percentOver(seconds, [] {});
    const double polled = percentOver(seconds, [&] { sampled = pollAll(list, page) && sampled; });
    CoreDeinit();
    std::fprintf(stderr, "%zu adapters polled once a second for %d s: %.3f %% of one core, floor %.3f %%%s\n",
                 list.size(), seconds, polled, floor, sampled ? "" : " (a sample was NOT taken)");
    char value[32], floorText[32];
    std::snprintf(value, sizeof value, "%.3f %%", polled);
    std::snprintf(floorText, sizeof floorText, "%.3f %%", floor);
    BenchTable::row("linux_polling", "General tab + statistics, 8 adapters (CPU)", value, floorText, -1,
                    "< 1 % of a core");
    return sampled && polled < 1.0 ? 0 : 1;
}
