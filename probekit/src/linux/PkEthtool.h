#pragma once
#include <QByteArray>
#include <QList>
#include <QVector>

#include <cerrno>
#include <cstdint>

// The driver of a network interface as the ethtool requests reach it.
// Every call returns 0 or an errno value; reason() turns one into words.
// The requests go to the kernel unless a test has set a hook in its place.
class PkEthtool
{
public:
    struct DriverInfo {
        QByteArray driver, version, firmware, busInfo;
        quint32 eepromLength = 0;
        quint32 testCount = 0;
    };
    struct LinkSettings {
        quint32 speed = 0;      // Mb/s; 0 when unknown
        int duplex = -1;        // 0 half, 1 full, -1 unknown
        bool autoneg = false;
        int port = -1;          // PORT_TP, PORT_FIBRE...; -1 when unknown
        // "25000 Mb/s full duplex, autonegotiated, fibre"
        QByteArray describe() const;
    };
    struct TestResult {
        bool failed = false;
        QList<QByteArray> names;
        QVector<quint64> values; // one per name; not 0 is a failure
    };

    explicit PkEthtool(const QByteArray &interface) : m_interface(interface) {}

    int driverInfo(DriverInfo *out) const;
    int link(bool *up) const;
    int linkSettings(LinkSettings *out) const;
    int testNames(QList<QByteArray> *names) const;
    // The names of a string set (ETH_SS_TEST, ETH_SS_STATS), all of them:
    // the kernel writes as many as the driver has, whatever the caller
    // asked for, so the buffer must hold them all.
    int stringSet(quint32 set, QList<QByteArray> *names) const;
    // The driver's statistics, `count` of them as its string set says.
    int statistics(quint32 count, QVector<quint64> *values) const;
    int selfTest(bool offline, TestResult *out) const;
    // Blinks the identification LED for `seconds`, or until a signal comes.
    int identify(quint32 seconds) const;
    int eeprom(quint32 offset, quint32 length, uint8_t *out) const;

    // Any request as it stands (a struct ethtool_* whose first word is the
    // command), for a capture that records the replies as they come.
    int raw(void *data) const { return request(data); }
    // The same without the privileged helper, for the helper itself.
    int direct(void *data) const;
    // Whether the kernel keeps the request for root or CAP_NET_ADMIN.
    static bool privileged(const void *data);

    // "needs root or CAP_NET_ADMIN", "not supported by the e1000e driver"...
    static QByteArray reason(int error, const QByteArray &driver);

    // More entries than any driver has (a large card reports a few
    // thousand statistics) is taken as a broken reply, not allocated.
    static constexpr quint32 MaxEntries = 65536;
    // The string sets of linux/ethtool.h (ETH_SS_TEST, ETH_SS_STATS).
    static constexpr quint32 TestSet = 0;
    static constexpr quint32 StatisticsSet = 1;
    // A reply that cannot be right: a count above MaxEntries, a length
    // that does not match what was asked for.
    static constexpr int BadReply = EPROTO;

private:
    int request(void *data) const;
    int strings(quint32 set, quint32 count, QList<QByteArray> *names) const;

    QByteArray m_interface;
};
