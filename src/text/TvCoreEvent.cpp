#include "TvCoreEvent.h"
#include "TvAnswerGate.h"

TvCoreEvent::TvCoreEvent(Kind kind)
    : QEvent(static_cast<QEvent::Type>(kind))
{
}

TvCoreEvent::~TvCoreEvent()
{
    // A question dropped unanswered (window gone) must not leave its asker
    // blocked for ever.
    if (gate)
        gate->post(2);
}

TvCoreEvent *TvCoreEvent::question(const QString &text, int button0, int button1, int button2)
{
    auto *event = new TvCoreEvent(Question);
    event->text = text;
    event->buttons[0] = button0;
    event->buttons[1] = button1;
    event->buttons[2] = button2;
    event->gate = std::make_shared<TvAnswerGate>();
    return event;
}
