#pragma once
#include "PkLinuxCore.h"
#include "PkReporter.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// A VPD keyword write (or, with a null value, delete) on a real adapter.
// It reaches the card only when four guards allow it: PROBEKIT_ALLOW_WRITE
// names the adapter's function ("0000:03:00.0"), the program runs in
// advanced mode, the operator says Yes to the question after the line that
// names the adapter and the keyword, and a backup of the VPD as it stands
// has been written to the state directory. Otherwise the write goes to the
// shadow state and the log says it was simulated, and why. After a real
// write the VPD is read back and compared.
class PkVpdWriter
{
public:
    PkVpdWriter(PkLinuxCore &core, const PkReporter &reporter, const uint8_t *modeFlags)
        : m_core(core), m_reporter(reporter), m_modeFlags(modeFlags) {}

    int write(const QString &keyword, const QByteArray *value) const;

    // The question before a write to the card.
    static constexpr int ConfirmWrite = 101;

private:
    QByteArray refusal(const PkLinuxCore::Snapshot &current) const;
    int simulate(const QString &keyword, const QByteArray *value, const QByteArray &why) const;
    bool compose(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value,
                 std::vector<uint8_t> *before, std::vector<uint8_t> *after, int *status) const;
    bool confirmed(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value) const;
    bool backup(const PkLinuxCore::Snapshot &current, const std::vector<uint8_t> &image) const;
    int writeCard(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value,
                  const std::vector<uint8_t> &before, const std::vector<uint8_t> &after) const;
    int helperWrite(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value,
                    int denied) const;

    PkLinuxCore &m_core;
    const PkReporter &m_reporter;
    const uint8_t *m_modeFlags;
};
