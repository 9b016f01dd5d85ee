#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The export file of the configuration tab: one line of semicolon-separated
// fields per export, appended, in UTF-8, so that a spreadsheet opens it as
// a table with one row per export.
class TvConfigExport
{
public:
    // "<files text> (*.csv *.txt)": one pattern per configured extension;
    // an extension without its dot gets one. No extensions: "<text> ()".
    static QString filter(const QString &filesText, const QStringList &extensions);

    // The name as chosen when any extension occurs in it anywhere (also in
    // a directory name); otherwise with the first extension appended. An
    // empty list leaves every name as it is.
    static QString withExtension(const QString &name, const QStringList &extensions);

    // Every field followed by ";", then a line feed. A field holding ";",
    // a double quote or a line break is quoted, its quotes doubled, so
    // that it stays one field.
    static QByteArray line(const QStringList &fields);

    // Appends `bytes` to the file, creating it. Either every byte reached
    // the file, or the file is cut back to its size before (no half line)
    // and *errorText holds the system's reason.
    static bool append(const QString &fileName, const QByteArray &bytes, QString *errorText);
};
