#include "TvCoreRefusal.h"

#include "text/TvText.h"

#include <probekit.h>

#include <cstdarg>
#include <cstdio>

namespace {

// The calling thread's answer: the callback table carries no context, and
// the window's thread and the worker may ask at the same time.
thread_local QByteArray answer;

int keepResult(const char *format, ...)
{
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    answer = text;
    return 0;
}

} // namespace

QString TvCoreRefusal::take()
{
    CoreCallbacks table {};
    table.resultText = keepResult;
    answer.clear();
    if (CommandRun("why", nullptr, &table) != 0)
        return QString();
    return QString::fromLocal8Bit(answer).trimmed();
}

QString TvCoreRefusal::explained(const QString &text)
{
    const QString reason = take();
    if (reason.isEmpty())
        return text;
    return text + QLatin1Char('\n') + TvText::translate("TvCoreRefusal", "CORE_REASON %1").arg(reason);
}
