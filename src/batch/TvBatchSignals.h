#pragma once
#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM during a headless run. The handler only writes the
// signal's number into a pipe of its own (the one thing it may safely do);
// the event loop reads it and emits `arrived`, so that cancelling, records
// and metrics all happen on the GUI thread. The handlers are installed
// without SA_RESTART: a read of the operator's answer is broken off.
// One instance at a time. The handlers stay for the rest of the process:
// a headless run ends soon after it is cancelled, and a signal in that
// time must not cut its record or metrics file short.
class TvBatchSignals : public QObject
{
    Q_OBJECT
public:
    explicit TvBatchSignals(QObject *parent = nullptr);
    ~TvBatchSignals() override;

    // How many signals have arrived so far.
    int count() const { return received; }

signals:
    // `count` is 1 for the first signal, 2 for the second, ...
    void arrived(int signalNumber, int count);

private:
    void readPipe();

    QSocketNotifier *notifier = nullptr;
    int received = 0;
};
