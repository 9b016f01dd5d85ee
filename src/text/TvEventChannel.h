#pragma once
#include <QList>
#include <QObject>

#include <deque>
#include <memory>
#include <mutex>

class TvAnswerGate;
class TvCoreEvent;

// The one road by which the worker thread and the core callbacks reach a
// receiver (the main window). Any thread may post; the receiver's thread
// hands each TvCoreEvent to the receiver's customEvent, in posting order,
// exactly as a posted event would arrive.
//
// Why not one posted event per text: a test can send a million texts faster
// than the window can stamp and store them, and Qt hands every event queued
// so far to the receiver in one pass, so the window froze for the length of
// the backlog. Here the texts wait in a FIFO of our own, one wake-up event
// stands for all of them, and each wake-up delivers only for a slice of
// time before it yields to painting, timers and input.
//
// Everything that must keep its order (a test's texts before its completion
// event) must go through the same channel: take it with of(receiver).
class TvEventChannel : public QObject
{
    Q_OBJECT
public:
    // Longest run of deliveries in one turn of the event loop.
    static constexpr int SliceMs = 4;

    // The receiver's channel, made on first use as a child of the receiver,
    // so that it goes away with it. Call on the receiver's thread. Whoever
    // keeps the pointer lets go of it before the receiver is destroyed.
    static TvEventChannel *of(QObject *receiver);

    // Queues the event (taking it) and wakes the receiver's thread if no
    // wake-up is on its way yet. Any thread.
    void post(TvCoreEvent *event);

    // Hands every event queued so far to the receiver now. Receiver's
    // thread: one that has waited for another thread's work sees that
    // work's last reports before it goes on.
    void deliverPending();

    // Answers Cancel to every question that went through this channel and
    // has no answer yet: handed over but still held, or not delivered.
    void releaseQuestions();

    // Undelivered events are dropped; their questions answer Cancel.
    ~TvEventChannel() override;

protected:
    void customEvent(QEvent *event) override;

private:
    explicit TvEventChannel(QObject *receiver);
    TvCoreEvent *take();
    void deliverForASlice();
    void wakeLocked();

    QObject *const receiver;
    // std::mutex so that ThreadSanitizer sees the hand-over.
    std::mutex lock;
    std::deque<TvCoreEvent *> queue;
    bool wakeUpPosted = false;
    QList<std::weak_ptr<TvAnswerGate>> questions;
};
