#include "TvAdapterListing.h"
#include "description/CAdapterInfo.h"
#include "platform/TvPlatform.h"
#include "text/TvText.h"

#include <QVector>
#include <cstdio>

namespace {

QString adapterName(const AdapterRecord &record)
{
    char buffer[256] = {};
    uint32_t size = sizeof buffer;
    if (VpdReadKeyword("Name", buffer, &size) == 0) {
        buffer[sizeof buffer - 1] = '\0';
        return QString::fromUtf8(buffer);
    }
    return CAdapterInfo::instance().adapterName(TvAdapterListing::adapterKey(record));
}

void printAdapterLine(const AdapterRecord &record, const QString &name)
{
    const QByteArray bytes = name.toUtf8();
    if (record.slotNumber == -1)
        std::printf("%-63.63s NA   %-2d  %-2d\n", bytes.constData(), record.busNumber,
                    record.deviceNumber);
    else
        std::printf("%-63.63s %-2d   %-2d  %-2d\n", bytes.constData(), record.slotNumber,
                    record.busNumber, record.deviceNumber);
}

} // namespace

QString TvAdapterListing::adapterKey(const AdapterRecord &record)
{
    return QString::asprintf("%4.4X:%4.4X:%4.4X:%4.4X", record.vendorId, record.deviceId,
                             record.subsystemVendorId, record.subsystemId);
}

QVector<uint32_t> TvAdapterListing::vendorFilter()
{
    QVector<uint32_t> filter;
    const QList<PciIdEntry> &ids = CAdapterInfo::instance().vendorIds;
    if (ids.isEmpty())
        return filter;
    for (const PciIdEntry &entry : ids)
        filter << entry.vendorId << entry.deviceId;
    filter << 0 << 0;
    return filter;
}

bool TvAdapterListing::isEndRecord(const AdapterRecord &record)
{
    return record.busNumber == 0 && record.deviceNumber == 0 && record.slotNumber == 0
           && record.deviceId == 0 && record.vendorId == 0;
}

void TvAdapterListing::listAdapters()
{
    const QVector<uint32_t> filter = vendorFilter();
    const AdapterRecord *table = AdapterEnumerate(filter.isEmpty() ? nullptr : filter.constData());
    if (!table) {
        TvPlatform::writeConsole(QStringLiteral("\n") + TvText::translate("NoGUIText", "ADAPTER_LIST_FAILED")
                                 + QStringLiteral("\n"));
        return;
    }
    TvPlatform::writeConsole(QStringLiteral("\n") + TvText::translate("NoGUIText", "LIST_ALL_ADAPTERS")
                             + QStringLiteral("\n"));
    TvPlatform::writeConsole(TvText::translate("NoGUIText", "\t\t\t\t\t\t\t        Slot Bus Dev.Num\n"));
    for (const AdapterRecord *record = table; !isEndRecord(*record); ++record) {
        if (AdapterSelect(record) != 0)
            continue;
        printAdapterLine(*record, adapterName(*record));
    }
    // The listing is mixed with console-writer output later on; keep order.
    std::fflush(stdout);
}
