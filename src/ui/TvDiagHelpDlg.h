#pragma once
#include <QDialog>

namespace Ui {
class TvDiagHelpDlg;
}

// The help browser's layout: the text browser, back and forward buttons with
// their pictures, and the OK button.
class TvDiagHelpDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TvDiagHelpDlg(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TvDiagHelpDlg() override;

protected slots:
    virtual void languageChange();

protected:
    void changeEvent(QEvent *event) override;

    Ui::TvDiagHelpDlg *ui;

private:
    void loadButtonPictures();
};
