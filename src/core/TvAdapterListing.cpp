#include "TvAdapterListing.h"
#include "description/CAdapterInfo.h"
#include "platform/TvPlatform.h"
#include "text/TvControlText.h"
#include "text/TvProgram.h"
#include "text/TvText.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

// The text cut to at most `width` characters, never inside a surrogate
// pair; *count receives how many characters are left.
QString cutToCharacters(const QString &text, int width, int *count)
{
    int characters = 0;
    int i = 0;
    while (i < text.size() && characters < width) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
                          && text.at(i + 1).isLowSurrogate();
        i += pair ? 2 : 1;
        ++characters;
    }
    *count = characters;
    return text.left(i);
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
    filter.reserve(2 * ids.size() + 2);
    for (const PciIdEntry &entry : ids)
        filter << entry.vendorId << entry.deviceId;
    filter << 0 << 0;
    return filter;
}

AdapterRecord *TvAdapterListing::enumerateAdapters()
{
    const QVector<uint32_t> filter = vendorFilter();
    return AdapterEnumerate(filter.constData());
}

bool TvAdapterListing::isEndRecord(const AdapterRecord &record)
{
    return record.busNumber == 0 && record.deviceNumber == 0 && record.slotNumber == 0
           && record.deviceId == 0 && record.vendorId == 0;
}

QByteArray TvAdapterListing::adapterLine(const AdapterRecord &record, const QString &name)
{
    // The column counts characters, not UTF-8 bytes: a byte cut could leave
    // half a character, and byte padding misaligns the columns after any
    // letter beyond ASCII.
    int characters = 0;
    QString line = cutToCharacters(TvControlText::terminalLine(name), NameWidth, &characters);
    line += QString(NameWidth - characters, QLatin1Char(' '));
    if (record.slotNumber == -1)
        line += QString::asprintf(" NA   %-2d  %-2d\n", record.busNumber, record.deviceNumber);
    else
        line += QString::asprintf(" %-2d   %-2d  %-2d\n", record.slotNumber, record.busNumber,
                                  record.deviceNumber);
    return line.toUtf8();
}

void TvAdapterListing::listAdapters()
{
    const AdapterRecord *table = enumerateAdapters();
    if (!table) {
        TvPlatform::writeConsole(QStringLiteral("\n") + TvText::translate("NoGUIText", "ADAPTER_LIST_FAILED")
                                 + QStringLiteral("\n"));
        return;
    }
    TvPlatform::writeConsole(QStringLiteral("\n") + TvText::translate("NoGUIText", "LIST_ALL_ADAPTERS")
                             + QStringLiteral("\n"));
    TvPlatform::writeConsole(TvText::translate("NoGUIText", "\t\t\t\t\t\t\t        Slot Bus Dev.Num\n"));
    int listed = 0;
    for (const AdapterRecord *record = table; !isEndRecord(*record); ++record) {
        if (AdapterSelect(record) != 0)
            continue;
        const QByteArray line = adapterLine(*record, adapterName(*record));
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        ++listed;
    }
    // The listing is mixed with console-writer output later on; keep order.
    reportWriteFailure(std::fflush(stdout) == 0 ? 0 : errno);
    if (listed == 0)
        explainEmptyListing();
}

QString TvAdapterListing::emptyListingHint(const QString &configuration)
{
    QStringList vendors;
    for (const PciIdEntry &entry : CAdapterInfo::instance().vendorIds)
        vendors.append(QString::asprintf("%4.4X", entry.vendorId));
    const QString linuxFiles = QDir(TvPlatform::dataDirectory()).filePath(QStringLiteral("linux/"));
    return TvText::translate("NoGUIText", "LIST_EMPTY_HINT %1 %2 %3")
        .arg(vendors.isEmpty() ? QStringLiteral("-") : vendors.join(QStringLiteral(", ")), configuration,
             linuxFiles);
}

void TvAdapterListing::explainEmptyListing()
{
    // An empty table alone does not say whether the machine has no such
    // adapter or the description files and the backend do not match.
    const QByteArray text = (emptyListingHint(TvProgram::configPath()) + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

void TvAdapterListing::reportWriteFailure(int flushError)
{
    // Standard output may be a file on a full disk or past the file size
    // limit: a listing cut short must not pass for the whole list.
    if (flushError == 0 && !std::ferror(stdout))
        return;
    const QString reason = QString::fromLocal8Bit(std::strerror(flushError != 0 ? flushError : EIO));
    const QByteArray text =
        (TvText::translate("NoGUIText", "LIST_WRITE_FAILED %1").arg(reason) + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}
