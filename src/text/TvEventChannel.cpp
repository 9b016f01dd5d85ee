#include "TvEventChannel.h"
#include "TvAnswerGate.h"
#include "TvCoreEvent.h"
#include "TvDialogSeam.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>

#include <algorithm>

namespace {

QEvent::Type wakeUpType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

TvEventChannel::TvEventChannel(QObject *receiver)
    : QObject(receiver), receiver(receiver)
{
}

TvEventChannel *TvEventChannel::of(QObject *receiver)
{
    if (!receiver)
        return nullptr;
    Q_ASSERT(receiver->thread() == QThread::currentThread());
    if (auto *existing = receiver->findChild<TvEventChannel *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TvEventChannel(receiver);
}

TvEventChannel::~TvEventChannel()
{
    std::deque<TvCoreEvent *> dropped;
    {
        std::lock_guard<std::mutex> guard(lock);
        dropped.swap(queue);
    }
    // A question deleted unhandled answers Cancel on its way out.
    for (TvCoreEvent *event : dropped)
        delete event;
    releaseQuestions();
}

void TvEventChannel::post(TvCoreEvent *event)
{
    std::lock_guard<std::mutex> guard(lock);
    if (event->gate) {
        questions.erase(std::remove_if(questions.begin(), questions.end(),
                                       [](const std::weak_ptr<TvAnswerGate> &g) { return g.expired(); }),
                        questions.end());
        questions.append(event->gate);
    }
    queue.push_back(event);
    wakeLocked();
}

void TvEventChannel::releaseQuestions()
{
    QList<std::weak_ptr<TvAnswerGate>> open;
    {
        std::lock_guard<std::mutex> guard(lock);
        open.swap(questions);
    }
    for (const auto &weak : open) {
        if (auto gate = weak.lock())
            gate->post(TvDialogSeam::Cancel);
    }
}

void TvEventChannel::customEvent(QEvent *event)
{
    {
        // The wake-up was made on the posting thread under this lock, and
        // Qt hands it over through a mutex that ThreadSanitizer does not
        // see. Taking the lock before touching the event (and before Qt
        // deletes it) puts the hand-over where the sanitizer sees it.
        std::lock_guard<std::mutex> guard(lock);
    }
    if (event->type() == wakeUpType())
        deliverForASlice();
    else
        QObject::customEvent(event);
}

TvCoreEvent *TvEventChannel::take()
{
    std::lock_guard<std::mutex> guard(lock);
    if (queue.empty())
        return nullptr;
    TvCoreEvent *event = queue.front();
    queue.pop_front();
    return event;
}

void TvEventChannel::deliverForASlice()
{
    {
        // From here on a post asks for a new wake-up, so that an event loop
        // nested in a handler (a question's box) keeps delivering.
        std::lock_guard<std::mutex> guard(lock);
        wakeUpPosted = false;
    }
    QElapsedTimer clock;
    clock.start();
    const QPointer<TvEventChannel> alive(this);
    for (;;) {
        const std::unique_ptr<TvCoreEvent> event(take());
        if (!event)
            return;
        QCoreApplication::sendEvent(receiver, event.get());
        // A handler may have closed the receiver, and this channel with it.
        if (!alive)
            return;
        if (clock.elapsed() >= SliceMs)
            break;
    }
    std::lock_guard<std::mutex> guard(lock);
    wakeLocked();
}

void TvEventChannel::deliverPending()
{
    const QPointer<TvEventChannel> alive(this);
    while (alive) {
        const std::unique_ptr<TvCoreEvent> event(take());
        if (!event)
            return;
        QCoreApplication::sendEvent(receiver, event.get());
    }
}

void TvEventChannel::wakeLocked()
{
    if (wakeUpPosted || queue.empty())
        return;
    wakeUpPosted = true;
    QCoreApplication::postEvent(this, new QEvent(wakeUpType()));
}
