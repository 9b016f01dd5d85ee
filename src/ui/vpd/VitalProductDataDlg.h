#pragma once
#include <QDialog>

namespace Ui {
class VitalProductDataDlg;
}

// The layout of the vital product data dialog: a help text above the
// keyword table, and the OK and Cancel buttons below it.
class VitalProductDataDlg : public QDialog
{
    Q_OBJECT
public:
    explicit VitalProductDataDlg(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~VitalProductDataDlg() override;

protected slots:
    virtual void languageChange();

protected:
    void changeEvent(QEvent *event) override;

    Ui::VitalProductDataDlg *ui;
};
