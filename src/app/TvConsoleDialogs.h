#pragma once
#include "text/TvDialogSeam.h"

// The dialogs of a run that has no screen to show them on (the usage text,
// the console listing, a start without a display): a message box becomes
// its text on standard error, once, and gets its safe answer; file
// dialogs and other modal dialogs are cancelled.
class TvConsoleDialogs : public TvDialogSeam
{
public:
    int messageBox(QWidget *parent, Icon icon, const QString &caption, const QString &text,
                   const QList<ButtonSpec> &buttons) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &directory,
                         const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &directory,
                         const QString &filter) override;
    int execDialog(QDialog *dialog) override;

    // Writes the text unchanged to standard error, in order with stdout.
    static void writeError(const QString &text);
};
