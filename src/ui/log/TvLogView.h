#pragma once
#include <QAbstractScrollArea>
#include <QPointer>

class QAbstractItemModel;

// The log list's view: one line of text per row of a list model, all rows
// of the same height, the last row in sight after every insertion, nothing
// to select or edit. It asks the model only for the rows it shows, so new
// rows cost the same at ten lines and at ten million: QListView lays out
// every row again on each insertion. Rows come and go, but a stored row
// never changes, so the view does not follow changed data.
//
// Scrolls by rows vertically and by pixels horizontally; the horizontal
// range covers the widest row shown so far.
class TvLogView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TvLogView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const { return source; }

    // The rows in sight, top first: [firstVisibleRow, firstVisibleRow + n).
    int firstVisibleRow() const;
    int lineHeight() const;

    void scrollToBottom();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void rowsChanged();
    void modelReset();
    void updateScrollBars();
    int rowCount() const;
    int rowsInSight() const;

    QPointer<QAbstractItemModel> source;
    // The widest row painted since the last reset, margins included.
    int widest = 0;
    // Rows came while hidden: the end is shown when the view is.
    bool followPending = false;
};
