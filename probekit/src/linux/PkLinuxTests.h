#pragma once
#include "PkEthtool.h"
#include "PkLinuxCore.h"
#include "PkPacer.h"
#include "PkReporter.h"

#include <QByteArray>

// The sub-tests a real adapter can run, by the numbers of the description
// files for this machine's adapters:
//   101 driver information, 102 frame counters,
//   201 link state, 202 link stability,
//   301 the driver's online self-test, 302 its offline self-test,
//   401 VPD checksum, 501 EEPROM read, 601 locate LED, 701 cable test,
//   and from 1001 on the driver's own self-tests, one sub-test each:
//   1000 + 100 * k + i is the i-th name (from 1) of the k-th distinct
//   list of names among the adapters described (see PkLinuxDescription).
// Any other number has no counterpart here and reports that it is not
// available on the adapter: a failure, never a pass.
class PkLinuxTests
{
public:
    // `core` keeps the driver's last self-test reply, so that the sub-tests
    // of one run share one request (and one question before going offline).
    PkLinuxTests(const PkLinuxCore::Snapshot &adapter, const PkReporter &reporter, const PkPacer &pacer,
                 PkLinuxCore *core = nullptr)
        : m_adapter(adapter), m_reporter(reporter), m_pacer(pacer), m_core(core) {}

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
    // The question while the locate LED blinks.
    static constexpr int AskLocateBlinking = 102;
    static constexpr int LocateProbeSeconds = 1;

    // The driver's self-tests as sub-tests.
    static constexpr int SelfTestCaseFirst = 10;   // test case number of the first list
    static constexpr int SelfTestIdBase = 1000;
    static constexpr int SelfTestIdStep = 100;
    static constexpr int MaxSelfTestLists = 50;
    // The most sub-tests a list shows; a driver with more is shown cut.
    static constexpr int MaxSelfTests = 64;
    static bool isSelfTestId(int number);
    // A name that says it runs online ("(online)", "(on/offline)"); any
    // other runs offline, so that a test the online run skips (its result
    // then reads 0) is never shown as passed.
    static bool runsOnline(const QByteArray &name);

private:
    int driverInformation() const;
    int frameCounters() const;
    int linkState() const;
    int linkStability() const;
    int selfTest(bool offline) const;
    int vpdChecksum() const;
    int eepromRead() const;
    int locate() const;
    int cableTest() const;
    int driverSelfTest(int index) const;
    int selfTestReply(bool offline, int index, PkEthtool::TestResult *result) const;
    int notAvailable(int number, const QByteArray &why) const;
    int ethtoolFailure(const QByteArray &what, int error) const;
    int finish(int status, const QByteArray &text) const;

    const PkPciFunction &portA() const { return m_adapter.adapter.ports.first(); }
    QByteArray interface() const { return portA().interface.toLocal8Bit(); }

    const PkLinuxCore::Snapshot &m_adapter;
    const PkReporter &m_reporter;
    const PkPacer &m_pacer;
    PkLinuxCore *m_core;
};
