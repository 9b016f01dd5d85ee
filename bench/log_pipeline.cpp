// How fast core texts reach the log list, and what they cost the GUI thread.
//
//   QT_QPA_PLATFORM=offscreen build/run/log_pipeline [N]
//
// A producer thread plays the core: it sends N texts (default 1,000,000)
// through the stampedText callback, which queues them in the receiver's
// TvEventChannel as in the program. Two runs, each with the same window
// shown (the program's own log page, TvLogPage, over a TvLogBook):
// - log list: the receiver hands each text to the log book as the main
//   window does: it stamps the line and appends it to the list, which
//   follows the end;
// - floor: the same producer, texts and window, and the receiver stamps each
//   line too, but keeps it in a bare QStringList, so the list stays idle.
// Reported per run: lines per second, the longest stall of the GUI event
// loop during the burst (seen by a 10 ms timer) and the resident memory
// added per line; then the ratios of the longest stalls and of the times.
// A stall in the floor is what the machine itself costs (other processes,
// the delivery road); what the log list adds to it is the list's own.
//
// Then the stall by log size: the list is filled to each size S (default
// 1, 3 and 6 million lines; more sizes after N on the command line) and a
// burst of 100,000 texts follows, whose longest stall is reported beside
// the floor's for the same burst. It must not grow with S.

#include "BenchTable.h"

#include "engine/TvLogFile.h"
#include "engine/TvLogModel.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvCoreEvent.h"
#include "ui/TvAsk.h"
#include "ui/log/TvLogBook.h"
#include "ui/log/TvLogPage.h"
#include "ui/log/TvLogView.h"

#include "StallProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

struct Measurement {
    double seconds = 0;
    qint64 longestStallMs = 0;
    double bytesPerLine = 0;
};

// The window both runs show: the program's log page over its log book.
class LogWindow
{
public:
    LogWindow() : book(&ask), page(&book)
    {
        book.setLoggingOn(true);
        view = page.findChild<TvLogView *>(QStringLiteral("LogfileListBox"));
        page.resize(900, 600);
        page.show();
        QCoreApplication::processEvents();
    }
    bool followsTheEnd() const
    {
        return view->verticalScrollBar()->value() == view->verticalScrollBar()->maximum();
    }
    TvLogModel &model() { return *book.model(); }

    TvAsk ask;
    TvLogBook book;
    TvLogPage page;
    TvLogView *view = nullptr;
};

// Receives the texts of one run and ends the run's event loop.
class Receiver : public QObject
{
public:
    Receiver(int expected, QEventLoop *done) : expected(expected), done(done) {}

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() != QEvent::Type(TvCoreEvent::LogText))
            return;
        keep(static_cast<TvCoreEvent *>(event)->text);
    }
    virtual void keep(const QString &text) = 0;

    const int expected;
    QEventLoop *const done;
};

// As the main window: the text goes to the log book. The run ends when the
// list has announced the last line.
class LogListReceiver : public Receiver
{
public:
    LogListReceiver(TvLogBook *book, int expected, QEventLoop *done) : Receiver(expected, done), book(book)
    {
        const int rows = book->model()->count() + expected;
        connect(book->model(), &QAbstractItemModel::rowsInserted, this,
                [=](const QModelIndex &, int, int last) {
                    if (last + 1 == rows)
                        done->quit();
                });
    }

private:
    void keep(const QString &text) override { book->addLogLine(text); }
    TvLogBook *book;
};

// The floor: the stamped line is only kept.
class BareReceiver : public Receiver
{
public:
    using Receiver::Receiver;
    QStringList lines;

private:
    void keep(const QString &text) override
    {
        lines.append(TvLogFile::stampedLine(text));
        if (lines.size() == expected)
            done->quit();
    }
};

void produce(int count)
{
    const CoreCallbacks *core = TvCoreCallbacks::table();
    for (int i = 0; i < count; ++i)
        core->stampedText("Test %d: loopback frame %d of 1000 sent and received\tok", i % 97, i % 1000);
}

// Sends the burst to `receiver` and runs the event loop until `done` quits.
Measurement runBurst(QObject *receiver, int count, QEventLoop &done)
{
    const qint64 residentBefore = StallProbe::residentBytes();
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
    m.bytesPerLine = double(StallProbe::residentBytes() - residentBefore) / count;
    return m;
}

Measurement measureLogList(LogWindow &shown, int count)
{
    const int expected = shown.model().count() + count;
    QEventLoop done;
    LogListReceiver receiver(&shown.book, count, &done);
    const Measurement m = runBurst(&receiver, count, done);
    if (shown.model().count() != expected || !shown.followsTheEnd())
        std::fprintf(stderr, "log list incomplete: %d lines, following the end: %d\n", shown.model().count(),
                     shown.followsTheEnd());
    return m;
}

Measurement measureFloor(LogWindow &shown, int count)
{
    shown.model().clear();
    QCoreApplication::processEvents();
    QEventLoop done;
    BareReceiver receiver(count, &done);
    return runBurst(&receiver, count, done);
}

// Fills the shown list to `size` lines without the core, as fast as it
// stores them.
void fillTo(LogWindow &shown, int size)
{
    QStringList lines;
    while (shown.model().count() < size) {
        lines.clear();
        const int batch = qMin(100000, size - shown.model().count());
        for (int i = 0; i < batch; ++i)
            lines.append(TvLogFile::stampedLine(QStringLiteral("Test %1: loopback frame %2 of 1000 sent and received   ok")
                                                    .arg(i % 97)
                                                    .arg(i % 1000)));
        shown.model().appendLines(lines);
    }
    shown.model().flush();
    QCoreApplication::processEvents();
}

void stallBySize(LogWindow &shown, const QList<int> &sizes)
{
    constexpr int Burst = 100000;
    std::printf("\nlongest stall of a burst of %d texts into a list of S lines\n", Burst);
    std::printf("  %12s %14s %14s\n", "S", "log list ms", "floor ms");
    for (const int size : sizes) {
        shown.model().clear();
        fillTo(shown, size);
        const Measurement list = measureLogList(shown, Burst);
        const Measurement floor = measureFloor(shown, Burst);
        std::printf("  %12d %14lld %14lld\n", size, static_cast<long long>(list.longestStallMs),
                    static_cast<long long>(floor.longestStallMs));
        const QByteArray measure = "GUI stall, burst into " + QByteArray::number(size / 1e6) + "M lines";
        BenchTable::row("log_pipeline", measure.constData(),
                        QByteArray::number(list.longestStallMs).append(" ms").constData(),
                        QByteArray::number(floor.longestStallMs).append(" ms").constData(),
                        double(list.longestStallMs) / qMax<qint64>(floor.longestStallMs, 1), "<= 50 ms");
    }
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
    QList<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.append(std::atoi(argv[i]));
    if (sizes.isEmpty())
        sizes = {1000000, 3000000, 6000000};
    if (count <= 0 || std::any_of(sizes.begin(), sizes.end(), [](int size) { return size < 0; })) {
        std::fprintf(stderr, "usage: log_pipeline [number of lines [list sizes...]]\n");
        return 2;
    }

    LogWindow shown;
    const Measurement list = measureLogList(shown, count);
    const Measurement floor = measureFloor(shown, count);

    std::printf("log pipeline, %d core texts, the same window shown in both runs\n", count);
    std::printf("  %-22s %12s %14s %14s\n", "receiver", "lines/s", "stall max ms", "bytes/line");
    printRow("log list (TvLogBook)", list, count);
    printRow("floor (QStringList)", floor, count);
    std::printf("longest stall: log list %lld ms, floor %lld ms, ratio %.2f\n",
                static_cast<long long>(list.longestStallMs), static_cast<long long>(floor.longestStallMs),
                double(list.longestStallMs) / qMax<qint64>(floor.longestStallMs, 1));
    std::printf("the log list takes %.2f times as long as the floor\n", list.seconds / floor.seconds);
    const QByteArray burst = "burst of " + QByteArray::number(count) + " texts: ";
    BenchTable::row("log_pipeline", (burst + "time").constData(),
                    QByteArray::number(list.seconds, 'f', 2).append(" s").constData(),
                    QByteArray::number(floor.seconds, 'f', 2).append(" s").constData(),
                    list.seconds / floor.seconds, "-");
    BenchTable::row("log_pipeline", (burst + "GUI stall").constData(),
                    QByteArray::number(list.longestStallMs).append(" ms").constData(),
                    QByteArray::number(floor.longestStallMs).append(" ms").constData(),
                    double(list.longestStallMs) / qMax<qint64>(floor.longestStallMs, 1), "<= 50 ms");
    stallBySize(shown, sizes);
    return 0;
}
