#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class QTextStream;

// The rows of a run report, kept small because a bench may pile up a
// hundred thousand records and more: per record only its date (as UTF-8
// bytes in one shared buffer), the numbers of its adapter name and serial
// number (each distinct text is stored once) and its three counts. Texts
// are made safe for a terminal when they come in, and the column widths
// follow as rows are added, so printing needs no second pass over texts.
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

    void add(const Row &row);
    int size() const { return int(entries.size()); }

    // Oldest first. Rows of one date are ordered by their other cells, so
    // that the output does not depend on the order files were read in.
    void sort();

    // Columns padded to their widest cell, counts right-aligned, two blanks
    // between columns. `headers` are the six column titles.
    void writeTable(QTextStream &out, const QStringList &headers) const;
    // "date,adapter,serial,passed,failed,cancelled" and one line per row; a
    // field holding a comma or a double quote is quoted.
    void writeCsv(QTextStream &out) const;

private:
    static constexpr int Columns = 6;
    static constexpr int TextColumns = 3;

    struct Entry {
        qint64 dateOffset;
        int dateSize;
        quint32 adapter;
        quint32 serial;
        std::array<int, Columns - TextColumns> counts;
    };

    quint32 intern(const QString &raw);
    QString date(const Entry &entry) const;
    std::array<QString, Columns> cells(const Entry &entry) const;
    bool before(const Entry &a, const Entry &b) const;
    void widen(int column, int width);

    std::vector<Entry> entries;
    QByteArray dates;
    std::vector<QString> texts;
    QHash<QString, quint32> textNumbers;
    std::array<int, Columns> widths{};
};
