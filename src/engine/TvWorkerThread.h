#pragma once
#include <QString>
#include <QThread>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QObject;
class TestJob;
class TvCoreEvent;
class TvEventChannel;

// Runs the core library's test work off the GUI thread. The main window fills
// the job queue; the worker takes one job at a time, calls the core (which
// reports through TvCoreCallbacks) and posts a completion event to its
// receiver. It never touches a widget.
//
// Use from the main window (all calls on the GUI thread unless noted):
//   start(this)                once the window exists
//   appendJob(new TestJob(..)) to run a sub-test, console command or pings
//   setCancelRequested(false)  when a run starts and after a cancel was handled
//   requestCancel()            for the cancel buttons: sets the flag and stops
//                              the core call in progress (TestCancel)
//   cancelCore()               exit and close: TestCancel only if the core is busy
//   isCoreBusy()               close asks "still running?" while it is set
//   currentRow()               the row of the job taken last, for progress
//   clearJobs()                on cancellation and exit
//   setReceiver(nullptr)       before the window goes away, so that nothing
//                              is posted to a dead object
//   stop()                     after the event loop has ended (joins)
//
// Events posted to the receiver (TvCoreEvent, value = status):
//   TestDone 1010 (status >= 0) / TestCancelled 1020 (status < 0, or a job
//   dropped because a cancel was requested), CommandDone 1011 / Cancelled
//   1021 (also for a dropped command), ConnectivityDone 1022 (0 passed,
//   1 failed) / Cancelled 1023, and a Question 1060 when a ping fails. Texts, progress and questions of the
//   core itself arrive through TvCoreCallbacks, so the window must also be
//   the receiver registered there: both post through the receiver's
//   TvEventChannel, which keeps a job's texts ahead of its completion.
class TvWorkerThread : public QThread
{
public:
    // ping(source, destination, receive timeout in ms, failure text): the
    // echo time in ms (0 or more), or a negative failure code with the text
    // of the box that tells the user why (empty: the general one).
    using PingFunction = std::function<int(const QString &, const QString &, int, QString *)>;

    static constexpr int PollIntervalMs = 50;
    static constexpr int ShortPauseMs = 20;
    static constexpr int AfterTestPauseMs = 50;
    static constexpr int PingCount = 8;
    static constexpr int PingTimeoutMs = 1000;

    explicit TvWorkerThread(QObject *parent = nullptr);
    // Stops and joins the thread if it still runs; deletes every job.
    ~TvWorkerThread() override;

    // Clears the stop request, stores the receiver and starts the thread.
    void start(QObject *receiver);
    // Asks run() to end and waits for it without a time limit. A core call in
    // progress finishes first.
    void stop();
    // Events of later jobs go to this receiver, through its TvEventChannel
    // (set on the receiver's thread); null drops them.
    void setReceiver(QObject *receiver);

    // The queue: FIFO, guarded by a mutex; any thread may call these.
    void appendJob(TestJob *job); // takes ownership
    void clearJobs();             // deletes every queued job (not the running one)
    int jobCount() const;

    void setCancelRequested(bool on);
    bool isCancelRequested() const;
    // Sets the cancel request and, while the core runs a test or command,
    // calls TestCancel. Returns whether TestCancel was called.
    bool requestCancel();
    // TestCancel if the core is busy; returns whether it was called.
    bool cancelCore();
    bool isCoreBusy() const;

    // The row index of the job the worker took last, or -1. The worker keeps
    // that job until it takes the next one, so the row reported here belongs
    // to the job whose progress events are being handled.
    int currentRow() const;
    // Its number, or 0 when there is none.
    int currentNumber() const;

    // The routine the connectivity job calls; by default every ping fails
    // with -1. Set it before queuing a connectivity job.
    void setPingFunction(PingFunction ping);

protected:
    void run() override;

private:
    TestJob *takeJob();
    void dropCancelledWork(const TestJob &job);
    bool enterCore();
    void runCommandJob(const TestJob &job);
    void runTestJob(const TestJob &job);
    void runConnectivityJob(const TestJob &job);
    void finishFailedPing(const QString &why);
    int askReceiver(const QString &text, int button0, int button1, int button2);
    void post(TvCoreEvent *event);
    void postStatus(int kind, int status = 0);
    PingFunction pingFunction() const;

    // std::mutex rather than QMutex: ThreadSanitizer sees through it, so the
    // engine's tests can check the locking.
    mutable std::mutex queueLock;
    // Owned: jobs still queued when the worker goes away go with it.
    std::deque<std::unique_ptr<TestJob>> jobs;
    std::unique_ptr<TestJob> current;
    PingFunction ping;

    std::mutex receiverLock;
    TvEventChannel *receiver = nullptr; // the receiver's channel

    // Held by run() for as long as it runs. QThread::wait() hands the
    // thread's end over through locks of Qt's that ThreadSanitizer cannot
    // see; taking this one after wait() makes the end visible to it, so the
    // thread's last reads do not look like a race with its deletion.
    std::mutex runLock;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> coreBusy{false};
};
