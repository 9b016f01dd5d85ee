#pragma once
#include <QThread>

// Runs a script file of console commands line by line in advanced mode,
// handing each command to the main window (which queues it for the worker)
// and waiting until it is done. The script runner itself is still to come;
// for now the thread only carries its receiver.
//
// Use from the main window: start(this) to run; receiver() is where the
// runner posts its events (for example TvCoreEvent::Exit).
class TvScriptThread : public QThread
{
    Q_OBJECT
public:
    explicit TvScriptThread(QObject *parent = nullptr);
    ~TvScriptThread() override;

    // Stores the receiver and starts the thread.
    void start(QObject *receiver);
    QObject *receiver() const;

protected:
    void run() override;

private:
    QObject *receiverObject = nullptr;
};
