#include "PkAdapterLock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The whole file, write-locked. The probe asks about the very lock that
// acquire() takes: a different primitive (flock) would not see it.
struct flock wholeFile(short type)
{
    struct flock region {};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    region.l_start = 0;
    region.l_len = 0;
    region.l_pid = 0; // must be 0 for open-file-description locks
    return region;
}

} // namespace

PkAdapterLock::~PkAdapterLock()
{
    release();
}

int PkAdapterLock::openLockFile(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Close-on-exec, so that a program started from here does not inherit
    // the lock and keep the adapter busy after this process has ended; not
    // blocking, so that something else in the lock's place (a FIFO) cannot
    // hold up the selection.
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK,
                  0666);
}

bool PkAdapterLock::acquire(const QString &path)
{
    release();
    const int fd = openLockFile(path);
    if (fd < 0)
        return false;
    struct flock region = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &region) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void PkAdapterLock::release()
{
    if (m_fd < 0)
        return;
    // Closing the only descriptor of the description drops its lock.
    ::close(m_fd);
    m_fd = -1;
}

bool PkAdapterLock::isFree(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT; // nobody ever locked it
    struct flock region = wholeFile(F_WRLCK);
    const bool asked = ::fcntl(fd, F_OFD_GETLK, &region) == 0;
    ::close(fd);
    return asked && region.l_type == F_UNLCK;
}

QString PkAdapterLock::pathFor(const QString &dir, const QString &adapterKey)
{
    return dir + QLatin1Char('/') + adapterKey + QStringLiteral(".lock");
}
