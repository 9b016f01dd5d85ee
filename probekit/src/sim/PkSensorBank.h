#pragma once
#include "probekit.h"
#include "PkAdapterModel.h"

#include <QByteArray>
#include <QVector>

#include <random>
#include <vector>

// The selected adapter's sensors in the records the program reads. The
// arrays stay owned here: the list until the next reset, the readings until
// the next read.
class PkSensorBank
{
public:
    // The readings wander around each sensor's value by its jitter, drawn
    // from a generator seeded by the adapter so every session repeats.
    // readingCount -1 reads one value per sensor; another count reads that
    // many (a faulty core's answer), zeros past the last sensor.
    void reset(const QVector<PkAdapterModel::Sensor> &sensors, quint32 seed, int readingCount = -1);
    void clear() { reset({}, 0); }

    SensorInfo *list() { return m_info.empty() ? &m_empty.info : m_info.data(); }
    uint8_t count() const { return static_cast<uint8_t>(m_info.size()); }
    // The readings and, in *count, how many there are.
    SensorReading *read(uint8_t *count);

private:
    QVector<PkAdapterModel::Sensor> m_sensors;
    std::vector<QByteArray> m_names;
    std::vector<SensorInfo> m_info;
    std::vector<SensorReading> m_readings;
    std::mt19937 m_random;
    int m_readingCount = 0;
    // A valid address for an adapter without sensors: the program tells
    // "no list" (a failure) from "no sensors" by the pointer.
    union Empty { SensorInfo info; SensorReading reading; } m_empty {};
};
