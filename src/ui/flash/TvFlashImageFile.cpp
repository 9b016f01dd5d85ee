#include "TvFlashImageFile.h"

#include "platform/TvPlatform.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TvFlashImageFile::Result failed(TvFlashImageFile::Result result, int error, QString *errorText)
{
    *errorText = TvFlashImageFile::errorText(error);
    return result;
}

// Every byte or the reason why not.
bool writeAll(int fd, const QByteArray &bytes)
{
    const char *next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// Reads until `bytes` is full or the file ends.
qint64 readUpTo(int fd, QByteArray *bytes)
{
    qint64 got = 0;
    while (got < bytes->size()) {
        const ssize_t n = ::read(fd, bytes->data() + got, size_t(bytes->size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

} // namespace

QString TvFlashImageFile::errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

TvFlashImageFile::Result TvFlashImageFile::save(const QString &name, const QByteArray &image,
                                                QString *errorText)
{
    // Through a link to where it points, as writing the file would.
    const QFileInfo info(name);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : name;
    const QByteArray path = QFile::encodeName(target);
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) {
        if (errno != ENOENT)
            return failed(OpenFailed, errno, errorText);
        return writeReplacing(path, image, -1, errorText);
    }
    if (S_ISDIR(status.st_mode))
        return failed(OpenFailed, EISDIR, errorText);
    // A file the user may not write is not replaced behind his back.
    if (::access(path.constData(), W_OK) != 0)
        return failed(OpenFailed, errno, errorText);
    if (!S_ISREG(status.st_mode))
        return writeDirect(path, image, errorText);
    return writeReplacing(path, image, int(status.st_mode & 07777), errorText);
}

TvFlashImageFile::Result TvFlashImageFile::writeDirect(const QByteArray &path,
                                                       const QByteArray &image, QString *errorText)
{
    // Without waiting for a reader at the other end of a pipe: the window
    // would hang until one came (ENXIO when none is there).
    const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(OpenFailed, errno, errorText);
    if (!writeAll(fd, image)) {
        const int error = errno;
        ::close(fd);
        return failed(WriteFailed, error, errorText);
    }
    if (::close(fd) != 0)
        return failed(WriteFailed, errno, errorText);
    return Done;
}

int TvFlashImageFile::createTemporary(const QByteArray &path, QByteArray *temporary)
{
    const int slash = path.lastIndexOf('/');
    // Beside the file, so that the rename stays on its file system.
    const QByteArray directory = slash < 0 ? QByteArray("./") : path.left(slash + 1);
    const QByteArray base = path.mid(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = directory + '.' + base + '.' + QByteArray::number(::getpid()) + '.'
                     + QByteArray::number(attempt);
        // Created as a new file would be (the user's umask applies).
        const int fd = ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

TvFlashImageFile::Result TvFlashImageFile::writeReplacing(const QByteArray &path,
                                                          const QByteArray &image, int mode,
                                                          QString *errorText)
{
    QByteArray temporary;
    const int fd = createTemporary(path, &temporary);
    if (fd < 0)
        return failed(OpenFailed, errno, errorText);
    bool written = (mode < 0 || ::fchmod(fd, mode_t(mode)) == 0) && writeAll(fd, image)
                   && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.constData(), path.constData()) == 0)
        return Done;
    if (written)
        error = errno;
    ::unlink(temporary.constData());
    return failed(WriteFailed, error, errorText);
}

TvFlashImageFile::Result TvFlashImageFile::load(const QString &name, QByteArray *image,
                                                qint64 *leftOut, QString *errorText)
{
    *leftOut = 0;
    qint64 size = 0;
    int error = 0;
    const int fd = TvPlatform::openRegularFile(name, &size, &error);
    if (fd < 0 && error == TvPlatform::NotRegularFile)
        return NotRegular;
    if (fd < 0)
        return failed(error == EISDIR ? ReadFailed : OpenFailed, error, errorText);
    if (size == 0) {
        ::close(fd);
        return Empty;
    }
    image->truncate(int(qMin<qint64>(size, image->size())));
    const qint64 got = readUpTo(fd, image);
    error = errno;
    ::close(fd);
    if (got < 0)
        return failed(ReadFailed, error, errorText);
    *leftOut = qMax<qint64>(0, size - got);
    image->truncate(int(got));
    return got == 0 ? Empty : Done;
}
