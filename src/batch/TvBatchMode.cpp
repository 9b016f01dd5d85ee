#include "TvBatchMode.h"
#include "TvBatchAdapterRun.h"
#include "TvBatchConsole.h"
#include "TvBatchFleet.h"
#include "TvBatchSignals.h"
#include "TvPrometheusFile.h"

#include "core/TvAdapterListing.h"
#include "description/CAdapterInfo.h"
#include "records/TvRunRecordWriter.h"
#include "text/TvProgram.h"
#include "text/TvText.h"

#include <QObject>

#include <algorithm>
#include <functional>

namespace {

QString batchText(const char *key)
{
    return TvText::translate("TvBatch", key);
}

// The special entries of the test list: the all-tests entry stands for
// "all"; the connectivity test needs addresses only the window asks for.
constexpr int AllTestsNumber = 9999;
constexpr int ConnectivityNumber = 9998;

QString plainMenuEntry(const CTestCase &t)
{
    return QString(t.menuentry).remove(QLatin1Char('&'));
}

// Cancels on the first signal; tells on a further one that the run is
// ending already and what it still writes.
void onSignal(TvBatchConsole &console, int count, bool child, const std::function<void()> &cancel)
{
    if (count == 1) {
        if (!child)
            console.error(batchText("BATCH_CANCELLING"));
        cancel();
    } else if (!child) {
        console.error(batchText("BATCH_STILL_CANCELLING"));
    }
}

} // namespace

int TvBatchMode::exitStatus(const QList<TvBatchResult> &results)
{
    bool ran = false;
    bool allPassed = true;
    for (const TvBatchResult &r : results) {
        ran = ran || r.status != TvBatchResult::NotRun;
        allPassed = allPassed && r.status == TvBatchResult::Passed;
    }
    if (!ran)
        return NothingRan;
    return allPassed ? AllPassed : SomethingFailed;
}

int TvBatchMode::run(const TvBatchSettings &settings)
{
    TvBatchConsole console(settings.quiet);
    // At once: a signal before the tests start cancels them as well.
    TvBatchSignals interrupts;
    const bool child = !settings.childReport.isEmpty();
    QString why;
    if (!child && !settings.prometheusFile.isEmpty()
        && !TvPrometheusFile::directoryWritable(settings.prometheusFile, &why)) {
        console.error(batchText("BATCH_METRICS_FAILED %1 %2").arg(settings.prometheusFile, why));
        return NothingRan;
    }
    QList<AdapterRecord> adapters;
    int status = 0;
    if (!chooseAdapters(settings, console, &adapters, &status))
        return status;
    QList<int> named;
    if (!resolveTest(settings.run, &named, console))
        return UsageError;
    const QList<TvBatchResult> results = adapters.size() > 1 && !child
                                             ? runChildren(settings, console, interrupts, adapters)
                                             : runHere(settings, console, interrupts, adapters, named);
    console.finish();
    if (child) {
        QString errorText;
        if (!TvRunRecordWriter::writeAtomically(settings.childReport, results.first().toJson(), &errorText))
            console.error(batchText("BATCH_REPORT_FAILED %1 %2").arg(settings.childReport, errorText));
        return results.first().status;
    }
    printTable(console, results);
    if (!publish(settings, console, results))
        return NothingRan;
    return exitStatus(results);
}

bool TvBatchMode::chooseAdapters(const TvBatchSettings &settings, TvBatchConsole &console,
                                 QList<AdapterRecord> *chosen, int *status)
{
    const AdapterRecord *table = TvAdapterListing::enumerateAdapters();
    QList<AdapterRecord> present;
    for (int i = 0; table && !TvAdapterListing::isEndRecord(table[i]); ++i)
        present.append(table[i]);
    if (settings.allAdapters) {
        *chosen = present;
        if (!chosen->isEmpty())
            return true;
        console.error(batchText("BATCH_NO_ADAPTERS"));
        *status = NothingRan;
        return false;
    }
    for (const TvBatchSettings::Adapter &wanted : settings.adapters) {
        auto found = std::find_if(present.cbegin(), present.cend(), [&wanted](const AdapterRecord &r) {
            return r.busNumber == wanted.first && r.deviceNumber == wanted.second;
        });
        if (found == present.cend()) {
            console.error(batchText("BATCH_UNKNOWN_ADAPTER %1").arg(QStringLiteral("%1:%2").arg(wanted.first).arg(wanted.second)));
            *status = UsageError;
            return false;
        }
        chosen->append(*found);
    }
    return true;
}

bool TvBatchMode::resolveTest(const QString &run, QList<int> *numbers, TvBatchConsole &console)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    if (run.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0)
        return true;
    bool isNumber = false;
    const int asNumber = run.toInt(&isNumber);
    for (auto it = info.testCases.cbegin(); it != info.testCases.cend(); ++it) {
        const bool match = isNumber ? it.key() == asNumber
                                    : it.value().testname.compare(run, Qt::CaseInsensitive) == 0
                                          || plainMenuEntry(it.value()).compare(run, Qt::CaseInsensitive) == 0;
        if (!match)
            continue;
        if (it.key() == ConnectivityNumber)
            break;
        if (it.key() != AllTestsNumber)
            numbers->append(it.key());
        return true;
    }
    console.error(batchText("BATCH_UNKNOWN_TEST %1").arg(run));
    return false;
}

QList<int> TvBatchMode::testCasesFor(const AdapterRecord &adapter, const QList<int> &named, QString *why)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    const QList<int> *offered = info.adapterTestCases(TvAdapterListing::adapterKey(adapter));
    if (!offered || offered->isEmpty()) {
        *why = batchText("BATCH_ADAPTER_NOT_SUPPORTED %1").arg(TvAdapterListing::adapterKey(adapter));
        return {};
    }
    QList<int> chosen;
    for (const int number : *offered) {
        const CTestCase *t = info.testCase(number);
        const bool allowed = t && (t->advanced == 0 || TvProgram::advancedMode());
        if (allowed && (named.isEmpty() ? t->all_tests == 1 : named.contains(number)))
            chosen.append(number);
    }
    if (chosen.isEmpty())
        *why = batchText("BATCH_TEST_NOT_OFFERED");
    return chosen;
}

QList<TvBatchResult> TvBatchMode::runHere(const TvBatchSettings &settings, TvBatchConsole &console,
                                          TvBatchSignals &interrupts, const QList<AdapterRecord> &adapters,
                                          const QList<int> &named)
{
    QList<TvBatchResult> results;
    TvBatchAdapterRun adapterRun(settings, &console);
    const bool child = !settings.childReport.isEmpty();
    QObject::connect(&interrupts, &TvBatchSignals::arrived, [&](int, int count) {
        onSignal(console, count, child, [&adapterRun] { adapterRun.cancel(); });
    });
    for (const AdapterRecord &adapter : adapters) {
        QString why;
        const QList<int> testCases = testCasesFor(adapter, named, &why);
        if (testCases.isEmpty() || interrupts.count() > 0) {
            TvBatchResult notRun;
            notRun.bus = adapter.busNumber;
            notRun.device = adapter.deviceNumber;
            notRun.name = CAdapterInfo::instance().adapterName(TvAdapterListing::adapterKey(adapter));
            notRun.message = why;
            notRun.start = QDateTime::currentDateTimeUtc();
            results.append(notRun);
            continue;
        }
        results.append(adapterRun.run(adapter, testCases, named.isEmpty()));
    }
    return results;
}

QList<TvBatchResult> TvBatchMode::runChildren(const TvBatchSettings &settings, TvBatchConsole &console,
                                              TvBatchSignals &interrupts, const QList<AdapterRecord> &adapters)
{
    TvBatchFleet fleet(settings, &console);
    QObject::connect(&interrupts, &TvBatchSignals::arrived, [&](int, int count) {
        onSignal(console, count, false, [&fleet] { fleet.cancel(); });
    });
    return fleet.run(adapters);
}

void TvBatchMode::printTable(TvBatchConsole &console, const QList<TvBatchResult> &results)
{
    console.line(QString());
    console.line(batchText("BATCH_TABLE_HEADER"));
    for (const TvBatchResult &r : results) {
        const char *key = r.status == TvBatchResult::Passed ? "BATCH_RESULT_PASSED"
                          : r.status == TvBatchResult::NotRun ? "BATCH_RESULT_NOT_RUN"
                          : r.cancelled                       ? "BATCH_RESULT_CANCELLED"
                                                              : "BATCH_RESULT_FAILED";
        const QString serial = r.serial.isEmpty() ? QStringLiteral("-") : r.serial;
        QString row = QStringLiteral("%1 %2 %3 %4").arg(r.adapterText(), -7).arg(batchText(key), -12).arg(serial, -12).arg(r.name.isEmpty() ? QStringLiteral("-") : r.name);
        if (!r.message.isEmpty())
            row += QStringLiteral(": ") + r.message;
        console.line(row);
    }
}

bool TvBatchMode::publish(const TvBatchSettings &settings, TvBatchConsole &console,
                          const QList<TvBatchResult> &results)
{
    if (settings.prometheusFile.isEmpty())
        return true;
    QString errorText;
    if (TvPrometheusFile::write(settings.prometheusFile, results, &errorText))
        return true;
    console.error(batchText("BATCH_METRICS_FAILED %1 %2").arg(settings.prometheusFile, errorText));
    return false;
}
