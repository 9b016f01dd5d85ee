#pragma once
#include "PkAdapterModel.h"
#include "PkPciFunction.h"

#include <QByteArray>
#include <QList>
#include <QVector>

// A network adapter of this machine: its identity as the simulated
// adapters carry it (record, key, VPD and state), its functions as ports
// A and B, and what enumeration had to say about it.
struct PkLinuxAdapter {
    PkAdapterModel model;
    QVector<PkPciFunction> ports;
    QList<QByteArray> notes;
};
