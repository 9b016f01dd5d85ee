#include "TvJUnitFile.h"
#include "TvRunRecord.h"

#include <QXmlStreamWriter>

namespace {

struct SuiteCounts {
    int tests = 0;
    int failures = 0;
    int errors = 0;
    int skipped = 0;
    double seconds = 0;

    void add(const TvRunRecord::SubTest &s)
    {
        ++tests;
        failures += s.result == TvRunRecord::Failed ? 1 : 0;
        errors += s.result == TvRunRecord::Cancelled ? 1 : 0;
        skipped += s.result == TvRunRecord::NotRun ? 1 : 0;
        seconds += s.seconds;
    }
};

SuiteCounts countsOf(const TvRunRecord::TestCase &testCase)
{
    SuiteCounts c;
    for (const TvRunRecord::SubTest &s : testCase.subTests)
        c.add(s);
    return c;
}

QString secondsText(double seconds)
{
    return QString::number(seconds, 'f', 3);
}

void writeCounts(QXmlStreamWriter &xml, const SuiteCounts &c)
{
    xml.writeAttribute(QStringLiteral("tests"), QString::number(c.tests));
    xml.writeAttribute(QStringLiteral("failures"), QString::number(c.failures));
    xml.writeAttribute(QStringLiteral("errors"), QString::number(c.errors));
    xml.writeAttribute(QStringLiteral("skipped"), QString::number(c.skipped));
    xml.writeAttribute(QStringLiteral("time"), secondsText(c.seconds));
}

void attribute(QXmlStreamWriter &xml, const QString &name, const QString &value)
{
    xml.writeAttribute(name, TvJUnitFile::xmlSafe(value));
}

void writeOutcome(QXmlStreamWriter &xml, const TvRunRecord::SubTest &s)
{
    switch (s.result) {
    case TvRunRecord::Passed:
        return;
    case TvRunRecord::Failed:
    case TvRunRecord::Cancelled:
        xml.writeStartElement(s.result == TvRunRecord::Failed ? QStringLiteral("failure")
                                                              : QStringLiteral("error"));
        attribute(xml, QStringLiteral("type"), TvRunRecord::resultName(s.result));
        attribute(xml, QStringLiteral("message"), s.resultText);
        xml.writeCharacters(TvJUnitFile::xmlSafe(s.coreText));
        xml.writeEndElement();
        return;
    case TvRunRecord::NotRun:
        xml.writeEmptyElement(QStringLiteral("skipped"));
        xml.writeAttribute(QStringLiteral("message"), s.selected ? QStringLiteral("notRun")
                                                                 : QStringLiteral("notSelected"));
        return;
    }
}

void property(QXmlStreamWriter &xml, const char *name, const QString &value)
{
    xml.writeEmptyElement(QStringLiteral("property"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(name));
    attribute(xml, QStringLiteral("value"), value);
}

} // namespace

QString TvJUnitFile::xmlSafe(const QString &text)
{
    QString safe = text;
    for (int i = 0; i < safe.size(); ++i) {
        const ushort u = safe.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < safe.size() && safe.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        const bool control = u < 0x20 && u != '\t' && u != '\n' && u != '\r';
        if (control || QChar::isSurrogate(u) || u == 0xFFFE || u == 0xFFFF)
            safe[i] = QChar::ReplacementCharacter;
    }
    return safe;
}

QByteArray TvJUnitFile::toXml(const TvRunRecord &record)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    attribute(xml, QStringLiteral("name"), record.programName);
    SuiteCounts all;
    for (const TvRunRecord::TestCase &t : record.testCases) {
        for (const TvRunRecord::SubTest &s : t.subTests)
            all.add(s);
    }
    writeCounts(xml, all);
    xml.writeAttribute(QStringLiteral("timestamp"), TvRunRecord::isoTime(record.start));
    for (int i = 0; i < record.testCases.size(); ++i)
        writeSuite(xml, record, i);
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

void TvJUnitFile::writeSuite(QXmlStreamWriter &xml, const TvRunRecord &record, int index)
{
    const TvRunRecord::TestCase &t = record.testCases.at(index);
    // Passes of one test case keep apart in a CI server's view by name.
    const QString name = record.passes() > 1 || t.pass > 1
                             ? QStringLiteral("%1 #%2").arg(t.name).arg(t.pass)
                             : t.name;
    xml.writeStartElement(QStringLiteral("testsuite"));
    attribute(xml, QStringLiteral("name"), name);
    xml.writeAttribute(QStringLiteral("id"), QString::number(index));
    attribute(xml, QStringLiteral("hostname"), record.host);
    const QDateTime start = t.subTests.isEmpty() ? QDateTime() : t.subTests.first().start;
    xml.writeAttribute(QStringLiteral("timestamp"),
                       TvRunRecord::isoTime(start.isNull() ? record.start : start));
    writeCounts(xml, countsOf(t));
    writeProperties(xml, record, index);
    for (const TvRunRecord::SubTest &s : t.subTests) {
        xml.writeStartElement(QStringLiteral("testcase"));
        attribute(xml, QStringLiteral("name"), s.label);
        attribute(xml, QStringLiteral("classname"), name);
        xml.writeAttribute(QStringLiteral("time"), secondsText(s.seconds));
        writeOutcome(xml, s);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void TvJUnitFile::writeProperties(QXmlStreamWriter &xml, const TvRunRecord &record, int index)
{
    const TvRunRecord::TestCase &t = record.testCases.at(index);
    const TvRunRecord::Adapter &a = record.adapter;
    xml.writeStartElement(QStringLiteral("properties"));
    property(xml, "testCase", QString::number(t.number));
    property(xml, "pass", QString::number(t.pass));
    property(xml, "adapter", a.name);
    property(xml, "busDevice", QStringLiteral("%1-%2").arg(a.bus).arg(a.device));
    if (!a.serialNumber.isNull())
        property(xml, "serialNumber", a.serialNumber);
    if (!a.partNumber.isNull())
        property(xml, "partNumber", a.partNumber);
    xml.writeEndElement();
}
