#pragma once
#include <QByteArray>
#include <QVector>

#include <functional>

struct nlattr;
struct nlmsghdr;

// What a PHY's cable test reported, read from the kernel's ethtool netlink
// notifications (ETHTOOL_MSG_CABLE_TEST_NTF) as they came, with their
// netlink headers. The bytes come from the kernel, a capture or the
// privileged helper: every length is checked before it is followed, and a
// notification for another interface is not ours.
class PkCableReport
{
public:
    struct Pair {
        int pair = 0;          // 0 is pair A
        int code = 0;          // ETHTOOL_A_CABLE_RESULT_CODE_*
        qint64 faultCm = -1;   // distance to the fault; -1 when not given
    };

    // `family` is the ethtool generic netlink family's message type; 0
    // takes any (a recording cannot know the number the kernel gave).
    static PkCableReport parse(const QByteArray &messages, const QByteArray &interface, int family = 0);

    bool started = false;
    bool completed = false;
    QVector<Pair> pairs;

    // Every pair reported and each of them OK.
    bool passed() const;
    // "Pair A: OK; Pair B: open at 12 m"
    QByteArray describe() const;

    // The most pairs a PHY has; more results than this is a broken report.
    static constexpr int MaxPairs = 4;

    // Each well-formed attribute of a nest, or of a generic netlink
    // message after its family header; a length that leaves the
    // enclosing one ends the walk.
    static void eachNested(const nlattr *nest, const std::function<void(const nlattr *)> &visit);
    static void eachAttribute(const nlmsghdr *message, const std::function<void(const nlattr *)> &visit);

private:
    void readMessage(const void *header, const QByteArray &interface, int family);
    void readResults(const void *nest);
};
