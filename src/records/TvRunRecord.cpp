#include "TvRunRecord.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace {

const char *const ResultNames[] = {"passed", "failed", "cancelled", "notRun"};

// Not a number or infinite: JSON has no word for it but null.
QJsonValue number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue textOrNull(const QString &text)
{
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QString sensorTypeName(int type)
{
    switch (type) {
    case 0:
        return QStringLiteral("voltage");
    case 1:
        return QStringLiteral("temperature");
    case 2:
        return QStringLiteral("fan");
    default:
        return QStringLiteral("other");
    }
}

bool keptInName(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
           || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.')
           || c == QLatin1Char('_') || c == QLatin1Char('-');
}

} // namespace

TvRunRecord::Counts TvRunRecord::counts() const
{
    Counts c;
    for (const TestCase &t : testCases) {
        for (const SubTest &s : t.subTests) {
            switch (s.result) {
            case Passed:
                ++c.passed;
                break;
            case Failed:
                ++c.failed;
                break;
            case Cancelled:
                ++c.cancelled;
                break;
            case NotRun:
                ++c.notRun;
                break;
            }
        }
    }
    return c;
}

TvRunRecord::Result TvRunRecord::result() const
{
    if (cancelled)
        return Cancelled;
    return counts().failed > 0 ? Failed : Passed;
}

int TvRunRecord::passes() const
{
    int n = 0;
    for (const TestCase &t : testCases)
        n += t.number == testCases.first().number ? 1 : 0;
    return n;
}

void TvRunRecord::addSensorReading(int index, const QString &name, int type, double value)
{
    while (sensors.size() <= index)
        sensors.append(Sensor());
    Sensor &s = sensors[index];
    s.name = name;
    s.type = type;
    ++s.samples;
    s.last = value;
    if (!std::isfinite(value))
        return;
    s.minimum = s.finiteSamples == 0 ? value : std::min(s.minimum, value);
    s.maximum = s.finiteSamples == 0 ? value : std::max(s.maximum, value);
    ++s.finiteSamples;
}

QString TvRunRecord::resultName(Result result)
{
    return QLatin1String(ResultNames[result]);
}

QString TvRunRecord::answerName(int code)
{
    static const char *const names[] = {"none", "ok",    "cancel", "yes",
                                        "no",   "abort", "retry",  "ignore"};
    return code >= 0 && code < 8 ? QLatin1String(names[code]) : QStringLiteral("none");
}

QString TvRunRecord::isoTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QString TvRunRecord::hexId(quint32 id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')).toUpper();
}

QString TvRunRecord::fileBaseName() const
{
    QString serial;
    for (const QChar c : adapter.serialNumber) {
        if (keptInName(c) && serial.size() < MaxSerialInName)
            serial.append(c);
    }
    // A serial number of nothing but punctuation names no adapter.
    const bool named = std::any_of(serial.begin(), serial.end(),
                                   [](QChar c) { return c.isLetterOrNumber(); });
    const QString who = named ? serial : QStringLiteral("%1-%2").arg(adapter.bus).arg(adapter.device);
    return start.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")) + QLatin1Char('-') + who;
}

QJsonObject TvRunRecord::toJson() const
{
    QJsonArray cases;
    for (const TestCase &t : testCases)
        cases.append(testCaseJson(t));
    QJsonArray asked;
    for (const Question &q : questions)
        asked.append(QJsonObject{{QStringLiteral("time"), isoTime(q.time)},
                                 {QStringLiteral("text"), q.text},
                                 {QStringLiteral("answer"), answerName(q.answer)},
                                 {QStringLiteral("answerCode"), q.answer}});
    QJsonArray sensorList;
    for (const Sensor &s : sensors)
        sensorList.append(sensorJson(s));
    return QJsonObject{
        {QStringLiteral("format"), QStringLiteral("nicdiag-run-record")},
        {QStringLiteral("formatVersion"), FormatVersion},
        {QStringLiteral("program"), QJsonObject{{QStringLiteral("name"), programName},
                                                {QStringLiteral("version"), programVersion}}},
        {QStringLiteral("host"), host},
        {QStringLiteral("kind"), kind},
        {QStringLiteral("start"), isoTime(start)},
        {QStringLiteral("end"), isoTime(end)},
        {QStringLiteral("result"), resultName(result())},
        {QStringLiteral("looped"), looped},
        {QStringLiteral("passes"), passes()},
        {QStringLiteral("counts"), countsJson()},
        {QStringLiteral("adapter"), adapterJson()},
        {QStringLiteral("testCases"), cases},
        {QStringLiteral("questions"), asked},
        {QStringLiteral("sensors"), sensorList},
        {QStringLiteral("log"), QJsonArray::fromStringList(log)},
    };
}

QJsonObject TvRunRecord::adapterJson() const
{
    return QJsonObject{
        {QStringLiteral("bus"), adapter.bus},
        {QStringLiteral("device"), adapter.device},
        {QStringLiteral("slot"), adapter.slot},
        {QStringLiteral("vendorId"), hexId(adapter.vendorId)},
        {QStringLiteral("deviceId"), hexId(adapter.deviceId)},
        {QStringLiteral("subsystemVendorId"), hexId(adapter.subsystemVendorId)},
        {QStringLiteral("subsystemId"), hexId(adapter.subsystemId)},
        {QStringLiteral("name"), adapter.name},
        {QStringLiteral("serialNumber"), textOrNull(adapter.serialNumber)},
        {QStringLiteral("partNumber"), textOrNull(adapter.partNumber)},
    };
}

QJsonObject TvRunRecord::testCaseJson(const TestCase &testCase)
{
    QJsonArray subTests;
    for (const SubTest &s : testCase.subTests)
        subTests.append(subTestJson(s));
    return QJsonObject{{QStringLiteral("number"), testCase.number},
                       {QStringLiteral("name"), testCase.name},
                       {QStringLiteral("pass"), testCase.pass},
                       {QStringLiteral("subTests"), subTests}};
}

QJsonObject TvRunRecord::subTestJson(const SubTest &subTest)
{
    return QJsonObject{
        {QStringLiteral("number"), subTest.number},
        {QStringLiteral("label"), subTest.label},
        {QStringLiteral("selected"), subTest.selected},
        {QStringLiteral("result"), resultName(subTest.result)},
        {QStringLiteral("resultText"), subTest.resultText},
        {QStringLiteral("coreText"), subTest.coreText},
        {QStringLiteral("progress"), subTest.progress},
        {QStringLiteral("start"),
         subTest.start.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(isoTime(subTest.start))},
        {QStringLiteral("seconds"), subTest.seconds},
    };
}

QJsonObject TvRunRecord::sensorJson(const Sensor &sensor)
{
    const bool any = sensor.finiteSamples > 0;
    return QJsonObject{
        {QStringLiteral("name"), sensor.name},
        {QStringLiteral("type"), sensorTypeName(sensor.type)},
        {QStringLiteral("samples"), sensor.samples},
        {QStringLiteral("minimum"), any ? number(sensor.minimum) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("maximum"), any ? number(sensor.maximum) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("last"), sensor.samples > 0 ? number(sensor.last) : QJsonValue(QJsonValue::Null)},
    };
}

QJsonObject TvRunRecord::countsJson() const
{
    const Counts c = counts();
    return QJsonObject{{QStringLiteral("passed"), c.passed},
                       {QStringLiteral("failed"), c.failed},
                       {QStringLiteral("cancelled"), c.cancelled},
                       {QStringLiteral("notRun"), c.notRun}};
}
