#pragma once
#include "PkFieldReader.h"

#include <QByteArray>
#include <QJsonValue>
#include <QMap>
#include <QString>

// The fault switch: a table of function name to the status that function
// returns instead of doing its work. Tables come from the machine file
// (top level and per adapter) and from PROBEKIT_FAULT, which wins.
class PkFaults
{
public:
    using Table = QMap<QString, int>;

    // Statuses are 32-bit integers; another number is the reader's problem.
    static Table fromJson(const PkFieldReader &faults);
    // "AdapterSelect=29, VpdReadKeyword=16"; malformed entries are skipped
    // with a line on standard error.
    static Table fromText(const QByteArray &text);

    // The injected status of a function, 0 when it is not faulted.
    static int lookup(const char *function, const Table &machine, const Table &adapter);
};
