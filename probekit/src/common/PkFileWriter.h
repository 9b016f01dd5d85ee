#pragma once
#include <QByteArray>
#include <QString>

// Replaces a file the core keeps (adapter state, VPD backups) all or
// nothing: the bytes go to a temporary file beside it, every write is
// checked, and only a file that holds every byte is renamed over the old
// one. A full disk or a file size limit leaves the old file whole.
class PkFileWriter
{
public:
    // False, with the reason, when the file could not be replaced.
    static bool replace(const QString &path, const QByteArray &data, QByteArray *why);
    // Removes what a write killed part-way left beside `path`. Only the
    // one process that may write `path` (it holds the adapter) calls it.
    static void removeStale(const QString &path);

private:
    static bool writeAll(int fd, const QByteArray &data, QByteArray *why);
};
