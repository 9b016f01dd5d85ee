#pragma once
#include "PkLinuxCore.h"
#include "PkPacer.h"
#include "PkReporter.h"

#include <QByteArray>

// The sub-tests a real adapter can run, by the numbers of the description
// files for this machine's adapters:
//   101 driver information, 102 frame counters,
//   201 link state, 202 link stability,
//   301 the driver's online self-test, 302 its offline self-test,
//   401 VPD checksum, 501 EEPROM read.
// Any other number has no counterpart here and reports that it is not
// available on the adapter: a failure, never a pass.
class PkLinuxTests
{
public:
    PkLinuxTests(const PkLinuxCore::Snapshot &adapter, const PkReporter &reporter, const PkPacer &pacer)
        : m_adapter(adapter), m_reporter(reporter), m_pacer(pacer) {}

    int run(int number) const;

    static constexpr int Passed = 0;
    static constexpr int Failed = 1;
    static constexpr int CallerNotRoot = 1;
    static constexpr int IoctlFailed = 4;
    static constexpr int Cancelled = -1;
    // Seconds the link stability test watches the carrier.
    static constexpr int StabilityMs = 10000;
    static constexpr int StabilityStepMs = 500;
    // The question before the offline self-test, which takes the link down.
    static constexpr int ConfirmOffline = 100;

private:
    int driverInformation() const;
    int frameCounters() const;
    int linkState() const;
    int linkStability() const;
    int selfTest(bool offline) const;
    int vpdChecksum() const;
    int eepromRead() const;
    int notAvailable(int number, const QByteArray &why) const;
    int ethtoolFailure(const QByteArray &what, int error) const;
    int finish(int status, const QByteArray &text) const;

    const PkPciFunction &portA() const { return m_adapter.adapter.ports.first(); }
    QByteArray interface() const { return portA().interface.toLocal8Bit(); }

    const PkLinuxCore::Snapshot &m_adapter;
    const PkReporter &m_reporter;
    const PkPacer &m_pacer;
};
