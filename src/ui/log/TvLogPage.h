#pragma once
#include <QWidget>

class QLabel;
class TvLogBook;

namespace Ui {
class TvLogPage;
}

// The log tab: the log book's lines in a view that follows the last line,
// and the button that saves them under a name. Above the lines, a viewed
// log file is named, and so is the line where live lines follow it.
class TvLogPage : public QWidget
{
    Q_OBJECT
public:
    explicit TvLogPage(TvLogBook *book, QWidget *parent = nullptr);
    ~TvLogPage() override;

    void languageChange();

private:
    void showViewCaption();

    Ui::TvLogPage *ui;
    TvLogBook *book;
    QLabel *viewLabel;
};
