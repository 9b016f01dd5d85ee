#include "PkPciNames.h"

#include <QFile>

QByteArray PkPciNames::describe(quint32 vendor, quint32 device)
{
    const QByteArray vendorKey = QByteArray::number(vendor, 16).rightJustified(4, '0');
    const QByteArray deviceKey = '\t' + QByteArray::number(device, 16).rightJustified(4, '0');
    for (const char *path : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"}) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QByteArray vendorName;
        while (!file.atEnd()) {
            QByteArray line = file.readLine();
            line.chop(line.endsWith('\n') ? 1 : 0);
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
