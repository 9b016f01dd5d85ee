// The C entry points of the library; each hands over to the one PkCore.
#include "probekit.h"
#include "PkCore.h"

extern "C" {

int CoreInit(void) { return PkCore::instance().init(); }
int CoreDeinit(void) { return PkCore::instance().deinit(); }

AdapterRecord *AdapterEnumerate(const uint32_t *filter) { return PkCore::instance().enumerate(filter); }
int AdapterSelect(const AdapterRecord *adapter) { return PkCore::instance().select(adapter); }

int VpdReadKeyword(const char *keyword, char *buffer, uint32_t *size)
{
    return PkCore::instance().vpdRead(keyword, buffer, size);
}

int VpdListKeywords(char *buffer, uint32_t *size, uint32_t *count)
{
    return PkCore::instance().vpdList(buffer, size, count);
}

int VpdWriteKeyword(const char *keyword, const char *value)
{
    return PkCore::instance().vpdWrite(keyword, value);
}

int VpdDeleteKeyword(const char *keyword) { return PkCore::instance().vpdDelete(keyword); }

int SensorGetList(SensorInfo **list, uint8_t *count) { return PkCore::instance().sensorList(list, count); }

int SensorReadValues(SensorReading **readings, uint8_t *count)
{
    return PkCore::instance().sensorRead(readings, count);
}

int TestRun(int number, uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    (void)modeFlags; // the simulated tests run the same in every mode
    return PkCore::instance().testRun(number, callbacks);
}

int CommandRun(const char *command, uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    return PkCore::instance().commandRun(command, modeFlags, callbacks);
}

int TestCancel(void) { return PkCore::instance().testCancel(); }
int TestSeriesBegin(void) { return PkCore::instance().seriesBegin(); }
int TestSeriesEnd(void) { return PkCore::instance().seriesEnd(); }

int FlashLoadImage(const uint8_t *image, uint32_t length, const CoreCallbacks *callbacks)
{
    return PkCore::instance().flashLoad(image, length, callbacks);
}

int FlashSaveImage(uint8_t *buffer, uint32_t *size, const CoreCallbacks *callbacks)
{
    return PkCore::instance().flashSave(buffer, size, callbacks);
}

int FlashErase(const CoreCallbacks *callbacks) { return PkCore::instance().flashErase(callbacks); }

DriverHandle DriverOpen(void) { return PkCore::instance().driverOpen(); }

int DriverQueryOid(DriverHandle handle, uint32_t oid, void *buffer, uint32_t *size)
{
    return PkCore::instance().driverQuery(handle, oid, buffer, size);
}

void DriverClose(DriverHandle handle) { PkCore::instance().driverClose(handle); }

const char *GetIpAddress(int index, uint8_t *isStatic) { return PkCore::instance().ipAddress(index, isStatic); }
const char *GetSubnetMask(int index) { return PkCore::instance().subnetMask(index); }

void LocateLedSet(int on) { PkCore::instance().locate(on); }

void StatGetInfo(char *buffer, int size) { PkCore::instance().statInfo(buffer, size); }

} // extern "C"
