#include "PkModuleBank.h"
#include "PkEthtool.h"
#include "PkLog.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <linux/ethtool.h>

namespace {

constexpr int MaxSensors = 255; // the count travels in one byte
// The dBm a threshold of no power at all is drawn at: that of the least
// power a module can report, 0.1 uW.
constexpr double FloorDbm = -40.0;
const double NaN = std::numeric_limits<double>::quiet_NaN();

int sensorType(PkModuleEeprom::Quantity q, bool dBm)
{
    switch (q) {
    case PkModuleEeprom::Temperature:
        return 1;
    case PkModuleEeprom::Voltage:
        return 0;
    case PkModuleEeprom::Bias:
        return PkModuleBank::Current;
    default:
        return dBm ? PkModuleBank::PowerDbm : PkModuleBank::Power;
    }
}

const char *shortName(PkModuleEeprom::Quantity q)
{
    static const char *const names[] = {"temperature", "Vcc", "bias", "Tx", "Rx"};
    return names[q];
}

double thresholdDbm(double milliwatts)
{
    const double value = PkModuleEeprom::dBm(milliwatts);
    return std::isnan(value) ? FloorDbm : qMax(value, FloorDbm);
}

} // namespace

int PkModuleBank::fetch(const QByteArray &interface, quint32 *type, QByteArray *bytes)
{
    const PkEthtool ethtool(interface);
    ethtool_modinfo info {};
    info.cmd = ETHTOOL_GMODULEINFO;
    if (const int error = ethtool.raw(&info))
        return error;
    if (info.eeprom_len == 0 || info.eeprom_len > MaxEeprom)
        return PkEthtool::BadReply;
    std::vector<uint8_t> buffer(sizeof(ethtool_eeprom) + info.eeprom_len, 0);
    auto *eeprom = reinterpret_cast<ethtool_eeprom *>(buffer.data());
    eeprom->cmd = ETHTOOL_GMODULEEEPROM;
    eeprom->len = info.eeprom_len;
    if (const int error = ethtool.raw(eeprom))
        return error;
    if (eeprom->len != info.eeprom_len)
        return PkEthtool::BadReply;
    *type = info.type;
    *bytes = QByteArray(reinterpret_cast<const char *>(eeprom->data), int(info.eeprom_len));
    return 0;
}

void PkModuleBank::reset(const QVector<PkPciFunction> &ports, QList<QByteArray> *notes)
{
    m_modules.clear();
    m_names.clear();
    m_info.clear();
    m_identity.clear();
    for (int i = 0; i < ports.size(); ++i) {
        const QByteArray interface = ports.at(i).interface.toLocal8Bit();
        if (interface.isEmpty())
            continue;
        quint32 type = 0;
        QByteArray bytes;
        const int error = fetch(interface, &type, &bytes);
        const QByteArray label = "module " + QByteArray(1, char('A' + i));
        // No module, or a driver that cannot tell: nothing to show.
        if (error == EOPNOTSUPP || error == ENODEV)
            continue;
        if (error) {
            notes->append(interface + " " + label + ": not read: " + PkEthtool::reason(error, QByteArray()));
            continue;
        }
        const PkModuleEeprom decoded = PkModuleEeprom::decode(
            type, reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        for (const std::string &problem : decoded.problems)
            notes->append(interface + " " + label + ": " + QByteArray::fromStdString(problem));
        if (decoded.identified)
            add(label, interface, decoded);
    }
    // The name pointers are taken once the vector no longer moves.
    for (size_t i = 0; i < m_info.size(); ++i)
        m_info[i].name = m_names[i].constData();
}

void PkModuleBank::add(const QByteArray &label, const QByteArray &interface, const PkModuleEeprom &decoded)
{
    const QString prefix = QLatin1String(KeywordPrefix) + QChar(QLatin1Char(label.back())).toLower() + QLatin1Char('.');
    const std::pair<const char *, std::string> fields[] = {
        {"vendor", decoded.vendor}, {"part", decoded.partNumber}, {"revision", decoded.revision},
        {"serial", decoded.serial}, {"date", decoded.dateCode},   {"connector", decoded.connector},
        {"wavelength", decoded.wavelength ? std::to_string(decoded.wavelength) + " nm" : std::string()}};
    for (const auto &field : fields)
        if (!field.second.empty())
            m_identity.insert(prefix + QLatin1String(field.first), QByteArray::fromStdString(field.second));
    m_modules.push_back({interface, label, decoded.serial, {}, {}});
    Module &module = m_modules.back();
    for (int q = 0; q < PkModuleEeprom::QuantityCount; ++q)
        addSensor(&module, decoded.measures[q], PkModuleEeprom::Quantity(q), false);
    for (const auto q : {PkModuleEeprom::TxPower, PkModuleEeprom::RxPower})
        addSensor(&module, decoded.measures[q], q, true);
}

void PkModuleBank::addSensor(Module *module, const PkModuleEeprom::Measure &measure, PkModuleEeprom::Quantity q, bool dBm)
{
    if (!measure.present || m_info.size() >= size_t(MaxSensors))
        return;
    const auto scale = [dBm](double value) { return dBm ? thresholdDbm(value) : value; };
    SensorInfo info;
    std::memset(&info, 0, sizeof info);
    info.type = sensorType(q, dBm);
    info.minimum = scale(measure.limits.lowAlarm);
    info.maximum = scale(measure.limits.highAlarm);
    info.lowerAlarm = scale(measure.limits.lowWarning);
    info.upperAlarm = scale(measure.limits.highWarning);
    // Powers below the least a module reports make one dBm floor: the
    // band is then empty, and the gauge is left out rather than judged.
    if (!(info.lowerAlarm < info.upperAlarm))
        return;
    info.nominal = (info.lowerAlarm + info.upperAlarm) / 2;
    m_info.push_back(info);
    m_names.push_back(module->label.left(1).toUpper() + module->label.mid(1) + ' ' + shortName(q));
    module->gauges.push_back({q, dBm});
}

void PkModuleBank::note(Module *module, const QByteArray &fault)
{
    if (fault != module->lastFault && !fault.isEmpty())
        PkLog::line(module->interface + " " + module->label + ": " + fault + "; its gauges show no value");
    module->lastFault = fault;
}

void PkModuleBank::read(std::vector<SensorReading> *out)
{
    for (Module &module : m_modules) {
        quint32 type = 0;
        QByteArray bytes;
        const int error = fetch(module.interface, &type, &bytes);
        const PkModuleEeprom decoded = error ? PkModuleEeprom() : PkModuleEeprom::decode(
            type, reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        QByteArray fault;
        if (error)
            fault = "no longer answers (" + PkEthtool::reason(error, QByteArray()) + "): pulled?";
        else if (!decoded.identified)
            fault = decoded.problems.empty() ? QByteArray("not readable")
                                             : QByteArray::fromStdString(decoded.problems.front());
        else if (decoded.serial != module.serial)
            fault = "another module (serial number " + QByteArray::fromStdString(decoded.serial)
                + ") is plugged in: select the adapter again";
        note(&module, fault);
        for (const Slot &slot : module.gauges) {
            SensorReading reading;
            std::memset(&reading, 0, sizeof reading);
            const PkModuleEeprom::Measure &measure = decoded.measures[slot.quantity];
            const bool sound = fault.isEmpty() && measure.present;
            reading.value = !sound ? NaN : slot.dBm ? PkModuleEeprom::dBm(measure.value) : measure.value;
            reading.toleranceCheck = std::isfinite(reading.value) ? 1 : 0;
            out->push_back(reading);
        }
    }
}
