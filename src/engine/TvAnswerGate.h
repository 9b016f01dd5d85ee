#pragma once
#include <QMutex>
#include <QWaitCondition>

// Hands the answer to one question from the GUI thread to the thread that
// asked. The answer is kept, so it is not lost when it is given before the
// asking thread has begun to wait.
class TvAnswerGate
{
public:
    void post(int answer);
    int wait();
    bool isAnswered() const;

private:
    mutable QMutex mutex;
    QWaitCondition answerReady;
    bool answered = false;
    int answer = 0;
};
