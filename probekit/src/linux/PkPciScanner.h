#pragma once
#include "PkLinuxAdapter.h"
#include "PkPciFunction.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QVector>

// Finds the network adapters under <root>/bus/pci/devices: functions of
// class 0x02xx, functions 0 and 1 of one device joined as ports A and B.
// A function whose identity cannot be read is left out, with a line in
// `skipped`; a field that cannot be read is left 0, with a note on its
// adapter.
class PkPciScanner
{
public:
    explicit PkPciScanner(const QString &sysfsRoot) : m_root(sysfsRoot) {}

    QVector<PkLinuxAdapter> scan(QList<QByteArray> *skipped) const;

private:
    bool readFunction(const QString &name, PkPciFunction *out, QList<QByteArray> *notes,
                      QList<QByteArray> *skipped) const;
    bool readIdentity(PkPciFunction *out, QList<QByteArray> *skipped) const;
    void readResources(PkPciFunction *out, QList<QByteArray> *notes) const;
    void readConfigSpace(PkPciFunction *out, QList<QByteArray> *notes) const;
    void findInterface(PkPciFunction *out) const;
    QMap<QString, int> slotNumbers() const;
    PkLinuxAdapter join(const QVector<PkPciFunction> &functions, const QList<QByteArray> &notes,
                        int slot) const;

    QString m_root;
};
