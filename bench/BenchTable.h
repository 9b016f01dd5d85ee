#pragma once
// The summary that bench/run_all.sh gathers into one table: each benchmark
// prints, besides its own report, one line per measure starting with "@row".
#include <cstdio>

namespace BenchTable {

// value and floor with their unit, e.g. "12.5 ms"; the ratio value/floor,
// or a negative one where a ratio means nothing.
inline void row(const char *benchmark, const char *measure, const char *value, const char *floor,
                double ratio, const char *goal)
{
    char ratioText[32] = "-";
    if (ratio >= 0)
        std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    std::printf("@row|%s|%s|%s|%s|%s|%s\n", benchmark, measure, value, floor, ratioText, goal);
    std::fflush(stdout);
}

} // namespace BenchTable
