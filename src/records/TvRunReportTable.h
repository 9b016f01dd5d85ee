#pragma once
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QTemporaryFile;
class QTextStream;

// The rows of a run report, in memory that does not grow with the number
// of records: a bench may pile up a hundred thousand records and more.
// Rows are kept up to a batch; a full batch is sorted and moved into a
// temporary file of its own, and printing merges the sorted files. Texts
// are made safe for a terminal when they come in, and the column widths
// follow as rows are added, so printing needs no extra pass.
class TvRunReportTable
{
public:
    // One record's row as read.
    struct Row {
        QString date; // the record's start, ISO 8601 UTC
        QString adapter;
        QString serial;
        int passed = 0;
        int failed = 0;
        int cancelled = 0;
    };

    explicit TvRunReportTable(int rowsInMemory = RowsInMemory);
    ~TvRunReportTable();
    TvRunReportTable(const TvRunReportTable &) = delete;
    TvRunReportTable &operator=(const TvRunReportTable &) = delete;

    void add(const Row &row);
    qint64 size() const { return count; }

    // Both print the rows oldest first; rows of one date are ordered by
    // their other cells, so that the output does not depend on the order
    // the files were read in.
    // Columns padded to their widest cell, counts right-aligned, two blanks
    // between columns. `headers` are the six column titles.
    void writeTable(QTextStream &out, const QStringList &headers);
    // "date,adapter,serial,passed,failed,cancelled" and one line per row; a
    // field holding a comma or a double quote is quoted.
    void writeCsv(QTextStream &out);

    // Rows of one batch, about 300 bytes each.
    static constexpr int RowsInMemory = 4096;
    // Sorted files kept at most: as many are merged into one.
    static constexpr int MergeWidth = 64;

private:
    static constexpr int Columns = 6;
    static constexpr int TextColumns = 3;
    using Sink = std::function<void(const Row &)>;

    static bool before(const Row &a, const Row &b);
    static std::array<QString, Columns> cells(const Row &row);
    void widen(int column, int width);
    // Sorts the rows in memory into a temporary file of their own.
    void spill();
    std::unique_ptr<QTemporaryFile> newRun() const;
    // Merges every sorted file into one.
    void mergeRuns();
    // Hands every row of the sorted files (and of memory, sorted, when
    // asked) to `sink` in order.
    void merge(bool withRowsInMemory, const Sink &sink);
    void forEachSorted(const Sink &sink);

    int rowsInMemory;
    std::vector<Row> rows;
    std::vector<std::unique_ptr<QTemporaryFile>> runs;
    // Cleared when a temporary file cannot be written: the rows then stay
    // in memory, which costs memory but loses nothing.
    bool spilling = true;
    qint64 count = 0;
    std::array<int, Columns> widths{};
};
