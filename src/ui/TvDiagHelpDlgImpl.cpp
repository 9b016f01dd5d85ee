#include "TvDiagHelpDlgImpl.h"
#include "ui_TvDiagHelpDlg.h"

#include "description/CAdapterInfo.h"
#include "text/TvProgram.h"
#include "text/TvText.h"

#include <QDir>

#include <QResizeEvent>
#include <QUrl>

namespace {
const char *const Context = "TvDiagHelpDlgImpl";
}

TvDiagHelpDlgImpl::TvDiagHelpDlgImpl(QWidget *parent, const char *name, bool modal,
                                     Qt::WindowFlags flags)
    : TvDiagHelpDlg(parent, flags)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(modal);

    const CAdapterInfo &info = CAdapterInfo::instance();
    ui->HelpTextBrowser->setSearchPaths(pageDirectories(info.basePathOf(info.help_path),
                                                        TvProgram::languageCode(), info.help_file));
    ui->HelpTextBrowser->setSource(QUrl(info.help_file));

    setSizeGripEnabled(false);
    setMinimumSize(555, 460);
    setMaximumSize(640, 480);
    designedSize = ui->HelpTextBrowser->size();

    connect(ui->ForwardBtn, &QPushButton::clicked, ui->HelpTextBrowser, &QTextBrowser::forward);
    connect(ui->BackwardBtn, &QPushButton::clicked, ui->HelpTextBrowser, &QTextBrowser::backward);
    languageChange();
}

QStringList TvDiagHelpDlgImpl::pageDirectories(const QString &helpDirectory,
                                               const QString &languageCode, const QString &startPage)
{
    // "de_CH" reads the German pages.
    const QString language = languageCode.left(2);
    const QDir translated(QDir(helpDirectory).filePath(language));
    if (!language.isEmpty() && language != QLatin1String("en") && translated.exists(startPage))
        return {translated.path(), helpDirectory};
    return {helpDirectory};
}

void TvDiagHelpDlgImpl::languageChange()
{
    setWindowTitle(TvText::translate(Context, "HELP_BROWSER %1").arg(CAdapterInfo::instance().name));
    ui->BackwardBtn->setText(QString());
    ui->ForwardBtn->setText(QString());
    ui->buttonOk->setText(TvText::translate(Context, "OK_TEXT"));
}

void TvDiagHelpDlgImpl::resizeEvent(QResizeEvent *event)
{
    TvDiagHelpDlg::resizeEvent(event);
    const int w = event->size().width();
    const int h = event->size().height();
    if (w - 40 <= designedSize.width() || h - 50 <= designedSize.height())
        return;

    QTextBrowser *browser = ui->HelpTextBrowser;
    browser->setGeometry(browser->x(), browser->y(), w - 40, h - 50);
    const int buttonTop = browser->y() + browser->height() + 5;
    ui->BackwardBtn->move(browser->x(), buttonTop);
    ui->buttonOk->move(browser->width() / 2 - ui->buttonOk->width() / 2, buttonTop);
    ui->ForwardBtn->move(browser->x() + browser->width() - 1 - ui->ForwardBtn->width(), buttonTop);
}
