#pragma once
// What the benchmarks measure on the GUI thread: how long its event loop
// stalls, and the resident memory.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <malloc.h>
#include <unistd.h>

#include <fstream>

// Fires every 10 ms and keeps the longest gap between two firings, and how
// many gaps were longer than the goal of 50 ms.
class StallProbe : public QObject
{
public:
    static constexpr qint64 GoalMs = 50;

    StallProbe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, &StallProbe::tick);
    }
    void start()
    {
        longest = 0;
        overGoal = 0;
        clock.start();
        timer.start();
    }
    // Time spent measuring is not a stall of the program's.
    void skip() { clock.restart(); }
    qint64 stop()
    {
        timer.stop();
        tick();
        return longest;
    }
    int stallsOverGoal() const { return overGoal; }

    static qint64 residentBytes()
    {
        // Freed memory that malloc still holds would count as resident.
        malloc_trim(0);
        std::ifstream statm("/proc/self/statm");
        long long size = 0, resident = 0;
        statm >> size >> resident;
        return resident * sysconf(_SC_PAGESIZE);
    }

private:
    void tick()
    {
        const qint64 gap = clock.restart();
        longest = qMax(longest, gap);
        overGoal += gap > GoalMs ? 1 : 0;
    }

    QTimer timer;
    QElapsedTimer clock;
    qint64 longest = 0;
    int overGoal = 0;
};
