#pragma once
#include <condition_variable>
#include <mutex>

// Hands the answer to one question from the GUI thread to the thread that
// asked. The answer is kept, so it is not lost when it is given before the
// asking thread has begun to wait. Standard primitives rather than QMutex,
// so that ThreadSanitizer sees the synchronisation.
class TvAnswerGate
{
public:
    void post(int answer);
    int wait();
    bool isAnswered() const;

private:
    mutable std::mutex mutex;
    std::condition_variable answerReady;
    bool answered = false;
    int answer = 0;
};
