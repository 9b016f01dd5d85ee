#pragma once
#include <QWidget>

class TvLogBook;

namespace Ui {
class TvLogPage;
}

// The log tab: the log book's lines in a view that follows the last line,
// and the button that saves them under a name.
class TvLogPage : public QWidget
{
    Q_OBJECT
public:
    explicit TvLogPage(TvLogBook *book, QWidget *parent = nullptr);
    ~TvLogPage() override;

    void languageChange();

private:
    Ui::TvLogPage *ui;
};
