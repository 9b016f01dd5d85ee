// The core library's inventory side: enumeration, the adapter record, VPD,
// the in-use lock across processes, the fault switch, sensors, driver
// replies, addresses and the flash PROM.
#include <probekit.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <cmath>
#include <cstdarg>
#include <cstring>
#include <iostream>

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
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

    QJsonObject root() const
    {
        return QJsonObject{{"adapters", adapters}, {"faults", faults}, {"tests", tests}};
    }
    void install(const QJsonObject &edited = QJsonObject())
    {
        QFile file(dir.filePath("machine.json"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QJsonDocument(edited.isEmpty() ? root() : edited).toJson());
        file.close();
        qputenv("PROBEKIT_MACHINE", file.fileName().toLocal8Bit());
        qputenv("PROBEKIT_STATE_DIR", dir.filePath("state").toLocal8Bit());
        qputenv("PROBEKIT_LOCK_DIR", dir.filePath("locks").toLocal8Bit());
        qputenv("PROBEKIT_TIME_SCALE", "0");
        qunsetenv("PROBEKIT_FAULT");
    }

    QString stateFile() const { return dir.filePath("state/adapter-2-1.json"); }

    QTemporaryDir dir;
    QJsonArray adapters;
    QJsonObject faults;
    QJsonObject tests;
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

// What the core says on standard error while it lives: the core's own
// lines for calls that have no callback table.
class StderrCapture
{
public:
    StderrCapture()
    {
        QVERIFY(file.open());
        std::fflush(stderr);
        saved = ::dup(2);
        ::dup2(file.handle(), 2);
    }
    ~StderrCapture()
    {
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
    }
    QByteArray text()
    {
        std::fflush(stderr);
        QFile again(file.fileName());
        return again.open(QIODevice::ReadOnly) ? again.readAll() : QByteArray();
    }

private:
    QTemporaryFile file;
    int saved = -1;
};

// No file of the process grows past `bytes` while it lives: a write beyond
// fails part-way with EFBIG, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previous = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &before);
        struct rlimit small = before;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous);
    }

private:
    struct rlimit before {};
    void (*previous)(int) = nullptr;
};

// `target` with `value` put at a path of keys and array indexes
// ("adapters/#0/flashSize"); what the path passes through is made as needed.
QJsonValue withAt(const QJsonValue &target, QStringList path, const QJsonValue &value)
{
    if (path.isEmpty())
        return value;
    const QString key = path.takeFirst();
    if (key.startsWith('#')) {
        const int index = key.mid(1).toInt();
        QJsonArray array = target.toArray();
        while (array.size() <= index)
            array.append(QJsonObject());
        array[index] = withAt(array.at(index), path, value);
        return array;
    }
    QJsonObject object = target.toObject();
    object[key] = withAt(object.value(key), path, value);
    return object;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Puts a file of a kind the core must refuse at `path`.
bool plantSpecialFile(const QString &kind, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == "fifo")
        return ::mkfifo(name.constData(), 0644) == 0;
    if (kind == "device")
        return ::symlink("/dev/zero", name.constData()) == 0;
    // Sparse: 64 MiB that take no room.
    QFile huge(path);
    return huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024);
}

QByteArray logSeen;
int recordLog(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    logSeen += QByteArray(va_arg(arguments, const char *)) + '\n';
    va_end(arguments);
    return 0;
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

    // Rows: a kind of file in the machine file's place ("" for a real one),
    // or a number put at a path of it; what the refusal says.
    void machineFileIsRefusedWithTheReason_data()
    {
        QTest::addColumn<QString>("special");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("FIFO") << "fifo" << "" << QJsonValue() << QByteArray("not a regular file");
        QTest::newRow("device") << "device" << "" << QJsonValue() << QByteArray("not a regular file");
        QTest::newRow("huge") << "huge" << "" << QJsonValue() << QByteArray("larger than 4194304 bytes");
        QTest::newRow("flash 7FFFFFFF") << "" << "adapters/#0/flashSize" << QJsonValue("7FFFFFFF")
                                        << QByteArray("adapters[0].flashSize \"7FFFFFFF\" is outside 0..16777216");
        QTest::newRow("flash FFFFFFFF") << "" << "adapters/#0/flashSize" << QJsonValue("0xFFFFFFFF")
                                        << QByteArray("adapters[0].flashSize \"0xFFFFFFFF\" is outside");
        QTest::newRow("flash past 16 MiB") << "" << "adapters/#0/flashSize" << QJsonValue("1000001")
                                           << QByteArray("adapters[0].flashSize \"1000001\" is outside 0..16777216");
        QTest::newRow("bus 1e300") << "" << "adapters/#1/bus" << QJsonValue(1e300)
                                   << QByteArray("adapters[1].bus 1.0000000000000001e+300 is not a whole number in 0..65535");
        QTest::newRow("vendor") << "" << "adapters/#2/vendorId" << QJsonValue("XYZ")
                                << QByteArray("adapters[2].vendorId \"XYZ\" is not a hexadecimal number");
        QTest::newRow("readings") << "" << "adapters/#0/readingCount" << QJsonValue(256)
                                  << QByteArray("adapters[0].readingCount 256 is not a whole number in 0..255");
        QTest::newRow("sensor type") << "" << "adapters/#0/sensors/#1/type" << QJsonValue(1e10)
                                     << QByteArray("adapters[0].sensors[1].type 10000000000 is not a whole number");
        QTest::newRow("sensor value") << "" << "adapters/#0/sensors/#0/value" << QJsonValue("lots")
                                      << QByteArray("adapters[0].sensors[0].value \"lots\" is not a number");
        QTest::newRow("traffic") << "" << "adapters/#0/ports/#0/traffic" << QJsonValue(-1)
                                 << QByteArray("adapters[0].ports[0].traffic -1 is not a whole number in 0..1000000000");
        QTest::newRow("step") << "" << "tests/90/steps/#0/ms" << QJsonValue(1e12)
                              << QByteArray("tests.90.steps[0].ms 1000000000000 is not a whole number in 0..86400000");
        QTest::newRow("fail rate") << "" << "adapters/#0/tests/301/failRate" << QJsonValue(2)
                                   << QByteArray("adapters[0].tests.301.failRate 2 is outside 0..1");
        QTest::newRow("button") << "" << "adapters/#0/flashQuestion/buttons/#0" << QJsonValue(1e12)
                                << QByteArray("adapters[0].flashQuestion.buttons[0] 1000000000000 is not a whole number");
        QTest::newRow("fault") << "" << "adapters/#1/faults/VpdReadKeyword" << QJsonValue(1.5)
                               << QByteArray("adapters[1].faults.VpdReadKeyword 1.5 is not a whole number");
    }

    void machineFileIsRefusedWithTheReason()
    {
        QFETCH(QString, special);
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(QByteArray, said);
        m_machine->install(path.isEmpty() ? QJsonObject()
                                          : withAt(m_machine->root(), path.split('/'), value).toObject());
        const QString file = m_machine->dir.filePath("machine.json");
        if (!special.isEmpty()) {
            QVERIFY(QFile::remove(file));
            QVERIFY(plantSpecialFile(special, file));
        }
        StderrCapture standardError;
        QCOMPARE(CoreInit(), 3);
        QVERIFY(!AdapterEnumerate(nullptr));
        const QByteArray text = standardError.text();
        QVERIFY2(text.contains("machine file " + QFile::encodeName(file) + " refused: ") && text.contains(said),
                 text.constData());
    }

    // Rows: the variable, its value, what the core says of it. The run goes
    // on with a value that is safe: 1 for what is no scale, 1000 at most.
    void numericEnvironmentIsCheckedWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("inf") << QByteArray("PROBEKIT_TIME_SCALE") << QByteArray("inf")
                             << QByteArray("PROBEKIT_TIME_SCALE=inf is not a number in 0..1000; 1 is used");
        QTest::newRow("1e300") << QByteArray("PROBEKIT_TIME_SCALE") << QByteArray("1e300")
                               << QByteArray("PROBEKIT_TIME_SCALE=1e300 is above 1000; 1000 is used");
        QTest::newRow("nan") << QByteArray("PROBEKIT_TIME_SCALE") << QByteArray("nan")
                             << QByteArray("PROBEKIT_TIME_SCALE=nan is not a number");
        QTest::newRow("negative") << QByteArray("PROBEKIT_TIME_SCALE") << QByteArray("-2")
                                  << QByteArray("PROBEKIT_TIME_SCALE=-2 is not a number");
        QTest::newRow("fault status") << QByteArray("PROBEKIT_FAULT") << QByteArray("VpdReadKeyword=99999999999")
                                      << QByteArray("\"VpdReadKeyword=99999999999\" ignored");
    }

    void numericEnvironmentIsCheckedWithAMessage()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, said);
        m_machine->tests["90"] = QJsonObject{{"steps", QJsonArray{QJsonObject{{"progress", 100}}}}};
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        StderrCapture standardError;
        qputenv(variable.constData(), value);
        uint8_t flags[2] = {0, 0};
        QCOMPARE(TestRun(90, flags, nullptr), 0);
        QCOMPARE(readKeyword("PN"), QByteArray("GE4322"));
        qunsetenv(variable.constData());
        QVERIFY2(standardError.text().contains(said), standardError.text().constData());
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
        QCOMPARE(VpdListKeywords(nullptr, &length, &count), 7);
        QCOMPARE(VpdListKeywords(list, &length, nullptr), 7);
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

    // A full disk (here: a file size limit) fails every change with its
    // status and leaves the state file as it was: a restart finds the last
    // image that was stored, never the factory one.
    void stateThatCannotBeStoredIsNotChanged()
    {
        m_machine->install();
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        const QByteArray program(1000, '\x5A');
        const auto image = reinterpret_cast<const uint8_t *>(program.constData());
        QCOMPARE(FlashLoadImage(image, 1000, nullptr), 0);
        QCOMPARE(VpdWriteKeyword("V2", "two"), 0);
        const QByteArray stored = contents(m_machine->stateFile());
        QVERIFY(stored.size() > 4096);
        {
            FileSizeLimit full(1024);
            QCOMPARE(FlashErase(nullptr), 27);
            QCOMPARE(FlashLoadImage(image, 10, nullptr), 28);
            QCOMPARE(VpdWriteKeyword("V3", "three"), 22);
            QCOMPARE(VpdDeleteKeyword("V2"), 22);
        }
        QCOMPARE(contents(m_machine->stateFile()), stored);
        QCOMPARE(entriesOf(m_machine->dir.filePath("state")), QStringList{"adapter-2-1.json"});
        int status = 0;
        readKeyword("V3", &status);
        QCOMPARE(status, 19);
        QCOMPARE(CoreDeinit(), 0);
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        QByteArray read(4096, '\0');
        uint32_t size = 4096;
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(read.data()), &size, nullptr), 0);
        QCOMPARE(read.left(1000), program);
        QCOMPARE(readKeyword("V2"), QByteArray("two"));
    }

    // Rows: what lies at the state file's place; what the refusal says.
    void unusableStateIsKeptAsideAndReported_data()
    {
        QTest::addColumn<QString>("special");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("cut short") << "" << QByteArray("{\n    \"vpd\": {\n        \"V2\": \"dHdv\"")
                                   << QByteArray("not JSON: ");
        QTest::newRow("empty") << "" << QByteArray() << QByteArray("the file is empty");
        QTest::newRow("foreign") << "" << QByteArray("{\"name\": \"not ours\"}")
                                 << QByteArray("not an adapter state");
        QTest::newRow("bad keyword") << "" << QByteArray("{\"vpd\": {\"PN\": \"eA==\"}}")
                                     << QByteArray("the VPD keyword \"PN\" is not a stored writable keyword");
        QTest::newRow("other flash size") << "" << QByteArray("{\"flash\": \"AAAA\"}")
                                          << QByteArray("\"flash\" holds 3 bytes, the PROM 4096");
        QTest::newRow("FIFO") << "fifo" << QByteArray() << QByteArray("not a regular file");
        QTest::newRow("device") << "device" << QByteArray() << QByteArray("not a regular file");
        QTest::newRow("huge") << "huge" << QByteArray() << QByteArray("larger than 1054040 bytes");
    }

    void unusableStateIsKeptAsideAndReported()
    {
        QFETCH(QString, special);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, said);
        m_machine->install();
        const QString dir = m_machine->dir.filePath("state");
        const QString file = m_machine->stateFile();
        QVERIFY(QDir().mkpath(dir));
        QFile written(file);
        QVERIFY(special.isEmpty() ? written.open(QIODevice::WriteOnly) && written.write(content) == content.size()
                                  : plantSpecialFile(special, file));
        written.close();
        // What a write killed part-way leaves: removed at the next start.
        QFile stale(file + ".tmp-4242-1");
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        QCOMPARE(CoreInit(), 0);
        StderrCapture standardError;
        QCOMPARE(selectAt(2, 1), 0);
        QCOMPARE(readKeyword("V1"), QByteArray("one"));
        QByteArray read(4, '\0');
        uint32_t size = 4;
        // The next call with a callback table tells the program's log.
        CoreCallbacks logOnly{};
        logOnly.logText = recordLog;
        logSeen.clear();
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(read.data()), &size, &logOnly), 0);
        QCOMPARE(read.left(2), QByteArray("\x55\xAA"));
        const QStringList left = entriesOf(dir);
        QCOMPARE(left.size(), 1);
        QVERIFY2(left[0].startsWith("adapter-2-1.json.corrupt-"), qPrintable(left[0]));
        const QString aside = dir + '/' + left[0];
        if (special.isEmpty())
            QCOMPARE(contents(aside), content);
        const QByteArray notice = "adapter state " + QFile::encodeName(file) + " refused: " + said;
        QVERIFY2(standardError.text().contains(notice), standardError.text().constData());
        QVERIFY2(logSeen.startsWith(notice) && logSeen.contains("kept as " + QFile::encodeName(left[0]))
                     && logSeen.endsWith("starts from its factory contents\n"),
                 logSeen.constData());
        // The adapter keeps what is written to it again.
        QCOMPARE(VpdWriteKeyword("V2", "two"), 0);
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(selectAt(2, 1), 0);
        QCOMPARE(readKeyword("V2"), QByteArray("two"));
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
        QCOMPARE(list[1].reserved, 0);
        QCOMPARE(SensorReadValues(nullptr, &count), 7);
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

    // Rows: the sensors listed, the machine file's reading count, the
    // count a read gives.
    void sensorEdgeCasesFromTheMachineFile_data()
    {
        QTest::addColumn<int>("listed");
        QTest::addColumn<QJsonValue>("readingCount");
        QTest::addColumn<int>("readings");
        QTest::newRow("as listed") << 25 << QJsonValue() << 25;
        QTest::newRow("fewer") << 25 << QJsonValue(3) << 3;
        QTest::newRow("more") << 25 << QJsonValue(30) << 30;
        QTest::newRow("beyond a byte") << 300 << QJsonValue() << 255; // the count is one byte
    }

    void sensorEdgeCasesFromTheMachineFile()
    {
        QFETCH(int, listed);
        QFETCH(QJsonValue, readingCount);
        QFETCH(int, readings);
        QJsonArray sensors;
        for (int i = 0; i < listed; ++i)
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
        QCOMPARE(int(count), qMin(listed, 255));
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
            QCOMPARE(values[readings - 1].value, readings > listed ? 0.0 : 1.0);
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
