#include "TvDiagHelpDlg.h"
#include "ui_TvDiagHelpDlg.h"

#include "description/CAdapterInfo.h"

#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>

TvDiagHelpDlg::TvDiagHelpDlg(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), ui(new Ui::TvDiagHelpDlg)
{
    ui->setupUi(this);
    loadButtonPictures();
}

TvDiagHelpDlg::~TvDiagHelpDlg()
{
    delete ui;
}

void TvDiagHelpDlg::loadButtonPictures()
{
    // The arrows come from the base directory; without them the style's own
    // arrows keep the buttons recognisable.
    const struct {
        QPushButton *button;
        const char *file;
        QStyle::StandardPixmap fallback;
    } pictures[] = {
        {ui->BackwardBtn, "images/back.png", QStyle::SP_ArrowBack},
        {ui->ForwardBtn, "images/forward.png", QStyle::SP_ArrowForward},
    };
    for (const auto &p : pictures) {
        const QString path = CAdapterInfo::instance().basePathOf(QString::fromLatin1(p.file));
        p.button->setIcon(QFileInfo::exists(path) ? QIcon(path) : style()->standardIcon(p.fallback));
    }
}

void TvDiagHelpDlg::languageChange()
{
    ui->retranslateUi(this);
}

void TvDiagHelpDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        languageChange();
    QDialog::changeEvent(event);
}
