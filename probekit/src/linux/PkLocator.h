#pragma once
#include <QByteArray>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

// Blinks an interface's identification LED on a thread of its own: the
// kernel's request blocks for as long as the LED blinks, and a signal to
// that thread ends it. Each request asks for a few seconds only, so even
// a signal that came too early cannot leave the LED blinking for long.
class PkLocator
{
public:
    PkLocator() = default;
    ~PkLocator() { stop(); }
    PkLocator(const PkLocator &) = delete;
    PkLocator &operator=(const PkLocator &) = delete;

    void start(const QByteArray &interface, const QByteArray &driver);
    void stop();
    bool running() const;
    // Why the last run ended early; empty while it blinks or when it was
    // stopped.
    QByteArray failure() const;

    static constexpr unsigned ChunkSeconds = 5;

private:
    struct Run {
        std::atomic<bool> stop {false};
        std::atomic<bool> done {false};
    };
    static void blink(std::shared_ptr<Run> run, QByteArray interface, QByteArray driver,
                      PkLocator *owner);
    void setFailure(const QByteArray &text);

    mutable std::mutex m_mutex;
    std::thread m_thread;
    std::shared_ptr<Run> m_run;
    QByteArray m_failure;
};
