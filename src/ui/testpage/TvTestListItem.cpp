#include "TvTestListItem.h"

TvTestListItem::TvTestListItem(QTreeWidget *list, QTreeWidgetItem *after, int testCaseNumber,
                               const QString &text, const QIcon &icon)
    : QTreeWidgetItem(list, after, Type), number(testCaseNumber)
{
    setText(0, text);
    setIcon(0, icon);
}
