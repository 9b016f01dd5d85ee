#pragma once
#include <QTreeWidgetItem>

// An entry of the test list that knows the test case number it stands for.
class TvTestListItem : public QTreeWidgetItem
{
public:
    // Appended to `list` after `after` (at the top when null).
    TvTestListItem(QTreeWidget *list, QTreeWidgetItem *after, int testCaseNumber,
                   const QString &text, const QIcon &icon);

    int testCaseNumber() const { return number; }

    static constexpr int Type = QTreeWidgetItem::UserType + 1;

private:
    int number;
};
