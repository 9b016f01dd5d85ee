#include "TvLogModel.h"

#include <QElapsedTimer>

namespace {

// Big enough that a million lines need about a hundred allocations, small
// enough that the unused tail of the last block does not matter.
constexpr int BlockBytes = 1 << 20;

// A QListView lays out every row again on each insertion (and at once when
// it follows the end), which takes tens of milliseconds at a million rows.
// The next batch waits this many times as long as the last announcement
// took, so that layouts use at most about a quarter of the GUI thread, but
// never longer than the cap.
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
    spans = QVector<Span>();
    announced = 0;
    flushTimer.setInterval(0);
    endResetModel();
}

int TvLogModel::count() const
{
    return spans.size();
}

QString TvLogModel::line(int row) const
{
    if (row < 0 || row >= spans.size())
        return QString();
    const Span &span = spans.at(row);
    return QString::fromUtf8(blocks[span.block].constData() + span.offset, span.length);
}

QStringList TvLogModel::linesFrom(int from) const
{
    QStringList lines;
    from = qMax(from, 0);
    if (from >= spans.size())
        return lines;
    lines.reserve(spans.size() - from);
    for (int row = from; row < spans.size(); ++row)
        lines.append(line(row));
    return lines;
}

void TvLogModel::flush()
{
    flushTimer.stop();
    if (announced == spans.size())
        return;
    QElapsedTimer clock;
    clock.start();
    beginInsertRows(QModelIndex(), announced, spans.size() - 1);
    announced = spans.size();
    endInsertRows();
    flushTimer.setInterval(int(qMin<qint64>(MaxFlushDelayMs, clock.elapsed() * FlushDelayFactor)));
}

void TvLogModel::store(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < utf8.size()) {
        blocks.emplace_back();
        blocks.back().reserve(qMax(BlockBytes, utf8.size()));
    }
    QByteArray &block = blocks.back();
    spans.append(Span{int(blocks.size() - 1), block.size(), utf8.size()});
    block.append(utf8);
}

void TvLogModel::scheduleFlush()
{
    if (!flushTimer.isActive())
        flushTimer.start();
}
