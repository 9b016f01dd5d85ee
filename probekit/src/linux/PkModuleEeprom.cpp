#include "PkModuleEeprom.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr size_t SfpPage = 256;
constexpr size_t QsfpBase = 256;    // lower page 0 and upper page 0
constexpr size_t QsfpPaged = 640;   // and upper pages 1, 2, 3
constexpr size_t QsfpPage3 = 384;   // blob offset of page 3 byte 0
const double NaN = std::numeric_limits<double>::quiet_NaN();

// The scale of each quantity's raw unit: 1/256 degC, 100 uV, 2 uA, 0.1 uW.
constexpr double Scale[PkModuleEeprom::QuantityCount] = {1.0 / 256, 1e-4, 2e-3, 1e-4, 1e-4};

unsigned word(const uint8_t *p) { return unsigned(p[0]) << 8 | p[1]; }
int16_t signedWord(const uint8_t *p) { return int16_t(uint16_t(word(p))); }

std::string hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
    return text;
}

// Bytes first..last (inclusive) add up, in 8 bits, to the byte after them.
bool sums(const uint8_t *data, size_t first, size_t last, std::string *why, const char *name)
{
    unsigned sum = 0;
    for (size_t i = first; i <= last; ++i)
        sum += data[i];
    if ((sum & 0xFF) == data[last + 1])
        return true;
    *why = std::string(name) + " checksum fails: bytes " + std::to_string(first) + "-" + std::to_string(last)
        + " add up to " + hex(sum) + ", byte " + std::to_string(last + 1) + " holds " + hex(data[last + 1]);
    return false;
}

// A fixed-width text field: trailing blanks and NULs cut, anything that
// is not printable ASCII shown as "?".
std::string text(const uint8_t *data, size_t length)
{
    std::string out(reinterpret_cast<const char *>(data), length);
    while (!out.empty() && (out.back() == ' ' || out.back() == '\0'))
        out.pop_back();
    for (char &c : out)
        if (c < 0x20 || c > 0x7E)
            c = '?';
    return out;
}

std::string connectorName(unsigned code)
{
    static const struct {
        unsigned code;
        const char *name;
    } names[] = {{0x01, "SC"},          {0x02, "Fibre Channel style 1 copper"}, {0x03, "Fibre Channel style 2 copper"},
                 {0x04, "BNC/TNC"},     {0x05, "Fibre Channel coax"},  {0x06, "Fiber Jack"},
                 {0x07, "LC"},          {0x08, "MT-RJ"},               {0x09, "MU"},
                 {0x0A, "SG"},          {0x0B, "Optical pigtail"},     {0x0C, "MPO 1x12"},
                 {0x0D, "MPO 2x16"},    {0x20, "HSSDC II"},            {0x21, "Copper pigtail"},
                 {0x22, "RJ45"},        {0x23, "No separable connector"}, {0x24, "MXC 2x16"},
                 {0x25, "CS optical"},  {0x26, "SN optical"},          {0x27, "MPO 2x12"},
                 {0x28, "MPO 1x16"}};
    for (const auto &entry : names)
        if (entry.code == code)
            return entry.name;
    return "unknown (" + hex(code) + ")";
}

float bigEndianFloat(const uint8_t *p)
{
    const uint32_t bits = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The constants a module that calibrates externally keeps on page A2h.
struct Calibration {
    double rx[5] = {0, 1, 0, 0, 0}; // Rx_PWR(0) .. Rx_PWR(4)
    double slope[4] = {1, 1, 1, 1};  // temperature, voltage, bias, Tx power
    double offset[4] = {0, 0, 0, 0};

    // In raw units, before the quantity's scale.
    double apply(PkModuleEeprom::Quantity q, double raw) const
    {
        if (q == PkModuleEeprom::RxPower)
            return (((rx[4] * raw + rx[3]) * raw + rx[2]) * raw + rx[1]) * raw + rx[0];
        return raw * slope[q] + offset[q];
    }
};

bool readCalibration(const uint8_t *a2, Calibration *out)
{
    for (int i = 0; i < 5; ++i) {
        out->rx[4 - i] = bigEndianFloat(a2 + 56 + 4 * i);
        if (!std::isfinite(out->rx[4 - i]))
            return false;
    }
    // Bias, Tx power, temperature, voltage, in this order on the page.
    const PkModuleEeprom::Quantity order[] = {PkModuleEeprom::Bias, PkModuleEeprom::TxPower,
                                              PkModuleEeprom::Temperature, PkModuleEeprom::Voltage};
    for (int i = 0; i < 4; ++i) {
        const uint8_t *p = a2 + 76 + 4 * i;
        out->slope[order[i]] = p[0] + p[1] / 256.0;
        out->offset[order[i]] = signedWord(p + 2);
    }
    return true;
}

double raw(PkModuleEeprom::Quantity q, const uint8_t *p)
{
    return q == PkModuleEeprom::Temperature ? double(signedWord(p)) : double(word(p));
}

} // namespace

const char *PkModuleEeprom::name(Quantity quantity)
{
    static const char *const names[QuantityCount] = {"temperature", "supply voltage", "laser bias",
                                                     "transmit power", "receive power"};
    return names[quantity];
}

double PkModuleEeprom::dBm(double milliwatts)
{
    return std::isfinite(milliwatts) && milliwatts > 0 ? 10.0 * std::log10(milliwatts) : NaN;
}

PkModuleEeprom PkModuleEeprom::decode(uint32_t type, const uint8_t *data, size_t size)
{
    PkModuleEeprom module;
    if (!data)
        size = 0;
    switch (type) {
    case Sff8079:
    case Sff8472:
        module.decodeSfp(type, data, size);
        break;
    case Sff8636:
    case Sff8436:
        module.decodeQsfp(data, size);
        break;
    default:
        module.problems.push_back("module type " + std::to_string(type) + " is neither SFP nor QSFP");
        break;
    }
    for (const Measure &m : module.measures)
        module.diagnostics = module.diagnostics || m.present;
    return module;
}

bool PkModuleEeprom::blank(const uint8_t *data, size_t size)
{
    bool zero = true, erased = true;
    for (size_t i = 0; i < size; ++i) {
        zero = zero && data[i] == 0x00;
        erased = erased && data[i] == 0xFF;
    }
    return zero || erased;
}

void PkModuleEeprom::keep(Quantity q, double value, const Thresholds &t)
{
    const bool numbers = std::isfinite(value) && std::isfinite(t.highAlarm) && std::isfinite(t.lowAlarm)
        && std::isfinite(t.highWarning) && std::isfinite(t.lowWarning);
    // The warning band lies inside the alarm limits, and neither is empty.
    if (!numbers || !(t.lowAlarm <= t.lowWarning && t.lowWarning < t.highWarning && t.highWarning <= t.highAlarm)) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "%s thresholds out of order (alarms %g..%g, warnings %g..%g): left out", name(q),
                      t.lowAlarm, t.highAlarm, t.lowWarning, t.highWarning);
        problems.push_back(line);
        return;
    }
    measures[q].present = true;
    measures[q].value = value;
    measures[q].limits = t;
}

// False, with the problem noted, when a block's check code does not match:
// without the base block nothing is identified, without the extended one
// the serial number and date are left out.
bool PkModuleEeprom::readIdentity(const uint8_t *data, const IdentityLayout &at)
{
    std::string why;
    if (!sums(data, at.baseFirst, at.baseLast, &why, "ID (CC_BASE)")) {
        problems.push_back(why);
        return false;
    }
    identified = true;
    vendor = text(data + at.vendor, 16);
    partNumber = text(data + at.partNumber, 16);
    revision = text(data + at.revision, at.revisionLength);
    connector = connectorName(data[at.connector]);
    if (!sums(data, at.extendedFirst, at.extendedLast, &why, "extended ID (CC_EXT)")) {
        problems.push_back(why + ": serial number, date and diagnostics left out");
        return false;
    }
    serial = text(data + at.serial, 16);
    dateCode = text(data + at.dateCode, 8);
    return true;
}

void PkModuleEeprom::decodeSfp(uint32_t type, const uint8_t *data, size_t size)
{
    const size_t needed = type == Sff8472 ? 2 * SfpPage : SfpPage;
    if (size < needed) {
        problems.push_back(std::to_string(size) + " bytes, where the module's EEPROM holds " + std::to_string(needed));
        return;
    }
    if (data[0] != 0x03 && data[0] != 0x02 && data[0] != 0x0B) {
        problems.push_back("identifier " + hex(data[0]) + " is not an SFP's, though the driver says SFP");
        return;
    }
    const bool extended = readIdentity(data, {0, 62, 20, 40, 56, 4, 2, 64, 94, 68, 84});
    // A cable (passive or active) keeps its compliance in bytes 60-61.
    if (identified && !(data[8] & 0x0C))
        wavelength = int(word(data + 60));
    if (!extended || !(data[92] & 0x40))
        return;
    if (type != Sff8472) {
        problems.push_back("diagnostics declared, but the driver gives no diagnostics page");
        return;
    }
    sfpDiagnostics(data, data + SfpPage);
}

void PkModuleEeprom::sfpDiagnostics(const uint8_t *a0, const uint8_t *a2)
{
    std::string why;
    if (blank(a2, 96)) {
        problems.push_back("diagnostics page is blank: left out");
        return;
    }
    if (!sums(a2, 0, 94, &why, "diagnostics (CC_DMI)")) {
        problems.push_back(why + ": left out");
        return;
    }
    Calibration calibration;
    externalCalibration = a0[92] & 0x10;
    if (externalCalibration && !readCalibration(a2, &calibration)) {
        problems.push_back("calibration constants are not numbers: diagnostics left out");
        return;
    }
    for (int i = 0; i < QuantityCount; ++i) {
        const Quantity q = Quantity(i);
        const auto value = [&](const uint8_t *p) { return calibration.apply(q, raw(q, p)) * Scale[q]; };
        const uint8_t *t = a2 + 8 * i;
        keep(q, value(a2 + 96 + 2 * i), {value(t), value(t + 2), value(t + 4), value(t + 6)});
    }
    if (a0[93] & 0x80) {
        alarmFlags = uint16_t(word(a2 + 112));
        warningFlags = uint16_t(word(a2 + 116));
    }
}

void PkModuleEeprom::decodeQsfp(const uint8_t *data, size_t size)
{
    if (size < QsfpBase) {
        problems.push_back(std::to_string(size) + " bytes, where the module's EEPROM holds " + std::to_string(QsfpBase));
        return;
    }
    const auto isQsfp = [](uint8_t id) { return id == 0x0C || id == 0x0D || id == 0x11; };
    if (!isQsfp(data[0]) || !isQsfp(data[128])) {
        problems.push_back("identifier " + hex(data[isQsfp(data[0]) ? 128 : 0])
                           + " is not a QSFP's, though the driver says QSFP");
        return;
    }
    qsfp = true;
    const bool extended = readIdentity(data, {128, 190, 148, 168, 184, 2, 130, 192, 222, 196, 212});
    // Copper (transmitter technology 0xA and up) keeps attenuation there.
    if (identified && (data[147] >> 4) < 0x0A)
        wavelength = int(word(data + 186) / 20);
    if (extended)
        qsfpDiagnostics(data, size);
}

// The first lane's bias and powers stand for the module's; the thresholds
// are on upper page 3, which a flat-memory module does not have.
void PkModuleEeprom::qsfpDiagnostics(const uint8_t *data, size_t size)
{
    if ((data[2] & 0x04) || size < QsfpPaged) {
        problems.push_back("no thresholds page (" + std::to_string(size) + " bytes read): diagnostics left out");
        return;
    }
    const uint8_t *page3 = data + QsfpPage3;
    if (blank(page3 + 128, 80)) {
        problems.push_back("thresholds page is blank: diagnostics left out");
        return;
    }
    const struct {
        Quantity q;
        size_t live, limits;
    } where[] = {{Temperature, 22, 128}, {Voltage, 26, 144}, {Bias, 42, 184}, {TxPower, 50, 192}, {RxPower, 34, 176}};
    for (const auto &w : where) {
        // Byte 220 bit 2: transmit power is measured.
        if (w.q == TxPower && !(data[220] & 0x04))
            continue;
        const auto value = [&](const uint8_t *p) { return raw(w.q, p) * Scale[w.q]; };
        const uint8_t *t = page3 + w.limits;
        keep(w.q, value(data + w.live), {value(t), value(t + 2), value(t + 4), value(t + 6)});
    }
}
