#pragma once
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// One test run as a production line files it: the adapter, every test case
// pass with its sub-tests, the operator's answers, the sensors' range and
// the run's log lines. Plain data; the window's recorder fills it from the
// events it already handles, and it is written as JSON (described by
// data/run-record.schema.json) and as a JUnit file when the run ends.
class TvRunRecord
{
public:
    enum Result { Passed, Failed, Cancelled, NotRun };

    struct SubTest {
        int number = 0;
        QString label;
        // Ticked when the pass began; an unticked row is reported skipped.
        bool selected = false;
        Result result = NotRun;
        // The row's text when it ended, and the core's own last text for it.
        QString resultText;
        QString coreText;
        int progress = 0;
        QDateTime start; // null when it never started
        double seconds = 0;
    };
    // One pass of a test case: a looped case or an all-tests run makes
    // several, numbered from 1.
    struct TestCase {
        int number = 0;
        QString name;
        int pass = 1;
        QList<SubTest> subTests;
    };
    struct Question {
        QDateTime time;
        QString text;
        int answer = 0; // a button code of the dialog seam
    };
    // Only finite readings count for the minimum and maximum.
    struct Sensor {
        QString name;
        int type = 0;
        int samples = 0;
        int finiteSamples = 0;
        double minimum = 0;
        double maximum = 0;
        double last = 0;
    };
    struct Adapter {
        int bus = -1;
        int device = -1;
        int slot = -1;
        quint32 vendorId = 0;
        quint32 deviceId = 0;
        quint32 subsystemVendorId = 0;
        quint32 subsystemId = 0;
        QString name;
        // Null when the adapter's VPD does not hold them.
        QString serialNumber;
        QString partNumber;
    };
    struct Counts {
        int passed = 0;
        int failed = 0;
        int cancelled = 0;
        int notRun = 0;
    };

    static constexpr int FormatVersion = 1;

    QString programName;
    QString programVersion;
    QString host;
    // "testCase", "allTests" or "connectivity".
    QString kind;
    QDateTime start;
    QDateTime end;
    bool looped = false;
    bool cancelled = false;
    Adapter adapter;
    QList<TestCase> testCases;
    QList<Question> questions;
    QList<Sensor> sensors;
    QStringList log;

    Counts counts() const;
    // Cancelled when the run was cancelled, else failed when any sub-test
    // failed, else passed.
    Result result() const;
    // Passes of the run: how often its first test case was started.
    int passes() const;
    void addSensorReading(int index, const QString &name, int type, double value);

    QJsonObject toJson() const;
    // "<UTC start, yyyyMMddTHHmmssZ>-<serial number or bus-device>"; only
    // letters, digits, "." , "_" and "-" of a serial number are kept, and
    // at most MaxSerialInName of them.
    QString fileBaseName() const;

    static QString resultName(Result result);
    static QString answerName(int code);
    static QString isoTime(const QDateTime &time);
    static QString hexId(quint32 id);
    static constexpr int MaxSerialInName = 32;

private:
    QJsonObject adapterJson() const;
    static QJsonObject testCaseJson(const TestCase &testCase);
    static QJsonObject subTestJson(const SubTest &subTest);
    static QJsonObject sensorJson(const Sensor &sensor);
    QJsonObject countsJson() const;
};
