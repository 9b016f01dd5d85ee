#pragma once
#include <QByteArray>

// Lines for calls that have no callback table to report through
// (enumeration, selection, VPD writes, locate): standard error, each
// distinct line once a process, since the program enumerates every few
// seconds and would repeat the same news.
class PkLog
{
public:
    static void line(const QByteArray &text);
};
