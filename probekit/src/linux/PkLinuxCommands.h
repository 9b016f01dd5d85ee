#pragma once
#include "PkLinuxCore.h"
#include "PkReporter.h"

#include <QByteArray>
#include <QList>

#include <cstdint>

// The advanced console's commands on a real adapter: status, counters,
// sub-tests, waits, the guarded VPD write, the driver's statistics in the
// monitor mode, and the description files for the adapters present.
// Register access and the repeater mode have no counterpart here and say
// so.
class PkLinuxCommands
{
public:
    PkLinuxCommands(PkLinuxCore &core, const PkReporter &reporter, const uint8_t *modeFlags)
        : m_core(core), m_reporter(reporter), m_modeFlags(modeFlags) {}

    int run(const QByteArray &line) const;

    static constexpr int BadCommand = 8;

private:
    using Words = QList<QByteArray>;

    int help(const Words &words) const;
    int status(const Words &words) const;
    int stats(const Words &words) const;
    int selfTest(const Words &words) const;
    int sleep(const Words &words) const;
    int vpd(const Words &words) const;
    int monitor(const Words &words) const;
    int describe(const Words &words) const;
    int capture(const Words &words) const;
    int unavailable(const Words &words) const;
    int usage(const char *text) const;
    int noAdapter() const;
    static QByteArray linkText(const PkPciFunction &port);

    PkLinuxCore &m_core;
    const PkReporter &m_reporter;
    const uint8_t *m_modeFlags;
};
