#pragma once
#include "PkBehaviour.h"
#include "PkPacer.h"
#include "PkReporter.h"

// Plays a sub-test's behaviour through the callback table.
class PkTestRunner
{
public:
    PkTestRunner(const PkReporter &reporter, const PkPacer &pacer)
        : m_reporter(reporter), m_pacer(pacer) {}

    // The behaviour's status, its fail status when a question was answered
    // otherwise than expected or `seededFailure` is set, or Cancelled.
    int run(const PkBehaviour &behaviour, bool seededFailure) const;

    static constexpr int Cancelled = -1;

private:
    // False when the step failed its question.
    bool report(const PkBehaviour::Step &step) const;
    void finish(const PkBehaviour::Step &step) const;
    int fail(const PkBehaviour &behaviour) const;

    const PkReporter &m_reporter;
    const PkPacer &m_pacer;
};
