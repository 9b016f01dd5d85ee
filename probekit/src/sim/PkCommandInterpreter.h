#pragma once
#include "PkAdapterModel.h"
#include "PkReporter.h"

#include <QByteArray>
#include <QList>

#include <cstdint>

class PkCore;

// The core's small command language, as the advanced console reaches it.
// Output goes through the log entry of the callback table.
class PkCommandInterpreter
{
public:
    PkCommandInterpreter(PkCore &core, const PkReporter &reporter, const uint8_t *modeFlags)
        : m_core(core), m_reporter(reporter), m_modeFlags(modeFlags) {}

    // 0 done, a positive status on failure, Cancelled when stopped.
    int run(const QByteArray &line) const;

    static constexpr int Cancelled = -1;
    // Unknown commands and bad arguments.
    static constexpr int BadCommand = 8;
    static constexpr int NoSuchDevice = 11;
    // Simulated time between two updates of a mode's state cells.
    static constexpr int ModeUpdateMs = 500;
    static constexpr int ModeFloorMs = 10;

private:
    using Words = QList<QByteArray>;

    int help(const Words &words) const;
    int status(const Words &words) const;
    int reg(const Words &words) const;
    int stats(const Words &words) const;
    int sleep(const Words &words) const;
    int selfTest(const Words &words) const;
    int mode(const Words &words) const;
    int unknown(const QByteArray &line) const;
    int usage(const char *text) const;
    int noAdapter() const;
    // Logs the lines; without any, that no adapter is selected.
    int report(const QList<QByteArray> &lines) const;
    // A hexadecimal number of at most `maximum`; 0x in front is allowed.
    static bool hex(const QByteArray &text, quint32 maximum, quint32 *out);
    // The command's own text, as it may be shown: Latin-1 made UTF-8, control
    // characters as "?".
    static QByteArray printable(const QByteArray &text);
    void showMode(bool repeater, const PkAdapterModel::Port &port, qint64 elapsedMs) const;

    PkCore &m_core;
    const PkReporter &m_reporter;
    const uint8_t *m_modeFlags;
};
