#include "VitalProductDataDlg.h"
#include "ui_VitalProductDataDlg.h"

#include <QEvent>

VitalProductDataDlg::VitalProductDataDlg(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), ui(new Ui::VitalProductDataDlg)
{
    ui->setupUi(this);
    connect(ui->buttonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

VitalProductDataDlg::~VitalProductDataDlg()
{
    delete ui;
}

void VitalProductDataDlg::languageChange()
{
    ui->retranslateUi(this);
}

void VitalProductDataDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        languageChange();
    QDialog::changeEvent(event);
}
