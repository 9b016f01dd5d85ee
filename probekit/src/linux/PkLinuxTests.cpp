#include "PkLinuxTests.h"
#include "PkCableReport.h"
#include "PkCableTest.h"
#include "PkEthtool.h"
#include "PkLocator.h"
#include "PkSysfs.h"
#include "PkVpdImage.h"

#include <cerrno>
#include <vector>

namespace {

constexpr int Yes = 3;
constexpr int No = 4;

} // namespace

int PkLinuxTests::run(int number) const
{
    m_reporter.progress(0);
    m_reporter.stamped("Sub-test " + QByteArray::number(number) + " on " + PkLinuxCore::name(m_adapter.adapter));
    // Everything but the VPD is asked of the driver, through its interface.
    if (number != 401 && portA().interface.isEmpty())
        return notAvailable(number, PkEthtool::reason(ENODEV, QByteArray()));
    switch (number) {
    case 101:
        return driverInformation();
    case 102:
        return frameCounters();
    case 201:
        return linkState();
    case 202:
        return linkStability();
    case 301:
    case 302:
        return selfTest(number == 302);
    case 401:
        return vpdChecksum();
    case 501:
        return eepromRead();
    case 601:
        return locate();
    case 701:
        return cableTest();
    default:
        if (isSelfTestId(number))
            return driverSelfTest(number % SelfTestIdStep);
        return notAvailable(number, "this program has no such test for real adapters");
    }
}

bool PkLinuxTests::isSelfTestId(int number)
{
    const int index = number % SelfTestIdStep;
    return number > SelfTestIdBase && number < SelfTestIdBase + MaxSelfTestLists * SelfTestIdStep
        && index >= 1 && index <= MaxSelfTests;
}

bool PkLinuxTests::runsOnline(const QByteArray &name)
{
    const QByteArray lower = name.toLower();
    return lower.contains("(online)") || lower.contains("(on/offline)");
}

int PkLinuxTests::finish(int status, const QByteArray &text) const
{
    m_reporter.stamped(text);
    m_reporter.result(text);
    if (status == Passed)
        m_reporter.progress(100);
    return status;
}

int PkLinuxTests::notAvailable(int number, const QByteArray &why) const
{
    return finish(IoctlFailed, "Sub-test " + QByteArray::number(number) + ": not available on this adapter ("
                                   + why + ")");
}

int PkLinuxTests::ethtoolFailure(const QByteArray &what, int error) const
{
    const QByteArray text = what + ": " + PkEthtool::reason(error, portA().driver.toLocal8Bit());
    return finish(error == EPERM || error == EACCES ? CallerNotRoot : IoctlFailed, text);
}

int PkLinuxTests::driverInformation() const
{
    PkEthtool::DriverInfo info;
    if (const int error = PkEthtool(interface()).driverInfo(&info))
        return ethtoolFailure("Driver information", error);
    m_reporter.log("Driver " + info.driver + " " + info.version + ", firmware "
                   + (info.firmware.isEmpty() ? QByteArray("none") : info.firmware) + ", bus " + info.busInfo);
    return finish(Passed, "Driver " + info.driver + " " + info.version + " answers");
}

int PkLinuxTests::frameCounters() const
{
    QByteArray counts;
    for (const char *name : {"rx_packets", "tx_packets", "rx_errors", "tx_errors"}) {
        const std::optional<qint64> value =
            PkSysfs::decimal(portA().netDir + QStringLiteral("/statistics/") + QLatin1String(name));
        if (!value)
            return finish(Failed, "Frame counters: " + QByteArray(name) + " cannot be read");
        counts += (counts.isEmpty() ? "" : ", ") + QByteArray(name) + " " + QByteArray::number(*value);
    }
    m_reporter.log("Frame counters: " + counts);
    return finish(Passed, "Frame counters readable: " + counts);
}

int PkLinuxTests::linkState() const
{
    bool up = false;
    const PkEthtool ethtool(interface());
    if (const int error = ethtool.link(&up))
        return ethtoolFailure("Link state", error);
    if (!up)
        return finish(Failed, "Link is down");
    // Any speed as the driver gives it: the General tab's codes end at
    // 1000 Mb/s.
    PkEthtool::LinkSettings settings;
    const int error = ethtool.linkSettings(&settings);
    return finish(Passed, "Link is up: " + (error ? "settings " + PkEthtool::reason(error, portA().driver.toLocal8Bit())
                                                  : settings.describe()));
}

// The link must stay up and the kernel must count no carrier change while
// it is watched.
int PkLinuxTests::linkStability() const
{
    const QString changesFile = portA().netDir + QStringLiteral("/carrier_changes");
    const std::optional<qint64> before = PkSysfs::decimal(changesFile);
    const PkEthtool ethtool(interface());
    for (int elapsed = 0; elapsed <= StabilityMs; elapsed += StabilityStepMs) {
        bool up = false;
        if (const int error = ethtool.link(&up))
            return ethtoolFailure("Link stability", error);
        if (!up)
            return finish(Failed, "Link went down after " + QByteArray::number(elapsed / 1000.0) + " s");
        m_reporter.progress(elapsed * 100 / StabilityMs);
        if (elapsed < StabilityMs && !m_pacer.wait(StabilityStepMs))
            return Cancelled;
    }
    const std::optional<qint64> after = PkSysfs::decimal(changesFile);
    if (before && after && *after != *before)
        return finish(Failed, "Link changed state " + QByteArray::number(*after - *before) + " time(s)");
    return finish(Passed, "Link stayed up");
}

int PkLinuxTests::selfTest(bool offline) const
{
    const QByteArray what = offline ? "Offline self-test" : "Online self-test";
    const PkEthtool ethtool(interface());
    QList<QByteArray> names;
    if (const int error = ethtool.testNames(&names))
        return ethtoolFailure(what, error);
    if (names.isEmpty())
        return notAvailable(offline ? 302 : 301, "the " + portA().driver.toLocal8Bit() + " driver offers no self-test");
    if (offline) {
        m_reporter.stamped("The offline self-test of " + PkLinuxCore::name(m_adapter.adapter)
                           + " takes its link down while it runs");
        // Nobody to ask is a No: the link is not taken down unasked.
        const int answer = m_reporter.ask(ConfirmOffline, Yes, No, 0, No);
        if (m_pacer.cancelled())
            return Cancelled;
        if (answer != Yes)
            return finish(Failed, what + ": not run, the operator did not confirm");
    }
    PkEthtool::TestResult result;
    if (const int error = ethtool.selfTest(offline, &result))
        return ethtoolFailure(what, error);
    for (int i = 0; i < result.names.size() && i < result.values.size(); ++i)
        m_reporter.log(result.names.at(i) + ": " + (result.values.at(i) ? "failed (" + QByteArray::number(result.values.at(i)) + ")" : QByteArray("passed")));
    return finish(result.failed ? Failed : Passed, what + (result.failed ? " failed" : " passed"));
}

int PkLinuxTests::vpdChecksum() const
{
    if (m_adapter.vpdImage.isEmpty())
        return notAvailable(401, m_adapter.vpdError.isEmpty() ? QByteArray("no VPD") : m_adapter.vpdError);
    const PkVpdImage image = PkVpdImage::parse(reinterpret_cast<const uint8_t *>(m_adapter.vpdImage.constData()),
                                               size_t(m_adapter.vpdImage.size()));
    for (const std::string &problem : image.problems)
        m_reporter.log(QByteArray::fromStdString(problem));
    if (image.checksum == PkVpdImage::Checksum::Missing)
        return finish(Failed, "VPD: no RV checksum found");
    return finish(image.checksum == PkVpdImage::Checksum::Good ? Passed : Failed,
                  image.checksum == PkVpdImage::Checksum::Good ? "VPD checksum correct" : "VPD checksum wrong");
}

int PkLinuxTests::eepromRead() const
{
    const PkEthtool ethtool(interface());
    PkEthtool::DriverInfo info;
    if (const int error = ethtool.driverInfo(&info))
        return ethtoolFailure("EEPROM read", error);
    if (info.eepromLength == 0)
        return notAvailable(501, "the " + info.driver + " driver offers no EEPROM dump");
    std::vector<uint8_t> data(info.eepromLength);
    if (const int error = ethtool.eeprom(0, info.eepromLength, data.data()))
        return ethtoolFailure("EEPROM read", error);
    return finish(Passed, "EEPROM read: " + QByteArray::number(info.eepromLength) + " bytes");
}

// The i-th self-test of the driver. One ETHTOOL_TEST request answers all
// of them: the sub-tests that follow one another in a run share it, so
// the offline test runs (and asks) once for the whole test case.
int PkLinuxTests::driverSelfTest(int index) const
{
    const QByteArray label = "Self-test " + QByteArray::number(index);
    QList<QByteArray> names;
    if (const int error = PkEthtool(interface()).testNames(&names))
        return ethtoolFailure(label, error);
    if (names.isEmpty())
        return notAvailable(SelfTestIdBase + index, "the " + portA().driver.toLocal8Bit() + " driver offers no self-test");
    if (index > names.size())
        return notAvailable(SelfTestIdBase + index, "the driver names only " + QByteArray::number(names.size())
                                                       + " self-test(s) now");
    const QByteArray name = names.at(index - 1).simplified();
    PkEthtool::TestResult result;
    if (const int status = selfTestReply(!runsOnline(name), index, &result))
        return status;
    if (result.names.value(index - 1).simplified() != name)
        return finish(Failed, name + ": the driver's list changed while it ran");
    const quint64 value = result.values.at(index - 1);
    return finish(value ? Failed : Passed, name + (value ? ": failed (" + QByteArray::number(value) + ")" : QByteArray(": passed")));
}

// Non-zero: the sub-test's status, already reported.
int PkLinuxTests::selfTestReply(bool offline, int index, PkEthtool::TestResult *result) const
{
    const QByteArray what = offline ? "Offline self-test" : "Online self-test";
    PkLinuxCore::SelfTestMemo memo = m_core ? m_core->selfTestMemo() : PkLinuxCore::SelfTestMemo();
    // The previous TestRun was the sub-test before this one of the same run.
    if (m_core && memo.run + 1 == m_adapter.run && memo.interface == interface() && memo.offline == offline
        && memo.index < index) {
        memo.run = m_adapter.run;
        memo.index = index;
        m_core->keepSelfTestMemo(memo);
        if (memo.declined)
            return finish(Failed, what + ": not run, the operator did not confirm");
        *result = memo.result;
        m_reporter.log(what + ": the reply of the sub-test before");
        return 0;
    }
    if (offline) {
        m_reporter.stamped("The offline self-test of " + PkLinuxCore::name(m_adapter.adapter)
                           + " takes its link down while it runs");
        const int answer = m_reporter.ask(ConfirmOffline, Yes, No, 0, No);
        if (m_pacer.cancelled())
            return Cancelled;
        if (answer != Yes) {
            // Asked once a run: the next offline tests of it fail unasked.
            if (m_core)
                m_core->keepSelfTestMemo({interface(), offline, index, m_adapter.run, true, {}});
            return finish(Failed, what + ": not run, the operator did not confirm");
        }
    }
    if (const int error = PkEthtool(interface()).selfTest(offline, result))
        return ethtoolFailure(what, error);
    for (int i = 0; i < result->names.size(); ++i)
        m_reporter.log(result->names.at(i).simplified() + ": "
                       + (result->values.at(i) ? "failed (" + QByteArray::number(result->values.at(i)) + ")" : QByteArray("0")));
    if (m_core)
        m_core->keepSelfTestMemo({interface(), offline, index, m_adapter.run, false, *result});
    return 0;
}

// The LED blinks once on this thread first, so that a driver without the
// request says so before anybody is asked; then it blinks until answered.
int PkLinuxTests::locate() const
{
    const QByteArray driver = portA().driver.toLocal8Bit();
    if (const int error = PkEthtool(interface()).identify(LocateProbeSeconds))
        return error == EOPNOTSUPP ? notAvailable(601, PkEthtool::reason(error, driver))
                                   : ethtoolFailure("Locate LED", error);
    PkLocator locator;
    locator.start(interface(), driver);
    m_reporter.stamped("The locate LED of " + PkLinuxCore::name(m_adapter.adapter) + " blinks");
    const int answer = m_reporter.ask(AskLocateBlinking, Yes, No, 0, No);
    locator.stop();
    if (m_pacer.cancelled())
        return Cancelled;
    if (!locator.failure().isEmpty())
        return finish(Failed, locator.failure());
    return answer == Yes ? finish(Passed, "Locate LED of " + interface() + " blinked")
                         : finish(Failed, "Locate LED of " + interface() + ": the operator saw it not blinking");
}

// The PHY tests each pair of the cable; a pair that is not OK fails the
// sub-test, and so does a test that never reports its end.
int PkLinuxTests::cableTest() const
{
    m_reporter.stamped("The cable test of " + PkLinuxCore::name(m_adapter.adapter) + " takes its link down while it runs");
    QByteArray messages;
    const int error = PkCableTest::run(interface(), &m_pacer, &messages);
    if (m_pacer.cancelled())
        return Cancelled;
    const PkCableReport report = PkCableReport::parse(messages, interface());
    if (error == EOPNOTSUPP)
        return notAvailable(701, "the PHY of " + interface() + " has no cable test");
    if (error == ETIMEDOUT)
        return finish(Failed, "Cable test: " + QByteArray(report.started ? "started, but no" : "no")
                                  + " end reported within " + QByteArray::number(PkCableTest::TimeoutMs / 1000) + " s");
    if (error)
        return ethtoolFailure("Cable test", error);
    if (report.pairs.isEmpty())
        return finish(Failed, "Cable test: the PHY reported its end but no pair");
    return finish(report.passed() ? Passed : Failed, report.describe());
}
