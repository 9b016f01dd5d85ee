#pragma once
// The summary that bench/run_all.sh gathers into one table: each benchmark
// prints, besides its own report, one line per measure starting with "@row".
#include <cstdio>

namespace BenchTable {

// value and floor with their unit, e.g. "12.5 ms"; the ratio value/floor.
inline void row(const char *benchmark, const char *measure, const char *value, const char *floor,
                double ratio, const char *goal)
{
    std::printf("@row|%s|%s|%s|%s|%.2f|%s\n", benchmark, measure, value, floor, ratio, goal);
    std::fflush(stdout);
}

} // namespace BenchTable
