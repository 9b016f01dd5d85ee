#include "PkTestRunner.h"

int PkTestRunner::run(const PkBehaviour &behaviour, bool seededFailure) const
{
    for (const PkBehaviour::Step &step : behaviour.steps) {
        if (m_pacer.cancelled())
            return Cancelled;
        const bool confirmed = report(step);
        // A question can block for as long as the operator likes; a cancel
        // given meanwhile counts before the answer.
        if (m_pacer.cancelled())
            return Cancelled;
        if (!confirmed)
            return fail(behaviour);
        if (!m_pacer.wait(step.ms))
            return Cancelled;
        finish(step);
    }
    if (m_pacer.cancelled())
        return Cancelled;
    return seededFailure ? fail(behaviour) : behaviour.status;
}

bool PkTestRunner::report(const PkBehaviour::Step &step) const
{
    if (!step.log.isEmpty())
        m_reporter.log(step.log);
    if (!step.stamped.isEmpty())
        m_reporter.stamped(step.stamped);
    for (const PkBehaviour::Cell &cell : step.cells) {
        if (cell.message >= 0)
            m_reporter.cell(cell.row, cell.column, cell.message);
        else
            m_reporter.cellText(cell.row, cell.column, cell.text);
    }
    const PkBehaviour::Question &q = step.question;
    if (q.message < 0)
        return true;
    // Nobody to ask: take the expected answer, so that a run without an
    // operator still passes.
    const int answer = m_reporter.ask(q.message, q.buttons[0], q.buttons[1], q.buttons[2], q.expect);
    return answer == q.expect;
}

void PkTestRunner::finish(const PkBehaviour::Step &step) const
{
    if (!step.result.isEmpty())
        m_reporter.result(step.result);
    if (step.progress >= 0)
        m_reporter.progress(step.progress);
}

int PkTestRunner::fail(const PkBehaviour &behaviour) const
{
    if (!behaviour.failText.isEmpty()) {
        m_reporter.stamped(behaviour.failText);
        m_reporter.result(behaviour.failText);
    }
    return behaviour.failStatus != 0 ? behaviour.failStatus : 1;
}
