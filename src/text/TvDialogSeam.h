#pragma once
#include <QList>
#include <QString>

class QDialog;
class QWidget;

// The one place through which the program shows modal message boxes, file
// dialogs and other modal dialogs. The default shows the real Qt dialogs;
// tests install a scripted seam that answers and records what was asked.
//
// Button codes are the program's own: 0 none, 1 OK, 2 Cancel, 3 Yes, 4 No,
// 5 Abort, 6 Retry, 7 Ignore. They travel to the core as answers.
class TvDialogSeam
{
public:
    enum Icon { NoIcon, Information, Warning, Critical, Question };
    enum Button { NoButton = 0, Ok = 1, Cancel = 2, Yes = 3, No = 4, Abort = 5, Retry = 6, Ignore = 7 };

    // A button of a message box; an empty text keeps the standard label.
    // The default button is the one Return presses: a question that
    // changes the adapter makes it No.
    struct ButtonSpec {
        int code = NoButton;
        QString text;
        bool isDefault = false;
    };

    virtual ~TvDialogSeam();

    // Returns the code of the pressed button (the escape button's code when
    // the box is closed otherwise).
    virtual int messageBox(QWidget *parent, Icon icon, const QString &caption,
                           const QString &text, const QList<ButtonSpec> &buttons) = 0;
    // Null string when cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &caption,
                                 const QString &directory, const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &caption,
                                 const QString &directory, const QString &filter) = 0;
    // Runs a modal dialog; returns its result code.
    virtual int execDialog(QDialog *dialog) = 0;
    // File dialogs that carry an object name; a seam that has no use for
    // the name shows the unnamed ones.
    virtual QString namedSaveFileName(QWidget *parent, const QString &objectName,
                                      const QString &caption, const QString &directory,
                                      const QString &filter);
    virtual QString namedOpenFileName(QWidget *parent, const QString &objectName,
                                      const QString &caption, const QString &directory,
                                      const QString &filter);

    // Convenience: a box whose buttons keep their standard labels.
    int message(QWidget *parent, Icon icon, const QString &caption, const QString &text,
                int button0, int button1 = NoButton, int button2 = NoButton);

    // The answer nobody gave: the box's No, else its Cancel, else the button
    // that Escape would press (Abort, Ignore), else OK; an empty box is OK.
    // A question that cannot be shown must never be taken as a Yes.
    static int safeAnswer(const QList<ButtonSpec> &buttons);

    // The program-wide seam: the one install()ed (tests), else the default
    // (the real dialogs, set at start-up by the user interface), else one
    // that shows nothing and gives every box its safe answer. Neither call
    // takes ownership; passing null restores the fallback.
    static TvDialogSeam &current();
    static void install(TvDialogSeam *seam);
    static void setDefault(TvDialogSeam *seam);
};
