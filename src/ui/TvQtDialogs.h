#pragma once
#include "text/TvDialogSeam.h"

// The default seam: real QMessageBox, QFileDialog and QDialog::exec().
class TvQtDialogs : public TvDialogSeam
{
public:
    int messageBox(QWidget *parent, Icon icon, const QString &caption,
                   const QString &text, const QList<ButtonSpec> &buttons) override;
    QString saveFileName(QWidget *parent, const QString &caption,
                         const QString &directory, const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &caption,
                         const QString &directory, const QString &filter) override;
    int execDialog(QDialog *dialog) override;
    QString namedSaveFileName(QWidget *parent, const QString &objectName, const QString &caption,
                              const QString &directory, const QString &filter) override;
    QString namedOpenFileName(QWidget *parent, const QString &objectName, const QString &caption,
                              const QString &directory, const QString &filter) override;
};
