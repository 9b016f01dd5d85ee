#include "TvDialogSeam.h"

#include <QDebug>

namespace {

// Until the user interface sets the real dialogs (and in programs that
// have none), boxes are written to the warning log and answered safely.
class UnattendedDialogs : public TvDialogSeam
{
public:
    int messageBox(QWidget *, Icon, const QString &caption, const QString &text,
                   const QList<ButtonSpec> &buttons) override
    {
        qWarning().noquote() << caption + QStringLiteral(": ") + text;
        return safeAnswer(buttons);
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    int execDialog(QDialog *) override { return 0; }
};

TvDialogSeam *installedSeam = nullptr;
TvDialogSeam *defaultSeam = nullptr;

} // namespace

TvDialogSeam::~TvDialogSeam() = default;

int TvDialogSeam::message(QWidget *parent, Icon icon, const QString &caption, const QString &text,
                          int button0, int button1, int button2)
{
    QList<ButtonSpec> buttons;
    for (int code : {button0, button1, button2}) {
        if (code != NoButton)
            buttons.append({code, QString()});
    }
    return messageBox(parent, icon, caption, text, buttons);
}

QString TvDialogSeam::namedSaveFileName(QWidget *parent, const QString &, const QString &caption,
                                        const QString &directory, const QString &filter)
{
    return saveFileName(parent, caption, directory, filter);
}

QString TvDialogSeam::namedOpenFileName(QWidget *parent, const QString &, const QString &caption,
                                        const QString &directory, const QString &filter)
{
    return openFileName(parent, caption, directory, filter);
}

int TvDialogSeam::safeAnswer(const QList<ButtonSpec> &buttons)
{
    for (int code : {No, Cancel, Abort, Ignore, Ok}) {
        for (const ButtonSpec &button : buttons) {
            if (button.code == code)
                return code;
        }
    }
    return buttons.isEmpty() ? Ok : buttons.last().code;
}

TvDialogSeam &TvDialogSeam::current()
{
    static UnattendedDialogs unattended;
    if (installedSeam)
        return *installedSeam;
    return defaultSeam ? *defaultSeam : unattended;
}

void TvDialogSeam::install(TvDialogSeam *seam)
{
    installedSeam = seam;
}

void TvDialogSeam::setDefault(TvDialogSeam *seam)
{
    defaultSeam = seam;
}
