// Fuzz target: the module EEPROM decoder (first byte: the module type the
// driver declares; then the EEPROM). Whatever it is fed, every measure it
// keeps is a number inside thresholds in order, the dBm of a power is a
// number or "no value" (never infinite), and the texts are printable.
#include "PkModuleEeprom.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void printable(const std::string &text)
{
    for (const char c : text)
        check(c >= 0x20 && c <= 0x7E);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const PkModuleEeprom m = PkModuleEeprom::decode(data[0] % 6, data + 1, size - 1);
    for (const std::string *text : {&m.vendor, &m.partNumber, &m.revision, &m.serial, &m.dateCode, &m.connector})
        printable(*text);
    bool any = false;
    for (int q = 0; q < PkModuleEeprom::QuantityCount; ++q) {
        const PkModuleEeprom::Measure &measure = m.measures[q];
        if (!measure.present)
            continue;
        any = true;
        const PkModuleEeprom::Thresholds &t = measure.limits;
        check(std::isfinite(measure.value));
        check(t.lowAlarm <= t.lowWarning && t.lowWarning < t.highWarning && t.highWarning <= t.highAlarm);
        if (q == PkModuleEeprom::TxPower || q == PkModuleEeprom::RxPower)
            check(!std::isinf(PkModuleEeprom::dBm(measure.value)));
    }
    check(any == m.diagnostics);
    check(m.identified || (m.vendor.empty() && m.serial.empty() && !m.diagnostics));
    return 0;
}
