#pragma once
#include "probekit.h"
#include "PkAdapterLock.h"
#include "PkBackend.h"
#include "PkAdapterState.h"
#include "PkBehaviour.h"
#include "PkMachine.h"
#include "PkPacer.h"
#include "PkRecordTable.h"
#include "PkReporter.h"
#include "PkSensorBank.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QSet>

#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <vector>

// The simulated core: the default backend behind the C interface. A mutex
// guards its state; long work (tests, commands, flash) runs outside it so
// that TestCancel and the other calls never wait for a running test.
class PkCore : public PkBackend
{
public:
    static PkCore &instance();

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

    // For the command interpreter, which runs outside the lock.
    // The behaviour of a sub-test and whether its seeded failure strikes now.
    int prepareRun(int number, PkBehaviour *behaviour, bool *seededFailure);
    // Lines describing the selected adapter; empty when none is selected.
    QList<QByteArray> describe(const uint8_t *modeFlags) const;
    // The frame counters of each port since CoreInit; empty without adapter.
    QList<QByteArray> statistics() const;
    // A port of the selected adapter; false when it has none.
    bool port(int index, PkAdapterModel::Port *out) const;
    // The selected adapter's register file: 0, or 11 without an adapter.
    int readRegister(quint32 offset, quint32 *value) const;
    int writeRegister(quint32 offset, quint32 value);
    PkPacer pacer() const;

private:
    PkCore() = default;

    // Callers hold the lock for everything below.
    int fault(const char *function) const;
    int faultFor(const char *function, const PkAdapterModel *adapter) const;
    const PkAdapterModel *selected() const;
    void releaseAll();
    void selectIndex(int index);
    bool takeLock(const QString &path);
    PkBehaviour behaviourFor(int number) const;
    bool drawFailure(int number, const PkBehaviour &behaviour);
    static QByteArray portName(int index);
    int beginFlash(const char *function, bool argumentsGiven, QByteArray *contents,
                   PkAdapterModel::FlashQuestion *question = nullptr);
    int storeFlash(const QByteArray &contents, int failure, const PkReporter &reporter);
    // Outside the lock: hands pending notices to a call's callback table.
    void tellNotices(const PkReporter &reporter);

    mutable std::mutex m_mutex;
    std::atomic<bool> m_cancel {false};
    bool m_initialised = false;
    PkMachine m_machine;
    int m_selected = -1;
    PkAdapterLock m_lock;
    PkAdapterState m_state;
    PkSensorBank m_sensors;
    PkRecordTable m_table;
    struct DriverSession {
        int adapter = -1;
        int linkQueries = 0;
    };
    QMap<quintptr, DriverSession> m_drivers;
    quintptr m_nextDriver = 0;
    QByteArray m_ipText, m_maskText;
    QElapsedTimer m_clock;
    std::map<int, std::mt19937> m_failDraws;
    QSet<int> m_locateOn;                        // adapters whose LED is lit
    QMap<int, QMap<quint32, quint32>> m_registers; // per adapter, written ones
    int m_seriesDepth = 0;
    QList<QByteArray> m_notices; // for the next call with a callback table
};
