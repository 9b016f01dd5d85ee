#pragma once
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>

// A simulated machine for one test: writes the machine file into a private
// temporary directory and points the core library at it (machine file,
// state directory and lock directory), so tests never share adapter state
// or locks. Call CoreInit after install().
class TvTestMachine
{
public:
    TvTestMachine();

    // A known dual-port adapter by default; override fields as needed.
    static QJsonObject adapter(int bus, int device, int slot,
                               const QString &deviceId = QStringLiteral("0102"),
                               const QString &subsystemId = QStringLiteral("0001"));

    QJsonArray adapters;
    QJsonObject tests;    // default behaviour table by sub-test id
    QJsonObject faults;
    QJsonObject refusals; // call name: the reason the core notes

    // Writes the file and sets PROBEKIT_MACHINE, PROBEKIT_STATE_DIR and
    // PROBEKIT_LOCK_DIR. Returns the machine file path.
    QString install();

    QString path(const QString &name) const { return dir.filePath(name); }
    QString lockDir() const { return dir.filePath(QStringLiteral("locks")); }

private:
    QTemporaryDir dir;
};
