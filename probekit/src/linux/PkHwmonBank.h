#pragma once
#include "PkModuleBank.h"
#include "probekit.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// The sensors of an adapter's hwmon directory in the records the program
// reads: temperatures (temp*_input, millidegrees), voltages (in*_input,
// millivolts) and fans (fan*_input, rpm), with their min, max and crit
// limits. A limit that is not a number is left out; a sensor whose value
// is not a number is left out; each with a note. Readings are read afresh
// at every read. The modules in the adapter's ports follow as further
// sensors (see PkModuleBank).
class PkHwmonBank
{
public:
    // Empty directory: no sensors.
    void reset(const QString &hwmonDir, QList<QByteArray> *notes);
    // After reset(): the sensors of the ports' modules, appended.
    void addModules(const QVector<PkPciFunction> &ports, QList<QByteArray> *notes);
    // The modules' identities, as VPD entries.
    const QMap<QString, QByteArray> &moduleIdentity() const { return m_modules.identity(); }

    SensorInfo *list() { return m_info.empty() ? &m_empty.info : m_info.data(); }
    uint8_t count() const { return uint8_t(m_info.size()); }
    SensorReading *read(uint8_t *count);

private:
    struct Source {
        QString input;
        double scale = 1.0;
        bool checked = false;
    };
    bool add(const QString &dir, const QString &prefix, int type, QList<QByteArray> *notes);

    std::vector<Source> m_sources;
    std::vector<QByteArray> m_names;
    std::vector<SensorInfo> m_info;
    std::vector<SensorReading> m_readings;
    PkModuleBank m_modules;
    union Empty { SensorInfo info; SensorReading reading; } m_empty {};
};
