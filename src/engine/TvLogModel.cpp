#include "TvLogModel.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {

// Big enough that a million lines need about a hundred allocations, small
// enough that the unused tail of the last block does not matter.
constexpr int BlockBytes = 1 << 20;

// The next batch waits this many times as long as the last announcement
// took, so that a view slow to take new rows uses at most about a quarter of
// the GUI thread, but never longer than the cap.
constexpr int FlushDelayFactor = 3;
constexpr int MaxFlushDelayMs = 250;

} // namespace

TvLogModel::TvLogModel(QObject *parent)
    : QAbstractListModel(parent)
{
    flushTimer.setSingleShot(true);
    flushTimer.setInterval(0);
    connect(&flushTimer, &QTimer::timeout, this, &TvLogModel::flush);
}

int TvLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : announced;
}

QModelIndex TvLogModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || row >= announced || column != 0 || parent.isValid())
        return QModelIndex();
    return createIndex(row, 0);
}

QVariant TvLogModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= announced)
        return QVariant();
    return line(index.row());
}

void TvLogModel::appendLine(const QString &text)
{
    store(text);
    scheduleFlush();
}

void TvLogModel::appendLines(const QStringList &lines)
{
    if (lines.isEmpty())
        return;
    for (const QString &text : lines)
        store(text);
    scheduleFlush();
}

void TvLogModel::clear()
{
    flushTimer.stop();
    beginResetModel();
    blocks = std::vector<QByteArray>();
    firstRows = std::vector<int>();
    std::deque<int>().swap(offsets);
    announced = 0;
    flushTimer.setInterval(0);
    endResetModel();
}

int TvLogModel::count() const
{
    return int(offsets.size());
}

QString TvLogModel::line(int row) const
{
    if (row < 0 || row >= count())
        return QString();
    const int block = blockOf(row);
    const int begin = offsets[size_t(row)];
    // Less the line feed.
    return QString::fromUtf8(blocks[size_t(block)].constData() + begin,
                             endOffset(row, block) - begin - 1);
}

QStringList TvLogModel::linesFrom(int from) const
{
    QStringList lines;
    for (int row = qMax(from, 0); row < count(); ++row)
        lines.append(line(row));
    return lines;
}

bool TvLogModel::writeLines(std::FILE *file, int from, int to) const
{
    from = qMax(from, 0);
    to = qMin(to, count());
    while (from < to) {
        // The lines of one block lie back to back, each with its line feed.
        const int block = blockOf(from);
        const int end = qMin(to, endOfBlock(block));
        const int begin = offsets[size_t(from)];
        const size_t size = size_t(endOffset(end - 1, block) - begin);
        if (std::fwrite(blocks[size_t(block)].constData() + begin, 1, size, file) != size)
            return false;
        from = end;
    }
    return true;
}

void TvLogModel::flush()
{
    flushTimer.stop();
    if (announced == count())
        return;
    QElapsedTimer clock;
    clock.start();
    beginInsertRows(QModelIndex(), announced, count() - 1);
    announced = count();
    endInsertRows();
    flushTimer.setInterval(int(qMin<qint64>(MaxFlushDelayMs, clock.elapsed() * FlushDelayFactor)));
}

void TvLogModel::store(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    const int needed = utf8.size() + 1;
    if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < needed) {
        blocks.emplace_back();
        blocks.back().reserve(qMax(BlockBytes, needed));
        firstRows.push_back(count());
    }
    QByteArray &block = blocks.back();
    offsets.push_back(block.size());
    block.append(utf8);
    block.append('\n');
}

int TvLogModel::blockOf(int row) const
{
    return int(std::upper_bound(firstRows.begin(), firstRows.end(), row) - firstRows.begin()) - 1;
}

// The row after the block's last line.
int TvLogModel::endOfBlock(int block) const
{
    return size_t(block) + 1 < firstRows.size() ? firstRows[size_t(block) + 1] : count();
}

// Where the line `row` of `block` ends, after its line feed.
int TvLogModel::endOffset(int row, int block) const
{
    return row + 1 < endOfBlock(block) ? offsets[size_t(row) + 1] : blocks[size_t(block)].size();
}

void TvLogModel::scheduleFlush()
{
    if (!flushTimer.isActive())
        flushTimer.start();
}
