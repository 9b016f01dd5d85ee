#include "TvLogPage.h"
#include "ui_TvLogPage.h"

#include "TvLogBook.h"
#include "TvLogView.h"
#include "ui/TvContextText.h"

#include "engine/TvLogModel.h"

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

} // namespace

TvLogPage::TvLogPage(TvLogBook *book, QWidget *parent) : QWidget(parent), ui(new Ui::TvLogPage)
{
    ui->setupUi(this);
    TvLogView *view = ui->LogfileListBox;
    // The view follows the last line by itself.
    view->setModel(book->model());
    QFont logFont(QStringLiteral("Courier"));
    logFont.setPointSizeF(8.5);
    view->setFont(logFont);
    connect(ui->saveLogBtn, &QPushButton::clicked, book, &TvLogBook::fileSaveAs);
}

TvLogPage::~TvLogPage()
{
    delete ui;
}

void TvLogPage::languageChange()
{
    ui->saveLogBtn->setText(msg("SAVE_LOGFILE"));
}
