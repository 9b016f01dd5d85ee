#pragma once
#include "PkModuleEeprom.h"
#include "PkPciFunction.h"
#include "probekit.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QVector>

#include <vector>

// The pluggable modules in an adapter's ports, as sensors and as product
// data. Each port's module is read once when the adapter is selected: a
// sensor for each measure it has, with the gauge's band from the module's
// warning thresholds and the scale's ends at its alarm thresholds, and its
// identity for the VPD view. Every reading reads the module afresh; a
// module pulled, replaced or garbled since reads as NaN, never judged.
class PkModuleBank
{
public:
    // Sensor types beyond the hwmon ones: a current in mA, an optical
    // power in mW and the same in dBm.
    static constexpr int Current = 3, Power = 4, PowerDbm = 5;
    // The identity's entries in the VPD list: "module.a.vendor"... Never
    // a writable keyword's name, and listed after the card's own.
    static constexpr const char *KeywordPrefix = "module.";
    // The most bytes a module's EEPROM is read with (a QSFP's five pages).
    static constexpr quint32 MaxEeprom = 640;

    void reset(const QVector<PkPciFunction> &ports, QList<QByteArray> *notes);
    const std::vector<SensorInfo> &info() const { return m_info; }
    // One reading per sensor of info(), appended.
    void read(std::vector<SensorReading> *out);
    const QMap<QString, QByteArray> &identity() const { return m_identity; }

    // 0 or an errno value; the type the driver declares and the bytes.
    static int fetch(const QByteArray &interface, quint32 *type, QByteArray *bytes);

private:
    struct Slot {
        PkModuleEeprom::Quantity quantity;
        bool dBm;
    };
    struct Module {
        QByteArray interface, label; // "eth0", "module A"
        std::string serial;
        std::vector<Slot> gauges;
        QByteArray lastFault;
    };
    void add(const QByteArray &label, const QByteArray &interface, const PkModuleEeprom &decoded);
    void addSensor(Module *module, const PkModuleEeprom::Measure &measure, PkModuleEeprom::Quantity q, bool dBm);
    void note(Module *module, const QByteArray &fault);

    std::vector<Module> m_modules;
    std::vector<QByteArray> m_names;
    std::vector<SensorInfo> m_info;
    QMap<QString, QByteArray> m_identity;
};
