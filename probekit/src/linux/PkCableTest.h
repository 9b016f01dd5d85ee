#pragma once
#include <QByteArray>
#include <QString>

class PkPacer;

// Runs a PHY's cable test through ethtool netlink: the request
// (ETHTOOL_MSG_CABLE_TEST_ACT), then the notifications the kernel sends on
// the ethtool family's "monitor" group until the test reports its end.
// The wait is bounded: a PHY that never reports an end fails the test with
// ETIMEDOUT, never holds it. A replayed capture answers from
// <capture>/netlink/<interface>/ETHTOOL_MSG_CABLE_TEST_ACT; without the
// privilege the request goes to the privileged helper.
class PkCableTest
{
public:
    // 0 or an errno value; `messages` gets the notifications as they came
    // (with their netlink headers), also when the end never came. `pacer`
    // may be null; a cancel through it ends the wait with ECANCELED.
    static int run(const QByteArray &interface, const PkPacer *pacer, QByteArray *messages);
    // The same on this machine's kernel only: no capture, no helper.
    static int live(const QByteArray &interface, const PkPacer *pacer, QByteArray *messages);

    // Copper PHYs take a few seconds; this is well past any of them.
    static constexpr int TimeoutMs = 30000;
    // The notifications of one test are small; more is not a cable test.
    static constexpr int MaxBytes = 64 * 1024;
    static constexpr const char *RecordingName = "ETHTOOL_MSG_CABLE_TEST_ACT";

private:
    static int replay(const QString &capture, const QByteArray &interface, QByteArray *messages);
};
