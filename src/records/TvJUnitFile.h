#pragma once
#include <QByteArray>
#include <QString>

class QXmlStreamWriter;
class TvRunRecord;

// A run record as the JUnit XML that CI servers read: one testsuite per
// test case pass, one testcase per sub-test with its time; a failed
// sub-test carries a failure with its result text, a cancelled one an
// error, and an unticked or unreached one is skipped ("notSelected",
// "notRun"). The counts of each suite and of the whole file follow them.
class TvJUnitFile
{
public:
    static QByteArray toXml(const TvRunRecord &record);

    // XML 1.0 cannot carry most control characters (not even escaped), nor
    // unpaired surrogates: each becomes U+FFFD.
    static QString xmlSafe(const QString &text);

private:
    static void writeSuite(QXmlStreamWriter &xml, const TvRunRecord &record, int index);
    static void writeProperties(QXmlStreamWriter &xml, const TvRunRecord &record, int index);
};
