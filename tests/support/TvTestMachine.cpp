#include "TvTestMachine.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

TvTestMachine::TvTestMachine() = default;

QJsonObject TvTestMachine::adapter(int bus, int device, int slot, const QString &deviceId,
                                   const QString &subsystemId)
{
    QJsonObject a;
    a[QStringLiteral("bus")] = bus;
    a[QStringLiteral("device")] = device;
    a[QStringLiteral("slot")] = slot;
    a[QStringLiteral("vendorId")] = QStringLiteral("ABCD");
    a[QStringLiteral("deviceId")] = deviceId;
    a[QStringLiteral("subsystemVendorId")] = QStringLiteral("ABCD");
    a[QStringLiteral("subsystemId")] = subsystemId;
    a[QStringLiteral("ioBase")] = QStringLiteral("E000");
    a[QStringLiteral("memBase")] = QStringLiteral("F7E00000");
    a[QStringLiteral("slotSize")] = 64;
    a[QStringLiteral("irq")] = 17;
    a[QStringLiteral("cacheLineSize")] = 16;
    a[QStringLiteral("busClock")] = 66;
    a[QStringLiteral("latency")] = 64;
    a[QStringLiteral("misc")] = QJsonArray{QStringLiteral("00:0A:5E:11:22:33"),
                                           QStringLiteral("1000BASE-T"), QStringLiteral("2")};
    return a;
}

QString TvTestMachine::install()
{
    QJsonObject machine;
    machine[QStringLiteral("adapters")] = adapters;
    machine[QStringLiteral("tests")] = tests;
    machine[QStringLiteral("faults")] = faults;
    machine[QStringLiteral("refusals")] = refusals;
    const QString file = dir.filePath(QStringLiteral("machine.json"));
    QFile out(file);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QJsonDocument(machine).toJson());
    out.close();
    QDir().mkpath(dir.filePath(QStringLiteral("state")));
    QDir().mkpath(lockDir());
    qputenv("PROBEKIT_MACHINE", file.toLocal8Bit());
    qputenv("PROBEKIT_STATE_DIR", dir.filePath(QStringLiteral("state")).toLocal8Bit());
    qputenv("PROBEKIT_LOCK_DIR", lockDir().toLocal8Bit());
    qputenv("PROBEKIT_TIME_SCALE", "0");
    return file;
}
