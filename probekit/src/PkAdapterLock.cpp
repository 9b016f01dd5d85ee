#include "PkAdapterLock.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

PkAdapterLock::~PkAdapterLock()
{
    release();
}

int PkAdapterLock::openLockFile(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Close-on-exec, so that a program started from here does not inherit
    // the lock and keep the adapter busy after this process has ended.
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

bool PkAdapterLock::acquire(const QString &path)
{
    release();
    const int fd = openLockFile(path);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
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
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

bool PkAdapterLock::isFree(const QString &path)
{
    const int fd = openLockFile(path);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd); // closing drops the probe's own lock
    return free;
}

QString PkAdapterLock::pathFor(const QString &dir, const QString &adapterKey)
{
    return dir + QLatin1Char('/') + adapterKey + QStringLiteral(".lock");
}
