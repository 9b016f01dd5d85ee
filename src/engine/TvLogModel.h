#pragma once
#include <QAbstractListModel>
#include <QByteArray>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <vector>

// The lines of the log list. A plain list model behind a QListView with
// uniform item sizes keeps the log tab usable at a million lines, where a
// widget per item would not.
//
// Two things keep a burst of core texts cheap:
// - Appended lines are stored at once (count(), line() and linesFrom() see
//   them), but views learn of them in one row insertion per turn of the
//   event loop. A QListView lays out every row again on each insertion, so
//   a view that follows the end does so from rowsInserted, e.g.
//     view->setUniformItemSizes(true);
//     view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
//     connect(model, &QAbstractItemModel::rowsInserted, view,
//             &QAbstractItemView::scrollToBottom);
//   That lays the list out at once, inside the announcement, which is timed:
//   when it gets slow, batches are spaced out. Moving a current index to the
//   last row instead would make every layout look each row up among the
//   model's persistent indexes, and scrolling per item costs another pass
//   over all rows.
// - Lines are kept as UTF-8 in large blocks (one allocation per block, not
//   per line) and decoded only for the rows a view shows.
// GUI thread only.
class TvLogModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit TvLogModel(QObject *parent = nullptr);

    // Rows that views know of (count() less the lines not yet announced).
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // The list view asks for every row's index on each layout: answered
    // without the base class's round of virtual calls.
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

    // Announces the stored lines to the views now instead of at the next turn
    // of the event loop.
    void flush();

private:
    struct Span {
        int block;
        int offset;
        int length;
    };

    void store(const QString &line);
    void scheduleFlush();

    std::vector<QByteArray> blocks;
    QVector<Span> spans;
    int announced = 0;
    QTimer flushTimer;
};
