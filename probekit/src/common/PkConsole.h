#pragma once
#include "PkPacer.h"
#include "PkReporter.h"

#include <QByteArray>
#include <QList>

// What the command languages of both backends share: their answers to a
// wrong form and to a missing adapter, and the wait.
class PkConsole
{
public:
    using Words = QList<QByteArray>;

    static constexpr int BadCommand = 8;
    static constexpr int NoSuchDevice = 11;
    static constexpr int Cancelled = -1;

    // "Usage: ..."; BadCommand.
    static int usage(const PkReporter &reporter, const char *text);
    // "No adapter selected"; NoSuchDevice.
    static int noAdapter(const PkReporter &reporter);
    // "sleep <ms>": 0, or Cancelled when a cancel came first.
    static int sleep(const PkReporter &reporter, const PkPacer &pacer, const Words &words);
    // The sub-test number of "selftest <id>"; false for another form.
    static bool testNumber(const Words &words, int *id);
};
