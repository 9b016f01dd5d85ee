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
    QFont logFont(QStringLiteral("Courier"));
    logFont.setPointSizeF(8.5);
    view->setFont(logFont);
    // The model announces new lines once per turn of the event loop; the
    // view follows the last one from there.
    connect(lines, &QAbstractItemModel::rowsInserted, view,
            [lines, view](const QModelIndex &, int, int last) {
                view->setCurrentIndex(lines->index(last));
            });
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
