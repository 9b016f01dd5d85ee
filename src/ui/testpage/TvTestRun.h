#pragma once
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class TvAdapterSession;
class TvAsk;
class TvLogBook;
class TvTestPage;
class TvWorkerThread;

// The test-run state machine. The ticked rows of the shown test slot run one
// job at a time on the worker thread; each completion event starts the next
// row, loops the slot, moves an all-tests run on to its next slot, or ends
// the run. GUI thread only, except setCoreBusy. The cancel request, the
// queue and whether the core is inside a test live in the worker thread,
// which both threads reach.
class TvTestRun : public QObject
{
    Q_OBJECT
public:
    static constexpr int LoopRestartMs = 100;
    // How a sub-test ended (subTestEnded).
    enum Outcome { Passed, Failed, Cancelled };
    static constexpr int ConnectivityRestartMs = 300;

    TvTestRun(TvTestPage *page, TvAdapterSession *session, TvLogBook *log, TvAsk *ask,
              bool advanced, QObject *parent = nullptr);

    // The worker thread that runs the jobs; not owned. Without one nothing starts.
    void setWorker(TvWorkerThread *worker) { workerThread = worker; }
    TvWorkerThread *worker() const { return workerThread; }

    // Starts the connectivity entry's row (the connectivity feature): false
    // when the test ends at once; true when its job is queued, or will be
    // after a wait that ends in connectivityNotStarted() or
    // connectivityCancelled() when no job comes of it.
    using ConnectivityStart = std::function<bool(int row)>;
    void setConnectivityStart(ConnectivityStart start) { connectivityStart = std::move(start); }

    bool isRunning() const { return running; }
    bool isAllTests() const { return allTestsMode; }
    int loopCount() const { return loopCounter; }
    // The passes counted when the user last cancelled, and whether the loop
    // box is ticked: a cancelled console command reports them too.
    int lastLoop() const { return lastLoopCount; }
    bool loopTicked() const;

    // Core work that the window runs on a thread of its own (not through
    // the worker) marks itself busy, so that closing still asks about it.
    // Any thread.
    void setCoreBusy(bool busy) { coreBusy = busy; }
    // A core call in progress: the worker's test or command, or other core work.
    bool coreIsBusy() const;
    // TestCancel, only while the core is busy.
    void cancelCoreWork();
    // Empties the worker's queue of jobs not yet started.
    void clearPendingJobs();

    // The cursor follows the pointer over the cancel button and the loop
    // box while a test runs (they stay usable while the window waits).
    void watchRunControls();

    // The worker's and the core's events.
    void testCaseFinished(int status);
    void testCaseCancelled();
    void connectivityFinished(int status);
    void connectivityCancelled();
    void connectivityNotStarted();
    void showResultText(const QString &text);
    void showProgress(int value);

public slots:
    void StartTestSlot();
    void startAllTestsSlot();
    void CancelTestSlot();
    void testSlot();
    void restartTestCase();

signals:
    void runningChanged(bool running);
    // True: lock the controls for a run; false: release them.
    void controlsLockRequested(bool lock);
    // A cancel was asked for: the other pages' cancel buttons go off.
    void cancelling();
    // The run goes on in a slot that the test tab must show.
    void testPageWanted();

    // The course of a run, for its record. A start from idle announces
    // itself, and every such start ends in runFinished, whether sub-tests
    // ran or not; in between, each row that runs starts and ends.
    void runStarting();
    void subTestStarted(int row);
    void subTestEnded(int row, int outcome);
    // A text that the core gave for the running row.
    void coreResultText(const QString &text);
    void runFinished(bool cancelled);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void setRunning(bool on);
    void advanceLoopCounter();
    void beginRow(int row);
    void startRow(int row);
    bool runConnectivityTest(int row);
    void releaseAfterFailedStart();
    bool qualifiesForAllTests(int k) const;
    int firstAllTestsSlot(bool *missing) const;
    int checkedMenuSlot() const;
    void abandonAllTests();
    void endAllTests();
    void markRowResult(bool passed);
    bool continueAllTests();
    void finishAllTests();
    void finishCancelledRun(bool markRow, bool endAllTests);
    bool stopIfCancelled();
    void endRun();
    void scheduleRestart(int delayMs);
    bool dropPendingRestart();
    bool currentRowValid() const;

    TvTestPage *page;
    TvAdapterSession *session;
    TvLogBook *log;
    TvAsk *ask;
    bool advanced;
    TvWorkerThread *workerThread = nullptr;
    ConnectivityStart connectivityStart;
    std::atomic<bool> coreBusy{false};
    bool running = false;
    int currentRow = 0;
    bool allTestsMode = false;
    int allTestsIndex = 0;
    int loopCounter = 0;
    int lastLoopCount = 0;
    // The one-shot loop restart that is due, or 0; a cancel drops it.
    int pendingRestart = 0;
    int restartTickets = 0;
};
