#pragma once
#include <QDialog>

namespace Ui {
class ConnectivityTestDlg;
}

// The connectivity test dialog's layout: the adapter's address and subnet
// mask as octet labels, the four octet fields of the remote address, and
// the OK and Cancel buttons (wired to accept and reject).
class ConnectivityTestDlg : public QDialog
{
    Q_OBJECT
public:
    explicit ConnectivityTestDlg(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~ConnectivityTestDlg() override;

protected slots:
    virtual void languageChange();

protected:
    void changeEvent(QEvent *event) override;

    Ui::ConnectivityTestDlg *ui;
};
