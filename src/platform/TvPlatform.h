#pragma once
#include <QString>
#include <QtGlobal>

// The small layer that stands in for the operating-system calls of the program.
class TvPlatform
{
public:
    // Locale identifier of the user's language (for example 0x407 for
    // de_DE), from LC_ALL, LC_MESSAGES or LANG; 0 when none is known.
    static quint32 userLocaleId();
    // Writes text as UTF-8 to standard output, adds nothing, and flushes so
    // that it stays in order with printf output.
    static void writeConsole(const QString &text);
    // Milliseconds of the monotonic clock; wraps at 32 bits.
    static quint32 tickCount();
    static quint32 processId();
};
