#pragma once
#include "PkAdapterLock.h"
#include "PkAdapterState.h"
#include "PkEthtool.h"
#include "PkBackend.h"
#include "PkHwmonBank.h"
#include "PkLinuxAdapter.h"
#include "PkLocator.h"
#include "PkPacer.h"
#include "PkRecordTable.h"
#include "PkVpdImage.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QVector>

#include <atomic>
#include <mutex>
#include <vector>

// The network adapters of the machine the library runs on: sysfs for what
// the bus and the kernel know, the ethtool requests for what the driver
// knows, hwmon for sensors, the VPD file for product data. It reads, and
// writes nothing to an adapter unless every guard of PkVpdWriter allows
// it; flash loading and erasing are refused.
class PkLinuxCore : public PkBackend
{
public:
    static PkLinuxCore &instance();
    ~PkLinuxCore() override;

    int init() override;
    int deinit() override;

    AdapterRecord *enumerate(const uint32_t *filter) override;
    int select(const AdapterRecord *adapter) override;

    int vpdRead(const char *keyword, char *buffer, uint32_t *size) override;
    int vpdList(char *buffer, uint32_t *size, uint32_t *count) override;
    int vpdWrite(const char *keyword, const char *value) override;
    int vpdDelete(const char *keyword) override;

    int sensorList(SensorInfo **list, uint8_t *count) override;
    int sensorRead(SensorReading **readings, uint8_t *count) override;

    int testRun(int number, const uint8_t *modeFlags, const CoreCallbacks *callbacks) override;
    int commandRun(const char *command, const uint8_t *modeFlags, const CoreCallbacks *callbacks) override;
    int testCancel() override;
    int seriesBegin() override;
    int seriesEnd() override;

    int flashLoad(const uint8_t *image, uint32_t length, const CoreCallbacks *callbacks) override;
    int flashSave(uint8_t *buffer, uint32_t *size, const CoreCallbacks *callbacks) override;
    int flashErase(const CoreCallbacks *callbacks) override;

    DriverHandle driverOpen() override;
    int driverQuery(DriverHandle handle, uint32_t oid, void *buffer, uint32_t *size) override;
    void driverClose(DriverHandle handle) override;

    const char *ipAddress(int index, uint8_t *isStatic) override;
    const char *subnetMask(int index) override;
    void locate(int on) override;
    void statInfo(char *buffer, int size) override;

    // What the tests and commands work on, taken under the lock and used
    // outside it.
    struct Snapshot {
        bool valid = false;
        PkLinuxAdapter adapter;
        QByteArray vpdImage;
        QByteArray vpdError;     // why there is no image
        QMap<QString, QByteArray> vpd; // as shown: card plus shadow writes
        bool locating = false;
        QByteArray locateFailure;
        int seriesDepth = 0;
        quint64 run = 0;         // TestRun calls so far, this one included
    };
    // The driver's last self-test reply, for the next sub-test of the same
    // run; see PkLinuxTests::selfTestReply.
    struct SelfTestMemo {
        QByteArray interface;
        bool offline = false;
        int index = 0;
        quint64 run = 0;
        bool declined = false;   // the operator said No to going offline
        PkEthtool::TestResult result;
    };
    SelfTestMemo selfTestMemo() const;
    void keepSelfTestMemo(const SelfTestMemo &memo);
    // The adapters present, read afresh, for the description files.
    QVector<PkLinuxAdapter> adapters();
    Snapshot snapshot() const;
    PkPacer pacer() const;
    // Shadow writes, as VpdWriteKeyword makes them; null value deletes.
    int shadowWrite(const QString &keyword, const QByteArray *value);
    // After a real write: the card's VPD read afresh.
    void reloadVpd();

    // Where the Linux backend keeps its shadow state and backups, and the
    // lock files every user's instances share.
    static QString stateDir();
    static QString lockDir();
    // "0000:03:00.0 eth1 (e1000e)": how the lines name an adapter.
    static QByteArray name(const PkLinuxAdapter &adapter);

private:
    PkLinuxCore() = default;

    const PkLinuxAdapter *find(int bus, int device) const;
    void rescan();
    int editorWrite(const char *keyword, const QByteArray *value);
    void releaseAll();
    void loadSelection();
    void readVpd();
    QMap<QString, QByteArray> withModules(QMap<QString, QByteArray> vpd) const;

    mutable std::mutex m_mutex;
    std::atomic<bool> m_cancel {false};
    bool m_initialised = false;
    QVector<PkLinuxAdapter> m_adapters;
    bool m_hasCurrent = false;
    PkLinuxAdapter m_current;
    PkAdapterLock m_lock;
    PkAdapterState m_state;
    PkHwmonBank m_sensors;
    QByteArray m_vpdImage, m_vpdError;
    PkLocator m_locator;
    PkRecordTable m_table;
    QMap<quintptr, QString> m_drivers; // handle to the adapter's key
    quintptr m_nextDriver = 0;
    QByteArray m_ipText, m_maskText;
    int m_seriesDepth = 0;
    quint64 m_runs = 0;
    SelfTestMemo m_selfTestMemo;
};
