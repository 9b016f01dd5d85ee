#include "TvAnswerGate.h"

void TvAnswerGate::post(int value)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (answered)
            return;
        answer = value;
        answered = true;
    }
    answerReady.notify_all();
}

int TvAnswerGate::wait()
{
    std::unique_lock<std::mutex> lock(mutex);
    answerReady.wait(lock, [this] { return answered; });
    return answer;
}

bool TvAnswerGate::isAnswered() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return answered;
}
