#pragma once
#include "PkLinuxAdapter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// The description files (configuration, adapter and test information) for
// the adapters present, in the format the program reads from its data
// directory: each adapter by its name in the PCI ID database, with the
// test cases its driver offers, and one "Driver self-test" test case for
// each distinct list of self-test names the drivers report.
class PkLinuxDescription
{
public:
    // What the program needs to know of one adapter's driver.
    struct Offer {
        QList<QByteArray> selfTests;
        bool eeprom = false;
    };

    explicit PkLinuxDescription(const QVector<PkLinuxAdapter> &adapters);

    QByteArray configFile() const;
    QByteArray adapterFile() const;
    QByteArray testFile() const;
    // Writes the three files into `dir`, each whole or not at all.
    bool write(const QString &dir, QByteArray *why) const;
    // Lines about what was left out (a driver with too many self-tests).
    QList<QByteArray> notes() const { return m_notes; }

    // For tests: the offers given, not asked of the drivers.
    PkLinuxDescription(const QVector<PkLinuxAdapter> &adapters, const QVector<Offer> &offers);

private:
    static Offer ask(const PkLinuxAdapter &adapter);
    void build();
    QByteArray adapterEntry(const PkLinuxAdapter &adapter, const Offer &offer) const;
    QByteArray selfTestCase(int list, const char *language) const;

    QVector<PkLinuxAdapter> m_adapters;
    QVector<Offer> m_offers;
    QList<QList<QByteArray>> m_lists; // distinct self-test lists, numbered from 0
    QList<QByteArray> m_notes;
};
