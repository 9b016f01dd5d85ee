#include "PkConsole.h"

int PkConsole::usage(const PkReporter &reporter, const char *text)
{
    reporter.log(QByteArrayLiteral("Usage: ") + text);
    return BadCommand;
}

int PkConsole::noAdapter(const PkReporter &reporter)
{
    reporter.log(QByteArrayLiteral("No adapter selected"));
    return NoSuchDevice;
}

int PkConsole::sleep(const PkReporter &reporter, const PkPacer &pacer, const Words &words)
{
    bool ok = false;
    const int ms = words.value(1).toInt(&ok);
    if (!ok || ms < 0 || words.size() != 2)
        return usage(reporter, "sleep <ms>");
    reporter.log("Waiting " + QByteArray::number(ms) + " ms");
    return pacer.wait(ms) ? 0 : Cancelled;
}

bool PkConsole::testNumber(const Words &words, int *id)
{
    bool ok = false;
    *id = words.value(1).toInt(&ok);
    return ok && words.size() == 2;
}
