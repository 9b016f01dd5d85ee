#include "PkLocator.h"
#include "PkEthtool.h"
#include "PkLog.h"
#include "PkRefusal.h"

#include <cerrno>
#include <chrono>
#include <csignal>

#include <pthread.h>

namespace {

// The signal that interrupts the request. Taken only while nobody else
// handles it, and handled by doing nothing, without restarting the call.
constexpr int StopSignal = SIGUSR2;

bool installHandler()
{
    static const bool installed = [] {
        struct sigaction current {};
        if (sigaction(StopSignal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            return false;
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        return sigaction(StopSignal, &action, nullptr) == 0;
    }();
    return installed;
}

} // namespace

void PkLocator::start(const QByteArray &interface, const QByteArray &driver)
{
    stop();
    std::lock_guard<std::mutex> guard(m_mutex);
    m_failure.clear();
    if (!installHandler())
        PkLog::line("Locate: the stop signal is taken by the program; the LED stops within "
                    + QByteArray::number(ChunkSeconds) + " s of being switched off");
    m_run = std::make_shared<Run>();
    m_thread = std::thread(&PkLocator::blink, m_run, interface, driver, this);
}

void PkLocator::blink(std::shared_ptr<Run> run, QByteArray interface, QByteArray driver, PkLocator *owner)
{
    const PkEthtool ethtool(interface);
    while (!run->stop) {
        const int error = ethtool.identify(ChunkSeconds);
        if (error && error != EINTR) {
            owner->setFailure("Locate on " + interface + ": " + PkEthtool::reason(error, driver));
            break;
        }
    }
    run->done = true;
}

void PkLocator::setFailure(const QByteArray &text)
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_failure = text;
    }
    PkLog::line(text);
    PkRefusal::note(text);
}

void PkLocator::stop()
{
    std::thread thread;
    std::shared_ptr<Run> run;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        thread.swap(m_thread);
        run.swap(m_run);
    }
    if (!thread.joinable())
        return;
    run->stop = true;
    // The signal may come before the thread has entered the request: it
    // is sent again until the thread is out.
    while (!run->done) {
        if (installHandler())
            pthread_kill(thread.native_handle(), StopSignal);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    thread.join();
}

bool PkLocator::running() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_run && !m_run->done;
}

QByteArray PkLocator::failure() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_failure;
}
