#include "PkPacer.h"

#include <algorithm>
#include <chrono>
#include <thread>

bool PkPacer::wait(int milliseconds, int floorMs) const
{
    using Clock = std::chrono::steady_clock;
    // Capped at a year, so that no scale can overflow the clock's arithmetic.
    constexpr double MaxMs = 365.0 * 24 * 3600 * 1000;
    const double ms = std::max(std::max(0, milliseconds) * m_scale, static_cast<double>(floorMs));
    const auto total = std::chrono::microseconds(static_cast<long long>(std::min(ms, MaxMs) * 1000.0));
    const auto end = Clock::now() + total;
    while (!cancelled()) {
        const auto left = end - Clock::now();
        if (left <= Clock::duration::zero())
            return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, std::chrono::milliseconds(SliceMs)));
    }
    return false;
}
