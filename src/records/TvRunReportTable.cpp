#include "TvRunReportTable.h"

#include "text/TvControlText.h"

#include <QDataStream>
#include <QDir>
#include <QTemporaryFile>
#include <QTextStream>

#include <algorithm>
#include <queue>
#include <tuple>

namespace {

using Row = TvRunReportTable::Row;

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QDataStream &operator<<(QDataStream &stream, const Row &row)
{
    return stream << row.date << row.adapter << row.serial << qint32(row.passed) << qint32(row.failed)
                  << qint32(row.cancelled);
}

// One sorted source of a merge: a batch in a temporary file, or the rows
// still in memory.
struct Source {
    QDataStream *stream = nullptr;
    const std::vector<Row> *rows = nullptr;
    size_t next = 0;
    Row head;

    bool advance()
    {
        if (rows) {
            if (next >= rows->size())
                return false;
            head = (*rows)[next++];
            return true;
        }
        if (stream->atEnd())
            return false;
        qint32 passed = 0, failed = 0, cancelled = 0;
        *stream >> head.date >> head.adapter >> head.serial >> passed >> failed >> cancelled;
        head.passed = passed;
        head.failed = failed;
        head.cancelled = cancelled;
        return stream->status() == QDataStream::Ok;
    }
};

} // namespace

TvRunReportTable::TvRunReportTable(int rowsInMemory) : rowsInMemory(std::max(rowsInMemory, 1)) {}

TvRunReportTable::~TvRunReportTable() = default;

void TvRunReportTable::add(const Row &row)
{
    // Texts from an adapter may hold control characters or bidirectional
    // controls: printed as they are, they could drive the terminal, split a
    // row or reorder it.
    Row safe = row;
    safe.date = TvControlText::terminalLine(row.date);
    safe.adapter = TvControlText::terminalLine(row.adapter);
    safe.serial = TvControlText::terminalLine(row.serial);
    const std::array<QString, Columns> texts = cells(safe);
    for (int c = 0; c < Columns; ++c)
        widen(c, texts[size_t(c)].size());
    rows.push_back(safe);
    ++count;
    if (spilling && int(rows.size()) >= rowsInMemory)
        spill();
}

void TvRunReportTable::widen(int column, int width)
{
    widths[size_t(column)] = std::max(widths[size_t(column)], width);
}

bool TvRunReportTable::before(const Row &a, const Row &b)
{
    // ISO 8601 dates in UTC sort as text.
    return std::tie(a.date, a.adapter, a.serial, a.passed, a.failed, a.cancelled)
           < std::tie(b.date, b.adapter, b.serial, b.passed, b.failed, b.cancelled);
}

std::unique_ptr<QTemporaryFile> TvRunReportTable::newRun() const
{
    auto run = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("nicdiag-report-XXXXXX")));
    return run->open() ? std::move(run) : nullptr;
}

void TvRunReportTable::spill()
{
    std::sort(rows.begin(), rows.end(), before);
    std::unique_ptr<QTemporaryFile> run = newRun();
    if (run) {
        QDataStream out(run.get());
        for (const Row &row : rows)
            out << row;
        if (out.status() == QDataStream::Ok && run->flush()) {
            runs.push_back(std::move(run));
            rows.clear();
            // Each sorted file holds a descriptor: so many at most.
            if (runs.size() >= size_t(MergeWidth))
                mergeRuns();
            return;
        }
    }
    spilling = false;
}

void TvRunReportTable::mergeRuns()
{
    std::unique_ptr<QTemporaryFile> merged = newRun();
    if (!merged) {
        spilling = false;
        return;
    }
    QDataStream out(merged.get());
    merge(false, [&out](const Row &row) { out << row; });
    if (out.status() != QDataStream::Ok || !merged->flush()) {
        spilling = false;
        return;
    }
    runs.clear();
    runs.push_back(std::move(merged));
}

void TvRunReportTable::merge(bool withRowsInMemory, const Sink &sink)
{
    std::vector<std::unique_ptr<QDataStream>> streams;
    std::vector<Source> sources(runs.size() + (withRowsInMemory ? 1 : 0));
    for (size_t i = 0; i < runs.size(); ++i) {
        runs[i]->seek(0);
        streams.push_back(std::make_unique<QDataStream>(runs[i].get()));
        sources[i].stream = streams.back().get();
    }
    if (withRowsInMemory)
        sources.back().rows = &rows;
    const auto later = [&sources](size_t a, size_t b) { return before(sources[b].head, sources[a].head); };
    std::priority_queue<size_t, std::vector<size_t>, decltype(later)> heads(later);
    for (size_t i = 0; i < sources.size(); ++i) {
        if (sources[i].advance())
            heads.push(i);
    }
    while (!heads.empty()) {
        const size_t i = heads.top();
        heads.pop();
        sink(sources[i].head);
        if (sources[i].advance())
            heads.push(i);
    }
}

void TvRunReportTable::forEachSorted(const Sink &sink)
{
    std::sort(rows.begin(), rows.end(), before);
    merge(true, sink);
}

std::array<QString, TvRunReportTable::Columns> TvRunReportTable::cells(const Row &row)
{
    return {row.date, row.adapter, row.serial, QString::number(row.passed), QString::number(row.failed),
            QString::number(row.cancelled)};
}

void TvRunReportTable::writeTable(QTextStream &out, const QStringList &headers)
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
    forEachSorted([&](const Row &row) { writeLine(cells(row)); });
}

void TvRunReportTable::writeCsv(QTextStream &out)
{
    out << "date,adapter,serial,passed,failed,cancelled\n";
    forEachSorted([&out](const Row &row) {
        const std::array<QString, Columns> fields = cells(row);
        QString line;
        for (int c = 0; c < Columns; ++c)
            line += (c > 0 ? QLatin1String(",") : QLatin1String()) + csvField(fields[size_t(c)]);
        out << line << '\n';
    });
}
