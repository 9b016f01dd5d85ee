#include "TvLogView.h"

#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace {

// Room left of the text, as a list view's items have.
constexpr int Margin = 3;

} // namespace

TvLogView::TvLogView(QWidget *parent) : QAbstractScrollArea(parent)
{
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TvLogView::setModel(QAbstractItemModel *model)
{
    if (source)
        disconnect(source, nullptr, this, nullptr);
    source = model;
    if (model) {
        connect(model, &QAbstractItemModel::rowsInserted, this, [this] {
            rowsChanged();
            followPending = !isVisible();
            scrollToBottom();
        });
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TvLogView::rowsChanged);
        connect(model, &QAbstractItemModel::modelReset, this, &TvLogView::modelReset);
        connect(model, &QAbstractItemModel::layoutChanged, this, &TvLogView::rowsChanged);
    }
    modelReset();
}

int TvLogView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int TvLogView::lineHeight() const
{
    return qMax(1, fontMetrics().lineSpacing());
}

void TvLogView::scrollToBottom()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int TvLogView::rowCount() const
{
    return source ? source->rowCount() : 0;
}

int TvLogView::rowsInSight() const
{
    return qMax(1, viewport()->height() / lineHeight());
}

void TvLogView::rowsChanged()
{
    updateScrollBars();
    viewport()->update();
}

void TvLogView::modelReset()
{
    widest = 0;
    rowsChanged();
}

void TvLogView::updateScrollBars()
{
    // A hidden view (the log tab behind another) waits for its showEvent:
    // its font need not even be loaded before.
    if (!isVisible())
        return;
    const int inSight = rowsInSight();
    QScrollBar *rows = verticalScrollBar();
    rows->setRange(0, qMax(0, rowCount() - inSight));
    rows->setPageStep(inSight);
    rows->setSingleStep(1);
    QScrollBar *columns = horizontalScrollBar();
    columns->setRange(0, qMax(0, widest - viewport()->width()));
    columns->setPageStep(viewport()->width());
    columns->setSingleStep(qMax(1, fontMetrics().averageCharWidth()));
}

void TvLogView::paintEvent(QPaintEvent *event)
{
    if (!source)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics = fontMetrics();
    const int height = lineHeight();
    const int top = firstVisibleRow();
    const int first = top + event->rect().top() / height;
    const int last = qMin(rowCount() - 1, top + event->rect().bottom() / height);
    const int x = Margin - horizontalScrollBar()->value();
    const int widestBefore = widest;
    for (int row = first; row <= last; ++row) {
        const QString text = source->index(row, 0).data().toString();
        painter.drawText(x, (row - top) * height + metrics.ascent(), text);
        widest = qMax(widest, 2 * Margin + metrics.horizontalAdvance(text));
    }
    // A scroll bar that appears resizes the viewport: not while painting it.
    if (widest > widestBefore)
        QTimer::singleShot(0, this, &TvLogView::updateScrollBars);
}

void TvLogView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool following = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    updateScrollBars();
    if (following)
        scrollToBottom();
}

void TvLogView::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    updateScrollBars();
    if (followPending)
        scrollToBottom();
    followPending = false;
}

void TvLogView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Home)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    else if (event->key() == Qt::Key_End)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    else
        QAbstractScrollArea::keyPressEvent(event);
}

void TvLogView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    // Row height and widths are the font's.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        modelReset();
}

void TvLogView::scrollContentsBy(int, int)
{
    viewport()->update();
}
