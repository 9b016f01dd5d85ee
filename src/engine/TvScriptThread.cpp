#include "TvScriptThread.h"
#include "TvScriptFile.h"
#include "TvScriptHost.h"
#include "TvScriptLines.h"

#include "text/TvCoreEvent.h"
#include "text/TvEventChannel.h"
#include "text/TvText.h"

#include <QCoreApplication>

#include <chrono>

namespace {

QEvent::Type handOverType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QString translated(const char *key)
{
    return TvText::translate("TvDiagMainWindow", key);
}

} // namespace

TvScriptThread::TvScriptThread(QObject *parent)
    : QThread(parent)
{
}

TvScriptThread::~TvScriptThread()
{
    stop();
    join();
}

void TvScriptThread::join()
{
    wait();
    // The runner's last step was to let go of this lock; taking it orders
    // all the runner did before what follows here (ThreadSanitizer cannot
    // see the end of a QThread).
    std::lock_guard<std::mutex> lock(waitLock);
}

bool TvScriptThread::start(QObject *receiver, TvScriptHost *scriptHost, const QString &name)
{
    if (isRunning() || !scriptHost)
        return false;
    // Only set while the thread is not running: run() reads them.
    join();
    receiverObject = receiver;
    channel = TvEventChannel::of(receiver);
    host = scriptHost;
    fileName = name;
    cancelRequested = false;
    stopping = false;
    QThread::start();
    return true;
}

void TvScriptThread::requestCancel()
{
    cancelRequested = true;
}

void TvScriptThread::commandEnded()
{
    countUp(commandsEnded);
}

void TvScriptThread::textShown()
{
    countUp(textsShown);
}

void TvScriptThread::countUp(quint64 &counter)
{
    {
        std::lock_guard<std::mutex> lock(waitLock);
        ++counter;
    }
    changed.notify_all();
}

void TvScriptThread::stop()
{
    if (!isRunning())
        return;
    stopping = true;
    cancelRequested = true;
    {
        std::lock_guard<std::mutex> lock(waitLock);
    }
    changed.notify_all();
    // The runner may be waiting for the GUI thread, which is this one.
    {
        std::lock_guard<std::mutex> lock(handLock);
    }
    handedBack.notify_all();
    join();
}

quint64 TvScriptThread::count(const quint64 &counter)
{
    std::lock_guard<std::mutex> lock(waitLock);
    return counter;
}

void TvScriptThread::post(TvCoreEvent *event)
{
    if (stopping || !channel)
        delete event;
    else
        channel->post(event);
}

void TvScriptThread::postTexts(const QString &text)
{
    auto *logLine = new TvCoreEvent(TvCoreEvent::LogText);
    logLine->text = text;
    post(logLine);
    auto *console = new TvCoreEvent(TvCoreEvent::CoreLogText);
    console->text = QLatin1Char('\n') + text + QLatin1Char('\n');
    post(console);
}

void TvScriptThread::waitForTexts(quint64 shownBefore)
{
    std::unique_lock<std::mutex> lock(waitLock);
    changed.wait_for(lock, std::chrono::milliseconds(TextShownWaitMs),
                     [&] { return textsShown != shownBefore || stopping; });
}

int TvScriptThread::onGuiThread(std::function<int()> work)
{
    if (stopping)
        return 0;
    std::unique_lock<std::mutex> lock(handLock);
    handedWork = std::move(work);
    handedResult = 0;
    const quint64 number = ++handedNumber;
    // This object lives on the GUI thread. The wake-up is made under the
    // lock that the GUI thread takes before it touches the event: Qt hands
    // it over with locks of its own, which ThreadSanitizer does not see.
    QCoreApplication::postEvent(this, new QEvent(handOverType()));
    handedBack.wait(lock, [&] { return doneNumber == number || stopping; });
    return doneNumber == number ? handedResult : 0;
}

void TvScriptThread::customEvent(QEvent *event)
{
    {
        std::lock_guard<std::mutex> lock(handLock);
    }
    if (event->type() == handOverType())
        runHandedWork();
    else
        QThread::customEvent(event);
}

void TvScriptThread::runHandedWork()
{
    std::function<int()> work;
    quint64 number = 0;
    {
        std::lock_guard<std::mutex> lock(handLock);
        work.swap(handedWork);
        number = handedNumber;
    }
    if (!work)
        return;
    const int result = stopping ? 0 : work();
    {
        std::lock_guard<std::mutex> lock(handLock);
        handedResult = result;
        doneNumber = number;
    }
    handedBack.notify_all();
}

void TvScriptThread::run()
{
    runScript();
    // The last step: join() takes this lock after the thread has ended.
    std::lock_guard<std::mutex> lock(waitLock);
}

void TvScriptThread::runScript()
{
    TvScriptFile file;
    QString reason;
    if (!file.open(fileName, &reason)) {
        const QString text = translated("OPEN_SCRIPT_FAILED %1 %2").arg(fileName, reason);
        onGuiThread([this, text] { host->showMessage(text); return 0; });
        auto *logLine = new TvCoreEvent(TvCoreEvent::LogText);
        logLine->text = text;
        post(logLine);
        onGuiThread([this] { host->setControlsEnabled(true); return 0; });
        return;
    }
    quint64 shown = count(textsShown);
    postTexts(translated("SCRIPT_STARTED %1").arg(fileName));
    onGuiThread([this] { host->setScriptRunning(true); return 0; });
    waitForTexts(shown);

    // A "q" line ends the program: the script stays running, so that
    // leaving asks nothing.
    if (!runLines(file))
        return;

    onGuiThread([this] { host->setScriptRunning(false); return 0; });
    QString finished = translated("SCRIPT_FINISHED_1");
    finished.replace(QLatin1String("%1"), fileName);
    shown = count(textsShown);
    postTexts(finished);
    file.close();
    waitForTexts(shown);
    onGuiThread([this] { host->setControlsEnabled(true); return 0; });
}

bool TvScriptThread::runLines(TvScriptFile &file)
{
    int queuedThisPass = 0;
    QByteArray piece;
    // The kind of the line that the next piece carries on, or Skipped.
    TvScriptLines::Kind begun = TvScriptLines::Skipped;
    while (!cancelRequested && file.nextPiece(&piece)) {
        if (cancelRequested)
            break;
        const TvScriptLines::Line line =
            TvScriptLines::classify(piece.constData(), std::size_t(piece.size()), begun);
        begun = TvScriptLines::lineGoesOn(piece.constData(), std::size_t(piece.size()))
                    ? line.begun
                    : TvScriptLines::Skipped;
        if (line.kind == TvScriptLines::Loop) {
            // A pass that queued no command would go round at full speed
            // for ever: it ends the script instead.
            if (queuedThisPass == 0 || !file.rewind())
                break;
            queuedThisPass = 0;
            begun = TvScriptLines::Skipped;
            continue;
        }
        if (line.kind != TvScriptLines::Command && line.kind != TvScriptLines::Continued)
            continue;
        const int result = runCommand(piece.left(int(line.length)), line.kind == TvScriptLines::Continued);
        if (result < 0) {
            post(new TvCoreEvent(TvCoreEvent::Exit));
            return false;
        }
        queuedThisPass += result;
    }
    return true;
}

int TvScriptThread::runCommand(const QByteArray &command, bool coreOnly)
{
    // Bytes as typed: every byte is one Latin-1 character, and the worker
    // hands the command to the core as Latin-1 again.
    const QString line = QString::fromLatin1(command);
    const quint64 endedBefore = count(commandsEnded);
    const int result = onGuiThread([this, line, coreOnly] {
        return coreOnly ? host->executeCoreCommand(line) : host->executeCommand(line);
    });
    if (result == 1) {
        std::unique_lock<std::mutex> lock(waitLock);
        changed.wait(lock, [&] { return commandsEnded != endedBefore || stopping; });
    }
    return result;
}
