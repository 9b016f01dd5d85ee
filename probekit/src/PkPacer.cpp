#include "PkPacer.h"

#include <algorithm>
#include <chrono>
#include <thread>

bool PkPacer::wait(int milliseconds, int floorMs) const
{
    using Clock = std::chrono::steady_clock;
    const auto total = std::chrono::microseconds(static_cast<long long>(
        std::max(std::max(0, milliseconds) * m_scale, static_cast<double>(floorMs)) * 1000.0));
    const auto end = Clock::now() + total;
    while (!cancelled()) {
        const auto left = end - Clock::now();
        if (left <= Clock::duration::zero())
            return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, std::chrono::milliseconds(SliceMs)));
    }
    return false;
}
