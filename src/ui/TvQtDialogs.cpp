#include "TvQtDialogs.h"

#include <QDialog>
#include <QGuiApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButton standardButton(int code)
{
    switch (code) {
    case TvDialogSeam::Ok: return QMessageBox::Ok;
    case TvDialogSeam::Cancel: return QMessageBox::Cancel;
    case TvDialogSeam::Yes: return QMessageBox::Yes;
    case TvDialogSeam::No: return QMessageBox::No;
    case TvDialogSeam::Abort: return QMessageBox::Abort;
    case TvDialogSeam::Retry: return QMessageBox::Retry;
    case TvDialogSeam::Ignore: return QMessageBox::Ignore;
    default: return QMessageBox::NoButton;
    }
}

QMessageBox::Icon boxIcon(TvDialogSeam::Icon icon)
{
    switch (icon) {
    case TvDialogSeam::Information: return QMessageBox::Information;
    case TvDialogSeam::Warning: return QMessageBox::Warning;
    case TvDialogSeam::Critical: return QMessageBox::Critical;
    case TvDialogSeam::Question: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

namespace {

// On a platform without a screen nobody can press a button: a box would
// block for ever (a listing run from a script, a headless test host).
bool nobodyCanAnswer()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

int TvQtDialogs::messageBox(QWidget *parent, Icon icon, const QString &caption,
                            const QString &text, const QList<ButtonSpec> &buttons)
{
    if (nobodyCanAnswer()) {
        qWarning("%s: %s", qUtf8Printable(caption), qUtf8Printable(text));
        return safeAnswer(buttons);
    }
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    QHash<QAbstractButton *, int> codes;
    for (const ButtonSpec &spec : buttons) {
        QAbstractButton *button = box.addButton(standardButton(spec.code));
        if (!button)
            continue;
        if (!spec.text.isEmpty())
            button->setText(spec.text);
        if (spec.isDefault)
            box.setDefaultButton(qobject_cast<QPushButton *>(button));
        codes.insert(button, spec.code);
    }
    if (codes.isEmpty())
        codes.insert(box.addButton(QMessageBox::Ok), Ok);
    box.exec();
    return codes.value(box.clickedButton(), safeAnswer(buttons));
}

QString TvQtDialogs::saveFileName(QWidget *parent, const QString &caption,
                                  const QString &directory, const QString &filter)
{
    if (nobodyCanAnswer())
        return QString();
    return QFileDialog::getSaveFileName(parent, caption, directory, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString TvQtDialogs::openFileName(QWidget *parent, const QString &caption,
                                  const QString &directory, const QString &filter)
{
    if (nobodyCanAnswer())
        return QString();
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

namespace {

QString runFileDialog(QWidget *parent, const QString &objectName, const QString &caption,
                      const QString &directory, const QString &filter, bool save)
{
    QFileDialog dialog(parent, caption, directory, filter);
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The caller asks about an existing file itself, after it has added
    // the extension.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString TvQtDialogs::namedSaveFileName(QWidget *parent, const QString &objectName,
                                       const QString &caption, const QString &directory,
                                       const QString &filter)
{
    if (nobodyCanAnswer())
        return QString();
    return runFileDialog(parent, objectName, caption, directory, filter, true);
}

QString TvQtDialogs::namedOpenFileName(QWidget *parent, const QString &objectName,
                                       const QString &caption, const QString &directory,
                                       const QString &filter)
{
    if (nobodyCanAnswer())
        return QString();
    return runFileDialog(parent, objectName, caption, directory, filter, false);
}

int TvQtDialogs::execDialog(QDialog *dialog)
{
    if (nobodyCanAnswer())
        return QDialog::Rejected;
    return dialog->exec();
}
