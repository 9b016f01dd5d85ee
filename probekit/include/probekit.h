/*
 * probekit.h - C interface of the PROBEKIT adapter core library and of the
 * STATKIT information call.
 *
 * Every function that returns int returns a core status code: 0 on success,
 * a positive code for a failure (see the status table of the program) and a
 * negative code when a running test or command was cancelled.
 *
 * The records whose layout the program reads are fixed here, with their
 * sizes and offsets checked at compile time for the 64-bit build.
 */
#ifndef PROBEKIT_H
#define PROBEKIT_H

#include <stddef.h>
#include <stdint.h>

#if defined(PROBEKIT_BUILDING)
#define PROBEKIT_API __attribute__((visibility("default")))
#else
#define PROBEKIT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Number of value texts of the miscellaneous configuration items. */
#define PK_MISC_VALUES 7
#define PK_MISC_TEXT_SIZE 20

/* One installed adapter as the core reports it; 208 bytes, little-endian.
 * The table returned by AdapterEnumerate ends with a record whose first five
 * words are zero. */
typedef struct AdapterRecord {
    int32_t busNumber;            /*   0 */
    int32_t deviceNumber;         /*   4 */
    int32_t slotNumber;           /*   8: -1 when not reported */
    uint32_t deviceId;            /*  12 */
    uint32_t vendorId;            /*  16 */
    uint32_t subsystemId;         /*  20 */
    uint32_t subsystemVendorId;   /*  24 */
    uint32_t ioBase;              /*  28 */
    uint32_t memBase;             /*  32 */
    uint32_t functionNumber;      /*  36: not read by the program */
    uint32_t slotSize;            /*  40 */
    uint32_t irq;                 /*  44 */
    uint32_t cacheLineSize;       /*  48 */
    uint32_t busClock;            /*  52 */
    uint32_t latency;             /*  56 */
    uint8_t reserved[6];          /*  60: not read by the program */
    char miscText[PK_MISC_VALUES][PK_MISC_TEXT_SIZE]; /* 66 */
    uint8_t inUse;                /* 206: another process holds the adapter */
    uint8_t pad;                  /* 207 */
} AdapterRecord;

/* One sensor as listed by SensorGetList; 56 bytes. */
typedef struct SensorInfo {
    const char *name;             /*  0 */
    int32_t type;                 /*  8: 0 voltage, 1 temperature, 2 fan */
    int32_t reserved;             /* 12 */
    double maximum;               /* 16: top of the display range */
    double minimum;               /* 24: bottom of the display range */
    double upperAlarm;            /* 32 */
    double lowerAlarm;            /* 40 */
    double nominal;               /* 48 */
} SensorInfo;

/* One reading of a sensor, in the order of the SensorInfo list; 16 bytes. */
typedef struct SensorReading {
    double value;                 /*  0 */
    int32_t toleranceCheck;       /*  8 */
    int32_t reserved;             /* 12 */
} SensorReading;

/* The table through which long-running operations report to the program.
 * Text entries take printf-style formats. Button values of askUser are the
 * program's message-box codes (1 OK, 2 Cancel, 3 Yes, 4 No, 5 Abort,
 * 6 Retry, 7 Ignore; 0 for no button); it returns the code pressed. */
typedef struct CoreCallbacks {
    int (*stampedText)(const char *format, ...);
    int (*logText)(const char *format, ...);
    int (*resultText)(const char *format, ...);
    int (*catalogMessage)(int row, int column, int message);
    int (*formattedMessage)(int row, int column, const char *format, ...);
    int (*progress)(int value);
    int (*askUser)(int message, int button0, int button1, int button2);
} CoreCallbacks;

typedef void *DriverHandle;

PROBEKIT_API int CoreInit(void);
PROBEKIT_API int CoreDeinit(void);

/* filter: (vendor, device) pairs ended by (0, 0); device 0 means every device
 * of that vendor. A null filter lists every adapter. The table stays owned by
 * the core and is valid until the next call. Null on failure. */
PROBEKIT_API AdapterRecord *AdapterEnumerate(const uint32_t *filter);
PROBEKIT_API int AdapterSelect(const AdapterRecord *adapter);

PROBEKIT_API int VpdReadKeyword(const char *keyword, char *buffer, uint32_t *size);
PROBEKIT_API int VpdListKeywords(char *buffer, uint32_t *size, uint32_t *count);
PROBEKIT_API int VpdWriteKeyword(const char *keyword, const char *value);
PROBEKIT_API int VpdDeleteKeyword(const char *keyword);

PROBEKIT_API int SensorGetList(SensorInfo **list, uint8_t *count);
PROBEKIT_API int SensorReadValues(SensorReading **readings, uint8_t *count);

/* modeFlags points at two bytes: advanced mode, then the -m mode flag. */
PROBEKIT_API int TestRun(int number, uint8_t *modeFlags, const CoreCallbacks *callbacks);
PROBEKIT_API int CommandRun(const char *command, uint8_t *modeFlags, const CoreCallbacks *callbacks);
PROBEKIT_API int TestCancel(void);
PROBEKIT_API int TestSeriesBegin(void);
PROBEKIT_API int TestSeriesEnd(void);

PROBEKIT_API int FlashLoadImage(const uint8_t *image, uint32_t length, const CoreCallbacks *callbacks);
PROBEKIT_API int FlashSaveImage(uint8_t *buffer, uint32_t *size, const CoreCallbacks *callbacks);
PROBEKIT_API int FlashErase(const CoreCallbacks *callbacks);

PROBEKIT_API DriverHandle DriverOpen(void);
PROBEKIT_API int DriverQueryOid(DriverHandle handle, uint32_t oid, void *buffer, uint32_t *size);
PROBEKIT_API void DriverClose(DriverHandle handle);

PROBEKIT_API const char *GetIpAddress(int index, uint8_t *isStatic);
PROBEKIT_API const char *GetSubnetMask(int index);

PROBEKIT_API void LocateLedSet(int on);

/* STATKIT */
PROBEKIT_API void StatGetInfo(char *buffer, int size);

#ifdef __cplusplus
} /* extern "C" */
#endif

#if defined(__cplusplus)
#define PK_STATIC_ASSERT static_assert
#else
#define PK_STATIC_ASSERT _Static_assert
#endif

#if UINTPTR_MAX == 0xffffffffffffffffu
PK_STATIC_ASSERT(sizeof(AdapterRecord) == 208, "adapter record is 208 bytes");
PK_STATIC_ASSERT(offsetof(AdapterRecord, slotNumber) == 8, "slot at 8");
PK_STATIC_ASSERT(offsetof(AdapterRecord, vendorId) == 16, "vendor at 16");
PK_STATIC_ASSERT(offsetof(AdapterRecord, subsystemVendorId) == 24, "subvendor at 24");
PK_STATIC_ASSERT(offsetof(AdapterRecord, latency) == 56, "latency at 56");
PK_STATIC_ASSERT(offsetof(AdapterRecord, miscText) == 66, "misc texts at 66");
PK_STATIC_ASSERT(offsetof(AdapterRecord, inUse) == 206, "in-use flag at 206");
PK_STATIC_ASSERT(sizeof(SensorInfo) == 56, "sensor info is 56 bytes");
PK_STATIC_ASSERT(offsetof(SensorInfo, type) == 8, "sensor type at 8");
PK_STATIC_ASSERT(offsetof(SensorInfo, maximum) == 16, "maximum at 16");
PK_STATIC_ASSERT(offsetof(SensorInfo, nominal) == 48, "nominal at 48");
PK_STATIC_ASSERT(sizeof(SensorReading) == 16, "sensor reading is 16 bytes");
PK_STATIC_ASSERT(offsetof(SensorReading, toleranceCheck) == 8, "check flag at 8");
#endif

#endif /* PROBEKIT_H */
