// Run records: what a run files (checked against the shipped JSON schema
// and read back as JUnit), records that cannot be written, records switched
// off, and the report over a pile of them.
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "records/TvRunRecord.h"
#include "records/TvRunRecordWriter.h"
#include "records/TvRunReport.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/records/TvRunRecorder.h"

#include <QCheckBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTextStream>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstring>
#include <sys/stat.h>

namespace {

// The part of JSON Schema that data/run-record.schema.json uses: type,
// const, enum, required, properties, additionalProperties false, items,
// minimum, maximum, pattern and local $ref. Returns the breaches, each
// with its place in the document.
class SchemaCheck
{
public:
    explicit SchemaCheck(const QJsonObject &schema) : root(schema) {}

    QStringList check(const QJsonValue &value) { return check(value, root, QStringLiteral("$")); }

private:
    QStringList check(const QJsonValue &value, QJsonObject schema, const QString &at)
    {
        if (schema.contains("$ref"))
            schema = root.value("definitions").toObject().value(schema["$ref"].toString().section('/', 2)).toObject();
        QStringList bad;
        if (schema.contains("type") && !typeFits(value, schema["type"]))
            return {at + " is not " + QJsonDocument(QJsonArray{schema["type"]}).toJson()};
        if (schema.contains("const") && value != schema["const"])
            bad << at + " differs from its const";
        if (schema.contains("enum") && !schema["enum"].toArray().contains(value))
            bad << at + " is not in its enum";
        if (value.isDouble() && ((schema.contains("minimum") && value.toDouble() < schema["minimum"].toDouble())
                                 || (schema.contains("maximum") && value.toDouble() > schema["maximum"].toDouble())))
            bad << at + " is out of range";
        if (value.isString() && schema.contains("pattern")
            && !QRegularExpression(schema["pattern"].toString()).match(value.toString()).hasMatch())
            bad << at + " does not match its pattern";
        if (value.isObject())
            bad += checkObject(value.toObject(), schema, at);
        if (value.isArray() && schema.contains("items")) {
            const QJsonArray items = value.toArray();
            for (int i = 0; i < items.size(); ++i)
                bad += check(items[i], schema["items"].toObject(), at + '[' + QString::number(i) + ']');
        }
        return bad;
    }

    QStringList checkObject(const QJsonObject &object, const QJsonObject &schema, const QString &at)
    {
        QStringList bad;
        const QJsonObject properties = schema["properties"].toObject();
        for (const QJsonValue name : schema["required"].toArray()) {
            if (!object.contains(name.toString()))
                bad << at + " lacks " + name.toString();
        }
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (properties.contains(it.key()))
                bad += check(it.value(), properties[it.key()].toObject(), at + '.' + it.key());
            else if (schema["additionalProperties"] == QJsonValue(false))
                bad << at + " has no property " + it.key();
        }
        return bad;
    }

    static bool typeFits(const QJsonValue &value, const QJsonValue &type)
    {
        if (type.isArray())
            return std::any_of(type.toArray().begin(), type.toArray().end(),
                               [&](const QJsonValue &t) { return typeFits(value, t); });
        const QString name = type.toString();
        return (name == "object" && value.isObject()) || (name == "array" && value.isArray())
               || (name == "string" && value.isString()) || (name == "boolean" && value.isBool())
               || (name == "null" && value.isNull()) || (name == "number" && value.isDouble())
               || (name == "integer" && value.isDouble() && value.toDouble() == qint64(value.toDouble()));
    }

    QJsonObject root;
};

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Elements of a JUnit file by name, and the counts its root claims; an
// empty map when Qt's reader refuses it.
QMap<QString, int> junitCounts(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QMap<QString, int> counts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        ++counts[xml.name().toString()];
        if (xml.name() == QLatin1String("testsuites")) {
            for (const char *n : {"tests", "failures", "errors", "skipped"})
                counts[QStringLiteral("root ") + n] = xml.attributes().value(n).toInt();
        }
    }
    if (xml.hasError())
        return {{QStringLiteral("!refused: ") + xml.errorString(), int(xml.lineNumber())}};
    return counts;
}

QStringList filesIn(const QString &directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// The rig's dual-port adapter with a voltage sensor and a serial number
// that holds quotes, markup, control characters and 300 bytes in all;
// "Register test" (1) has the rows 111 to 117, where 111 gives a result
// text and 117, the last row, asks Yes or No and fails on No.
class Rig : public TvUiRig
{
public:
    static QString nastySerial() { return "S\"N<&>\x01\x1f\t" + QString(293, 'X'); }

    Rig()
    {
        CAdapterInfo &info = CAdapterInfo::instance();
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {1});
        info.testCases.insert(9999, testCase(QStringLiteral("All tests"), {}));
        info.testCases.insert(1, testCase(QStringLiteral("Register test"),
                                                           {111, 112, 113, 114, 115, 116, 117}));
        QJsonObject adapter = machine.adapters.at(0).toObject();
        adapter["vpd"] = QJsonObject{{"Name", "Orlin Dual"}, {"SN", nastySerial()}, {"PN", "PN-7"}};
        adapter["sensors"] = QJsonArray{QJsonObject{{"name", "Voltage VCC"}, {"type", 0}, {"min", 0},
                                                    {"max", 6}, {"lowerAlarm", 4.5}, {"upperAlarm", 5.5},
                                                    {"nominal", 5.0}, {"jitter", 0.2}}};
        machine.adapters = {adapter};
        const QJsonObject asking{{"ask", QJsonObject{{"message", 12}, {"buttons", QJsonArray{3, 4, 0}},
                                                     {"expect", 3}}}};
        const QJsonObject resultText{{"result", "all registers answer"}, {"progress", 100}};
        machine.tests = QJsonObject{{"111", QJsonObject{{"steps", QJsonArray{resultText}}}},
                                    {"117", QJsonObject{{"steps", QJsonArray{asking}}}}};
        started = startCore();
        windowWithWorker();
        pick(1);
    }

    // Starts the shown test case and waits until its record is written.
    void runToTheEnd()
    {
        click("StartTestButton");
        QTRY_VERIFY(!isRunning());
        window().records()->writer()->waitForDone();
    }

    QString runs() const { return basePath(QStringLiteral("logs/runs")); }
    bool started = false;
};

} // namespace

class TestUiRecords : public QObject
{
    Q_OBJECT

private slots:
    void aLoopWithPassFailNoAndCancelIsFiledInFull();
    void recordsThatCannotBeWrittenAreAbsentAndToldOnce();
    void switchedOffNothingIsFiled();
    void reportListsOneRowPerRecord();
    void reportNamesAndLeavesOutWhatIsNoRecord();
};

void TestUiRecords::aLoopWithPassFailNoAndCancelIsFiledInFull()
{
    Rig rig;
    QVERIFY(rig.started);
    // Only the first and the last row are ticked. The first pass fails on
    // the No, which loops (it is the last row); the second is cancelled
    // during its question.
    rig.tickOnly({0, 6});
    rig.child<QCheckBox>("LoopInfiniteTests")->setChecked(true);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    int asked = 0;
    rig.dialogs.whileOpen = [&](const QString &) {
        if (++asked == 2)
            rig.click("CancelTestButton");
    };
    rig.runToTheEnd();

    const QStringList files = filesIn(rig.runs());
    QCOMPARE(files.size(), 2);
    // Only letters, digits, ".", "_" and "-" of the serial name the file.
    QVERIFY2(QRegularExpression("^\\d{8}T\\d{6}Z-SNX{30}\\.json$").match(files.first()).hasMatch(),
             qPrintable(files.first()));
    const QString json = QDir(rig.runs()).filePath(files.first());
    const QJsonObject record = readJson(json);
    SchemaCheck schema(readJson(NICDIAG_SOURCE_DIR "/data/run-record.schema.json"));
    const QStringList breaches = schema.check(record);
    QVERIFY2(breaches.isEmpty(), qPrintable(breaches.join('\n')));

    QCOMPARE(record["result"].toString(), QStringLiteral("cancelled"));
    QCOMPARE(record["passes"].toInt(), 2);
    QCOMPARE(record["counts"].toObject(),
             QJsonObject({{"passed", 2}, {"failed", 1}, {"cancelled", 1}, {"notRun", 10}}));
    QCOMPARE(record["adapter"]["serialNumber"].toString(), Rig::nastySerial().left(255));
    QCOMPARE(record["adapter"]["vendorId"].toString(), QStringLiteral("ABCD"));
    QStringList results, texts;
    for (const QJsonValue t : record["testCases"].toArray()) {
        for (const QJsonValue s : t["subTests"].toArray()) {
            results << s["result"].toString();
            texts << s["coreText"].toString();
        }
    }
    const QStringList pass = {"passed", "notRun", "notRun", "notRun", "notRun", "notRun"};
    QCOMPARE(results, QStringList(pass + QStringList{"failed"} + pass + QStringList{"cancelled"}));
    QCOMPARE(texts.first(), QStringLiteral("all registers answer"));
    QCOMPARE(record["questions"][0]["answer"].toString(), QStringLiteral("no"));
    QCOMPARE(record["questions"][1]["answer"].toString(), QStringLiteral("yes"));
    const QJsonObject vcc = record["sensors"][0].toObject();
    // One reading as the run begins and one as each of its four rows ends.
    QCOMPARE(vcc["samples"].toInt(), 5);
    QVERIFY(vcc["minimum"].toDouble() >= 4.8 && vcc["maximum"].toDouble() <= 5.2);
    QVERIFY(vcc["minimum"].toDouble() <= vcc["last"].toDouble()
            && vcc["last"].toDouble() <= vcc["maximum"].toDouble());
    const QStringList log = QVariant(record["log"].toArray().toVariantList()).toStringList();
    QCOMPARE(log, rig.logModel()->linesFrom(rig.logModel()->count() - log.size()));
    QVERIFY(log.first().endsWith("TEST_SLOT_STARTED Register test"));
    QVERIFY(log.last().endsWith("LOOP_COUNT 2"));

    const QMap<QString, int> junit = junitCounts(QString(json).replace(".json", ".xml"));
    QVERIFY2(!junit.firstKey().startsWith("!refused"), qPrintable(junit.firstKey()));
    QCOMPARE(junit.value("testsuite"), 2);
    QCOMPARE(junit.value("testcase"), 14);
    QCOMPARE(junit.value("failure"), 1);
    QCOMPARE(junit.value("error"), 1);
    QCOMPARE(junit.value("skipped"), 10);
    QCOMPARE(junit.value("root tests"), 14);
    QCOMPARE(junit.value("root failures"), 1);
    QCOMPARE(junit.value("root errors"), 1);
    QCOMPARE(junit.value("root skipped"), 10);
    QVERIFY(rig.dialogs.messageTexts().size() == 2);
}

void TestUiRecords::recordsThatCannotBeWrittenAreAbsentAndToldOnce()
{
    {
        // Where the records directory should be, a file stands.
        Rig rig;
        QVERIFY(rig.started);
        QFile blocker(rig.runs());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        rig.tickOnly({0, 1});
        rig.mark();
        rig.runToTheEnd();
        rig.runToTheEnd();
        const QString failure = "RUN_RECORD_WRITE_FAILED " + rig.runs() + '/';
        QTRY_COMPARE(rig.logStarting(failure).size(), 2);
        QVERIFY(rig.logStarting(failure).first().endsWith(QString::fromLocal8Bit(strerror(ENOTDIR))));
        QCOMPARE(rig.dialogs.messageTexts().size(), 1);
        QVERIFY(rig.dialogs.messageTexts().first().startsWith(failure));
        QCOMPARE(rig.dialogs.asked.first().icon, TvDialogSeam::Warning);
        QVERIFY(!rig.logStarting("TEST_SLOT_FINISHED").isEmpty());
        // A record written in between: the next failure is told again.
        QVERIFY(QFile::remove(rig.runs()));
        rig.runToTheEnd();
        QCOMPARE(filesIn(rig.runs()).size(), 2);
        {
            const TvUiRig::FileSizeLimit full(512);
            rig.runToTheEnd();
        }
        QTRY_COMPARE(rig.dialogs.messageTexts().size(), 2);
    }
    {
        // The disk fills while the record is written.
        Rig rig;
        QVERIFY(rig.started);
        rig.tickOnly({0, 1});
        {
            const TvUiRig::FileSizeLimit full(512);
            rig.runToTheEnd();
        }
        QCOMPARE(filesIn(rig.runs()), QStringList());
        QTRY_COMPARE(rig.dialogs.messageTexts().size(), 1);
        QVERIFY(rig.dialogs.messageTexts().first().endsWith(QString::fromLocal8Bit(strerror(EFBIG))));
    }
}

void TestUiRecords::switchedOffNothingIsFiled()
{
    Rig rig;
    QVERIFY(rig.started);
    CAdapterInfo::instance().run_records = 0;
    rig.runToTheEnd();
    QVERIFY(!QFileInfo::exists(rig.runs()));
}

void TestUiRecords::reportListsOneRowPerRecord()
{
    QTemporaryDir dir;
    const struct {
        const char *start;
        const char *serial;
        TvRunRecord::Result results[3];
    } runs[] = {
        {"2026-03-02T10:00:00Z", "SN-\x1b" "B\u202e\u200b", {TvRunRecord::Passed, TvRunRecord::Failed, TvRunRecord::NotRun}},
        {"2026-03-01T09:00:00Z", "SN-A", {TvRunRecord::Passed, TvRunRecord::Passed, TvRunRecord::Passed}},
        {"2026-03-03T11:00:00Z", "SN,\"C\"", {TvRunRecord::Cancelled, TvRunRecord::Passed, TvRunRecord::Failed}},
    };
    QStringList files;
    for (const auto &run : runs) {
        TvRunRecord record;
        record.start = record.end = QDateTime::fromString(run.start, Qt::ISODate);
        record.adapter.name = QStringLiteral("Orlin Dual");
        record.adapter.serialNumber = run.serial;
        record.testCases.append({1, QStringLiteral("Register test"), 1, {}});
        for (TvRunRecord::Result result : run.results)
            record.testCases[0].subTests.append({111, "Step", true, result, {}, {}, 100, {}, 0});
        QString path, error;
        QVERIFY2(TvRunRecordWriter::writeFiles(record, dir.path(), &path, &error), qPrintable(error));
        files << path;
    }
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    // A directory stands for every record in it (the JUnit files beside
    // them are no records); escape sequences and bidirectional controls
    // reach the terminal as "?".
    for (const QStringList &paths : {files, QStringList{dir.path()}}) {
        out.clear();
        QCOMPARE(TvRunReport::run(QStringList{"--csv"} + paths, outStream, errStream), 0);
        outStream.flush();
        QCOMPARE(out, QStringLiteral("date,adapter,serial,passed,failed,cancelled\n"
                                     "2026-03-01T09:00:00.000Z,Orlin Dual,SN-A,3,0,0\n"
                                     "2026-03-02T10:00:00.000Z,Orlin Dual,SN-?B??,1,1,0\n"
                                     "2026-03-03T11:00:00.000Z,Orlin Dual,\"SN,\"\"C\"\"\",1,1,1\n"));
    }
    QCOMPARE(err, QString());

    // The table: a heading and a row per record; a file that is no record
    // is named and left out.
    out.clear();
    const QString notARecord = dir.filePath(QStringLiteral("notes.json"));
    QFile(notARecord).open(QIODevice::WriteOnly);
    QCOMPARE(TvRunReport::run(files + QStringList{notARecord}, outStream, errStream), 1);
    outStream.flush();
    errStream.flush();
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(QRegularExpression("^2026-03-01T09:00:00.000Z +Orlin Dual +SN-A +3 +0 +0$").match(lines[1]).hasMatch());
    QCOMPARE(err, "RUN_REPORT_NOT_A_RECORD " + notARecord + '\n');
    QCOMPARE(TvRunReport::run({}, outStream, errStream), 2);

    // A pile beyond one batch in memory goes through sorted temporary
    // files, merged in rounds, and comes out as from one sort in memory.
    TvRunReportTable batched(1), inMemory(1 << 20);
    for (int i = 0; i < 300; ++i) {
        const TvRunReportTable::Row row{QString("2026-%1").arg(i * 7919 % 100, 3, 10, QChar('0')), "A",
                                        QString::number(i % 7), i % 5, i % 2, 0};
        batched.add(row);
        inMemory.add(row);
    }
    QString merged, sorted;
    QTextStream mergedStream(&merged), sortedStream(&sorted);
    batched.writeCsv(mergedStream);
    inMemory.writeCsv(sortedStream);
    mergedStream.flush();
    sortedStream.flush();
    QCOMPARE(merged.count('\n'), 301);
    QCOMPARE(merged, sorted);
}

void TestUiRecords::reportNamesAndLeavesOutWhatIsNoRecord()
{
    // Each is refused at once, named with its reason, and costs no more
    // than a record would: a FIFO would block, a device never end, and a
    // count that is not a plain non-negative whole number would read as 0.
    QTemporaryDir dir;
    TvRunRecord record;
    record.start = QDateTime::fromString("2026-03-01T09:00:00Z", Qt::ISODate);
    const QJsonObject good = record.toJson();
    const QString fifo = dir.filePath("fifo.json");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = dir.filePath("huge.json");
    QFile(huge).open(QIODevice::WriteOnly);
    QVERIFY(QFile(huge).resize(TvRunReport::MaxRecordBytes + 1));
    QStringList refused = {fifo, "/dev/zero", huge};
    QStringList expected = {"RUN_REPORT_UNREADABLE " + fifo + " RUN_REPORT_NOT_A_REGULAR_FILE",
                            "RUN_REPORT_UNREADABLE /dev/zero RUN_REPORT_NOT_A_REGULAR_FILE",
                            "RUN_REPORT_UNREADABLE " + huge + " RUN_REPORT_TOO_LARGE 128"};
    const QJsonValue badCounts[] = {"3", -1, 1.5, QJsonValue::Null, 3e10, QJsonValue::Undefined};
    for (const QJsonValue &count : badCounts) {
        QJsonObject bad = good;
        QJsonObject counts = bad["counts"].toObject();
        if (count.isUndefined())
            counts.remove("failed");
        else
            counts["failed"] = count;
        bad["counts"] = counts;
        const QString path = dir.filePath(QString("count%1.json").arg(refused.size()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(bad).toJson()) > 0);
        refused << path;
        expected << "RUN_REPORT_NOT_A_RECORD " + path;
    }
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(TvRunReport::run(QStringList{"--csv"} + refused, outStream, errStream), 1);
    errStream.flush();
    QCOMPARE(err.split('\n', Qt::SkipEmptyParts), expected);
}

QTEST_MAIN(TestUiRecords)
#include "test_ui_records.moc"
