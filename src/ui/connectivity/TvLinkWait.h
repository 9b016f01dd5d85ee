#pragma once
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

// Waits for the selected adapter's link (port A) before the connectivity
// test asks for the remote host: the driver is opened and its link state
// asked up to five times, 250 ms apart. The waits are timer steps, so the
// window goes on handling its events meanwhile; the driver is closed
// whichever way the wait ends.
class TvLinkWait : public QObject
{
    Q_OBJECT
public:
    enum Outcome { Waiting, LinkUp, NoDriver, QueryFailed, LinkDown, Cancelled };

    static constexpr int Attempts = 5;
    static constexpr int RetryMs = 250;
    static constexpr uint32_t LinkStateOid = 0xff010127;

    explicit TvLinkWait(QObject *parent = nullptr);
    ~TvLinkWait() override;

    // Opens the driver and asks for the link at once. Returns the outcome
    // when that settles it; Waiting when the link is still down, and
    // finished() tells the outcome later. Before each further attempt
    // `cancelled` is asked, and a true answer ends the wait (Cancelled).
    // A wait still going on is dropped first.
    Outcome start(std::function<bool()> cancelled);
    bool isWaiting() const { return retry.isActive(); }

signals:
    void finished(int outcome);

private:
    Outcome attempt();
    void retryNow();
    Outcome finish(Outcome outcome);

    QTimer retry;
    void *driver = nullptr;
    int attempts = 0;
    std::function<bool()> isCancelled;
};
