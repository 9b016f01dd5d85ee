// The C entry points of the library; each hands over to the backend of
// the process.
#include "probekit.h"
#include "PkBackend.h"
#include "PkRefusal.h"
#include "PkReporter.h"

#include <cstring>

namespace {

// "why": the reason of the last refusal, as a result text; status 0 when
// there was one, 1 when nothing was refused since the last question. Both
// backends answer it alike, and it never disturbs a running command.
int tellWhy(const CoreCallbacks *callbacks)
{
    const QByteArray reason = PkRefusal::take();
    if (reason.isEmpty())
        return 1;
    PkReporter(callbacks).result(reason);
    return 0;
}

} // namespace

extern "C" {

int CoreInit(void) { return PkBackend::current().init(); }
int CoreDeinit(void) { return PkBackend::current().deinit(); }

AdapterRecord *AdapterEnumerate(const uint32_t *filter) { return PkBackend::current().enumerate(filter); }
int AdapterSelect(const AdapterRecord *adapter) { return PkBackend::current().select(adapter); }

int VpdReadKeyword(const char *keyword, char *buffer, uint32_t *size)
{
    return PkBackend::current().vpdRead(keyword, buffer, size);
}

int VpdListKeywords(char *buffer, uint32_t *size, uint32_t *count)
{
    return PkBackend::current().vpdList(buffer, size, count);
}

int VpdWriteKeyword(const char *keyword, const char *value)
{
    return PkBackend::current().vpdWrite(keyword, value);
}

int VpdDeleteKeyword(const char *keyword) { return PkBackend::current().vpdDelete(keyword); }

int SensorGetList(SensorInfo **list, uint8_t *count) { return PkBackend::current().sensorList(list, count); }

int SensorReadValues(SensorReading **readings, uint8_t *count)
{
    return PkBackend::current().sensorRead(readings, count);
}

int TestRun(int number, uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    return PkBackend::current().testRun(number, modeFlags, callbacks);
}

int CommandRun(const char *command, uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    if (command && std::strcmp(command, "why") == 0)
        return tellWhy(callbacks);
    return PkBackend::current().commandRun(command, modeFlags, callbacks);
}

int TestCancel(void) { return PkBackend::current().testCancel(); }
int TestSeriesBegin(void) { return PkBackend::current().seriesBegin(); }
int TestSeriesEnd(void) { return PkBackend::current().seriesEnd(); }

int FlashLoadImage(const uint8_t *image, uint32_t length, const CoreCallbacks *callbacks)
{
    return PkBackend::current().flashLoad(image, length, callbacks);
}

int FlashSaveImage(uint8_t *buffer, uint32_t *size, const CoreCallbacks *callbacks)
{
    return PkBackend::current().flashSave(buffer, size, callbacks);
}

int FlashErase(const CoreCallbacks *callbacks) { return PkBackend::current().flashErase(callbacks); }

DriverHandle DriverOpen(void) { return PkBackend::current().driverOpen(); }

int DriverQueryOid(DriverHandle handle, uint32_t oid, void *buffer, uint32_t *size)
{
    return PkBackend::current().driverQuery(handle, oid, buffer, size);
}

void DriverClose(DriverHandle handle) { PkBackend::current().driverClose(handle); }

const char *GetIpAddress(int index, uint8_t *isStatic) { return PkBackend::current().ipAddress(index, isStatic); }
const char *GetSubnetMask(int index) { return PkBackend::current().subnetMask(index); }

void LocateLedSet(int on) { PkBackend::current().locate(on); }

void StatGetInfo(char *buffer, int size) { PkBackend::current().statInfo(buffer, size); }

} // extern "C"
