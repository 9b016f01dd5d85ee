#include "PkFaults.h"
#include "PkEnvironment.h"
#include "PkLog.h"

#include <QJsonObject>
#include <QList>

PkFaults::Table PkFaults::fromJson(const PkFieldReader &faults)
{
    Table table;
    const QJsonObject object = faults.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const int status = int(faults.integerValue(it.value(), faults.pathOf(it.key()),
                                                   PkFieldReader::IntMin, PkFieldReader::IntMax, 0));
        if (status != 0)
            table.insert(it.key(), status);
    }
    return table;
}

PkFaults::Table PkFaults::fromText(const QByteArray &text)
{
    Table table;
    const QList<QByteArray> entries = text.split(',');
    for (const QByteArray &entry : entries) {
        const int equals = entry.indexOf('=');
        if (equals <= 0)
            continue;
        bool ok = false;
        const int status = entry.mid(equals + 1).trimmed().toInt(&ok);
        // A 0 is kept: it lets the environment switch off a fault of the file.
        if (ok)
            table.insert(QString::fromLatin1(entry.left(equals).trimmed()), status);
        else
            PkLog::line("PROBEKIT_FAULT: \"" + entry.trimmed()
                        + "\" ignored, its status is not a whole number in -2147483648..2147483647");
    }
    return table;
}

int PkFaults::lookup(const char *function, const Table &machine, const Table &adapter)
{
    const QString name = QString::fromLatin1(function);
    const Table fromEnv = fromText(PkEnvironment::faultText());
    if (fromEnv.contains(name))
        return fromEnv.value(name);
    if (adapter.contains(name))
        return adapter.value(name);
    return machine.value(name, 0);
}
