#pragma once
#include "probekit.h"
#include "PkBehaviour.h"
#include "PkFaults.h"
#include "PkFieldReader.h"

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// One simulated adapter as the machine file describes it: PCI identity and
// resources, the texts the program shows, VPD as shipped, sensors, driver,
// address, ports, flash size, its own test behaviours and faults.
class PkAdapterModel
{
public:
    struct Sensor {
        QByteArray name;
        int type = 0;
        double minimum = 0, maximum = 0;
        double lowerAlarm = 0, upperAlarm = 0, nominal = 0;
        double value = 0, jitter = 0;
        int check = 1;
    };
    struct Port {
        bool link = false;
        int duplex = 0;
        int speed = 0;
        // The link's speed in Mb/s beside its code, for links faster than
        // the codes go; 0 when not given.
        quint32 megabits = 0;
        quint64 traffic = 0; // frames a second while the link is up
        quint64 errors = 0;  // of them with a bad frame check sequence
        // Link-state queries of a driver session that still see the link
        // down before it comes up.
        int upAfterQueries = 0;
        // The link-state byte reported while the link is down.
        int downState = 2;
        // Frames seen in `ms` of simulated time.
        quint64 framesIn(qint64 ms) const { return link ? traffic * quint64(qMax<qint64>(ms, 0)) / 1000 : 0; }
        quint64 errorsIn(qint64 ms) const { return link ? errors * quint64(qMax<qint64>(ms, 0)) / 1000 : 0; }
    };
    // What FlashSaveImage asks before it reads, when `question.message` >= 0.
    struct FlashQuestion {
        PkBehaviour::Question question;
        int failStatus = 23;
    };

    // The ranges of the machine file's numbers that the checks below name.
    static constexpr qint64 MaxBus = 0xFFFF;        // domain x 256 + bus, as Linux counts
    static constexpr qint64 MaxDevice = 31;
    static constexpr qint64 MaxFlashSize = 16 * 1024 * 1024;
    static constexpr qint64 DefaultFlashSize = 131072;
    static constexpr qint64 MaxFrameRate = 1000000000; // frames a second
    static constexpr qint64 MaxQueries = 1000000;
    static constexpr qint64 MaxMegabits = 1600000; // 1.6 Tb/s


    // False when the entry cannot describe an adapter (no vendor ID). A
    // number out of its range is left to the reader's problem.
    static bool fromJson(const PkFieldReader &json, PkAdapterModel &out);

    AdapterRecord record() const;
    // "adapter-<bus>-<device>": names the lock and the state file.
    QString key() const;
    bool sameSlot(int otherBus, int otherDevice) const { return bus == otherBus && device == otherDevice; }

    int bus = 0, device = 0, slot = -1;
    quint32 vendorId = 0, deviceId = 0, subsystemVendorId = 0, subsystemId = 0;
    quint32 ioBase = 0, memBase = 0, function = 0, slotSize = 0, irq = 0;
    quint32 cacheLineSize = 0, busClock = 0, latency = 0;
    QStringList misc;
    QMap<QString, QByteArray> vpd;
    QVector<Sensor> sensors;
    int readingCount = -1; // readings per SensorReadValues; -1: one per sensor
    bool noSensorList = false; // "sensors": null, a faulty core's answer
    bool hasDriver = false;
    QByteArray driverName, driverDescription, driverVersion, driverDate;
    bool hasIp = false;
    QByteArray ipAddress, subnetMask;
    bool ipStatic = false;
    QVector<Port> ports;
    quint32 flashSize = 0;
    FlashQuestion flashQuestion;
    QJsonObject tests;
    PkFaults::Table faults;

private:
    static void readResources(const PkFieldReader &json, PkAdapterModel &out);
    static void readVpd(const QJsonValue &value, PkAdapterModel &out);
    static void readSensors(const PkFieldReader &json, PkAdapterModel &out);
    static void readPorts(const PkFieldReader &json, PkAdapterModel &out);
    static void readDriver(const QJsonValue &value, PkAdapterModel &out);
    static void readIp(const QJsonValue &value, PkAdapterModel &out);
    static void readFlashQuestion(const PkFieldReader &json, PkAdapterModel &out);
};
