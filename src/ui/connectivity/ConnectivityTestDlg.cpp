#include "ConnectivityTestDlg.h"
#include "ui_ConnectivityTestDlg.h"

#include <QEvent>

ConnectivityTestDlg::ConnectivityTestDlg(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), ui(new Ui::ConnectivityTestDlg)
{
    ui->setupUi(this);
}

ConnectivityTestDlg::~ConnectivityTestDlg()
{
    delete ui;
}

void ConnectivityTestDlg::languageChange()
{
    ui->retranslateUi(this);
}

void ConnectivityTestDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        languageChange();
    QDialog::changeEvent(event);
}
