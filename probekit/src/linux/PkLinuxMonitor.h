#pragma once
#include "PkEthtool.h"
#include "PkLinuxCore.h"
#include "PkPacer.h"
#include "PkReporter.h"

#include <QByteArray>
#include <QList>
#include <QVector>

// "Monitor Port A" on a real adapter: the driver's statistics (the names
// of its ETH_SS_STATS set, the values of ETHTOOL_GSTATS), sampled once a
// second until cancelled. The state table shows the mode and the link in
// its first two rows, then one row per counter: name, value, change per
// second since the sample before.
class PkLinuxMonitor
{
public:
    PkLinuxMonitor(const PkPciFunction &port, const PkReporter &reporter, const PkPacer &pacer)
        : m_port(port), m_reporter(reporter), m_pacer(pacer) {}

    int run() const;

    static constexpr int SampleMs = 1000;
    static constexpr int FloorMs = 10;
    // Rows of counters the table shows; a driver with more is shown cut.
    static constexpr int MaxRows = 256;
    static constexpr int FirstCounterRow = 2;
    static constexpr int Failed = 4;
    static constexpr int NotAvailable = 8;
    static constexpr int Cancelled = -1;

    // "12.5/s"; "reset" when the counter went back (the driver restarted).
    static QByteArray rate(quint64 before, quint64 after, double seconds);

private:
    int fail(int status, const QByteArray &why) const;
    void showLink(const PkEthtool &ethtool) const;

    const PkPciFunction &m_port;
    const PkReporter &m_reporter;
    const PkPacer &m_pacer;
};
