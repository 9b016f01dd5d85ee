#pragma once
#include "probekit.h"

// What stands behind the C interface: the simulated machine or the adapters
// of the machine the library runs on. One backend per process, chosen by
// PROBEKIT_BACKEND ("sim", the default, or "linux") at the first call of
// any entry point, which may come before CoreInit.
class PkBackend
{
public:
    virtual ~PkBackend() = default;

    static PkBackend &current();

    virtual int init() = 0;
    virtual int deinit() = 0;

    virtual AdapterRecord *enumerate(const uint32_t *filter) = 0;
    virtual int select(const AdapterRecord *adapter) = 0;

    virtual int vpdRead(const char *keyword, char *buffer, uint32_t *size) = 0;
    virtual int vpdList(char *buffer, uint32_t *size, uint32_t *count) = 0;
    virtual int vpdWrite(const char *keyword, const char *value) = 0;
    virtual int vpdDelete(const char *keyword) = 0;

    virtual int sensorList(SensorInfo **list, uint8_t *count) = 0;
    virtual int sensorRead(SensorReading **readings, uint8_t *count) = 0;

    virtual int testRun(int number, const uint8_t *modeFlags, const CoreCallbacks *callbacks) = 0;
    virtual int commandRun(const char *command, const uint8_t *modeFlags,
                           const CoreCallbacks *callbacks) = 0;
    virtual int testCancel() = 0;
    virtual int seriesBegin() = 0;
    virtual int seriesEnd() = 0;

    virtual int flashLoad(const uint8_t *image, uint32_t length, const CoreCallbacks *callbacks) = 0;
    virtual int flashSave(uint8_t *buffer, uint32_t *size, const CoreCallbacks *callbacks) = 0;
    virtual int flashErase(const CoreCallbacks *callbacks) = 0;

    virtual DriverHandle driverOpen() = 0;
    virtual int driverQuery(DriverHandle handle, uint32_t oid, void *buffer, uint32_t *size) = 0;
    virtual void driverClose(DriverHandle handle) = 0;

    virtual const char *ipAddress(int index, uint8_t *isStatic) = 0;
    virtual const char *subnetMask(int index) = 0;
    virtual void locate(int on) = 0;
    virtual void statInfo(char *buffer, int size) = 0;
};
