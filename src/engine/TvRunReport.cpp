#include "TvRunReport.h"

#include "description/TvPrintable.h"
#include "text/TvText.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int CountColumns = 3;
const char *const Context = "TvRunReport";

QString text(const char *key)
{
    return TvText::translate(Context, key);
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool isRecord(const QJsonObject &json)
{
    return json.value(QLatin1String("format")).toString() == QLatin1String("nicdiag-run-record")
           && json.value(QLatin1String("counts")).isObject()
           && json.value(QLatin1String("adapter")).isObject();
}

} // namespace

TvRunReport::ReadResult TvRunReport::readRow(const QString &path, Row *row, QString *errorText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *errorText = file.errorString();
        return Unreadable;
    }
    if (file.size() > MaxRecordBytes)
        return NotARecord;
    QJsonParseError parseError{};
    const QJsonObject json = QJsonDocument::fromJson(file.readAll(), &parseError).object();
    if (parseError.error != QJsonParseError::NoError || !isRecord(json))
        return NotARecord;
    const QJsonObject adapter = json.value(QLatin1String("adapter")).toObject();
    const QJsonObject counts = json.value(QLatin1String("counts")).toObject();
    row->date = json.value(QLatin1String("start")).toString();
    row->adapter = adapter.value(QLatin1String("name")).toString();
    row->serial = adapter.value(QLatin1String("serialNumber")).toString();
    row->passed = counts.value(QLatin1String("passed")).toInt();
    row->failed = counts.value(QLatin1String("failed")).toInt();
    row->cancelled = counts.value(QLatin1String("cancelled")).toInt();
    return Read;
}

void TvRunReport::sortByDate(QList<Row> *rows)
{
    std::stable_sort(rows->begin(), rows->end(),
                     [](const Row &a, const Row &b) { return a.date < b.date; });
}

QStringList TvRunReport::cells(const Row &row)
{
    // Texts from an adapter may hold control characters: printed as they
    // are, they could drive the terminal or split a row.
    return {TvPrintable::line(row.date), TvPrintable::line(row.adapter),
            TvPrintable::line(row.serial), QString::number(row.passed),
            QString::number(row.failed), QString::number(row.cancelled)};
}

QString TvRunReport::table(const QList<Row> &rows, const QStringList &headers)
{
    QList<QStringList> lines{headers};
    for (const Row &row : rows)
        lines.append(cells(row));
    QVector<int> widths(headers.size(), 0);
    for (const QStringList &line : lines) {
        for (int c = 0; c < line.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], line.at(c).size());
    }
    QString out;
    for (const QStringList &line : lines) {
        QStringList padded;
        for (int c = 0; c < line.size() && c < widths.size(); ++c) {
            const bool count = c >= widths.size() - CountColumns;
            padded.append(count ? line.at(c).rightJustified(widths[c])
                                : line.at(c).leftJustified(widths[c]));
        }
        out += padded.join(QLatin1String("  ")) + QLatin1Char('\n');
    }
    return out;
}

QString TvRunReport::csv(const QList<Row> &rows)
{
    QString out = QStringLiteral("date,adapter,serial,passed,failed,cancelled\n");
    for (const Row &row : rows) {
        QStringList fields;
        for (const QString &cell : cells(row))
            fields.append(csvField(cell));
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

int TvRunReport::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    bool asCsv = false;
    QStringList files;
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
            files.clear();
            break;
        } else {
            files.append(argument);
        }
    }
    if (files.isEmpty()) {
        err << text("RUN_REPORT_USAGE") << '\n';
        return 2;
    }
    QList<Row> rows;
    int status = 0;
    for (const QString &file : files) {
        Row row;
        QString reason;
        switch (readRow(file, &row, &reason)) {
        case Read:
            rows.append(row);
            continue;
        case Unreadable:
            err << TvPrintable::line(text("RUN_REPORT_UNREADABLE %1 %2").arg(file, reason)) << '\n';
            break;
        case NotARecord:
            err << TvPrintable::line(text("RUN_REPORT_NOT_A_RECORD %1").arg(file)) << '\n';
            break;
        }
        status = 1;
    }
    sortByDate(&rows);
    out << (asCsv ? csv(rows)
                  : table(rows, {text("RUN_REPORT_DATE"), text("RUN_REPORT_ADAPTER"),
                                 text("RUN_REPORT_SERIAL"), text("RUN_REPORT_PASSED"),
                                 text("RUN_REPORT_FAILED"), text("RUN_REPORT_CANCELLED")}));
    return status;
}
