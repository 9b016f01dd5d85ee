#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The EEPROM of a pluggable module as the kernel hands it out
// (ETHTOOL_GMODULEEEPROM): an SFP's ID page A0h, followed by its
// diagnostics page A2h when it has one; a QSFP's lower page 0 and upper
// page 0, followed by upper pages 1, 2 and 3 when the driver reads them.
// A pure function of the bytes and the type the driver declared, so that
// anything can be fed to it: it reads nothing past the buffer, and what a
// failed checksum, a blank page or thresholds out of order make doubtful
// is left out, with a line in `problems` saying why.
class PkModuleEeprom
{
public:
    // The kernel's module types (ETH_MODULE_SFF_*).
    static constexpr uint32_t Sff8079 = 1, Sff8472 = 2, Sff8636 = 3, Sff8436 = 4;

    // What the diagnostics measure, in the units shown: degrees C, V, mA,
    // mW, mW.
    enum Quantity { Temperature, Voltage, Bias, TxPower, RxPower, QuantityCount };

    struct Thresholds {
        double highAlarm = 0, lowAlarm = 0, highWarning = 0, lowWarning = 0;
    };
    struct Measure {
        bool present = false;     // measured, with thresholds in order
        double value = 0;
        Thresholds limits;
    };

    bool identified = false;      // identifier and base checksum sound
    bool qsfp = false;
    std::string vendor, partNumber, revision, serial, dateCode, connector;
    int wavelength = 0;           // nm; 0 for a cable or when not given
    bool diagnostics = false;     // at least one measure present
    bool externalCalibration = false;
    std::array<Measure, QuantityCount> measures {};
    // The module's own alarm and warning flags (SFP only): bit 15 the
    // temperature's high alarm down to bit 6 the receive power's low one,
    // in the order of the diagnostics page.
    uint16_t alarmFlags = 0, warningFlags = 0;
    std::vector<std::string> problems;

    static PkModuleEeprom decode(uint32_t type, const uint8_t *data, size_t size);

    // 10 log10(mW); NaN for no power at all (0 mW has no dBm value) and
    // for anything that is not a positive number.
    static double dBm(double milliwatts);
    // "temperature", "supply voltage", ...
    static const char *name(Quantity quantity);

private:
    // Where SFP and QSFP keep the same identity fields, each block ending
    // in its check code.
    struct IdentityLayout {
        size_t baseFirst, baseLast, vendor, partNumber, revision, revisionLength, connector;
        size_t extendedFirst, extendedLast, serial, dateCode;
    };
    bool readIdentity(const uint8_t *data, const IdentityLayout &at);
    void decodeSfp(uint32_t type, const uint8_t *data, size_t size);
    void decodeQsfp(const uint8_t *data, size_t size);
    void sfpDiagnostics(const uint8_t *a0, const uint8_t *a2);
    void qsfpDiagnostics(const uint8_t *data, size_t size);
    void keep(Quantity quantity, double value, const Thresholds &limits);
    bool blank(const uint8_t *data, size_t size);
};
