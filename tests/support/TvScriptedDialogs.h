#pragma once
#include "text/TvDialogSeam.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A dialog seam for tests: every box and file dialog is answered from a
// script and recorded. An unscripted message box answers with its first
// button (OK for an OK-only box); an unscripted file dialog is cancelled.
// Installs itself on construction and restores the default on destruction.
class TvScriptedDialogs : public TvDialogSeam
{
public:
    struct Asked {
        enum Kind { Message, SaveFile, OpenFile, Dialog } kind = Message;
        Icon icon = NoIcon;
        QString caption;
        QString text;
        QList<int> buttons;
        int defaultButton = NoButton; // the one Return would press
        QStringList buttonTexts;
        QString directory;
        QString filter;
        QString dialogClass;
        QString objectName;   // of a named file dialog
    };

    TvScriptedDialogs();
    ~TvScriptedDialogs() override;

    // Answers, used in order. A message answer is a button code; a file
    // answer is a name (a null QString means cancel).
    void answerMessage(int code);
    void answerFile(const QString &name);
    // Called for dialogs run through execDialog; returns the result code.
    std::function<int(QDialog *)> onDialog;
    // Called while a message box is open, before it is answered: a test may
    // act meanwhile, as a user can while the core waits for the answer.
    std::function<void(const QString &text)> whileOpen;

    QList<Asked> asked;
    // Texts of all message boxes asked so far.
    QStringList messageTexts() const;
    int pendingAnswers() const { return messageAnswers.size() + fileAnswers.size(); }

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

private:
    QString nextFile(Asked::Kind kind, const QString &caption, const QString &directory,
                     const QString &filter, const QString &objectName = QString());
    QList<int> messageAnswers;
    QList<QString> fileAnswers;
};
