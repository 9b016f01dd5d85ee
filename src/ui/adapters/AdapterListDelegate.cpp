#include "AdapterListDelegate.h"
#include "AdapterListItem.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

AdapterListDelegate::AdapterListDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QList<int> AdapterListDelegate::lineBaselines(int fontHeight, int lineCount)
{
    QList<int> baselines;
    int y = fontHeight + 10;
    for (int i = 0; i < lineCount; ++i) {
        baselines.append(y);
        y += fontHeight + 5;
    }
    return baselines;
}

void AdapterListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // Only the background (selection, focus) comes from the style; the
    // picture and the lines are placed by hand.
    opt.text.clear();
    opt.icon = QIcon();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const QPixmap picture = index.data(AdapterListItem::PictureRole).value<QPixmap>();
    const QRect r = option.rect;
    if (!picture.isNull())
        painter->drawPixmap(r.x() + PictureLeft, r.y() + (r.height() - picture.height()) / 2, picture);

    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QStringList lines = index.data(AdapterListItem::LinesRole).toStringList();
    const QList<int> baselines = lineBaselines(QFontMetrics(option.font).height(), lines.size());
    const int x = r.x() + picture.width() + 5;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).isNull())
            painter->drawText(x, r.y() + baselines.at(i), lines.at(i));
    }
    painter->restore();
}

QSize AdapterListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QPixmap picture = index.data(AdapterListItem::PictureRole).value<QPixmap>();
    // Without a picture (none configured, a wrong base path) the row must
    // still hold its lines of text.
    int lineCount = 0;
    for (const QString &line : index.data(AdapterListItem::LinesRole).toStringList())
        lineCount += line.isNull() ? 0 : 1;
    const QFontMetrics metrics(option.font);
    const QList<int> baselines = lineBaselines(metrics.height(), lineCount);
    const int textHeight = baselines.isEmpty() ? 0 : baselines.last() + metrics.descent() + 5;
    return QSize(ItemWidth, qMax(picture.height() + 5, textHeight));
}
