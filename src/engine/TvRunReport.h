#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

// What a bench supervisor reads from a pile of run records: one row per
// record with its start, adapter, serial number and the counts of passed,
// failed and cancelled sub-tests, as an aligned text table or as CSV.
class TvRunReport
{
public:
    // The command: nicdiag-report [--csv] <record.json>... (arguments
    // without the program's name). Rows go to `out`, a line per file that
    // is left out to `err`. Returns 0 when every file was read, 1 when one
    // was left out, 2 for a usage error (the usage text on `err`).
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

    struct Row {
        QString date; // the record's start, ISO 8601 UTC
        QString adapter;
        QString serial;
        int passed = 0;
        int failed = 0;
        int cancelled = 0;
    };

    enum ReadResult { Read, Unreadable, NotARecord };
    // Reads one JSON run record; for a file that cannot be read, *errorText
    // receives the system's reason.
    static ReadResult readRow(const QString &path, Row *row, QString *errorText);
    // Rows in the order of their dates (rows of one date keep their order).
    static void sortByDate(QList<Row> *rows);

    // Both forms keep the texts of a record to one printable line (control
    // characters become "?", line breaks and tabs blanks).
    // Columns padded to their widest cell, counts right-aligned. `headers`
    // are the six column titles.
    static QString table(const QList<Row> &rows, const QStringList &headers);
    // "date,adapter,serial,passed,failed,cancelled" and one line per row; a
    // field holding a comma or a double quote is quoted.
    static QString csv(const QList<Row> &rows);

    // Larger files are no run records of this program.
    static constexpr qint64 MaxRecordBytes = 512 * 1024 * 1024;

private:
    static QStringList cells(const Row &row);
};
