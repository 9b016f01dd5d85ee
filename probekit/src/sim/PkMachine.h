#pragma once
#include "PkAdapterModel.h"
#include "PkFaults.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVector>

// The simulated machine: what the machine file says is installed.
class PkMachine
{
public:
    // False, with the reason in `problem`, when the file cannot be read, is
    // not a JSON object or holds a number outside its range.
    bool load(const QString &path);

    // The machine file of the largest simulated machine, with room to spare.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    const PkAdapterModel *find(int bus, int device) const;

    QVector<PkAdapterModel> adapters;
    QJsonObject tests;
    PkFaults::Table faults;
    // Calls the core refuses, with the reason it notes for "why", as the
    // Linux backend does when it may not switch the locate LED.
    QMap<QString, QByteArray> refusals;
    QString path;
    QByteArray problem;
};
