#include "TvAnswerGate.h"

void TvAnswerGate::post(int value)
{
    QMutexLocker lock(&mutex);
    if (answered)
        return;
    answer = value;
    answered = true;
    answerReady.wakeAll();
}

int TvAnswerGate::wait()
{
    QMutexLocker lock(&mutex);
    while (!answered)
        answerReady.wait(&mutex);
    return answer;
}

bool TvAnswerGate::isAnswered() const
{
    QMutexLocker lock(&mutex);
    return answered;
}
