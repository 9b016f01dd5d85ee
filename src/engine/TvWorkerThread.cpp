#include "TvWorkerThread.h"
#include "TestJob.h"
#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"

#include "text/TvProgram.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvText.h"
#include "text/TvDialogSeam.h"
#include "text/TvEventChannel.h"

namespace {

int noPing(const QString &, const QString &, int, QString *)
{
    return -1;
}

} // namespace

TvWorkerThread::TvWorkerThread(QObject *parent)
    : QThread(parent), ping(noPing)
{
}

TvWorkerThread::~TvWorkerThread()
{
    stop();
}

void TvWorkerThread::start(QObject *receiver)
{
    stopRequested = false;
    setReceiver(receiver);
    QThread::start();
}

void TvWorkerThread::stop()
{
    stopRequested = true;
    wait();
    const std::lock_guard<std::mutex> ended(runLock);
}

void TvWorkerThread::setReceiver(QObject *object)
{
    TvEventChannel *channel = TvEventChannel::of(object);
    std::lock_guard<std::mutex> lock(receiverLock);
    receiver = channel;
}

void TvWorkerThread::appendJob(TestJob *job)
{
    std::lock_guard<std::mutex> lock(queueLock);
    jobs.emplace_back(job);
}

void TvWorkerThread::clearJobs()
{
    std::deque<std::unique_ptr<TestJob>> dropped;
    {
        std::lock_guard<std::mutex> lock(queueLock);
        dropped.swap(jobs);
    }
    // The jobs are deleted here, outside the lock.
}

int TvWorkerThread::jobCount() const
{
    std::lock_guard<std::mutex> lock(queueLock);
    return int(jobs.size());
}

void TvWorkerThread::setCancelRequested(bool on)
{
    cancelRequested = on;
}

bool TvWorkerThread::isCancelRequested() const
{
    return cancelRequested;
}

bool TvWorkerThread::requestCancel()
{
    cancelRequested = true;
    return cancelCore();
}

bool TvWorkerThread::cancelCore()
{
    if (!coreBusy)
        return false;
    TestCancel();
    return true;
}

bool TvWorkerThread::isCoreBusy() const
{
    return coreBusy;
}

int TvWorkerThread::currentRow() const
{
    std::lock_guard<std::mutex> lock(queueLock);
    return current ? current->row : -1;
}

int TvWorkerThread::currentNumber() const
{
    std::lock_guard<std::mutex> lock(queueLock);
    return current ? current->number : 0;
}

void TvWorkerThread::setPingFunction(PingFunction function)
{
    std::lock_guard<std::mutex> lock(queueLock);
    ping = function ? std::move(function) : PingFunction(noPing);
}

TvWorkerThread::PingFunction TvWorkerThread::pingFunction() const
{
    std::lock_guard<std::mutex> lock(queueLock);
    return ping;
}

void TvWorkerThread::run()
{
    const std::lock_guard<std::mutex> running(runLock);
    while (!stopRequested) {
        if (jobCount() == 0) {
            msleep(PollIntervalMs);
            continue;
        }
        const TestJob *job = takeJob();
        if (!job) {
            msleep(ShortPauseMs);
            continue;
        }
        if (cancelRequested) {
            dropCancelledWork(*job);
            continue;
        }
        if (job->isCommand())
            runCommandJob(*job);
        else if (job->isConnectivity())
            runConnectivityJob(*job);
        else
            runTestJob(*job);
    }
}

TestJob *TvWorkerThread::takeJob()
{
    std::lock_guard<std::mutex> lock(queueLock);
    if (jobs.empty())
        return nullptr;
    // The previous job lives until now: the window may still be handling
    // events that it reads the row of.
    current = std::move(jobs.front());
    jobs.pop_front();
    return current.get();
}

void TvWorkerThread::dropCancelledWork(const TestJob &job)
{
    // The queue is emptied before the event goes out: the window may queue
    // the next run as soon as it has handled the event, and that run must
    // not be dropped with this one.
    clearJobs();
    // A dropped console command ends as a cancelled command: the console
    // (and a script waiting for it) must hear of its end.
    postStatus(job.isCommand() ? TvCoreEvent::CommandCancelled : TvCoreEvent::TestCancelled);
    msleep(ShortPauseMs);
}

bool TvWorkerThread::enterCore()
{
    // Busy first, then look at the cancel flag again: a cancel that came
    // after the check in run() either sees the core busy (and calls
    // TestCancel) or is seen here, so it is never lost in between.
    coreBusy = true;
    if (!cancelRequested)
        return true;
    coreBusy = false;
    return false;
}

void TvWorkerThread::runCommandJob(const TestJob &job)
{
    if (!enterCore()) {
        dropCancelledWork(job);
        return;
    }
    // The core reads a command as Latin-1 text, byte for byte.
    const QByteArray command = job.text.toLatin1();
    const int status = CommandRun(command.constData(), TvProgram::runSettings(),
                                  TvCoreCallbacks::table());
    coreBusy = false;
    postStatus(status >= 0 ? TvCoreEvent::CommandDone : TvCoreEvent::CommandCancelled, status);
    msleep(ShortPauseMs);
}

void TvWorkerThread::runTestJob(const TestJob &job)
{
    if (!enterCore()) {
        dropCancelledWork(job);
        return;
    }
    const int status = TestRun(job.number, TvProgram::runSettings(), TvCoreCallbacks::table());
    coreBusy = false;
    postStatus(status >= 0 ? TvCoreEvent::TestDone : TvCoreEvent::TestCancelled, status);
    msleep(AfterTestPauseMs);
}

void TvWorkerThread::runConnectivityJob(const TestJob &job)
{
    const QStringList address = job.addresses();
    const PingFunction pingHost = pingFunction();
    for (int answered = 1; answered <= PingCount; ++answered) {
        QString why;
        if (pingHost(address[0], address[1], PingTimeoutMs, &why) < 0) {
            finishFailedPing(why);
            return;
        }
        TvCoreCallbacks::table()->progress(12 * answered);
        if (cancelRequested) {
            postStatus(TvCoreEvent::ConnectivityCancelled);
            return;
        }
    }
    TvCoreCallbacks::table()->progress(100);
    postStatus(TvCoreEvent::ConnectivityDone, 0);
}

void TvWorkerThread::finishFailedPing(const QString &why)
{
    askReceiver(why.isEmpty() ? TvText::translate("TvDiagMainWindow", "PING_ERROR_CHECK_TCPIP") : why,
                TvDialogSeam::Ok, TvDialogSeam::NoButton, TvDialogSeam::NoButton);
    if (cancelRequested)
        postStatus(TvCoreEvent::ConnectivityCancelled);
    else
        postStatus(TvCoreEvent::ConnectivityDone, 1);
}

int TvWorkerThread::askReceiver(const QString &text, int button0, int button1, int button2)
{
    TvCoreEvent *event = TvCoreEvent::question(text, button0, button1, button2);
    const std::shared_ptr<TvAnswerGate> gate = event->gate;
    // An event that is dropped (no receiver, or the receiver dies with the
    // question unhandled) answers Cancel on its way out, so this never
    // blocks for ever.
    post(event);
    return gate->wait();
}

void TvWorkerThread::post(TvCoreEvent *event)
{
    // The core callbacks' channel to the same receiver: a job's texts were
    // queued there before its completion, so they are handled first.
    std::lock_guard<std::mutex> lock(receiverLock);
    if (receiver)
        receiver->post(event);
    else
        delete event;
}

void TvWorkerThread::postStatus(int kind, int status)
{
    auto *event = new TvCoreEvent(static_cast<TvCoreEvent::Kind>(kind));
    event->value = status;
    post(event);
}
