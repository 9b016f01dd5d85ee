#pragma once
#include <QByteArray>
#include <QString>

// Reads the files the core is given (machine file, adapter state, sysfs
// attributes, the PCI name list). A path may name anything: a FIFO would
// block the first open, /dev/zero would fill memory. So a file is opened
// without blocking, must be a regular file, and is refused at once when it
// is larger than its purpose allows.
class PkFileReader
{
public:
    enum Outcome { Read, Missing, Refused };

    // The whole file, refused when it holds more than `limit` bytes.
    static Outcome readAll(const QString &path, qint64 limit, QByteArray *data, QByteArray *why);
    // At most `maxBytes` from the start of a file whose stated size is not
    // to be trusted (sysfs reports 4096 for a short text).
    static Outcome readHead(const QString &path, qint64 maxBytes, QByteArray *data, QByteArray *why);

private:
    static Outcome read(const QString &path, qint64 limit, bool refuseLonger, QByteArray *data,
                        QByteArray *why);
    static bool readOpen(int fd, qint64 limit, bool refuseLonger, QByteArray *data, QByteArray *why);
};
