#pragma once
#include <QStyledItemDelegate>

// Draws an AdapterListItem: the picture at the left, centred vertically, and
// its text lines beside it.
class AdapterListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int ItemWidth = 500;
    static constexpr int PictureLeft = 3;

    explicit AdapterListDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Baselines of the text lines, relative to the item's top.
    static QList<int> lineBaselines(int fontHeight, int lineCount);
};
