#include "TvLogPage.h"
#include "ui_TvLogPage.h"

#include "TvLogBook.h"
#include "TvLogView.h"
#include "ui/TvContextText.h"

#include "engine/TvLogModel.h"

#include <QLabel>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

} // namespace

TvLogPage::TvLogPage(TvLogBook *book, QWidget *parent)
    : QWidget(parent), ui(new Ui::TvLogPage), book(book), viewLabel(new QLabel(this))
{
    ui->setupUi(this);
    viewLabel->setObjectName(QStringLiteral("LogViewLabel"));
    viewLabel->setWordWrap(true);
    QFont bold = viewLabel->font();
    bold.setBold(true);
    viewLabel->setFont(bold);
    ui->logTabLayout->insertWidget(0, viewLabel);
    connect(book, &TvLogBook::viewChanged, this, &TvLogPage::showViewCaption);
    showViewCaption();
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
    showViewCaption();
}

void TvLogPage::showViewCaption()
{
    const QString caption = book->viewCaption();
    viewLabel->setText(caption);
    viewLabel->setHidden(caption.isEmpty());
}
