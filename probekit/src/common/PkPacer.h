#pragma once
#include <atomic>

// Simulated work time. Durations are scaled (0 = instant) and slept in short
// slices so that a cancel request stops the work within one slice.
class PkPacer
{
public:
    PkPacer(double scale, const std::atomic<bool> *cancel) : m_scale(scale), m_cancel(cancel) {}

    // False when cancelled before or during the wait. The wait lasts at
    // least floorMs of real time, also when the scale makes it shorter, so
    // that a loop of waits still leaves room to cancel it.
    bool wait(int milliseconds, int floorMs = 0) const;
    bool cancelled() const { return m_cancel && m_cancel->load(); }
    double scale() const { return m_scale; }

    static constexpr int SliceMs = 20;

private:
    double m_scale;
    const std::atomic<bool> *m_cancel;
};
