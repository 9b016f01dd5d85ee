#include "TvScriptedDialogs.h"

#include <QDialog>

TvScriptedDialogs::TvScriptedDialogs()
{
    TvDialogSeam::install(this);
}

TvScriptedDialogs::~TvScriptedDialogs()
{
    TvDialogSeam::install(nullptr);
}

void TvScriptedDialogs::answerMessage(int code)
{
    messageAnswers.append(code);
}

void TvScriptedDialogs::answerFile(const QString &name)
{
    fileAnswers.append(name);
}

QStringList TvScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const Asked &a : asked) {
        if (a.kind == Asked::Message)
            texts.append(a.text);
    }
    return texts;
}

int TvScriptedDialogs::messageBox(QWidget *, Icon icon, const QString &caption,
                                  const QString &text, const QList<ButtonSpec> &buttons)
{
    Asked a;
    a.kind = Asked::Message;
    a.icon = icon;
    a.caption = caption;
    a.text = text;
    for (const ButtonSpec &b : buttons) {
        a.buttons.append(b.code);
        if (b.isDefault)
            a.defaultButton = b.code;
        a.buttonTexts.append(b.text);
    }
    // What the test does meanwhile comes first: boxes it opens are recorded
    // before this one, which is answered last.
    if (whileOpen)
        whileOpen(text);
    asked.append(a);
    if (!messageAnswers.isEmpty())
        return messageAnswers.takeFirst();
    return buttons.isEmpty() ? Ok : buttons.first().code;
}

QString TvScriptedDialogs::nextFile(Asked::Kind kind, const QString &caption,
                                    const QString &directory, const QString &filter,
                                    const QString &objectName)
{
    Asked a;
    a.kind = kind;
    a.objectName = objectName;
    a.caption = caption;
    a.directory = directory;
    a.filter = filter;
    asked.append(a);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString TvScriptedDialogs::saveFileName(QWidget *, const QString &caption,
                                        const QString &directory, const QString &filter)
{
    return nextFile(Asked::SaveFile, caption, directory, filter);
}

QString TvScriptedDialogs::openFileName(QWidget *, const QString &caption,
                                        const QString &directory, const QString &filter)
{
    return nextFile(Asked::OpenFile, caption, directory, filter);
}

QString TvScriptedDialogs::namedSaveFileName(QWidget *, const QString &objectName,
                                             const QString &caption, const QString &directory,
                                             const QString &filter)
{
    return nextFile(Asked::SaveFile, caption, directory, filter, objectName);
}

QString TvScriptedDialogs::namedOpenFileName(QWidget *, const QString &objectName,
                                             const QString &caption, const QString &directory,
                                             const QString &filter)
{
    return nextFile(Asked::OpenFile, caption, directory, filter, objectName);
}

int TvScriptedDialogs::execDialog(QDialog *dialog)
{
    Asked a;
    a.kind = Asked::Dialog;
    a.dialogClass = QString::fromLatin1(dialog->metaObject()->className());
    a.caption = dialog->windowTitle();
    asked.append(a);
    return onDialog ? onDialog(dialog) : QDialog::Accepted;
}
