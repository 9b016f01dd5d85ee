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

#include "engine/TvLogFile.h"
#include "engine/TvLogModel.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvCoreEvent.h"
#include "ui/TvAsk.h"
#include "ui/log/TvLogBook.h"
#include "ui/log/TvLogPage.h"

#include "StallProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>

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
        view = page.findChild<QListView *>(QStringLiteral("LogfileListBox"));
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
    QListView *view = nullptr;
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
        connect(book->model(), &QAbstractItemModel::rowsInserted, this,
                [=](const QModelIndex &, int, int last) {
                    if (last + 1 == expected)
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
    QEventLoop done;
    LogListReceiver receiver(&shown.book, count, &done);
    const Measurement m = runBurst(&receiver, count, done);
    if (shown.model().count() != count || !shown.followsTheEnd())
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
    return 0;
}
