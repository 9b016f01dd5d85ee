#include "PkSensorBank.h"

#include <cstring>

void PkSensorBank::reset(const QVector<PkAdapterModel::Sensor> &sensors, quint32 seed)
{
    m_sensors = sensors.mid(0, 255); // the count travels in one byte
    m_names.clear();
    m_info.clear();
    m_readings.clear();
    m_random.seed(seed);
    m_names.reserve(static_cast<size_t>(m_sensors.size()));
    for (const PkAdapterModel::Sensor &sensor : qAsConst(m_sensors)) {
        m_names.push_back(sensor.name);
        SensorInfo info;
        std::memset(&info, 0, sizeof info);
        info.name = m_names.back().constData();
        info.type = sensor.type;
        info.maximum = sensor.maximum;
        info.minimum = sensor.minimum;
        info.upperAlarm = sensor.upperAlarm;
        info.lowerAlarm = sensor.lowerAlarm;
        info.nominal = sensor.nominal;
        m_info.push_back(info);
    }
}

SensorReading *PkSensorBank::read()
{
    m_readings.clear();
    std::uniform_real_distribution<double> spread(-1.0, 1.0);
    for (const PkAdapterModel::Sensor &sensor : qAsConst(m_sensors)) {
        SensorReading reading;
        std::memset(&reading, 0, sizeof reading);
        reading.value = sensor.value + sensor.jitter * spread(m_random);
        reading.toleranceCheck = sensor.check;
        m_readings.push_back(reading);
    }
    return m_readings.empty() ? &m_empty.reading : m_readings.data();
}
