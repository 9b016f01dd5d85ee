#include "TvCoreCallbacks.h"
#include "TvCoreCatalogue.h"
#include "TvAnswerGate.h"
#include "TvCoreEvent.h"
#include "TvEventChannel.h"

#include <QString>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>

namespace {

// std::mutex so that ThreadSanitizer sees the locking.
std::mutex receiverLock;
TvEventChannel *receiverChannel = nullptr;

QString formatText(const char *format, va_list args)
{
    char buffer[TvCoreCallbacks::MaxText + 1];
    std::vsnprintf(buffer, sizeof buffer, format ? format : "", args);
    return QString::fromUtf8(buffer);
}

int postText(TvCoreEvent::Kind kind, const QString &text)
{
    auto *event = new TvCoreEvent(kind);
    event->text = text;
    return TvCoreCallbacks::post(event) ? 0 : 1;
}

// Without a window the text is not even formatted.
int postFormatted(TvCoreEvent::Kind kind, const char *format, va_list args)
{
    if (!TvCoreCallbacks::hasReceiver())
        return 1;
    return postText(kind, formatText(format, args));
}

int stampedText(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = postFormatted(TvCoreEvent::LogText, format, args);
    va_end(args);
    return result;
}

int logText(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = postFormatted(TvCoreEvent::CoreLogText, format, args);
    va_end(args);
    return result;
}

int resultText(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = postFormatted(TvCoreEvent::ResultText, format, args);
    va_end(args);
    return result;
}

int postCell(int row, int column, const QString &key)
{
    auto *event = new TvCoreEvent(TvCoreEvent::StateCell);
    event->row = row;
    event->column = column;
    event->text = key;
    return TvCoreCallbacks::post(event) ? 0 : 1;
}

int catalogMessage(int row, int column, int message)
{
    if (!TvCoreCallbacks::hasReceiver())
        return 1;
    return postCell(row, column, TvCoreCatalogue::coreMessageKey(message));
}

int formattedMessage(int row, int column, const char *format, ...)
{
    if (!TvCoreCallbacks::hasReceiver())
        return 1;
    va_list args;
    va_start(args, format);
    const QString text = formatText(format, args);
    va_end(args);
    return postCell(row, column, text);
}

int progress(int value)
{
    if (!TvCoreCallbacks::hasReceiver())
        return 1;
    auto *event = new TvCoreEvent(TvCoreEvent::Progress);
    event->value = value;
    return TvCoreCallbacks::post(event) ? 0 : 1;
}

int askUser(int message, int button0, int button1, int button2)
{
    return TvCoreCallbacks::ask(TvCoreCatalogue::coreMessageKey(message), button0, button1, button2);
}

const CoreCallbacks fullTable = {stampedText, logText, resultText, catalogMessage,
                                 formattedMessage, progress, askUser};
const CoreCallbacks flashOnlyTable = {stampedText, logText, resultText, nullptr,
                                      nullptr, progress, askUser};

} // namespace

void TvCoreCallbacks::setReceiver(QObject *receiver)
{
    TvEventChannel *channel = TvEventChannel::of(receiver);
    TvEventChannel *previous = nullptr;
    {
        std::lock_guard<std::mutex> lock(receiverLock);
        previous = receiverChannel;
        receiverChannel = channel;
    }
    if (!receiver && previous)
        previous->releaseQuestions();
}

bool TvCoreCallbacks::hasReceiver()
{
    std::lock_guard<std::mutex> lock(receiverLock);
    return receiverChannel != nullptr;
}

const CoreCallbacks *TvCoreCallbacks::table()
{
    return &fullTable;
}

const CoreCallbacks *TvCoreCallbacks::flashTable()
{
    return &flashOnlyTable;
}

bool TvCoreCallbacks::post(TvCoreEvent *event)
{
    std::lock_guard<std::mutex> lock(receiverLock);
    if (!receiverChannel) {
        delete event;
        return false;
    }
    receiverChannel->post(event);
    return true;
}

int TvCoreCallbacks::ask(const QString &text, int button0, int button1, int button2)
{
    if (!hasReceiver())
        return 1;
    TvCoreEvent *event = TvCoreEvent::question(text, button0, button1, button2);
    const std::shared_ptr<TvAnswerGate> gate = event->gate;
    if (!post(event))
        return 1;
    return gate->wait();
}
