#include "TvRunReport.h"

#include "platform/TvPlatform.h"
#include "text/TvControlText.h"
#include "text/TvText.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace {

const char *const Context = "TvRunReport";

QString text(const char *key)
{
    return TvText::translate(Context, key);
}

bool isRecord(const QJsonObject &json)
{
    return json.value(QLatin1String("format")).toString() == QLatin1String("nicdiag-run-record")
           && json.value(QLatin1String("counts")).isObject()
           && json.value(QLatin1String("adapter")).isObject();
}

// A count is a plain non-negative whole number; anything else (a text, a
// fraction, a negative number, null) would otherwise read as 0.
bool readCount(const QJsonObject &counts, const char *name, int *count)
{
    const QJsonValue value = counts.value(QLatin1String(name));
    const double number = value.toDouble(-1);
    if (!value.isDouble() || !(number >= 0 && number <= INT_MAX) || std::floor(number) != number)
        return false;
    *count = int(number);
    return true;
}

QString tooLarge()
{
    return text("RUN_REPORT_TOO_LARGE %1").arg(TvRunReport::MaxRecordBytes / (1024 * 1024));
}

QString refusal(int fd, qint64 size, int error)
{
    if (fd < 0 && error == TvPlatform::NotRegularFile)
        return text("RUN_REPORT_NOT_A_REGULAR_FILE");
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(error));
    return size > TvRunReport::MaxRecordBytes ? tooLarge() : QString();
}

} // namespace

TvRunReport::ReadResult TvRunReport::readRow(const QString &path, Row *row, QString *errorText)
{
    qint64 size = 0;
    int error = 0;
    const int fd = TvPlatform::openRegularFile(path, &size, &error);
    *errorText = refusal(fd, size, error);
    if (!errorText->isEmpty()) {
        if (fd >= 0)
            ::close(fd);
        return Unreadable;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *errorText = file.errorString();
        ::close(fd);
        return Unreadable;
    }
    // A file that grew after its size was taken is read no further than
    // the limit.
    const QByteArray bytes = file.read(std::min(size, MaxRecordBytes) + 1);
    if (bytes.size() > MaxRecordBytes) {
        *errorText = tooLarge();
        return Unreadable;
    }
    return rowFromJson(bytes, row);
}

TvRunReport::ReadResult TvRunReport::rowFromJson(const QByteArray &bytes, Row *row)
{
    QJsonParseError parseError{};
    const QJsonObject json = QJsonDocument::fromJson(bytes, &parseError).object();
    if (parseError.error != QJsonParseError::NoError || !isRecord(json))
        return NotARecord;
    const QJsonObject counts = json.value(QLatin1String("counts")).toObject();
    if (!readCount(counts, "passed", &row->passed) || !readCount(counts, "failed", &row->failed)
        || !readCount(counts, "cancelled", &row->cancelled))
        return NotARecord;
    const QJsonObject adapter = json.value(QLatin1String("adapter")).toObject();
    row->date = json.value(QLatin1String("start")).toString();
    row->adapter = adapter.value(QLatin1String("name")).toString();
    row->serial = adapter.value(QLatin1String("serialNumber")).toString();
    return Read;
}

bool TvRunReport::readFile(const QString &path, TvRunReportTable *table, QTextStream &err)
{
    Row row;
    QString reason;
    switch (readRow(path, &row, &reason)) {
    case Read:
        table->add(row);
        return true;
    case Unreadable:
        err << TvControlText::terminalLine(text("RUN_REPORT_UNREADABLE %1 %2").arg(path, reason)) << '\n';
        return false;
    case NotARecord:
        err << TvControlText::terminalLine(text("RUN_REPORT_NOT_A_RECORD %1").arg(path)) << '\n';
        return false;
    }
    return false;
}

bool TvRunReport::readDirectory(const QString &path, TvRunReportTable *table, QTextStream &err)
{
    // One entry at a time, not a list of every name first. FIFOs and
    // devices named like a record are listed too, to be named and refused.
    QDirIterator entries(path, {QStringLiteral("*.json")}, QDir::Files | QDir::System);
    bool complete = true;
    while (entries.hasNext())
        complete = readFile(entries.next(), table, err) && complete;
    return complete;
}

bool TvRunReport::readPath(const QString &path, TvRunReportTable *table, QTextStream &err)
{
    if (QFileInfo(path).isDir())
        return readDirectory(path, table, err);
    return readFile(path, table, err);
}

int TvRunReport::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    bool asCsv = false;
    QStringList paths;
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument == QLatin1String("--csv")) {
            asCsv = true;
        } else if (options && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            out << text("RUN_REPORT_USAGE") << '\n';
            return 0;
        } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            paths.clear();
            break;
        } else {
            paths.append(argument);
        }
    }
    if (paths.isEmpty()) {
        err << text("RUN_REPORT_USAGE") << '\n';
        return 2;
    }
    TvRunReportTable table;
    bool complete = true;
    for (const QString &path : paths)
        complete = readPath(path, &table, err) && complete;
    if (asCsv)
        table.writeCsv(out);
    else
        table.writeTable(out, {text("RUN_REPORT_DATE"), text("RUN_REPORT_ADAPTER"), text("RUN_REPORT_SERIAL"),
                               text("RUN_REPORT_PASSED"), text("RUN_REPORT_FAILED"),
                               text("RUN_REPORT_CANCELLED")});
    return complete ? 0 : 1;
}
