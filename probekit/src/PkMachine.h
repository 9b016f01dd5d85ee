#pragma once
#include "PkAdapterModel.h"
#include "PkFaults.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

// The simulated machine: what the machine file says is installed.
class PkMachine
{
public:
    // False when the file cannot be read or is not a JSON object.
    bool load(const QString &path);

    const PkAdapterModel *find(int bus, int device) const;

    QVector<PkAdapterModel> adapters;
    QJsonObject tests;
    PkFaults::Table faults;
    QString path;
};
