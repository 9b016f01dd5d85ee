#pragma once
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
    static constexpr int UnknownCommand = 8;
    static constexpr int NoSuchDevice = 11;

private:
    int help() const;
    int status() const;
    int wait(const QList<QByteArray> &words) const;
    int runTest(const QList<QByteArray> &words) const;
    int mode(const QList<QByteArray> &words) const;
    int unknown(const QByteArray &line) const;
    void showMode(bool repeater, bool linkUp, quint64 frames) const;

    PkCore &m_core;
    const PkReporter &m_reporter;
    const uint8_t *m_modeFlags;
};
