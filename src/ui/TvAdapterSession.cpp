#include "TvAdapterSession.h"
#include "TvAsk.h"
#include "TvContextText.h"
#include "log/TvLogBook.h"

#include "core/TvAdapterListing.h"
#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"

#include <probekit.h>

#include <QVector>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};
// The core's answer when another process holds the adapter's lock.
constexpr int AdapterLockFailed = 29;

} // namespace

TvAdapterSession::TvAdapterSession(TvAsk *ask, TvLogBook *log, QObject *parent)
    : QObject(parent), ask(ask), log(log)
{
}

bool TvAdapterSession::enumerate()
{
    adapters = TvAdapterListing::enumerateAdapters();
    return adapters != nullptr;
}

int TvAdapterSession::count() const
{
    int n = 0;
    if (adapters) {
        while (!TvAdapterListing::isEndRecord(adapters[n]))
            ++n;
    }
    return n;
}

const AdapterRecord &TvAdapterSession::record(int index) const
{
    return adapters[index];
}

void TvAdapterSession::clear()
{
    current = -1;
    bus = -1;
    device = -1;
    key.clear();
    name.clear();
    emit cleared();
}

bool TvAdapterSession::select(int index)
{
    if (!adapters || index < 0 || index >= count())
        return false;
    const AdapterRecord record = adapters[index];
    lostPick = false;
    const int status = AdapterSelect(&record);
    if (status == AdapterLockFailed && automaticPick && takenElsewhere(record)) {
        // Not a failure of this window: the adapter the refresh chose is in
        // use, as the list would have shown a moment later. The refresh
        // picks another one; the log has the pick as one of an adapter in use.
        lostPick = true;
        failure = msg("ADAPTER_ALREADY_DIAGNOSED");
        return false;
    }
    if (status != 0) {
        reportSelectFailure(status);
        return false;
    }
    failure.clear();
    selectFailureShown = false;
    current = index;
    bus = record.busNumber;
    device = record.deviceNumber;
    key = TvAdapterListing::adapterKey(record);
    name = readCardName();
    emit selected(index);
    return true;
}

bool TvAdapterSession::takenElsewhere(const AdapterRecord &picked)
{
    if (!enumerate())
        return false;
    for (int i = 0; i < count(); ++i) {
        const AdapterRecord &r = adapters[i];
        if (r.busNumber == picked.busNumber && r.deviceNumber == picked.deviceNumber)
            return r.inUse != 0;
    }
    return false;
}

bool TvAdapterSession::takeLostPick()
{
    const bool lost = lostPick;
    lostPick = false;
    return lost;
}

QString TvAdapterSession::logName() const
{
    return msg("ADAPTER_LOG_NAME %1 %2 %3").arg(name).arg(bus).arg(device);
}

QString TvAdapterSession::readCardName() const
{
    char text[256] = {};
    uint32_t size = sizeof text;
    if (VpdReadKeyword("Name", text, &size) == 0)
        return QString::fromUtf8(text, int(qstrnlen(text, qMin<uint32_t>(size, sizeof text))));
    return CAdapterInfo::instance().adapterName(key);
}

void TvAdapterSession::reportSelectFailure(int status)
{
    failure = TvStatusCodes::statusText(status);
    // The refresh retries the pick every few seconds; a failure that
    // persists must not bring up the same box each time. The pick's lines
    // in the log carry it every time.
    if (automaticPick && selectFailureShown)
        return;
    selectFailureShown = true;
    ask->message(TvDialogSeam::Critical, failure, TvDialogSeam::Cancel, msg("CANCEL_TEXT"));
}
