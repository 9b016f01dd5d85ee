#include "TvAsk.h"
#include "TvContextText.h"

#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"
#include "text/TvProgram.h"

#include <QApplication>
#include <QCursor>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

} // namespace

TvAsk::TvAsk(QWidget *owner) : owner(owner) {}

TvAsk::~TvAsk()
{
    clearRunCursor();
}

TvDialogSeam &TvAsk::dialogs()
{
    return TvDialogSeam::current();
}

int TvAsk::message(TvDialogSeam::Icon icon, const QString &text, int button0, int button1,
                   int button2) const
{
    return dialogs().message(owner, icon, TvProgram::bannerText(), text, button0, button1,
                             button2);
}

int TvAsk::message(TvDialogSeam::Icon icon, const QString &text, int button,
                   const QString &buttonText) const
{
    return dialogs().messageBox(owner, icon, TvProgram::bannerText(), text, {{button, buttonText}});
}

int TvAsk::alone(TvDialogSeam::Icon icon, const QString &text, int button,
                 const QString &buttonText) const
{
    return dialogs().messageBox(nullptr, icon, TvProgram::bannerText(), text,
                                {{button, buttonText}});
}

QString TvAsk::saveFileName(const QString &caption, const QString &directory,
                            const QString &filter) const
{
    return dialogs().saveFileName(owner, caption, directory, filter);
}

QString TvAsk::openFileName(const QString &caption, const QString &directory,
                            const QString &filter) const
{
    return dialogs().openFileName(owner, caption, directory, filter);
}

QString TvAsk::namedSaveFileName(const QString &objectName, const QString &caption,
                                 const QString &directory, const QString &filter) const
{
    return dialogs().namedSaveFileName(owner, objectName, caption, directory, filter);
}

QString TvAsk::namedOpenFileName(const QString &objectName, const QString &caption,
                                 const QString &directory, const QString &filter) const
{
    return dialogs().namedOpenFileName(owner, objectName, caption, directory, filter);
}

int TvAsk::untitled(Placement placement, TvDialogSeam::Icon icon, const QString &text,
                    const QList<TvDialogSeam::ButtonSpec> &buttons) const
{
    return dialogs().messageBox(placement == OverOwner ? owner : nullptr, icon, QString(), text,
                                buttons);
}

int TvAsk::execDialog(QDialog *dialog) const
{
    return dialogs().execDialog(dialog);
}

int TvAsk::showQuestion(const Question *question)
{
    if (!question) {
        answer = TvDialogSeam::Cancel;
        return answer;
    }
    // The user needs the arrow to answer; afterwards the cursor is what it
    // was, unless the run ended meanwhile (which restored it already).
    const bool wasRunning = running;
    const bool hadRunCursor = runCursorPushed;
    const Qt::CursorShape shape =
        hadRunCursor && QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                       : Qt::ArrowCursor;
    if (wasRunning)
        setRunCursor(Qt::ArrowCursor);
    answer = message(TvDialogSeam::Information, msg(question->text), question->button0,
                     question->button1, question->button2);
    if (wasRunning && running) {
        if (hadRunCursor)
            setRunCursor(shape);
        else
            clearRunCursor();
    }
    return answer;
}

void TvAsk::answerQuestion(TvCoreEvent &event)
{
    const Question question{event.text, event.buttons[0], event.buttons[1], event.buttons[2]};
    const int code = showQuestion(&question);
    if (answerObserver)
        answerObserver(msg(question.text), code);
    // The gate keeps the answer, so an asker that has not begun to wait
    // yet still gets it.
    if (event.gate)
        event.gate->post(code);
}

void TvAsk::setRunCursor(Qt::CursorShape shape)
{
    if (runCursorPushed)
        QApplication::changeOverrideCursor(QCursor(shape));
    else
        QApplication::setOverrideCursor(QCursor(shape));
    runCursorPushed = true;
}

void TvAsk::clearRunCursor()
{
    if (!runCursorPushed)
        return;
    QApplication::restoreOverrideCursor();
    runCursorPushed = false;
}
