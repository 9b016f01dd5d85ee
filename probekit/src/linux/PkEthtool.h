#pragma once
#include <QByteArray>
#include <QList>
#include <QVector>

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
    int selfTest(bool offline, TestResult *out) const;
    // Blinks the identification LED for `seconds`, or until a signal comes.
    int identify(quint32 seconds) const;
    int eeprom(quint32 offset, quint32 length, uint8_t *out) const;

    // "needs root or CAP_NET_ADMIN", "not supported by the e1000e driver"...
    static QByteArray reason(int error, const QByteArray &driver);

private:
    int request(void *data) const;
    int strings(quint32 set, quint32 count, QList<QByteArray> *names) const;

    QByteArray m_interface;
};
