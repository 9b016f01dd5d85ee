#pragma once
#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

class QObject;
class TvCoreEvent;
class TvEventChannel;
class TvScriptFile;
class TvScriptHost;

// Runs a script file of console commands line by line in advanced mode. Each
// command goes to the host's executeCommand on the GUI thread; when it was
// queued for the worker, the runner waits until the host says the command
// has ended. Texts for the log list (1040) and the console (1030) and the
// exit request (1070) go to the receiver through its TvEventChannel, in
// order with the worker's and the core's events.
//
// The object itself belongs to the GUI thread (create it there): the runner
// hands its widget work to it. Use from the GUI thread:
//   start(window, host, fileName)  runs a script (cancel cleared first);
//                                  false while one still runs
//   requestCancel()                the runner stops before its next line
//   commandEnded(), textShown()    after the host has handled events
//                                  1011/1021 and 1030
//   stop()                         before the host or the receiver goes
//                                  away: ends the runner and joins it
class TvScriptThread : public QThread
{
    Q_OBJECT
public:
    // The longest wait for the start and finish texts to be shown.
    static constexpr int TextShownWaitMs = 5000;

    explicit TvScriptThread(QObject *parent = nullptr);
    ~TvScriptThread() override;

    bool start(QObject *receiver, TvScriptHost *host, const QString &fileName);
    QObject *receiver() const { return receiverObject; }

    // Any thread.
    void requestCancel();
    bool isCancelRequested() const { return cancelRequested; }
    void commandEnded();
    void textShown();

    void stop();

protected:
    void run() override;
    void customEvent(QEvent *event) override;

private:
    // On the GUI thread, called by the runner: runs the work handed over.
    void runHandedWork();

    void join();
    void runScript();
    bool runLines(TvScriptFile &file);
    // coreOnly: the rest of a long line, a core command whatever it starts with.
    int runCommand(const QByteArray &command, bool coreOnly);
    void post(TvCoreEvent *event);
    void postTexts(const QString &text);
    void waitForTexts(quint64 shownBefore);
    quint64 count(const quint64 &counter);
    // Moves a count on and wakes the runner's waits (any thread).
    void countUp(quint64 &counter);
    int onGuiThread(std::function<int()> work);

    QObject *receiverObject = nullptr;
    TvEventChannel *channel = nullptr;
    TvScriptHost *host = nullptr;
    QString fileName;

    // The user's cancel: read between lines, written by the GUI thread.
    std::atomic<bool> cancelRequested{false};
    // The host is going away: nothing more is handed to it or posted.
    std::atomic<bool> stopping{false};

    // Counts of handled command ends and console texts; the runner waits
    // for a count to move past what it was before it queued or posted, so
    // an end handled before the wait began is not missed.
    std::mutex waitLock;
    std::condition_variable changed;
    quint64 commandsEnded = 0;
    quint64 textsShown = 0;

    // Work handed to the GUI thread and its result; std::mutex so that
    // ThreadSanitizer sees the hand-over both ways.
    std::mutex handLock;
    std::condition_variable handedBack;
    std::function<int()> handedWork;
    int handedResult = 0;
    // Numbers the hand-overs: a wake-up left over from a stopped run must
    // not end the wait of a later one.
    quint64 handedNumber = 0;
    quint64 doneNumber = 0;
};
