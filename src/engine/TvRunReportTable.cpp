#include "TvRunReportTable.h"

#include "text/TvControlText.h"

#include <QTextStream>

#include <algorithm>
#include <cstring>

namespace {

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

void TvRunReportTable::add(const Row &row)
{
    // Texts from an adapter may hold control characters or bidirectional
    // controls: printed as they are, they could drive the terminal, split a
    // row or reorder it.
    const QString dateText = TvControlText::terminalLine(row.date);
    const QByteArray date = dateText.toUtf8();
    Entry entry{dates.size(), date.size(), intern(row.adapter), intern(row.serial),
                {row.passed, row.failed, row.cancelled}};
    dates.append(date);
    entries.push_back(entry);
    widen(0, dateText.size());
    widen(1, texts[entry.adapter].size());
    widen(2, texts[entry.serial].size());
    for (int c = 0; c < Columns - TextColumns; ++c)
        widen(TextColumns + c, QString::number(entry.counts[size_t(c)]).size());
}

quint32 TvRunReportTable::intern(const QString &raw)
{
    // Records of one bench share a few adapter names, and an adapter's
    // serial number comes back with each of its runs. The list and the
    // index share one copy of each text.
    const QString text = TvControlText::terminalLine(raw);
    const auto found = textNumbers.constFind(text);
    if (found != textNumbers.constEnd())
        return found.value();
    const quint32 number = quint32(texts.size());
    texts.push_back(text);
    textNumbers.insert(text, number);
    return number;
}

void TvRunReportTable::widen(int column, int width)
{
    widths[size_t(column)] = std::max(widths[size_t(column)], width);
}

QString TvRunReportTable::date(const Entry &entry) const
{
    return QString::fromUtf8(dates.constData() + entry.dateOffset, entry.dateSize);
}

bool TvRunReportTable::before(const Entry &a, const Entry &b) const
{
    // ISO 8601 dates in UTC sort as text; UTF-8 bytes sort as code points.
    const int common = std::min(a.dateSize, b.dateSize);
    const int byDate = std::memcmp(dates.constData() + a.dateOffset, dates.constData() + b.dateOffset,
                                   size_t(common));
    if (byDate != 0 || a.dateSize != b.dateSize)
        return byDate != 0 ? byDate < 0 : a.dateSize < b.dateSize;
    if (a.adapter != b.adapter)
        return texts[a.adapter] < texts[b.adapter];
    if (a.serial != b.serial)
        return texts[a.serial] < texts[b.serial];
    return a.counts < b.counts;
}

void TvRunReportTable::sort()
{
    std::sort(entries.begin(), entries.end(),
              [this](const Entry &a, const Entry &b) { return before(a, b); });
}

std::array<QString, TvRunReportTable::Columns> TvRunReportTable::cells(const Entry &entry) const
{
    return {date(entry), texts[entry.adapter], texts[entry.serial], QString::number(entry.counts[0]),
            QString::number(entry.counts[1]), QString::number(entry.counts[2])};
}

void TvRunReportTable::writeTable(QTextStream &out, const QStringList &headers) const
{
    std::array<int, Columns> columnWidths = widths;
    std::array<QString, Columns> titles;
    for (int c = 0; c < Columns && c < headers.size(); ++c) {
        titles[size_t(c)] = headers.at(c);
        columnWidths[size_t(c)] = std::max(columnWidths[size_t(c)], headers.at(c).size());
    }
    const auto writeLine = [&](const std::array<QString, Columns> &line) {
        QString text;
        for (int c = 0; c < Columns; ++c) {
            if (c > 0)
                text += QLatin1String("  ");
            const int width = columnWidths[size_t(c)];
            text += c < TextColumns ? line[size_t(c)].leftJustified(width)
                                    : line[size_t(c)].rightJustified(width);
        }
        out << text << '\n';
    };
    writeLine(titles);
    for (const Entry &entry : entries)
        writeLine(cells(entry));
}

void TvRunReportTable::writeCsv(QTextStream &out) const
{
    out << "date,adapter,serial,passed,failed,cancelled\n";
    for (const Entry &entry : entries) {
        const std::array<QString, Columns> fields = cells(entry);
        QString line;
        for (int c = 0; c < Columns; ++c)
            line += (c > 0 ? QLatin1String(",") : QLatin1String()) + csvField(fields[size_t(c)]);
        out << line << '\n';
    }
}
