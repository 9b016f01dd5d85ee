#include "TvLogPage.h"
#include "ui_TvLogPage.h"

#include "TvLogBook.h"
#include "ui/TvContextText.h"

#include "engine/TvLogModel.h"

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

} // namespace

TvLogPage::TvLogPage(TvLogBook *book, QWidget *parent) : QWidget(parent), ui(new Ui::TvLogPage)
{
    ui->setupUi(this);
    QListView *view = ui->LogfileListBox;
    TvLogModel *lines = book->model();
    view->setModel(lines);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setUniformItemSizes(true);
    // Each announcement lays out every row again; scrolling by pixels spares
    // a second pass over all rows, and following the end by scrolling rather
    // than by a current index spares a look-up per row (see TvLogModel).
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QFont logFont(QStringLiteral("Courier"));
    logFont.setPointSizeF(8.5);
    view->setFont(logFont);
    connect(lines, &QAbstractItemModel::rowsInserted, view, &QAbstractItemView::scrollToBottom);
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
