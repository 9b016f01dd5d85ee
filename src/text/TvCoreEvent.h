#pragma once
#include <QEvent>
#include <QString>
#include <memory>

class TvAnswerGate;

// The events that the worker thread and the core callbacks post to the main
// window. The type numbers are the protocol between the threads.
class TvCoreEvent : public QEvent
{
public:
    enum Kind {
        TestDone = 1010,
        CommandDone = 1011,
        TestCancelled = 1020,
        CommandCancelled = 1021,
        ConnectivityDone = 1022,
        ConnectivityCancelled = 1023,
        CoreLogText = 1030,
        ResultText = 1031,
        StateCell = 1032,
        LogText = 1040,
        Progress = 1050,
        Question = 1060,
        Exit = 1070
    };

    explicit TvCoreEvent(Kind kind);
    ~TvCoreEvent() override;

    Kind kind() const { return static_cast<Kind>(type()); }

    // A question with a fresh gate; the asker waits on event->gate after
    // posting it (take a copy of the gate first: the event is the receiver's).
    static TvCoreEvent *question(const QString &text, int button0, int button1, int button2);

    int value = 0;              // status or progress value
    QString text;               // texts, state-cell key, question text
    int row = 0;                // state cell
    int column = 0;
    int buttons[3] = {0, 0, 0}; // question buttons
    std::shared_ptr<TvAnswerGate> gate; // question: where the answer goes
};
