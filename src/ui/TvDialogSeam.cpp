#include "TvDialogSeam.h"
#include "TvQtDialogs.h"

namespace {
TvDialogSeam *installedSeam = nullptr;
}

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

TvDialogSeam &TvDialogSeam::current()
{
    static TvQtDialogs realDialogs;
    return installedSeam ? *installedSeam : realDialogs;
}

void TvDialogSeam::install(TvDialogSeam *seam)
{
    installedSeam = seam;
}
