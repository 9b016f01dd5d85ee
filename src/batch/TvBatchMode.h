#pragma once
#include "TvBatchResult.h"
#include "TvBatchSettings.h"

#include <QList>
#include <QString>

#include <probekit.h>

class TvBatchConsole;
class TvBatchSignals;

// A headless run (--run): the chosen test cases on the chosen adapters,
// without a window, a display or an operator. One adapter runs in this
// process; several run in child processes at the same time. Then one
// table, the metrics file and one exit status. The core is initialised
// and the description files are read before run() is called.
class TvBatchMode
{
public:
    enum ExitStatus { AllPassed = 0, SomethingFailed = 1, UsageError = 2, NothingRan = 3 };

    static int run(const TvBatchSettings &settings);

    // The exit status for these results: 3 when no adapter ran, else 0
    // when every adapter passed, else 1.
    static int exitStatus(const QList<TvBatchResult> &results);

private:
    static bool chooseAdapters(const TvBatchSettings &settings, TvBatchConsole &console,
                               QList<AdapterRecord> *chosen, int *status);
    // The test case numbers --run names: empty for "all", else one; false
    // (with the message shown) for a name that no test case has.
    static bool resolveTest(const QString &run, QList<int> *numbers, TvBatchConsole &console);
    // What runs on this adapter: empty, with *why set, when nothing can.
    static QList<int> testCasesFor(const AdapterRecord &adapter, const QList<int> &named, QString *why);
    static QList<TvBatchResult> runHere(const TvBatchSettings &settings, TvBatchConsole &console,
                                        TvBatchSignals &interrupts, const QList<AdapterRecord> &adapters,
                                        const QList<int> &named);
    static QList<TvBatchResult> runChildren(const TvBatchSettings &settings, TvBatchConsole &console,
                                            TvBatchSignals &interrupts, const QList<AdapterRecord> &adapters);
    static void printTable(TvBatchConsole &console, const QList<TvBatchResult> &results);
    static bool publish(const TvBatchSettings &settings, TvBatchConsole &console,
                        const QList<TvBatchResult> &results);
};
