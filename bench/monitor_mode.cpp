// What a long monitor or repeater run costs the GUI thread and the memory.
//
//   QT_QPA_PLATFORM=offscreen build/run/monitor_mode [minutes] [speed]
//
// A producer thread plays the core in a monitor mode: per simulated minute it
// writes 10,000 state cells (five rows of two cells, as the core's mode
// command does) and 100,000 console lines, in 10 ms steps, through the
// callbacks that the program hands the core, which queue them in the
// receiver's TvEventChannel as in the program. `speed` compresses the time
// (default 5: a simulated minute takes 12 s). Two runs, each with the same
// window shown (the program's own console and monitor pages):
// - pages: the receiver hands each text to the console page and each cell
//   to the monitor page's state table, as the main window does;
// - floor: the same producer and window, and the receiver only counts.
// Reported per run: the longest stall of the GUI event loop (seen by a 10 ms
// timer), and for the pages run the resident memory and the console's line
// count after each simulated minute: past the console's maximum line count
// the memory stays flat.

#include "text/TvCoreCallbacks.h"
#include "text/TvCoreEvent.h"
#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/console/TvConsolePage.h"
#include "ui/log/TvLogBook.h"
#include "ui/monitor/TvMonitorPage.h"

#include "StallProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr int LinesPerMinute = 100000;
constexpr int CellsPerMinute = 10000;
constexpr int StepMs = 10;

// The window both runs show.
class MonitorWindow
{
public:
    MonitorWindow()
        : book(&ask), session(&ask, &book), console(true, &session, &ask, &book, nullptr),
          monitor(true, &session, &ask)
    {
        console.buildAdvancedTab();
        monitor.languageChange();
        auto *layout = new QHBoxLayout(&shown);
        layout->addWidget(&console);
        layout->addWidget(&monitor);
        shown.resize(1200, 600);
        shown.show();
        QCoreApplication::processEvents();
    }
    int consoleLines() const
    {
        return console.findChild<QPlainTextEdit *>(QStringLiteral("AdvancedTextEdit"))->blockCount();
    }

    // Declared first, so that the pages leave it before it goes.
    QWidget shown;
    TvAsk ask;
    TvLogBook book;
    TvAdapterSession session;
    TvConsolePage console;
    TvMonitorPage monitor;
};

// Counts what arrives; with pages, hands it to them as the main window does.
class Receiver : public QObject
{
public:
    Receiver(MonitorWindow *pages, qint64 expected, QEventLoop *done)
        : pages(pages), expected(expected), done(done)
    {
    }
    qint64 received = 0;

protected:
    void customEvent(QEvent *event) override
    {
        auto *core = static_cast<TvCoreEvent *>(event);
        if (pages && core->kind() == TvCoreEvent::CoreLogText)
            pages->console.coreLogText(core->text);
        else if (pages && core->kind() == TvCoreEvent::StateCell)
            pages->monitor.showStateCell(core->row, core->column, core->text);
        if (++received == expected)
            done->quit();
    }

private:
    MonitorWindow *pages;
    const qint64 expected;
    QEventLoop *const done;
};

void produce(int minutes, int speed)
{
    const CoreCallbacks *core = TvCoreCallbacks::table();
    const int steps = minutes * 60000 / StepMs;
    const auto stepTime = std::chrono::microseconds(StepMs * 1000 / speed);
    auto due = std::chrono::steady_clock::now();
    qint64 lines = 0, cells = 0;
    for (int step = 1; step <= steps; ++step) {
        // Whole numbers per step, spread so that each minute gets its share.
        const qint64 linesDue = qint64(step) * LinesPerMinute * StepMs / 60000;
        const qint64 cellsDue = qint64(step) * CellsPerMinute * StepMs / 60000;
        for (; lines < linesDue; ++lines)
            core->logText("Monitor port A: frame %lld received, 64 bytes, FCS ok\n", lines);
        for (; cells < cellsDue; ++cells) {
            const int row = int(cells / 2 % 5);
            if (cells % 2 == 0)
                core->catalogMessage(row, 0, 28 + row);
            else
                core->formattedMessage(row, 1, "%lld", cells);
        }
        due += stepTime;
        std::this_thread::sleep_until(due);
    }
}

struct Run {
    qint64 longestStallMs = 0;
    int stallsOverGoal = 0;
    double seconds = 0;
};

Run runMonitor(MonitorWindow &window, bool pages, int minutes, int speed)
{
    const qint64 expected = qint64(minutes) * (LinesPerMinute + CellsPerMinute);
    QEventLoop done;
    Receiver receiver(pages ? &window : nullptr, expected, &done);
    TvCoreCallbacks::setReceiver(&receiver);
    StallProbe probe;
    // Each simulated minute: the console's lines and the resident memory.
    QTimer minute;
    int minutesSeen = 0;
    QObject::connect(&minute, &QTimer::timeout, [&] {
        if (pages)
            std::printf("  after minute %2d: %7d console lines, %7.1f MB resident\n", ++minutesSeen,
                        window.consoleLines(), StallProbe::residentBytes() / 1048576.0);
        probe.skip();
    });
    minute.start(60000 / speed);
    QElapsedTimer clock;
    clock.start();
    probe.start();
    std::thread core(produce, minutes, speed);
    done.exec();
    Run run;
    run.longestStallMs = probe.stop();
    run.stallsOverGoal = probe.stallsOverGoal();
    run.seconds = clock.nsecsElapsed() / 1e9;
    core.join();
    minute.stop();
    TvCoreCallbacks::setReceiver(nullptr);
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 3;
    const int speed = argc > 2 ? std::atoi(argv[2]) : 5;
    if (minutes <= 0 || speed <= 0) {
        std::fprintf(stderr, "usage: monitor_mode [simulated minutes] [speed]\n");
        return 2;
    }
    MonitorWindow window;
    std::printf("monitor mode, %d simulated minutes at %dx: %d lines and %d cells a minute\n", minutes,
                speed, LinesPerMinute, CellsPerMinute);
    std::printf("pages (console %d lines at most):\n", TvConsolePage::MaxConsoleLines);
    const Run pages = runMonitor(window, true, minutes, speed);
    const Run floor = runMonitor(window, false, minutes, speed);
    std::printf("longest stall: pages %lld ms, floor %lld ms; stalls over 50 ms: pages %d, floor %d\n",
                static_cast<long long>(pages.longestStallMs), static_cast<long long>(floor.longestStallMs),
                pages.stallsOverGoal, floor.stallsOverGoal);
    std::printf("run time: pages %.1f s, floor %.1f s\n", pages.seconds, floor.seconds);
    return 0;
}
