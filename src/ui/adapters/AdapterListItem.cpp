#include "AdapterListItem.h"

#include <QImage>

AdapterListItem::AdapterListItem(const QPixmap &picture, const QStringList &lines,
                                 bool monochrome, bool selectable)
{
    setData(PictureRole, monochrome ? toMonochrome(picture) : picture);
    setData(LinesRole, lines);
    setData(MonochromeRole, monochrome);
    // The plain text serves accessibility and lookups; the delegate draws the lines.
    QStringList shown;
    for (const QString &line : lines) {
        if (!line.isNull())
            shown.append(line);
    }
    setText(shown.join(QLatin1Char('\n')));
    Qt::ItemFlags itemFlags = Qt::ItemIsEnabled;
    if (selectable)
        itemFlags |= Qt::ItemIsSelectable;
    setFlags(itemFlags);
}

QPixmap AdapterListItem::picture() const
{
    return data(PictureRole).value<QPixmap>();
}

QStringList AdapterListItem::lines() const
{
    return data(LinesRole).toStringList();
}

bool AdapterListItem::isMonochrome() const
{
    return data(MonochromeRole).toBool();
}

bool AdapterListItem::isSelectable() const
{
    return flags().testFlag(Qt::ItemIsSelectable);
}

QPixmap AdapterListItem::toMonochrome(const QPixmap &picture)
{
    if (picture.isNull())
        return picture;
    return QPixmap::fromImage(picture.toImage().convertToFormat(QImage::Format_Grayscale8));
}
