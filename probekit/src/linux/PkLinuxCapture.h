#pragma once
#include "PkEthtool.h"
#include "PkLinuxAdapter.h"
#include "PkReporter.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Writes a capture of the adapters present in the format the replay reads
// (PROBEKIT_REPLAY): the sysfs files the backend reads, below sys/; each
// ethtool request's reply below ethtool/<interface>/, an error other than
// "not supported" as <REQUEST>.errno; the address dump below
// netlink/<interface>/. Nothing is written to an adapter and its link is
// never taken down: the self-test recorded is the online one, and the
// locate LED is not asked for.
class PkLinuxCapture
{
public:
    PkLinuxCapture(const QString &directory, const PkReporter &reporter)
        : m_directory(directory), m_reporter(reporter) {}

    // 0, or the number of files that could not be written.
    int write(const QVector<PkLinuxAdapter> &adapters);

    // The VPD address space and the EEPROM dump at most.
    static constexpr qint64 MaxVpd = 32768;
    static constexpr quint32 MaxEeprom = 16 * 1024 * 1024;

private:
    void function(const PkPciFunction &function);
    void copy(const QString &path, qint64 maxBytes);
    void link(const QString &path);
    void ethtool(const QByteArray &interface);
    void linkSettings(const PkEthtool &e, const QByteArray &interface);
    void moduleEeprom(const PkEthtool &e, const QByteArray &interface, quint32 length);
    void strings(const PkEthtool &e, const QByteArray &interface, quint32 set, int count);
    void values(const PkEthtool &e, const QByteArray &interface, quint32 command, int count);
    void record(const QByteArray &interface, const QByteArray &name, int error, const void *reply, size_t size);
    void address(const QByteArray &interface);
    void put(const QString &relative, const QByteArray &bytes);
    QString relative(const QString &sysfsPath) const;

    QString m_directory;
    const PkReporter &m_reporter;
    int m_failures = 0;
    int m_files = 0;
};
