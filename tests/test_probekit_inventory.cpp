// The core library's inventory side: enumeration, the adapter record, VPD,
// the in-use lock across processes, the fault switch, sensors, driver
// replies, addresses and the flash PROM.
#include <probekit.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

QJsonObject adapterJson(int bus, int device, int slot, const char *vendor, const char *deviceId)
{
    return QJsonObject{{"bus", bus}, {"device", device}, {"slot", slot},
                       {"vendorId", vendor}, {"deviceId", deviceId},
                       {"subsystemVendorId", vendor}, {"subsystemId", "0002"},
                       {"ioBase", "E800"}, {"memBase", "0xF7E00000"}, {"irq", 17},
                       {"misc", QJsonArray{"00:0A:5E:42:22:01", "1000BASE-T", "2"}}};
}

// Writes a machine file into a private directory and points the library at
// it, with its own state and lock directories.
class Machine
{
public:
    Machine()
    {
        QJsonObject dual = adapterJson(2, 1, 2, "1A5E", "4322");
        dual["misc"] = QJsonArray{"00:0A:5E:42:22:01", "1000BASE-T", "2", "128",
                                  "a text far longer than nineteen bytes", "B2", "PXE 2.1"};
        dual["vpd"] = QJsonObject{{"Name", "Dual Port Adapter"}, {"SN", "OR1"}, {"PN", "GE4322"},
                                  {"Y0", "y"}, {"V1", "one"}, {"EC", "B2"}, {"MN", "1A5E"}};
        dual["sensors"] = QJsonArray{
            QJsonObject{{"name", "Voltage 3.3 V"}, {"type", 0}, {"min", 0}, {"max", 4.5},
                        {"lowerAlarm", 3.0}, {"upperAlarm", 3.6}, {"nominal", 3.3},
                        {"value", 3.3}, {"jitter", 0.05}},
            QJsonObject{{"name", "Fan"}, {"type", 2}, {"nominal", 4500}, {"value", 4500},
                        {"jitter", 50}, {"check", 0}}};
        dual["driver"] = QJsonObject{{"name", "orlin_ge"}, {"description", "Orlin driver"},
                                     {"version", "7.12"}, {"date", "2004-01-20"}};
        dual["ip"] = QJsonObject{{"address", "192.168.10.20"}, {"mask", "255.255.255.0"}, {"static", true}};
        dual["ports"] = QJsonArray{QJsonObject{{"link", true}, {"duplex", 3}, {"speed", 4}, {"traffic", 6000}},
                                   QJsonObject{{"link", false}, {"duplex", 2}, {"speed", 3}}};
        dual["flashSize"] = 4096;
        adapters = QJsonArray{dual, adapterJson(3, 0, -1, "1A5E", "4320"),
                              adapterJson(5, 0, 5, "1B2C", "0A01")};
    }

    void install()
    {
        QJsonObject root{{"adapters", adapters}, {"faults", faults}};
        QFile file(dir.filePath("machine.json"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QJsonDocument(root).toJson());
        file.close();
        qputenv("PROBEKIT_MACHINE", file.fileName().toLocal8Bit());
        qputenv("PROBEKIT_STATE_DIR", dir.filePath("state").toLocal8Bit());
        qputenv("PROBEKIT_LOCK_DIR", dir.filePath("locks").toLocal8Bit());
        qputenv("PROBEKIT_TIME_SCALE", "0");
        qunsetenv("PROBEKIT_FAULT");
    }

    QTemporaryDir dir;
    QJsonArray adapters;
    QJsonObject faults;
};

std::vector<AdapterRecord> enumerate(const std::vector<uint32_t> &filter)
{
    const AdapterRecord *table = AdapterEnumerate(filter.empty() ? nullptr : filter.data());
    std::vector<AdapterRecord> records;
    if (!table)
        return records;
    for (; table->busNumber || table->deviceNumber || table->slotNumber || table->deviceId
           || table->vendorId; ++table)
        records.push_back(*table);
    return records;
}

AdapterRecord recordAt(int bus, int device)
{
    for (const AdapterRecord &r : enumerate({}))
        if (r.busNumber == bus && r.deviceNumber == device)
            return r;
    AdapterRecord none;
    std::memset(&none, 0, sizeof none);
    none.busNumber = bus;
    none.deviceNumber = device;
    return none;
}

int selectAt(int bus, int device)
{
    const AdapterRecord record = recordAt(bus, device);
    return AdapterSelect(&record);
}

QByteArray readKeyword(const char *keyword, int *status = nullptr)
{
    char buffer[256];
    uint32_t size = sizeof buffer;
    const int result = VpdReadKeyword(keyword, buffer, &size);
    if (status)
        *status = result;
    return result == 0 ? QByteArray(buffer, static_cast<int>(size)) : QByteArray();
}

int progressSeen = -1;
int recordProgress(int value)
{
    progressSeen = value;
    return 0;
}

// Child process modes, run by the lock tests through QProcess.
int childMain(int argc, char **argv)
{
    const std::string mode = argv[1];
    if (CoreInit() != 0)
        return 2;
    if (mode == "--hold" && argc == 4) {
        if (selectAt(atoi(argv[2]), atoi(argv[3])) != 0)
            return 3;
        std::cout << "held" << std::endl;
        std::string line;
        std::getline(std::cin, line); // holds until the parent lets go
        return 0;
    }
    if (mode == "--enumerate") {
        // Lists without pause until the parent closes standard input.
        ::fcntl(0, F_SETFL, ::fcntl(0, F_GETFL) | O_NONBLOCK);
        std::cout << "enumerating" << std::endl;
        char byte;
        while (::read(0, &byte, 1) != 0)
            enumerate({});
        return 0;
    }
    for (const AdapterRecord &r : enumerate({}))
        std::cout << r.busNumber << "-" << r.deviceNumber << "=" << int(r.inUse) << " ";
    std::cout << std::endl;
    return 0;
}

QByteArray inUseSeenByOtherProcess()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--report"});
    if (!child.waitForFinished(30000))
        return QByteArray();
    return child.readAllStandardOutput().trimmed();
}

} // namespace

class TestProbekitInventory : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_machine.reset(new Machine);
    }
    void cleanup()
    {
        CoreDeinit();
        qunsetenv("PROBEKIT_FAULT");
    }

    void enumerationFollowsTheFilter()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(enumerate({}).size(), size_t(3));
        const auto vendor = enumerate({0x1A5E, 0, 0, 0});
        QCOMPARE(vendor.size(), size_t(2));
        QCOMPARE(vendor[0].deviceId, 0x4322u);
        QCOMPARE(vendor[1].deviceId, 0x4320u);
        const auto exact = enumerate({0x1A5E, 0x4320, 0, 0});
        QCOMPARE(exact.size(), size_t(1));
        QCOMPARE(exact[0].busNumber, 3);
        // Pairs are alternatives, and the table keeps the machine's order.
        const auto mixed = enumerate({0x1B2C, 0x0A01, 0x1A5E, 0x4322, 0, 0});
        QCOMPARE(mixed.size(), size_t(2));
        QCOMPARE(mixed[0].vendorId, 0x1A5Eu);
        QCOMPARE(mixed[1].vendorId, 0x1B2Cu);
        // Nothing matches: still a table, holding only its end record.
        const std::vector<uint32_t> none{0x1234, 0, 0, 0};
        const AdapterRecord *table = AdapterEnumerate(none.data());
        QVERIFY(table);
        QCOMPARE(table->vendorId, 0u);
    }

    void recordCarriesIdentityAndTexts()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        const AdapterRecord dual = recordAt(2, 1);
        QCOMPARE(dual.slotNumber, 2);
        QCOMPARE(dual.subsystemId, 0x0002u);
        QCOMPARE(dual.ioBase, 0xE800u);
        QCOMPARE(dual.memBase, 0xF7E00000u);
        QCOMPARE(dual.irq, 17u);
        QCOMPARE(QByteArray(dual.miscText[2]), QByteArray("2"));
        QCOMPARE(QByteArray(dual.miscText[4]), QByteArray("a text far longer t"));
        QCOMPARE(dual.inUse, uint8_t(0));
        const AdapterRecord onboard = recordAt(3, 0);
        QCOMPARE(onboard.slotNumber, -1);
        QCOMPARE(QByteArray(onboard.miscText[5]), QByteArray());
    }

    void coreInitNeedsAReadableMachine()
    {
        qputenv("PROBEKIT_MACHINE", m_machine->dir.filePath("missing.json").toLocal8Bit());
        QVERIFY(CoreInit() != 0);
        QVERIFY(!AdapterEnumerate(nullptr));
        QFile bad(m_machine->dir.filePath("bad.json"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{ \"adapters\": [ ");
        bad.close();
        qputenv("PROBEKIT_MACHINE", bad.fileName().toLocal8Bit());
        QVERIFY(CoreInit() != 0);
        // Re-read on every start: the good file works after the bad one.
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QVERIFY(AdapterEnumerate(nullptr));
    }

    void vpdReadAndList()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        int status = 0;
        readKeyword("PN", &status);
        QCOMPARE(status, 11); // nothing selected yet
        QCOMPARE(selectAt(2, 1), 0);
        QCOMPARE(readKeyword("Name"), QByteArray("Dual Port Adapter"));
        readKeyword("V7", &status);
        QCOMPARE(status, 19);
        char small[4];
        uint32_t size = sizeof small;
        QCOMPARE(VpdReadKeyword("Name", small, &size), 18);
        QCOMPARE(size, 17u);
        size = 3;
        std::memset(small, 'x', sizeof small);
        QCOMPARE(VpdReadKeyword("one", small, &size), 19);
        QCOMPARE(VpdReadKeyword(nullptr, small, &size), 7);

        char list[512];
        uint32_t length = sizeof list;
        uint32_t count = 0;
        QCOMPARE(VpdListKeywords(list, &length, &count), 0);
        QCOMPARE(QByteArray(list), QByteArray("PN EC SN MN V1 Y0"));
        QCOMPARE(count, 6u);
        QCOMPARE(length, 17u);
        length = 8;
        QCOMPARE(VpdListKeywords(list, &length, &count), 18);
    }

    void vpdWritesFollowTheRulesAndPersist()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        QCOMPARE(VpdWriteKeyword("V2", "two"), 0);
        QCOMPARE(VpdWriteKeyword("PN", "x"), 15);
        QCOMPARE(VpdWriteKeyword("v3", "x"), 15);
        QCOMPARE(VpdWriteKeyword("VZZ", "x"), 15);
        QCOMPARE(VpdWriteKeyword("V3", QByteArray(256, 'a').constData()), 18);
        QCOMPARE(VpdWriteKeyword("V3", nullptr), 7);
        QCOMPARE(VpdDeleteKeyword("V5"), 19);
        QCOMPARE(VpdDeleteKeyword("SN"), 15);

        const auto restart = [] {
            QCOMPARE(CoreDeinit(), 0);
            QCOMPARE(CoreInit(), 0);
            QCOMPARE(selectAt(2, 1), 0);
        };
        restart();
        QCOMPARE(readKeyword("V2"), QByteArray("two"));
        QCOMPARE(VpdDeleteKeyword("Y0"), 0);
        restart();
        QCOMPARE(readKeyword("V1"), QByteArray("one"));
        int status = 0;
        readKeyword("Y0", &status);
        QCOMPARE(status, 19);
        QCOMPARE(readKeyword("PN"), QByteArray("GE4322"));
        // The state belongs to that adapter only.
        QCOMPARE(selectAt(3, 0), 0);
        readKeyword("V2", &status);
        QCOMPARE(status, 19);
    }

    void anotherProcessSeesTheAdapterInUse()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        // Held here: this process itself sees it taken, as does another one.
        QCOMPARE(int(recordAt(2, 1).inUse), 1);
        QCOMPARE(inUseSeenByOtherProcess(), QByteArray("2-1=1 3-0=0 5-0=0"));
        // Selecting another adapter lets go of the first.
        QCOMPARE(selectAt(3, 0), 0);
        QCOMPARE(inUseSeenByOtherProcess(), QByteArray("2-1=0 3-0=1 5-0=0"));
        QCOMPARE(CoreDeinit(), 0);
        QCOMPARE(inUseSeenByOtherProcess(), QByteArray("2-1=0 3-0=0 5-0=0"));
    }

    void adapterHeldElsewhereCannotBeSelected()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(3, 0), 0);
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", "2", "1"});
        QVERIFY(holder.waitForReadyRead(30000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
        QCOMPARE(int(recordAt(2, 1).inUse), 1);
        QCOMPARE(selectAt(2, 1), 29);
        // A failed selection leaves none: the adapter chosen before is free.
        int status = 0;
        readKeyword("PN", &status);
        QCOMPARE(status, 11);
        QCOMPARE(int(recordAt(3, 0).inUse), 0);
        // A holder that dies without cleaning up frees the adapter.
        holder.kill();
        QVERIFY(holder.waitForFinished(30000));
        QCOMPARE(int(recordAt(2, 1).inUse), 0);
        QCOMPARE(selectAt(2, 1), 0);
    }

    // Another process listing the adapters must never make a selection here
    // fail: looking at a lock may not take it, not even for an instant.
    void enumerationElsewhereNeverBlocksASelection()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        const AdapterRecord first = recordAt(2, 1);
        const AdapterRecord second = recordAt(3, 0);
        QProcess lister;
        lister.start(QCoreApplication::applicationFilePath(), {"--enumerate"});
        QVERIFY(lister.waitForReadyRead(30000));
        int failures = 0;
        for (int i = 0; i < 3000; ++i)
            failures += AdapterSelect(i % 2 ? &first : &second) != 0;
        lister.closeWriteChannel();
        QVERIFY(lister.waitForFinished(30000));
        QCOMPARE(lister.exitCode(), 0);
        QCOMPARE(failures, 0);
    }

    void faultSwitchFromFileAndEnvironment()
    {
        m_machine->faults = QJsonObject{{"VpdReadKeyword", 16}, {"CoreDeinit", 13}};
        QJsonObject onboard = m_machine->adapters[1].toObject();
        onboard["faults"] = QJsonObject{{"AdapterSelect", 31}};
        m_machine->adapters[1] = onboard;
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(3, 0), 31);
        QCOMPARE(selectAt(2, 1), 0);
        int status = 0;
        readKeyword("PN", &status);
        QCOMPARE(status, 16);
        qputenv("PROBEKIT_FAULT", "VpdReadKeyword=17, DriverOpen=31,GetIpAddress=4");
        readKeyword("PN", &status);
        QCOMPARE(status, 17);
        QVERIFY(!DriverOpen());
        QVERIFY(!GetIpAddress(0, nullptr));
        qputenv("PROBEKIT_FAULT", "VpdReadKeyword=0,AdapterEnumerate=10");
        QCOMPARE(readKeyword("PN"), QByteArray("GE4322"));
        QVERIFY(!AdapterEnumerate(nullptr));
        qunsetenv("PROBEKIT_FAULT");
        // A faulted shutdown reports its status yet lets go of the adapter.
        QCOMPARE(CoreDeinit(), 13);
        qputenv("PROBEKIT_FAULT", "CoreInit=3");
        QCOMPARE(CoreInit(), 3);
        qunsetenv("PROBEKIT_FAULT");
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(int(recordAt(2, 1).inUse), 0);
    }

    void sensorsJitterReproducibly()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        SensorInfo *list = nullptr;
        uint8_t count = 0;
        QCOMPARE(SensorGetList(&list, &count), 11);
        QCOMPARE(selectAt(2, 1), 0);
        QCOMPARE(SensorGetList(&list, &count), 0);
        QCOMPARE(int(count), 2);
        QCOMPARE(QByteArray(list[0].name), QByteArray("Voltage 3.3 V"));
        QCOMPARE(list[0].upperAlarm, 3.6);
        QCOMPARE(list[1].type, 2);
        std::vector<double> first;
        for (int i = 0; i < 5; ++i) {
            SensorReading *readings = nullptr;
            QCOMPARE(SensorReadValues(&readings, &count), 0);
            QVERIFY(qAbs(readings[0].value - 3.3) <= 0.05);
            QCOMPARE(readings[1].toleranceCheck, 0);
            first.push_back(readings[0].value);
        }
        QVERIFY(first[0] != first[1]);
        // A new session replays the same readings.
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        SensorReading *readings = nullptr;
        QCOMPARE(SensorReadValues(&readings, &count), 0);
        QCOMPARE(readings[0].value, first[0]);
        // No sensors is a list of none, not a failure.
        QCOMPARE(selectAt(3, 0), 0);
        QCOMPARE(SensorGetList(&list, &count), 0);
        QVERIFY(list);
        QCOMPARE(int(count), 0);
    }

    // Rows: the machine file's reading count, the count a read gives.
    void sensorEdgeCasesFromTheMachineFile_data()
    {
        QTest::addColumn<QJsonValue>("readingCount");
        QTest::addColumn<int>("readings");
        QTest::newRow("as listed") << QJsonValue() << 25;
        QTest::newRow("fewer") << QJsonValue(3) << 3;
        QTest::newRow("more") << QJsonValue(30) << 30;
    }

    void sensorEdgeCasesFromTheMachineFile()
    {
        QFETCH(QJsonValue, readingCount);
        QFETCH(int, readings);
        QJsonArray sensors;
        for (int i = 0; i < 25; ++i)
            sensors.append(QJsonObject{{"name", QString("S%1").arg(i)}, {"nominal", 1.0}});
        sensors[0] = QJsonObject{{"name", "Odd"}, {"type", 7}, {"value", 2}};
        sensors[1] = QJsonObject{{"name", "Broken"}, {"value", "nan"}, {"jitter", 0.1}};
        sensors[2] = QJsonObject{{"name", "Off scale"}, {"value", "-inf"}};
        sensors[3] = QJsonObject{{"name", "Flat"}, {"min", 2}, {"max", 2}, {"nominal", 0}};
        QJsonObject onboard = m_machine->adapters[1].toObject();
        onboard["sensors"] = sensors;
        if (!readingCount.isUndefined())
            onboard["readingCount"] = readingCount;
        m_machine->adapters[1] = onboard;
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(3, 0), 0);
        SensorInfo *list = nullptr;
        uint8_t count = 0;
        QCOMPARE(SensorGetList(&list, &count), 0);
        QCOMPARE(int(count), 25);
        QCOMPARE(list[0].type, 7);
        QCOMPARE(list[3].nominal, 0.0);
        QCOMPARE(list[3].minimum, list[3].maximum);
        SensorReading *values = nullptr;
        QCOMPARE(SensorReadValues(&values, &count), 0);
        QCOMPARE(int(count), readings);
        QCOMPARE(values[0].value, 2.0);
        QVERIFY(std::isnan(values[1].value));
        QVERIFY(std::isinf(values[2].value) && values[2].value < 0);
        if (readings > 3) // past the last sensor a reading is zero
            QCOMPARE(values[readings - 1].value, readings > 25 ? 0.0 : 1.0);
    }

    void vpdEdgeCasesFromTheMachineFile()
    {
        QJsonObject vpd{{"Name", "Edge"}, {"V1", "hex:4100ff"}, {"ABC", "three"}, {"X", "one"},
                        {"Long", QString(300, 'a')}, {"A B", "hidden"}};
        for (int i = 0; i < 200; ++i) // 600 bytes of two-character names
            vpd[QString(QChar('A' + i / 10)) + QChar('0' + i % 10)] = "v";
        QJsonObject onboard = m_machine->adapters[1].toObject();
        onboard["vpd"] = vpd;
        m_machine->adapters[1] = onboard;
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(3, 0), 0);
        std::vector<char> list(512);
        uint32_t size = 512;
        uint32_t count = 0;
        QCOMPARE(VpdListKeywords(list.data(), &size, &count), 18);
        QVERIFY(size > 512);
        list.resize(size);
        QCOMPARE(VpdListKeywords(list.data(), &size, &count), 0);
        QCOMPARE(count, 204u);
        const QList<QByteArray> names = QByteArray(list.data()).split(' ');
        QVERIFY(names.contains("ABC") && names.contains("X") && names.contains("Long"));
        QVERIFY(!names.contains("Name") && !names.contains("A"));
        QCOMPARE(names.last(), QByteArray("V1"));
        QCOMPARE(readKeyword("V1"), QByteArray("A\0\xff", 3));
        QCOMPARE(readKeyword("Long"), QByteArray(255, 'a'));
        QCOMPARE(readKeyword("A B"), QByteArray("hidden"));
        QCOMPARE(VpdWriteKeyword("ABC", "x"), 15);
    }

    // The link-state query counts per driver session: other queries do not
    // count, and a new session starts again from down.
    void lateLinkComesUpAtTheThirdQueryOfEachSession()
    {
        QJsonObject dual = m_machine->adapters[0].toObject();
        dual["ports"] = QJsonArray{QJsonObject{{"link", true}, {"upAfterQueries", 2}},
                                   QJsonObject{{"link", true}}};
        m_machine->adapters[0] = dual;
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        for (int session = 0; session < 2; ++session) {
            DriverHandle driver = DriverOpen();
            QVERIFY(driver);
            QString seen;
            for (int query = 0; query < 4; ++query) {
                uint8_t ports[16];
                uint32_t size = sizeof ports;
                QCOMPARE(DriverQueryOid(driver, 0xff010126, ports, &size), 0);
                size = sizeof ports;
                QCOMPARE(DriverQueryOid(driver, 0xff010127, ports, &size), 0);
                seen += QString("%1%2 ").arg(ports[1]).arg(ports[2]);
            }
            QCOMPARE(seen, QString("24 24 44 44 "));
            DriverClose(driver);
        }
    }

    void driverRepliesAndAddresses()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QVERIFY(!DriverOpen());
        QCOMPARE(selectAt(2, 1), 0);
        DriverHandle driver = DriverOpen();
        QVERIFY(driver);
        char text[256];
        uint32_t size = sizeof text;
        QCOMPARE(DriverQueryOid(driver, 0xff020211, text, &size), 0);
        QCOMPARE(QByteArray(text + 1), QByteArray("orlin_ge"));
        uint8_t ports[16];
        size = sizeof ports;
        QCOMPARE(DriverQueryOid(driver, 0xff010127, ports, &size), 0);
        QCOMPARE(int(ports[1]), 4);
        QVERIFY(ports[2] != 4);
        size = sizeof ports;
        QCOMPARE(DriverQueryOid(driver, 0xff010172, ports, &size), 0);
        QCOMPARE(int(ports[1]), 4);
        QCOMPARE(int(ports[2]), 3);
        size = 2;
        QCOMPARE(DriverQueryOid(driver, 0xff010126, ports, &size), 32);
        size = sizeof ports;
        QCOMPARE(DriverQueryOid(driver, 0x12345678, ports, &size), 32);
        // Frame counters move on a port with a link and stand still without.
        const auto counters = [&] {
            uint8_t raw[32] = {};
            uint32_t rawSize = sizeof raw;
            DriverQueryOid(driver, 0x00020202, raw, &rawSize);
            quint64 a = 0, b = 0;
            std::memcpy(&a, raw, 8);
            std::memcpy(&b, raw + 8, 8);
            return std::make_pair(a, b);
        };
        const quint64 before = counters().first;
        QTRY_VERIFY(counters().first > before);
        QCOMPARE(counters().second, quint64(0));
        DriverClose(driver);
        size = sizeof ports;
        QVERIFY(DriverQueryOid(driver, 0xff010127, ports, &size) != 0);

        uint8_t isStatic = 0;
        QCOMPARE(QByteArray(GetIpAddress(0, &isStatic)), QByteArray("192.168.10.20"));
        QCOMPARE(int(isStatic), 1);
        QCOMPARE(QByteArray(GetSubnetMask(0)), QByteArray("255.255.255.0"));
        QVERIFY(!GetIpAddress(1, &isStatic));
        QCOMPARE(selectAt(3, 0), 0);
        QVERIFY(!GetIpAddress(0, &isStatic));
        QVERIFY(!DriverOpen());
    }

    void flashSaveLoadEraseAndPersist()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        // Flash work hands over a partial table; progress alone must do.
        CoreCallbacks partial{};
        partial.progress = recordProgress;
        QByteArray image(8192, '\0');
        uint32_t size = static_cast<uint32_t>(image.size());
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(image.data()), &size, &partial), 0);
        QCOMPARE(size, 4096u);
        QCOMPARE(progressSeen, 100);
        QCOMPARE(image.left(2), QByteArray("\x55\xAA"));

        const QByteArray program(1000, '\x5A');
        progressSeen = -1;
        QCOMPARE(FlashLoadImage(reinterpret_cast<const uint8_t *>(program.constData()), 1000, &partial), 0);
        QCOMPARE(progressSeen, 100);
        QCOMPARE(FlashLoadImage(reinterpret_cast<const uint8_t *>(image.constData()), 4097, nullptr), 28);
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        size = 2000; // a smaller buffer gets the start of the PROM
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(image.data()), &size, nullptr), 0);
        QCOMPARE(size, 2000u);
        QCOMPARE(image.left(1000), program);
        QCOMPARE(image.mid(1000, 1000), QByteArray(1000, '\xFF'));

        QCOMPARE(FlashErase(nullptr), 0);
        size = 4096;
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(image.data()), &size, nullptr), 0);
        QCOMPARE(image.left(4096), QByteArray(4096, '\xFF'));
        QCOMPARE(FlashSaveImage(nullptr, &size, nullptr), 7);
    }

    void shippedMachineFileKeepsItsListing()
    {
        m_machine->install();
        qputenv("PROBEKIT_MACHINE", NICDIAG_SOURCE_DIR "/data/machine.json");
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(enumerate({}).size(), size_t(6));
        const auto orlin = enumerate({0x1A5E, 0, 0, 0});
        QCOMPARE(orlin.size(), size_t(5));
        QCOMPARE(QByteArray(orlin[0].miscText[2]), QByteArray("2"));
        QCOMPARE(QByteArray(orlin[1].miscText[2]), QByteArray("1"));
        QCOMPARE(orlin[1].slotNumber, -1);
        QCOMPARE(orlin[2].deviceId, 0x43FFu);
        QCOMPARE(enumerate({0x1B2C, 0, 0, 0}).size(), size_t(1));
        QCOMPARE(selectAt(2, 1), 0);
        QCOMPARE(readKeyword("Name"), QByteArray("Orlin GE 4322-T Dual Port Gigabit Ethernet Adapter"));
    }

    // One row per case the program's tabs show. link: the link-state bytes
    // of ports A and B, "" when no driver is bound.
    void shippedMachineFileShowsEveryCase_data()
    {
        QTest::addColumn<int>("bus");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("sensors");
        QTest::addColumn<bool>("outOfTolerance");
        QTest::newRow("dual port, loopback") << 2 << "127.0.0.1/255.0.0.0" << "42" << 5 << false;
        QTest::newRow("voltage out, fan, no address") << 3 << "" << "40" << 4 << true;
        QTest::newRow("no sensors, no driver") << 4 << "" << "" << 0 << false;
        QTest::newRow("link stays down") << 6 << "10.0.0.17/255.255.0.0" << "20" << 0 << false;
        QTest::newRow("no driver") << 7 << "192.168.10.20/255.255.255.0" << "" << 2 << false;
    }

    void shippedMachineFileShowsEveryCase()
    {
        QFETCH(int, bus);
        QFETCH(QString, address);
        QFETCH(QString, link);
        QFETCH(int, sensors);
        QFETCH(bool, outOfTolerance);
        m_machine->install();
        qputenv("PROBEKIT_MACHINE", NICDIAG_SOURCE_DIR "/data/machine.json");
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(bus, bus == 2 ? 1 : 0), 0);
        const char *ip = GetIpAddress(0, nullptr);
        const char *mask = GetSubnetMask(0);
        QCOMPARE(ip && mask ? QString("%1/%2").arg(ip, mask) : QString(), address);
        QString seen;
        if (DriverHandle driver = DriverOpen()) {
            uint8_t ports[16];
            uint32_t size = sizeof ports;
            QCOMPARE(DriverQueryOid(driver, 0xff010127, ports, &size), 0);
            seen = QString("%1%2").arg(ports[1]).arg(ports[2]);
            DriverClose(driver);
        }
        QCOMPARE(seen, link);
        SensorInfo *list = nullptr;
        SensorReading *readings = nullptr;
        uint8_t count = 0;
        QCOMPARE(SensorGetList(&list, &count), 0);
        QCOMPARE(int(count), sensors);
        QCOMPARE(SensorReadValues(&readings, &count), 0);
        bool out = false;
        for (int i = 0; i < count; ++i)
            out |= readings[i].value < list[i].lowerAlarm || readings[i].value > list[i].upperAlarm;
        QCOMPARE(out, outOfTolerance);
    }

private:
    QScopedPointer<Machine> m_machine;
};

int main(int argc, char **argv)
{
    if (argc > 1 && (std::strcmp(argv[1], "--hold") == 0 || std::strcmp(argv[1], "--report") == 0
                     || std::strcmp(argv[1], "--enumerate") == 0))
        return childMain(argc, argv);
    QCoreApplication app(argc, argv);
    TestProbekitInventory test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_probekit_inventory.moc"
