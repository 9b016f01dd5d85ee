#include "PkSensorBank.h"

#include <cstring>

void PkSensorBank::reset(const QVector<PkAdapterModel::Sensor> &sensors, quint32 seed, int readingCount)
{
    m_sensors = sensors.mid(0, 255); // the count travels in one byte
    m_readingCount = readingCount < 0 ? m_sensors.size() : qMin(readingCount, 255);
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
    // Exactly as long as the list: a program that reads past its end reads
    // outside the allocation, where AddressSanitizer sees it.
    m_info.shrink_to_fit();
}

SensorReading *PkSensorBank::read(uint8_t *count)
{
    m_readings.clear();
    std::uniform_real_distribution<double> spread(-1.0, 1.0);
    for (int i = 0; i < m_readingCount; ++i) {
        SensorReading reading;
        std::memset(&reading, 0, sizeof reading);
        if (i < m_sensors.size()) {
            const PkAdapterModel::Sensor &sensor = m_sensors.at(i);
            reading.value = sensor.value + sensor.jitter * spread(m_random);
            reading.toleranceCheck = sensor.check;
        }
        m_readings.push_back(reading);
    }
    *count = static_cast<uint8_t>(m_readings.size());
    return m_readings.empty() ? &m_empty.reading : m_readings.data();
}
