// The worker thread against the simulated core: job order, completion
// events, cancellation, questions and the connectivity job.

#include "TvTestMachine.h"

#include "engine/TestJob.h"
#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"
#include "engine/TvWorkerThread.h"
#include "text/TvCoreCallbacks.h"

#include <QJsonArray>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <mutex>

namespace {

// Stands in for the main window: records every event in order and answers
// questions from a script; without a scripted answer it holds the question.
class Recorder : public QObject
{
public:
    struct Seen {
        int type;
        int value;
        QString text;
        QVector<int> buttons;
    };

    QVector<Seen> seen;
    QList<int> answers;
    std::shared_ptr<TvAnswerGate> held;
    qint64 busyNs = 0; // work per event, so that texts pile up behind it

    QVector<int> completions() const
    {
        QVector<int> kinds;
        for (const Seen &s : seen)
            if (s.type >= TvCoreEvent::TestDone && s.type <= TvCoreEvent::ConnectivityCancelled)
                kinds.append(s.type);
        return kinds;
    }
    QVector<int> values(int type) const
    {
        QVector<int> found;
        for (const Seen &s : seen)
            if (s.type == type)
                found.append(s.value);
        return found;
    }
    QStringList texts(int type) const
    {
        QStringList found;
        for (const Seen &s : seen)
            if (s.type == type)
                found.append(s.text);
        return found;
    }
    int indexOf(int type, const QString &text = QString()) const
    {
        for (int i = 0; i < seen.size(); ++i)
            if (seen[i].type == type && (text.isNull() || seen[i].text == text))
                return i;
        return -1;
    }

protected:
    void customEvent(QEvent *event) override
    {
        QElapsedTimer busy;
        busy.start();
        while (busy.nsecsElapsed() < busyNs) {
        }
        auto *core = static_cast<TvCoreEvent *>(event);
        seen.append({core->type(), core->value, core->text,
                     {core->buttons[0], core->buttons[1], core->buttons[2]}});
        if (core->kind() != TvCoreEvent::Question)
            return;
        // Taking the gate out keeps the event's destructor from answering.
        auto gate = std::move(core->gate);
        if (answers.isEmpty())
            held = gate;
        else
            gate->post(answers.takeFirst());
    }
};

constexpr int BurstLines = 2000;

int fakeRow(int n)
{
    return n * 16;
}

QJsonObject step(const char *key, const QJsonValue &value)
{
    return QJsonObject{{QLatin1String(key), value}};
}

QJsonObject behaviour(const QJsonArray &steps, int status)
{
    return QJsonObject{{QStringLiteral("steps"), steps}, {QStringLiteral("status"), status}};
}

QJsonObject ask(int message, const QJsonArray &buttons, int expect)
{
    return step("ask", QJsonObject{{QStringLiteral("message"), message},
                                   {QStringLiteral("buttons"), buttons},
                                   {QStringLiteral("expect"), expect}});
}

} // namespace

class TestEngineWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void runsJobsInOrderAndPostsTheirStatus();
    void aJobsTextsPrecedeItsCompletionAcrossBatches();
    void commandsPostCommandEvents();
    void cancelDropsQueuedJobsWithOneCancelEvent();
    void cancelStopsTheRunningCoreCall();
    void questionsReachTheCoreThroughTheGate();
    void connectivityJobPingsEightTimes();
    void connectivityFailuresAndCancels();
    void stopJoinsAndStartRestarts();
    void nothingIsPostedWithoutAReceiver();

private:
    TvTestMachine machine;
    std::unique_ptr<Recorder> recorder;
    std::unique_ptr<TvWorkerThread> worker;
};

void TestEngineWorker::initTestCase()
{
    machine.adapters.append(TvTestMachine::adapter(2, 1, 3));
    machine.tests[QStringLiteral("101")] =
        behaviour({step("stamped", QStringLiteral("first runs")), step("progress", 50)}, 0);
    machine.tests[QStringLiteral("102")] = behaviour({step("stamped", QStringLiteral("second runs"))}, 3);
    machine.tests[QStringLiteral("103")] = behaviour({step("stamped", QStringLiteral("third runs"))}, 0);
    machine.tests[QStringLiteral("104")] = behaviour({ask(2, {3, 4, 0}, 4)}, 0);
    machine.tests[QStringLiteral("105")] = behaviour({ask(1, {1, 2, 0}, 1)}, 0);
    machine.tests[QStringLiteral("106")] = behaviour({}, -7);
    QJsonArray burst;
    for (int i = 0; i < BurstLines; ++i)
        burst.append(step("stamped", QStringLiteral("line %1").arg(i)));
    machine.tests[QStringLiteral("107")] = behaviour(burst, 0);
    machine.install();
    QCOMPARE(CoreInit(), 0);
    AdapterRecord *table = AdapterEnumerate(nullptr);
    QVERIFY(table);
    QCOMPARE(AdapterSelect(&table[0]), 0);
}

void TestEngineWorker::init()
{
    recorder = std::make_unique<Recorder>();
    worker = std::make_unique<TvWorkerThread>();
    TvCoreCallbacks::setReceiver(recorder.get());
}

void TestEngineWorker::cleanup()
{
    if (recorder->held)
        recorder->held->post(2);
    worker.reset();
    TvCoreCallbacks::setReceiver(nullptr);
    recorder.reset();
}

void TestEngineWorker::cleanupTestCase()
{
    CoreDeinit();
}

void TestEngineWorker::runsJobsInOrderAndPostsTheirStatus()
{
    worker->appendJob(new TestJob(101, fakeRow(1)));
    worker->appendJob(new TestJob(102, fakeRow(2)));
    worker->appendJob(new TestJob(106, fakeRow(3)));
    worker->appendJob(new TestJob(103, fakeRow(4)));
    QCOMPARE(worker->jobCount(), 4);
    QCOMPARE(worker->currentRow(), -1);
    worker->start(recorder.get());

    QTRY_COMPARE(recorder->completions().size(), 4);
    QCOMPARE(recorder->completions(), QVector<int>({TvCoreEvent::TestDone, TvCoreEvent::TestDone,
                                                    TvCoreEvent::TestCancelled, TvCoreEvent::TestDone}));
    QCOMPARE(recorder->values(TvCoreEvent::TestDone), QVector<int>({0, 3, 0}));
    QCOMPARE(recorder->values(TvCoreEvent::TestCancelled), QVector<int>({-7}));
    // Each job's core texts come before its completion, the next job's after.
    QCOMPARE(recorder->texts(TvCoreEvent::LogText),
             QStringList({QStringLiteral("first runs"), QStringLiteral("second runs"),
                          QStringLiteral("third runs")}));
    const int firstDone = recorder->indexOf(TvCoreEvent::TestDone);
    QVERIFY(recorder->indexOf(TvCoreEvent::Progress) < firstDone);
    QVERIFY(recorder->indexOf(TvCoreEvent::LogText, QStringLiteral("second runs")) > firstDone);

    QCOMPARE(worker->jobCount(), 0);
    QCOMPARE(worker->currentRow(), fakeRow(4));
    QCOMPARE(worker->currentNumber(), 103);
    QVERIFY(!worker->isCoreBusy());
}

void TestEngineWorker::aJobsTextsPrecedeItsCompletionAcrossBatches()
{
    // The window is slower than the core, so the texts are still queued when
    // the job ends; its completion must wait behind them.
    recorder->busyNs = 20000;
    worker->appendJob(new TestJob(107, fakeRow(1)));
    worker->appendJob(new TestJob(101, fakeRow(2)));
    worker->start(recorder.get());
    QTRY_COMPARE_WITH_TIMEOUT(recorder->completions().size(), 2, 60000);
    QStringList expected;
    for (int i = 0; i < BurstLines; ++i)
        expected.append(QStringLiteral("line %1").arg(i));
    expected.append(QStringLiteral("first runs"));
    QCOMPARE(recorder->texts(TvCoreEvent::LogText), expected);
    const int done = recorder->indexOf(TvCoreEvent::TestDone);
    QVERIFY(recorder->indexOf(TvCoreEvent::LogText, expected[BurstLines - 1]) < done);
    QVERIFY(recorder->indexOf(TvCoreEvent::LogText, expected.last()) > done);
}

void TestEngineWorker::commandsPostCommandEvents()
{
    worker->start(recorder.get());
    worker->appendJob(new TestJob(TestJob::ConsoleCommand, -1, QStringLiteral("help")));
    worker->appendJob(new TestJob(TestJob::ConsoleCommand, -1, QStringLiteral("frobnicate")));
    QTRY_COMPARE(recorder->completions().size(), 2);
    QCOMPARE(recorder->completions(), QVector<int>({TvCoreEvent::CommandDone, TvCoreEvent::CommandDone}));
    QCOMPARE(recorder->values(TvCoreEvent::CommandDone).at(0), 0);
    QVERIFY(recorder->values(TvCoreEvent::CommandDone).at(1) > 0);
    // The core's console lines end as a terminal's do.
    QVERIFY(recorder->texts(TvCoreEvent::CoreLogText).contains(QStringLiteral("Commands:\n")));

    // A command stopped through TestCancel ends as cancelled.
    worker->appendJob(new TestJob(TestJob::ConsoleCommand, -1, QStringLiteral("run 105")));
    QTRY_VERIFY(recorder->held);
    QVERIFY(worker->isCoreBusy());
    QVERIFY(worker->requestCancel());
    recorder->held->post(1);
    QTRY_COMPARE(recorder->completions().size(), 3);
    QCOMPARE(recorder->completions().last(), int(TvCoreEvent::CommandCancelled));
    QVERIFY(recorder->values(TvCoreEvent::CommandCancelled).at(0) < 0);
}

void TestEngineWorker::cancelDropsQueuedJobsWithOneCancelEvent()
{
    std::atomic<int> pings{0};
    worker->setPingFunction([&](const QString &, const QString &, int, QString *) { return ++pings; });
    worker->setCancelRequested(true);
    worker->appendJob(new TestJob(TestJob::Connectivity, fakeRow(6), QStringLiteral("a-b")));
    worker->appendJob(new TestJob(101, fakeRow(1)));
    worker->appendJob(new TestJob(102, fakeRow(2)));
    worker->appendJob(new TestJob(TestJob::ConsoleCommand, -1, QStringLiteral("help")));
    worker->start(recorder.get());

    QTRY_COMPARE(recorder->completions().size(), 1);
    QTRY_COMPARE(worker->jobCount(), 0);
    QCOMPARE(recorder->completions().first(), int(TvCoreEvent::TestCancelled));
    QCOMPARE(pings.load(), 0);
    QVERIFY(!worker->cancelCore()); // nothing in the core

    // Once the window has handled the cancel, the worker runs again; the
    // dropped jobs never reached the core.
    worker->setCancelRequested(false);
    worker->appendJob(new TestJob(103, fakeRow(3)));
    QTRY_COMPARE(recorder->completions().size(), 2);
    QCOMPARE(recorder->completions().last(), int(TvCoreEvent::TestDone));
    QCOMPARE(recorder->texts(TvCoreEvent::LogText), QStringList({QStringLiteral("third runs")}));
    QVERIFY(recorder->texts(TvCoreEvent::CoreLogText).isEmpty());
}

void TestEngineWorker::cancelStopsTheRunningCoreCall()
{
    worker->start(recorder.get());
    worker->appendJob(new TestJob(105, fakeRow(5)));
    worker->appendJob(new TestJob(101, fakeRow(1)));
    QTRY_VERIFY(recorder->held);
    QVERIFY(worker->isCoreBusy());
    QCOMPARE(worker->currentRow(), fakeRow(5));

    QVERIFY(worker->requestCancel());
    QVERIFY(worker->isCancelRequested());
    recorder->held->post(1); // the expected answer: only the cancel fails it
    QTRY_COMPARE(recorder->completions().size(), 1);
    QCOMPARE(recorder->completions().first(), int(TvCoreEvent::TestCancelled));
    QVERIFY(recorder->values(TvCoreEvent::TestCancelled).first() < 0);
    // The job queued behind it is dropped with a cancel event of its own.
    QTRY_COMPARE(recorder->completions().size(), 2);
    QCOMPARE(recorder->completions().last(), int(TvCoreEvent::TestCancelled));
    QTRY_COMPARE(worker->jobCount(), 0);
    QVERIFY(!worker->isCoreBusy());
    QVERIFY(!recorder->texts(TvCoreEvent::LogText).contains(QStringLiteral("first runs")));
}

void TestEngineWorker::questionsReachTheCoreThroughTheGate()
{
    // An answer given before anyone waits is kept for the waiter, and only
    // the first answer counts.
    {
        TvAnswerGate gate;
        gate.post(4);
        gate.post(3);
        QVERIFY(gate.isAnswered());
        std::atomic<int> got{0};
        std::unique_ptr<QThread> asker(QThread::create([&] { got = gate.wait(); }));
        asker->start();
        QVERIFY(asker->wait(60000));
        QCOMPARE(got.load(), 4);
    }
    // Buttons {3, 4, 0} answered with the second button: the core gets 4
    // (the sub-test passes only with that answer).
    recorder->answers = {4, 3};
    worker->start(recorder.get());
    worker->appendJob(new TestJob(104, fakeRow(1)));
    worker->appendJob(new TestJob(104, fakeRow(2)));
    QTRY_COMPARE(recorder->completions().size(), 2);
    QCOMPARE(recorder->values(TvCoreEvent::TestDone), QVector<int>({0, 1}));
    const int question = recorder->indexOf(TvCoreEvent::Question);
    QCOMPARE(recorder->seen[question].buttons, QVector<int>({3, 4, 0}));
    QCOMPARE(recorder->seen[question].text, QStringLiteral("IS_10_LED_ON"));

    // A question left unhandled when the window goes away answers Cancel.
    worker->appendJob(new TestJob(105, fakeRow(5)));
    QTRY_VERIFY(recorder->held);
    recorder->held.reset();
    TvCoreCallbacks::setReceiver(nullptr);
    QTRY_COMPARE(recorder->completions().size(), 3);
    QCOMPARE(recorder->values(TvCoreEvent::TestDone).last(), 1);
}

void TestEngineWorker::connectivityJobPingsEightTimes()
{
    std::mutex lock;
    QStringList calls;
    worker->setPingFunction([&](const QString &from, const QString &to, int timeout, QString *) {
        std::lock_guard<std::mutex> locker(lock);
        calls.append(QStringLiteral("%1>%2/%3").arg(from, to).arg(timeout));
        return 3;
    });
    worker->start(recorder.get());
    worker->appendJob(new TestJob(TestJob::Connectivity, fakeRow(1),
                                  QStringLiteral("10.1.2.3-10.1.2.4-ignored")));
    QTRY_COMPARE(recorder->completions().size(), 1);
    QCOMPARE(recorder->completions().first(), int(TvCoreEvent::ConnectivityDone));
    QCOMPARE(recorder->values(TvCoreEvent::ConnectivityDone), QVector<int>({0}));
    QCOMPARE(recorder->values(TvCoreEvent::Progress),
             QVector<int>({12, 24, 36, 48, 60, 72, 84, 96, 100}));
    std::lock_guard<std::mutex> locker(lock);
    QCOMPARE(calls.size(), 8);
    QCOMPARE(calls.count(QStringLiteral("10.1.2.3>10.1.2.4/1000")), 8);
}

void TestEngineWorker::connectivityFailuresAndCancels()
{
    std::atomic<int> calls{0};
    std::atomic<int> failAt{3};
    std::atomic<int> cancelAt{0};
    std::atomic<bool> explained{false};
    worker->setPingFunction([&](const QString &, const QString &, int, QString *why) {
        const int n = ++calls;
        if (n == cancelAt)
            worker->setCancelRequested(true);
        if (n == failAt && explained)
            *why = QStringLiteral("no route to the host");
        return n == failAt ? -5 : 1;
    });
    worker->start(recorder.get());

    // Third ping fails: an OK-only message, then a failed test.
    recorder->answers = {1};
    worker->appendJob(new TestJob(TestJob::Connectivity, fakeRow(1), QStringLiteral("a-b")));
    QTRY_COMPARE(recorder->completions().size(), 1);
    QCOMPARE(recorder->values(TvCoreEvent::Progress), QVector<int>({12, 24}));
    const int question = recorder->indexOf(TvCoreEvent::Question);
    QVERIFY(question >= 0);
    QCOMPARE(recorder->seen[question].text, QStringLiteral("PING_ERROR_CHECK_TCPIP"));
    QCOMPARE(recorder->seen[question].buttons, QVector<int>({1, 0, 0}));
    QCOMPARE(recorder->completions().first(), int(TvCoreEvent::ConnectivityDone));
    QCOMPARE(recorder->values(TvCoreEvent::ConnectivityDone), QVector<int>({1}));

    // A failure that says why: its own text in the box.
    recorder->seen.clear();
    calls = 0;
    explained = true;
    recorder->answers = {1};
    worker->appendJob(new TestJob(TestJob::Connectivity, fakeRow(1), QStringLiteral("a-b")));
    QTRY_COMPARE(recorder->completions().size(), 1);
    QCOMPARE(recorder->seen[recorder->indexOf(TvCoreEvent::Question)].text,
             QStringLiteral("no route to the host"));

    // Cancelled after the second ping: seen after that ping, nothing else.
    recorder->seen.clear();
    calls = 0;
    failAt = 0;
    cancelAt = 2;
    worker->appendJob(new TestJob(TestJob::Connectivity, fakeRow(1), QStringLiteral("a-b")));
    QTRY_COMPARE(recorder->completions().size(), 1);
    QCOMPARE(recorder->completions().first(), int(TvCoreEvent::ConnectivityCancelled));
    QCOMPARE(recorder->values(TvCoreEvent::Progress), QVector<int>({12, 24}));
    QCOMPARE(calls.load(), 2);

    // A ping that fails while a cancel is pending still shows its message,
    // then ends as cancelled.
    recorder->seen.clear();
    worker->setCancelRequested(false);
    calls = 0;
    failAt = 1;
    cancelAt = 1;
    recorder->answers = {1};
    worker->appendJob(new TestJob(TestJob::Connectivity, fakeRow(1), QStringLiteral("a-b")));
    QTRY_COMPARE(recorder->completions().size(), 1);
    QVERIFY(recorder->indexOf(TvCoreEvent::Question) >= 0);
    QCOMPARE(recorder->completions().first(), int(TvCoreEvent::ConnectivityCancelled));

    // Without a ping routine every ping fails.
    recorder->seen.clear();
    worker->setCancelRequested(false);
    worker->setPingFunction(nullptr);
    recorder->answers = {1};
    worker->appendJob(new TestJob(TestJob::Connectivity, fakeRow(1), QStringLiteral("a")));
    QTRY_COMPARE(recorder->completions().size(), 1);
    QCOMPARE(recorder->values(TvCoreEvent::ConnectivityDone), QVector<int>({1}));
}

void TestEngineWorker::stopJoinsAndStartRestarts()
{
    worker->start(recorder.get());
    QTRY_VERIFY(worker->isRunning());
    worker->stop();
    QVERIFY(worker->isFinished());
    // Jobs queued while stopped wait for the next start.
    worker->appendJob(new TestJob(101, fakeRow(1)));
    QTest::qWait(120);
    QCOMPARE(worker->jobCount(), 1);
    QVERIFY(recorder->completions().isEmpty());

    worker->start(recorder.get());
    QTRY_COMPARE(recorder->completions().size(), 1);
    QCOMPARE(recorder->completions().first(), int(TvCoreEvent::TestDone));
}

void TestEngineWorker::nothingIsPostedWithoutAReceiver()
{
    // With no receiver a failing ping's message cannot be shown; the job
    // must still end instead of waiting for an answer.
    worker->start(nullptr);
    worker->appendJob(new TestJob(TestJob::Connectivity, -1, QStringLiteral("a-b")));
    worker->appendJob(new TestJob(103, -1));
    QTRY_VERIFY(recorder->texts(TvCoreEvent::LogText).contains(QStringLiteral("third runs")));

    worker->setReceiver(recorder.get());
    worker->appendJob(new TestJob(102, -1));
    QTRY_VERIFY(recorder->values(TvCoreEvent::TestDone).contains(3));
    QCOMPARE(recorder->indexOf(TvCoreEvent::Question), -1);
    QVERIFY(!recorder->completions().contains(TvCoreEvent::ConnectivityDone));
    QVERIFY(!recorder->completions().contains(TvCoreEvent::ConnectivityCancelled));
}

QTEST_MAIN(TestEngineWorker)
#include "test_engine_worker.moc"
