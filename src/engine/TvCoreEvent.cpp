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
