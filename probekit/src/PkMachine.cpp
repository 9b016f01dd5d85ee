#include "PkMachine.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

bool PkMachine::load(const QString &filePath)
{
    *this = PkMachine();
    path = filePath;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject root = document.object();
    tests = root.value(QStringLiteral("tests")).toObject();
    faults = PkFaults::fromJson(root.value(QStringLiteral("faults")));
    for (const QJsonValue &entry : root.value(QStringLiteral("adapters")).toArray()) {
        PkAdapterModel model;
        // An entry without a vendor would read as the end of the table, and
        // a second entry at the same bus and device would share its lock.
        if (PkAdapterModel::fromJson(entry.toObject(), model) && !find(model.bus, model.device))
            adapters.append(model);
    }
    return true;
}

const PkAdapterModel *PkMachine::find(int bus, int device) const
{
    for (const PkAdapterModel &model : adapters) {
        if (model.sameSlot(bus, device))
            return &model;
    }
    return nullptr;
}
