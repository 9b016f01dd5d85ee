#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Reading the kernel's sysfs: small text files of one value. The root is
// PROBEKIT_REPLAY/sys when a capture is replayed, else PROBEKIT_SYSFS_ROOT
// when set (a tree built by the tests), else /sys.
class PkSysfs
{
public:
    static QString root();

    // The file's text without the trailing line break; nothing when the
    // file is missing or unreadable (`error` then says which).
    static std::optional<QByteArray> text(const QString &path, QString *error = nullptr,
                                          qint64 maxBytes = 4096);
    // The file's bytes, up to maxBytes.
    static std::optional<QByteArray> bytes(const QString &path, qint64 maxBytes, QString *error = nullptr);
    // "0x1af4" or "1af4"; nothing when the text is not one hexadecimal number.
    static std::optional<quint64> hex(const QString &path);
    // A decimal integer, sign allowed; nothing for anything else.
    static std::optional<qint64> decimal(const QString &path);
    static bool exists(const QString &path);
    // True when `path`, its links followed, lies below `root`'s real place.
    static bool within(const QString &root, const QString &path);
    // Names of the entries of a directory (symbolic links included), sorted.
    static QStringList entries(const QString &dir, const QString &pattern = QString());
    // The last part of where a symbolic link points; empty when it is none.
    static QString linkName(const QString &path);
};
