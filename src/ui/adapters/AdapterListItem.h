#pragma once
#include <QListWidgetItem>
#include <QPixmap>
#include <QStringList>

// One row of the adapter list: a picture and up to three text lines (a null
// line is not drawn). AdapterListDelegate paints it.
class AdapterListItem : public QListWidgetItem
{
public:
    enum Role {
        PictureRole = Qt::UserRole + 1, // QPixmap, already in its drawing mode
        LinesRole,                      // QStringList
        MonochromeRole                  // bool
    };

    AdapterListItem(const QPixmap &picture, const QStringList &lines, bool monochrome,
                    bool selectable);

    QPixmap picture() const;
    QStringList lines() const;
    bool isMonochrome() const;
    bool isSelectable() const;

    // A grey picture marks an adapter that cannot be picked.
    static QPixmap toMonochrome(const QPixmap &picture);
};
