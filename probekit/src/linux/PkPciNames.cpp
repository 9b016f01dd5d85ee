#include "PkPciNames.h"

#include "PkFileReader.h"

#include <QList>

namespace {

// The list is some 1.3 MB today.
constexpr qint64 MaxListSize = 32 * 1024 * 1024;

} // namespace

QByteArray PkPciNames::describe(quint32 vendor, quint32 device)
{
    const QByteArray vendorKey = QByteArray::number(vendor, 16).rightJustified(4, '0');
    const QByteArray deviceKey = '\t' + QByteArray::number(device, 16).rightJustified(4, '0');
    for (const char *path : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"}) {
        QByteArray list, why;
        if (PkFileReader::readAll(QString::fromLatin1(path), MaxListSize, &list, &why) != PkFileReader::Read)
            continue;
        QByteArray vendorName;
        for (const QByteArray &line : list.split('\n')) {
            if (vendorName.isEmpty()) {
                if (line.startsWith(vendorKey + "  "))
                    vendorName = line.mid(6);
            } else if (line.startsWith(deviceKey + "  ")) {
                return vendorName + ' ' + line.mid(7);
            } else if (!line.startsWith('\t') && !line.startsWith('#') && !line.isEmpty()) {
                return vendorName; // the vendor's devices are over
            }
        }
        return vendorName;
    }
    return QByteArray();
}
