#pragma once
#include <QByteArray>
#include <QString>

// Flash PROM image files: the raw PROM contents, nothing added. A saved
// image replaces its file only once every byte of it is on disk, so a full
// disk or a failing write never leaves an existing image half overwritten.
class TvFlashImageFile
{
public:
    enum Result { Done, OpenFailed, WriteFailed, ReadFailed, Empty, NotRegular };

    // Writes `image` to `name`. A regular file (or a new one) is written
    // as a temporary file in the same directory, flushed, closed and
    // renamed over the target; a device or pipe is written directly, and
    // a pipe nobody reads is refused at once rather than waited for. On
    // failure *errorText is the system's text for the reason.
    static Result save(const QString &name, const QByteArray &image, QString *errorText);

    // Reads at most image->size() bytes from the start of `name` and cuts
    // *image to what was read. Only a regular file is read (NotRegular:
    // a FIFO or a device would hold the window up), and its size decides
    // what is read before anything is. *leftOut: bytes of the file beyond
    // what was read. A read that fails part-way is a failure, and so is
    // a file with nothing to read (Empty).
    static Result load(const QString &name, QByteArray *image, qint64 *leftOut, QString *errorText);

    static QString errorText(int error);

private:
    static Result writeDirect(const QByteArray &path, const QByteArray &image, QString *errorText);
    static Result writeReplacing(const QByteArray &path, const QByteArray &image, int mode,
                                 QString *errorText);
    static int createTemporary(const QByteArray &path, QByteArray *temporary);
};
