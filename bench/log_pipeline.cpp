// How fast core texts reach the log list, and what they cost the GUI thread.
//
//   QT_QPA_PLATFORM=offscreen build/run/log_pipeline [N]
//
// A producer thread plays the core: it sends N texts (default 1,000,000)
// through the stampedText callback. They arrive as log-text events at a
// receiver on the GUI thread that hands them, as the main window does, to
// the program's own log book (TvLogBook: stamp the line, append it to its
// TvLogModel), shown on the program's log page (TvLogPage, whose list
// follows the last line). Reported: lines per second,
// the longest stall of the GUI event loop during the burst (seen by a 10 ms
// timer), and the resident memory added per line. The same burst then goes
// to a bare receiver that only appends the texts to a QStringList: the floor
// that the event road itself costs. The producer is usually the bottleneck
// (every post wakes the GUI thread), so a busy receiver, whose wake-ups
// coalesce, can finish sooner than the bare one: a ratio near or below 1
// means the log list keeps up with the core.

#include "text/TvCoreEvent.h"
#include "engine/TvLogModel.h"
#include "text/TvCoreCallbacks.h"
#include "ui/TvAsk.h"
#include "ui/log/TvLogBook.h"
#include "ui/log/TvLogPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QStringList>
#include <QTimer>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

namespace {

struct Measurement {
    double seconds = 0;
    qint64 longestStallMs = 0;
    double bytesPerLine = 0;
};

qint64 residentBytes()
{
    // Freed memory that malloc still holds would count as resident.
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Fires every 10 ms and keeps the longest gap between two firings.
class StallProbe : public QObject
{
public:
    StallProbe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, &StallProbe::tick);
    }
    void start()
    {
        longest = 0;
        clock.start();
        timer.start();
    }
    qint64 stop()
    {
        timer.stop();
        tick();
        return longest;
    }

private:
    void tick()
    {
        longest = qMax(longest, clock.restart());
    }
    QTimer timer;
    QElapsedTimer clock;
    qint64 longest = 0;
};

// Hands log-text events to the log book, as the main window does.
class LogListReceiver : public QObject
{
public:
    LogListReceiver(TvLogBook *book, int expected, QEventLoop *done) : book(book)
    {
        connect(book->model(), &QAbstractItemModel::rowsInserted, done,
                [=](const QModelIndex &, int, int last) {
                    if (last + 1 == expected)
                        done->quit();
                });
    }

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() != QEvent::Type(TvCoreEvent::LogText))
            return;
        book->addLogLine(static_cast<TvCoreEvent *>(event)->text);
    }

private:
    TvLogBook *book;
};

// The floor: nothing but keeping the text.
class BareReceiver : public QObject
{
public:
    BareReceiver(int expected, QEventLoop *done) : expected(expected), done(done) {}
    QStringList lines;

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() != QEvent::Type(TvCoreEvent::LogText))
            return;
        lines.append(static_cast<TvCoreEvent *>(event)->text);
        if (lines.size() == expected)
            done->quit();
    }

private:
    int expected;
    QEventLoop *done;
};

void produce(int count)
{
    const CoreCallbacks *core = TvCoreCallbacks::table();
    for (int i = 0; i < count; ++i)
        core->stampedText("Test %d: loopback frame %d of 1000 sent and received\tok", i % 97, i % 1000);
}

// Sends the burst to `receiver` and runs the event loop until `done` quits.
Measurement runBurst(QObject *receiver, int count, QEventLoop &done, qint64 residentBefore)
{
    StallProbe probe;
    TvCoreCallbacks::setReceiver(receiver);
    Measurement m;
    QElapsedTimer clock;
    clock.start();
    probe.start();
    std::thread core(produce, count);
    done.exec();
    m.seconds = clock.nsecsElapsed() / 1e9;
    m.longestStallMs = probe.stop();
    core.join();
    TvCoreCallbacks::setReceiver(nullptr);
    QCoreApplication::processEvents();
    m.bytesPerLine = double(residentBytes() - residentBefore) / count;
    return m;
}

Measurement measureLogList(int count)
{
    TvAsk ask;
    TvLogBook book(&ask);
    book.setLoggingOn(true);
    TvLogModel &model = *book.model();
    TvLogPage page(&book);
    auto *view = page.findChild<QListView *>(QStringLiteral("LogfileListBox"));
    page.resize(900, 600);
    page.show();
    QCoreApplication::processEvents();

    QEventLoop done;
    LogListReceiver receiver(&book, count, &done);
    const qint64 before = residentBytes();
    Measurement m = runBurst(&receiver, count, done, before);
    if (model.count() != count || view->currentIndex().row() != count - 1)
        std::fprintf(stderr, "log list incomplete: %d lines, current row %d\n", model.count(),
                     view->currentIndex().row());
    return m;
}

Measurement measureFloor(int count)
{
    QEventLoop done;
    BareReceiver receiver(count, &done);
    const qint64 before = residentBytes();
    return runBurst(&receiver, count, done, before);
}

void printRow(const char *name, const Measurement &m, int count)
{
    std::printf("  %-22s %12.0f %14lld %14.1f\n", name, count / m.seconds,
                static_cast<long long>(m.longestStallMs), m.bytesPerLine);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: log_pipeline [number of lines]\n");
        return 2;
    }

    const Measurement list = measureLogList(count);
    const Measurement floor = measureFloor(count);

    std::printf("log pipeline, %d core texts\n", count);
    std::printf("  %-22s %12s %14s %14s\n", "receiver", "lines/s", "stall max ms", "bytes/line");
    printRow("log list (TvLogBook)", list, count);
    printRow("bare QStringList", floor, count);
    std::printf("the log list takes %.2f times as long as the bare floor\n",
                list.seconds / floor.seconds);
    return 0;
}
