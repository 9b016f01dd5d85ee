#include "PkMachine.h"
#include "PkFieldReader.h"
#include "PkFileReader.h"
#include "PkRefusal.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

bool PkMachine::load(const QString &filePath)
{
    *this = PkMachine();
    path = filePath;
    QByteArray text;
    if (PkFileReader::readAll(filePath, MaxFileSize, &text, &problem) != PkFileReader::Read)
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        problem = error.error != QJsonParseError::NoError
            ? "not JSON: " + error.errorString().toUtf8() + " at byte " + QByteArray::number(error.offset)
            : QByteArray("not a JSON object");
        return false;
    }
    const PkFieldReader root(document.object(), QString(), &problem);
    tests = root.object().value(QStringLiteral("tests")).toObject();
    PkBehaviour::check(root.child(QStringLiteral("tests")));
    faults = PkFaults::fromJson(root.child(QStringLiteral("faults")));
    const QJsonObject refused = root.object().value(QStringLiteral("refusals")).toObject();
    for (auto it = refused.begin(); it != refused.end(); ++it)
        refusals.insert(it.key(), it.value().toString().toUtf8().left(PkRefusal::MaxBytes));
    const QJsonArray list = root.object().value(QStringLiteral("adapters")).toArray();
    for (int i = 0; i < list.size() && !root.failed(); ++i) {
        PkAdapterModel model;
        // An entry without a vendor would read as the end of the table, and
        // a second entry at the same bus and device would share its lock.
        const PkFieldReader entry = root.element(QStringLiteral("adapters"), i, list.at(i).toObject());
        if (PkAdapterModel::fromJson(entry, model) && !find(model.bus, model.device))
            adapters.append(model);
    }
    if (root.failed()) {
        const QByteArray why = problem;
        *this = PkMachine();
        path = filePath;
        problem = why;
        return false;
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
