#pragma once
#include "TvRunReportTable.h"

#include <QString>
#include <QStringList>

class QTextStream;

// What a bench supervisor reads from a pile of run records: one row per
// record with its start, adapter, serial number and the counts of passed,
// failed and cancelled sub-tests, as an aligned text table or as CSV.
class TvRunReport
{
public:
    // The command: nicdiag-report [--csv] <record.json | directory>...
    // (arguments without the program's name); a directory stands for every
    // "*.json" file in it, which also passes piles beyond the command
    // line's limit. Records are read one at a time and only their rows are
    // kept. Rows go to `out`, a line per file that is left out to `err`.
    // Returns 0 when every file was read, 1 when one was left out, 2 for a
    // usage error (the usage text on `err`).
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

    using Row = TvRunReportTable::Row;
    enum ReadResult { Read, Unreadable, NotARecord };
    // Reads one JSON run record. Only a regular file is read (a FIFO would
    // block, a device may never end), and only up to MaxRecordBytes. For a
    // file that is refused or cannot be read, *errorText receives the
    // reason. A record whose counts are not non-negative whole numbers is
    // no record of this program.
    static ReadResult readRow(const QString &path, Row *row, QString *errorText);

    // Qt's JSON reader takes no larger document.
    static constexpr qint64 MaxRecordBytes = 128 * 1024 * 1024;

private:
    // Reads a record, or every record of a directory, into `table`; false
    // when anything was left out (told on `err`).
    static bool readPath(const QString &path, TvRunReportTable *table, QTextStream &err);
    static bool readDirectory(const QString &path, TvRunReportTable *table, QTextStream &err);
    static bool readFile(const QString &path, TvRunReportTable *table, QTextStream &err);
    static ReadResult rowFromJson(const QByteArray &bytes, Row *row);
};
