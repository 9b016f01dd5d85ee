// The core library's test side: scripted sub-test behaviours played through
// the callback table, cancelling, seeded failures and the command language.
#include <probekit.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

// Everything the core reported, in order, as "kind:payload" lines.
struct Recorder {
    std::mutex lock;
    QStringList events;
    QList<int> answers;        // popped per question; empty: answer Yes
    bool formatsWereData = true;

    void add(const QString &event)
    {
        std::lock_guard<std::mutex> locker(lock);
        events << event;
    }
    QStringList all()
    {
        std::lock_guard<std::mutex> locker(lock);
        // A list of its own: a shared one would be released outside the lock
        // while the core thread appends.
        QStringList copy = events;
        copy.detach();
        return copy;
    }
    QStringList of(const QString &kind)
    {
        return all().filter(QRegularExpression("^" + kind + ":"));
    }
    void reset()
    {
        std::lock_guard<std::mutex> locker(lock);
        events.clear();
        answers.clear();
        formatsWereData = true;
    }
} recorder;

// `ended`: the console's lines come as "%s\n", ended as on a terminal.
QString format(const char *fmt, va_list args, bool ended = false)
{
    // Texts are data behind "%s": any other format would let a "%" in a
    // text be taken as a conversion.
    if (std::strcmp(fmt, ended ? "%s\n" : "%s") != 0)
        recorder.formatsWereData = false;
    char buffer[4096];
    std::vsnprintf(buffer, sizeof buffer, fmt, args);
    return QString::fromUtf8(buffer);
}

#define TEXT_CALLBACK(name, kind, ended)                                  \
    int name(const char *fmt, ...)                                         \
    {                                                                      \
        va_list args;                                                      \
        va_start(args, fmt);                                               \
        QString text = format(fmt, args, ended);                           \
        va_end(args);                                                      \
        if (ended)                                                         \
            text.chop(1);                                                  \
        recorder.add(kind ":" + text);                                     \
        return 0;                                                          \
    }
TEXT_CALLBACK(stamped, "stamped", false)
TEXT_CALLBACK(logged, "log", true)
TEXT_CALLBACK(result, "result", false)

int catalog(int row, int column, int message)
{
    recorder.add(QString("cell:%1,%2=#%3").arg(row).arg(column).arg(message));
    return 0;
}

int formatted(int row, int column, const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    recorder.add(QString("cell:%1,%2=%3").arg(row).arg(column).arg(format(fmt, args)));
    va_end(args);
    return 0;
}

int progress(int value)
{
    recorder.add(QString("progress:%1").arg(value));
    return 0;
}

int ask(int message, int b0, int b1, int b2)
{
    recorder.add(QString("ask:%1 %2 %3 %4").arg(message).arg(b0).arg(b1).arg(b2));
    std::lock_guard<std::mutex> locker(recorder.lock);
    return recorder.answers.isEmpty() ? 3 : recorder.answers.takeFirst();
}

const CoreCallbacks table{stamped, logged, result, catalog, formatted, progress, ask};

QJsonObject step(int progressValue, int ms, const QJsonObject &extra = {})
{
    QJsonObject s = extra;
    s["progress"] = progressValue;
    s["ms"] = ms;
    return s;
}

class Machine
{
public:
    Machine()
    {
        adapter = QJsonObject{{"bus", 2}, {"device", 1}, {"slot", 2}, {"vendorId", "1A5E"},
                              {"deviceId", "4322"}, {"misc", QJsonArray{"mac", "T", "1"}}};
    }
    void install()
    {
        QJsonObject single = adapter;
        single["tests"] = adapterTests;
        QJsonArray adapters = others;
        adapters.prepend(single);
        QJsonObject root{{"adapters", adapters}, {"tests", tests}};
        QFile file(dir.filePath("machine.json"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QJsonDocument(root).toJson());
        file.close();
        qputenv("PROBEKIT_MACHINE", file.fileName().toLocal8Bit());
        qputenv("PROBEKIT_STATE_DIR", dir.filePath("state").toLocal8Bit());
        qputenv("PROBEKIT_LOCK_DIR", dir.filePath("locks").toLocal8Bit());
        qputenv("PROBEKIT_TIME_SCALE", "0");
        QCOMPARE(CoreInit(), 0);
        const AdapterRecord *records = AdapterEnumerate(nullptr);
        QVERIFY(records);
        QCOMPARE(AdapterSelect(records), 0);
    }

    QTemporaryDir dir;
    QJsonObject adapter;
    QJsonObject tests;
    QJsonObject adapterTests;
    QJsonArray others; // further adapters, after the selected one
};

// Runs on a thread of its own, as the program's worker does.
class Runner
{
public:
    explicit Runner(int number) : m_thread([this, number] { m_status = TestRun(number, m_flags, &table); }) {}
    explicit Runner(const char *command)
        : m_thread([this, command] { m_status = CommandRun(command, m_flags, &table); }) {}
    int join()
    {
        m_thread.join();
        return m_status;
    }

private:
    uint8_t m_flags[2] = {0, 0};
    int m_status = 0;
    std::thread m_thread;
};

int run(int number)
{
    uint8_t flags[2] = {0, 0};
    return TestRun(number, flags, &table);
}

int command(const char *line)
{
    uint8_t flags[2] = {1, 0};
    return CommandRun(line, flags, &table);
}

} // namespace

class TestProbekitTests : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        recorder.reset();
        m_machine.reset(new Machine);
    }
    void cleanup()
    {
        CoreDeinit();
        qunsetenv("PROBEKIT_TIME_SCALE");
    }

    void scriptedStepsReportInOrder()
    {
        m_machine->tests["42"] = QJsonObject{
            {"steps", QJsonArray{
                step(10, 0, {{"log", "L"}, {"stamped", "S %d 100%"}, {"result", "R"},
                             {"cell", QJsonArray{QJsonObject{{"row", 0}, {"column", 0}, {"message", 29}},
                                                 QJsonObject{{"row", 0}, {"column", 1}, {"text", "up"}}}}}),
                step(100, 0)}},
            {"status", 0}};
        m_machine->install();
        QCOMPARE(run(42), 0);
        QCOMPARE(recorder.all(), QStringList({"log:L", "stamped:S %d 100%", "cell:0,0=#29",
                                              "cell:0,1=up", "result:R", "progress:10", "progress:100"}));
        QVERIFY(recorder.formatsWereData);
    }

    void lookupPrefersAdapterThenMachineThenBuiltIn()
    {
        m_machine->tests["101"] = QJsonObject{{"status", 3}};
        m_machine->tests["102"] = QJsonObject{{"status", 3}};
        m_machine->adapterTests["102"] = QJsonObject{{"status", 4}};
        // An empty state file: the refusal is told with the next run.
        QVERIFY(QDir().mkpath(m_machine->dir.filePath("state")));
        QVERIFY(QFile(m_machine->dir.filePath("state/adapter-2-1.json")).open(QIODevice::WriteOnly));
        m_machine->install();
        QCOMPARE(run(101), 3);
        QVERIFY(recorder.of("log").value(0).contains("refused: the file is empty"));
        QCOMPARE(run(102), 4);
        recorder.reset();
        QCOMPARE(run(103), 0);
        QVERIFY(!recorder.of("stamped").isEmpty());
        QCOMPARE(recorder.of("progress").last(), QString("progress:100"));
        // No behaviour anywhere: a plain climb to 100 and a pass.
        recorder.reset();
        QCOMPARE(run(4711), 0);
        QCOMPARE(recorder.of("progress").first(), QString("progress:0"));
        QCOMPARE(recorder.of("progress").last(), QString("progress:100"));
    }

    void builtInBehavioursAskAndFillCells()
    {
        m_machine->install();
        QCOMPARE(run(501), 0);
        QCOMPARE(recorder.of("ask"), QStringList({"ask:12 3 4 0", "ask:14 3 4 0"}));
        recorder.reset();
        recorder.answers = {1};
        QCOMPARE(run(603), 0);
        QCOMPARE(recorder.of("ask"), QStringList({"ask:27 1 2 0"}));
        QVERIFY(recorder.of("result").last().contains("frames"));
        recorder.reset();
        QCOMPARE(run(701), 0);
        QVERIFY(recorder.all().contains("cell:0,0=#29"));
        QVERIFY(recorder.all().contains("cell:0,1=#45"));
        QCOMPARE(run(9981), 0);
    }

    void answerDecidesPassOrFail()
    {
        m_machine->tests["50"] = QJsonObject{
            {"steps", QJsonArray{step(10, 0, {{"ask", QJsonObject{{"message", 8}, {"buttons", QJsonArray{3, 4, 0}}, {"expect", 3}}}}),
                                 step(100, 0)}},
            {"failStatus", 5}, {"failText", "LED not confirmed"}};
        m_machine->install();
        recorder.answers = {3};
        QCOMPARE(run(50), 0);
        recorder.reset();
        recorder.answers = {4};
        QCOMPARE(run(50), 5);
        QCOMPARE(recorder.of("result"), QStringList({"result:LED not confirmed"}));
        QVERIFY(!recorder.all().contains("progress:100"));
        // Without a question entry nobody can say no: the test passes.
        CoreCallbacks progressOnly{};
        progressOnly.progress = progress;
        uint8_t flags[2] = {0, 0};
        QCOMPARE(TestRun(50, flags, &progressOnly), 0);
        QCOMPARE(TestRun(50, flags, nullptr), 0);
    }

    void longTextsAreCutForTheProgram()
    {
        const QString accents = QString(200, QChar(0xE9)); // 2 bytes each in UTF-8
        m_machine->tests["60"] = QJsonObject{
            {"steps", QJsonArray{step(0, 0, {{"stamped", QString(300, 'a')}, {"result", accents}})}}};
        m_machine->install();
        QCOMPARE(run(60), 0);
        QCOMPARE(recorder.of("stamped").first(), "stamped:" + QString(255, 'a'));
        // 255 bytes would split a character: 127 whole ones, nothing broken.
        QCOMPARE(recorder.of("result").first(), "result:" + QString(127, QChar(0xE9)));
    }

    void cancelStopsTheRunningTestWithinAStep()
    {
        QJsonArray steps;
        for (int i = 0; i < 50; ++i)
            steps.append(step(i * 2, 200));
        m_machine->tests["70"] = QJsonObject{{"steps", steps}};
        m_machine->install();
        qputenv("PROBEKIT_TIME_SCALE", "1");
        Runner runner(70);
        QTRY_VERIFY(!recorder.of("progress").isEmpty());
        QCOMPARE(TestCancel(), 0);
        QVERIFY(runner.join() < 0);
        QVERIFY(recorder.of("progress").size() <= 2);
        // The cancel was for that run only.
        qputenv("PROBEKIT_TIME_SCALE", "0");
        QCOMPARE(run(70), 0);
    }

    void zeroTimeScaleIsInstant()
    {
        QJsonArray steps;
        for (int i = 0; i < 10; ++i)
            steps.append(step(i * 10, 3600000));
        m_machine->tests["80"] = QJsonObject{{"steps", steps}};
        m_machine->install();
        QCOMPARE(run(80), 0); // an hour a step: only instant time finishes this
        QCOMPARE(recorder.of("progress").size(), 10);
    }

    void seededFailuresRepeatEachSession()
    {
        m_machine->tests["90"] = QJsonObject{{"failRate", 0.5}, {"seed", 11}, {"failStatus", 6}};
        m_machine->tests["91"] = QJsonObject{{"failRate", 1.0}};
        QJsonObject steady = m_machine->adapter;
        steady["bus"] = 3;
        steady["tests"] = QJsonObject{{"90", QJsonObject{{"failRate", 0}}}};
        m_machine->others = {steady};
        m_machine->install();
        const auto outcomes = [] {
            QString seen;
            for (int i = 0; i < 24; ++i)
                seen += run(90) == 0 ? 'P' : 'F';
            return seen;
        };
        const QString first = outcomes();
        QVERIFY(first.contains('P'));
        QVERIFY(first.contains('F'));
        QCOMPARE(run(91), 1); // the default fail status
        QCOMPARE(CoreDeinit(), 0);
        QCOMPARE(CoreInit(), 0);
        // Where 90 never fails it draws nothing from the sequence.
        const AdapterRecord *records = AdapterEnumerate(nullptr);
        QCOMPARE(AdapterSelect(records + 1), 0);
        QCOMPARE(run(90), 0);
        QCOMPARE(AdapterSelect(records), 0);
        QCOMPARE(outcomes(), first);
        // The shipped link stability test fails now and then, not always.
        int failures = 0;
        for (int i = 0; i < 30; ++i)
            failures += run(704) != 0;
        QVERIFY(failures > 0 && failures < 15);
    }

    void testsNeedAnAdapter()
    {
        m_machine->install();
        QCOMPARE(CoreDeinit(), 0);
        QCOMPARE(CoreInit(), 0);
        QCOMPARE(run(101), 11);
        for (const char *line : {"run 101", "status", "stats", "reg read 0", "reg write 0 1"}) {
            QCOMPARE(command(line), 11);
            QCOMPARE(recorder.of("log").last(), QString("log:No adapter selected"));
        }
    }

    // Each row: commands run in turn (separated by "|"), the status of the
    // last one and a text its log lines must hold.
    void commandLanguage_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("logged");
        QTest::newRow("help") << "help" << 0 << "reg write <offset> <value>";
        QTest::newRow("?") << "?" << 0 << "selftest <id>";
        QTest::newRow("status") << "status" << 0 << "1A5E:4322";
        QTest::newRow("status links") << "status" << 0 << "Ports: A link up";
        QTest::newRow("status LED") << "status" << 0 << "Locate LED: off";
        QTest::newRow("status flash") << "status" << 0 << "Flash PROM: 131072 bytes";
        QTest::newRow("reg round trip") << "reg write 10 DEADBEEF|reg read 0x10" << 0 << "Register 0x0010 = 0xDEADBEEF";
        QTest::newRow("reg unwritten") << "reg read FFFC" << 0 << "Register 0xFFFC = 0x00000000";
        QTest::newRow("reg unaligned") << "reg read 12" << 8 << "Bad register offset 12";
        QTest::newRow("reg beyond") << "reg read 10000" << 8 << "Bad register offset 10000";
        QTest::newRow("reg not hex") << "reg write 10 12G" << 8 << "Bad register value 12G";
        QTest::newRow("reg too wide") << "reg write 10 1FFFFFFFF" << 8 << "Bad register value";
        QTest::newRow("reg verb") << "reg peek 10" << 8 << "Usage: reg read";
        QTest::newRow("stats") << "stats" << 0 << "Port A: link up, ";
        QTest::newRow("selftest") << "selftest 101" << 0 << "Sub-test 101 ended with status 0";
        QTest::newRow("run") << "run 101" << 0 << "Sub-test 101 ended with status 0";
        QTest::newRow("selftest bad") << "selftest x" << 8 << "Usage: selftest <id>";
        QTest::newRow("sleep") << "sleep 3600000" << 0 << "Waiting 3600000 ms"; // instant at scale 0
        QTest::newRow("wait") << "wait soon" << 8 << "Usage: sleep <ms>";
        QTest::newRow("unknown") << "frobnicate %s%s%n" << 8 << "Unknown command: frobnicate %s%s%n";
        QTest::newRow("unprintable") << "bell\x07 x" << 8 << "Unknown command: bell? x";
        QTest::newRow("missing port") << "Monitor Port B" << 11 << "Port B is not present";
    }

    void commandLanguage()
    {
        QFETCH(QString, commands);
        QFETCH(int, status);
        QFETCH(QString, logged);
        m_machine->adapter["ports"] = QJsonArray{QJsonObject{{"link", true}, {"traffic", 1000}}};
        m_machine->install();
        const QStringList lines = commands.split('|');
        for (const QString &line : lines.mid(0, lines.size() - 1))
            QCOMPARE(command(line.toLatin1().constData()), 0);
        recorder.reset();
        QCOMPARE(command(lines.last().toLatin1().constData()), status);
        const QString log = recorder.of("log").join('\n');
        QVERIFY2(log.contains(logged), qPrintable(log));
        QVERIFY(recorder.formatsWereData);
    }

    void locateLedShowsInStatus()
    {
        m_machine->install();
        LocateLedSet(1);
        QCOMPARE(TestSeriesBegin(), 0);
        QCOMPARE(command("status"), 0);
        QVERIFY(recorder.of("log").contains("log:Locate LED: on"));
        QVERIFY(recorder.of("log").contains("log:Test series: running"));
        QVERIFY(recorder.of("log").contains("log:Advanced mode: on"));
        LocateLedSet(0);
        QCOMPARE(TestSeriesEnd(), 0);
        recorder.reset();
        uint8_t basic[2] = {0, 0};
        QCOMPARE(CommandRun("status", basic, &table), 0);
        QVERIFY(recorder.of("log").contains("log:Locate LED: off"));
        QVERIFY(recorder.of("log").contains("log:Test series: none"));
        QVERIFY(recorder.of("log").contains("log:Advanced mode: off"));
    }

    void commandsRunUntilCancelled()
    {
        m_machine->install();
        qputenv("PROBEKIT_TIME_SCALE", "1");
        Runner waiting("sleep 3600000");
        QTRY_VERIFY(!recorder.of("log").isEmpty()); // it has begun to wait
        QCOMPARE(TestCancel(), 0);
        QVERIFY(waiting.join() < 0);
    }

    // The state cells move every half simulated second: with 1000 frames and
    // 10 errors a second, the second update shows 500 frames and 5 errors.
    void modesUpdateTheirCellsUntilCancelled_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("transmitted");
        QTest::newRow("repeater") << "Repeater Port A" << "cell:3,1=500";
        QTest::newRow("monitor") << "Monitor Port A" << "cell:3,1=0";
        QTest::newRow("repeater B") << "repeater port b" << "cell:3,1=500";
        QTest::newRow("monitor B") << "MONITOR PORT B" << "cell:3,1=0";
    }

    void modesUpdateTheirCellsUntilCancelled()
    {
        QFETCH(QString, line);
        QFETCH(QString, transmitted);
        const QJsonObject busy{{"link", true}, {"traffic", 1000}, {"errors", 10}};
        m_machine->adapter["ports"] = QJsonArray{busy, busy};
        m_machine->install();
        const QByteArray text = line.toLatin1();
        Runner mode(text.constData()); // at time scale 0: it must still let the cancel in
        QTRY_VERIFY(recorder.all().contains("cell:2,1=500"));
        QCOMPARE(TestCancel(), 0);
        QCOMPARE(mode.join(), -1);
        const QStringList events = recorder.all();
        QVERIFY(events.contains("cell:0,0=#28"));
        QVERIFY(events.contains("cell:1,1=#45"));
        QVERIFY(events.contains("cell:4,1=5"));
        QVERIFY(events.contains(transmitted));
    }

    // A flash table as the program passes it: no cell entries.
    void flashWorkReportsInSteps_data()
    {
        QTest::addColumn<QString>("operation");
        for (const char *operation : {"save", "load", "erase"})
            QTest::newRow(operation) << operation;
    }

    void flashWorkReportsInSteps()
    {
        QFETCH(QString, operation);
        m_machine->install();
        const CoreCallbacks flashTable{stamped, logged, result, nullptr, nullptr, progress, ask};
        QByteArray image(131072, '\x11');
        uint32_t size = static_cast<uint32_t>(image.size());
        auto *bytes = reinterpret_cast<uint8_t *>(image.data());
        const int status = operation == "save" ? FlashSaveImage(bytes, &size, &flashTable)
            : operation == "load"              ? FlashLoadImage(bytes, 4096, &flashTable)
                                               : FlashErase(&flashTable);
        QCOMPARE(status, 0);
        const QStringList events = recorder.all();
        QVERIFY(events.first().startsWith("stamped:"));
        QVERIFY(events.last().startsWith("stamped:"));
        QList<int> values;
        for (const QString &event : recorder.of("progress"))
            values << event.section(':', 1).toInt();
        // Every operation, in phases or not, moves the bar in even steps of 5.
        QList<int> even;
        for (int percent = 0; percent <= 100; percent += 5)
            even << percent;
        QCOMPARE(values, even);
    }

    // Rows: the machine file's question, the answer given, the status.
    void flashSaveAsksFirst_data()
    {
        QTest::addColumn<QJsonValue>("question");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("asked");
        QTest::newRow("default, OK") << QJsonValue(true) << 1 << 0 << "ask:24 1 2 0";
        QTest::newRow("default, Cancel") << QJsonValue(true) << 2 << 23 << "ask:24 1 2 0";
        const QJsonObject own{{"message", 12}, {"buttons", QJsonArray{3, 4, 0}}, {"failStatus", 25}};
        QTest::newRow("own, Yes") << QJsonValue(own) << 3 << 0 << "ask:12 3 4 0";
        QTest::newRow("own, No") << QJsonValue(own) << 4 << 25 << "ask:12 3 4 0";
        const QJsonObject first{{"message", 0}, {"buttons", QJsonArray{3, 4, 0}}, {"failStatus", 25}};
        QTest::newRow("message 0, No") << QJsonValue(first) << 4 << 25 << "ask:0 3 4 0";
    }

    void flashSaveAsksFirst()
    {
        QFETCH(QJsonValue, question);
        QFETCH(int, answer);
        QFETCH(int, status);
        QFETCH(QString, asked);
        m_machine->adapter["flashQuestion"] = question;
        m_machine->install();
        recorder.answers = {answer};
        QByteArray image(131072, '\0');
        uint32_t size = static_cast<uint32_t>(image.size());
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(image.data()), &size, &table), status);
        QCOMPARE(recorder.all().first(), asked);
        QCOMPARE(recorder.of("progress").isEmpty(), status != 0);
        // Nobody to ask: the wanted answer is taken.
        QCOMPARE(FlashSaveImage(reinterpret_cast<uint8_t *>(image.data()), &size, nullptr), 0);
    }

private:
    QScopedPointer<Machine> m_machine;
};

QTEST_GUILESS_MAIN(TestProbekitTests)

#include "test_probekit_tests.moc"
