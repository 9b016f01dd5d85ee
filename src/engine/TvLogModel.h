#pragma once
#include <QAbstractListModel>
#include <QByteArray>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <deque>
#include <vector>

// The lines of the log list, for a view that asks only for the rows it
// shows (TvLogView), so that the log stays usable at millions of lines.
//
// Two things keep a burst of core texts cheap:
// - Appended lines are stored at once (count(), line(), linesFrom() and
//   writeLines() see them), but views learn of them in one row insertion per
//   turn of the event loop. Should announcing get slow (a view that lays out
//   every row), batches are spaced out in proportion.
// - Lines are kept as UTF-8 in large blocks (one allocation per block, not
//   per line), each followed by its line feed, so that a save writes the
//   stored bytes as they are, a block at a time, and only the rows a view
//   shows are ever decoded.
// GUI thread only.
class TvLogModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit TvLogModel(QObject *parent = nullptr);

    // Rows that views know of (count() less the lines not yet announced).
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // Answered without the base class's round of virtual calls.
    QModelIndex index(int row, int column = 0, const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void appendLine(const QString &line);
    void appendLines(const QStringList &lines);
    // Empties the list and gives its memory back.
    void clear();

    // Every stored line, announced or not.
    int count() const;
    QString line(int row) const;
    // Lines from row `from` to the end.
    QStringList linesFrom(int from) const;
    // Writes the lines [from, to) as stored: UTF-8, a line feed after each,
    // one fwrite per storage block. False when a write fell short (errno
    // then says why).
    bool writeLines(std::FILE *file, int from, int to) const;

    // Announces the stored lines to the views now instead of at the next turn
    // of the event loop.
    void flush();

private:
    void store(const QString &line);
    void scheduleFlush();
    int blockOf(int row) const;
    int endOfBlock(int block) const;
    int endOffset(int row, int block) const;

    std::vector<QByteArray> blocks;
    // The row of each block's first line.
    std::vector<int> firstRows;
    // Where each line starts in its block. A deque grows without moving what
    // it holds: a vector would copy millions of offsets now and then, in
    // the middle of a burst.
    std::deque<int> offsets;
    int announced = 0;
    QTimer flushTimer;
};
