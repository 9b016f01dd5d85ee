#include "PkHwmonBank.h"
#include "PkSysfs.h"

#include <QRegularExpression>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {

constexpr int MaxSensors = 255; // the count travels in one byte

struct Kind {
    const char *pattern;
    int type;
    double scale;
};

// Type codes as the program reads them: 0 voltage, 1 temperature, 2 fan.
const Kind kinds[] = {
    {"in*_input", 0, 0.001},
    {"temp*_input", 1, 0.001},
    {"fan*_input", 2, 1.0},
};

} // namespace

void PkHwmonBank::reset(const QString &hwmonDir, QList<QByteArray> *notes)
{
    m_sources.clear();
    m_names.clear();
    m_info.clear();
    m_readings.clear();
    m_modules.reset({}, notes);
    if (hwmonDir.isEmpty())
        return;
    static const QRegularExpression number(QStringLiteral("^([a-z]+\\d+)_input$"));
    for (const Kind &kind : kinds) {
        for (const QString &file : PkSysfs::entries(hwmonDir, QLatin1String(kind.pattern))) {
            const QString prefix = number.match(file).captured(1);
            if (prefix.isEmpty() || m_sources.size() >= size_t(MaxSensors))
                continue;
            m_names.push_back(QByteArray()); // named in add()
            if (!add(hwmonDir, prefix, kind.type, notes))
                m_names.pop_back();
        }
    }
    // The name pointers are taken once the vector no longer moves.
    for (size_t i = 0; i < m_info.size(); ++i)
        m_info[i].name = m_names[i].constData();
}

bool PkHwmonBank::add(const QString &dir, const QString &prefix, int type, QList<QByteArray> *notes)
{
    const Kind &kind = kinds[type];
    const auto value = [&](const char *suffix) -> std::optional<double> {
        const QString path = dir + QLatin1Char('/') + prefix + QLatin1String(suffix);
        if (!PkSysfs::exists(path))
            return std::nullopt;
        const std::optional<qint64> raw = PkSysfs::decimal(path);
        if (!raw)
            notes->append("hwmon " + path.toLocal8Bit() + ": not a number, left out");
        return raw ? std::optional<double>(double(*raw) * kind.scale) : std::nullopt;
    };
    const std::optional<double> now = value("_input");
    if (!now)
        return false;
    const std::optional<double> low = value("_min");
    const std::optional<double> high = value("_max");
    const std::optional<double> critical = value("_crit");
    m_names.back() = PkSysfs::text(dir + QLatin1Char('/') + prefix + QStringLiteral("_label"))
                         .value_or(prefix.toLatin1());
    SensorInfo info;
    std::memset(&info, 0, sizeof info);
    info.type = type;
    const double top = high.value_or(critical.value_or(*now));
    info.lowerAlarm = low.value_or(0.0);
    info.upperAlarm = high ? *high : critical.value_or(top);
    info.minimum = qMin(0.0, *now);
    // The scale reaches past the alarm so that the band shows.
    info.maximum = qMax(qMax(top, *now) * 1.25, 1.0);
    info.nominal = low && (high || critical) ? (info.lowerAlarm + info.upperAlarm) / 2 : qMax(*now, 1.0);
    m_info.push_back(info);
    m_sources.push_back({dir + QLatin1Char('/') + prefix + QStringLiteral("_input"), kind.scale,
                         bool(low || high || critical)});
    return true;
}

void PkHwmonBank::addModules(const QVector<PkPciFunction> &ports, QList<QByteArray> *notes)
{
    m_modules.reset(ports, notes);
    const size_t room = size_t(MaxSensors) - qMin(m_info.size(), size_t(MaxSensors));
    const std::vector<SensorInfo> &modules = m_modules.info();
    m_info.insert(m_info.end(), modules.begin(), modules.begin() + qMin(room, modules.size()));
}

SensorReading *PkHwmonBank::read(uint8_t *count)
{
    m_readings.assign(m_sources.size(), SensorReading());
    for (size_t i = 0; i < m_sources.size(); ++i) {
        SensorReading &reading = m_readings[i];
        std::memset(&reading, 0, sizeof reading);
        const std::optional<qint64> raw = PkSysfs::decimal(m_sources[i].input);
        // A value that went bad since the list was made reads as NaN and
        // is not judged against the band.
        reading.value = raw ? double(*raw) * m_sources[i].scale : std::numeric_limits<double>::quiet_NaN();
        reading.toleranceCheck = raw && m_sources[i].checked ? 1 : 0;
    }
    m_modules.read(&m_readings);
    m_readings.resize(m_info.size());
    *count = uint8_t(m_readings.size());
    return m_readings.empty() ? &m_empty.reading : m_readings.data();
}
