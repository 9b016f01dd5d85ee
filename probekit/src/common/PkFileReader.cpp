#include "PkFileReader.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray systemError(int error)
{
    return QByteArray(std::strerror(error));
}

QByteArray tooLarge(qint64 limit)
{
    return "larger than " + QByteArray::number(limit) + " bytes";
}

// Reads until the end or one byte past the limit, whichever comes first.
bool readUpTo(int fd, qint64 limit, QByteArray *data, QByteArray *why)
{
    data->clear();
    char chunk[65536];
    while (data->size() <= limit) {
        const qint64 wanted = qMin<qint64>(sizeof chunk, limit + 1 - data->size());
        const ssize_t got = ::read(fd, chunk, size_t(wanted));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *why = systemError(errno);
            return false;
        }
        if (got == 0)
            break;
        data->append(chunk, int(got));
    }
    return true;
}

} // namespace

PkFileReader::Outcome PkFileReader::readAll(const QString &path, qint64 limit, QByteArray *data,
                                            QByteArray *why)
{
    return read(path, limit, true, data, why);
}

PkFileReader::Outcome PkFileReader::readHead(const QString &path, qint64 maxBytes, QByteArray *data,
                                             QByteArray *why)
{
    return read(path, maxBytes, false, data, why);
}

PkFileReader::Outcome PkFileReader::read(const QString &path, qint64 limit, bool refuseLonger,
                                         QByteArray *data, QByteArray *why)
{
    data->clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        *why = systemError(error);
        return error == ENOENT ? Missing : Refused;
    }
    const bool ok = readOpen(fd, limit, refuseLonger, data, why);
    ::close(fd);
    if (!ok)
        data->clear();
    return ok ? Read : Refused;
}

bool PkFileReader::readOpen(int fd, qint64 limit, bool refuseLonger, QByteArray *data, QByteArray *why)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        *why = systemError(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = "not a regular file";
        return false;
    }
    if (refuseLonger && info.st_size > limit) {
        *why = tooLarge(limit);
        return false;
    }
    // A device's attribute may fail part-way (a VPD read that times out):
    // what came before the failure is still worth having.
    if (!readUpTo(fd, limit, data, why) && (refuseLonger || data->isEmpty()))
        return false;
    if (data->size() <= limit)
        return true;
    // A file that grew while it was read is refused as well; a head read
    // only wanted its start anyway.
    if (refuseLonger) {
        *why = tooLarge(limit);
        return false;
    }
    data->truncate(int(limit));
    return true;
}
