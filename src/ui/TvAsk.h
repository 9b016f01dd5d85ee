#pragma once
#include "text/TvDialogSeam.h"

#include <QString>
#include <Qt>

#include <functional>

class QDialog;
class QWidget;
class TvCoreEvent;

// How the main window and its pages ask the user. Every box goes through the
// program-wide dialog seam with the banner as caption. While a test runs the
// window shows the wait cursor: one entry on the application's override
// cursor stack, which every way out of a run restores; a question shows the
// arrow for its time. GUI thread only.
class TvAsk
{
public:
    // A question: a text (a message key or a finished text) and up to three
    // button codes (0 = no button).
    struct Question {
        QString text;
        int button0 = TvDialogSeam::NoButton;
        int button1 = TvDialogSeam::NoButton;
        int button2 = TvDialogSeam::NoButton;
    };

    // Boxes with a parent are shown over `owner` (null: none).
    explicit TvAsk(QWidget *owner = nullptr);
    // Takes the run cursor off the stack.
    ~TvAsk();
    TvAsk(const TvAsk &) = delete;
    TvAsk &operator=(const TvAsk &) = delete;

    static TvDialogSeam &dialogs();

    // A box over the owner; buttons keep their standard labels.
    int message(TvDialogSeam::Icon icon, const QString &text, int button0,
                int button1 = TvDialogSeam::NoButton, int button2 = TvDialogSeam::NoButton) const;
    // A box over the owner with one labelled button.
    int message(TvDialogSeam::Icon icon, const QString &text, int button,
                const QString &buttonText) const;
    // A box without parent and one button.
    int alone(TvDialogSeam::Icon icon, const QString &text, int button = TvDialogSeam::Ok,
              const QString &buttonText = QString()) const;
    QString saveFileName(const QString &caption, const QString &directory,
                         const QString &filter) const;
    QString openFileName(const QString &caption, const QString &directory,
                         const QString &filter) const;
    // File dialogs over the owner that carry an object name.
    QString namedSaveFileName(const QString &objectName, const QString &caption,
                              const QString &directory, const QString &filter) const;
    QString namedOpenFileName(const QString &objectName, const QString &caption,
                              const QString &directory, const QString &filter) const;

    // A box with an empty caption, over the owner or alone; a button whose
    // text is empty keeps its standard label.
    enum Placement { OverOwner, Alone };
    int untitled(Placement placement, TvDialogSeam::Icon icon, const QString &text,
                 const QList<TvDialogSeam::ButtonSpec> &buttons) const;
    int execDialog(QDialog *dialog) const;

    // An information box over the owner with the record's text passed
    // through the translator; returns the pressed button's code (Cancel
    // without a record).
    int showQuestion(const Question *question);
    int lastAnswer() const { return answer; }
    // A core question (event 1060): asked, and the answer handed to the
    // asker waiting on the event's gate.
    void answerQuestion(TvCoreEvent &event);
    // Told of each core question, as shown, and the answer it got.
    using AnswerObserver = std::function<void(const QString &text, int answer)>;
    void setAnswerObserver(AnswerObserver observer) { answerObserver = std::move(observer); }

    // While a test runs, questions show the arrow and then restore the
    // cursor they found.
    void setRunning(bool on) { running = on; }
    void setRunCursor(Qt::CursorShape shape);
    void clearRunCursor();
    bool hasRunCursor() const { return runCursorPushed; }

private:
    QWidget *owner;
    bool running = false;
    bool runCursorPushed = false;
    int answer = 0;
    AnswerObserver answerObserver;
};
