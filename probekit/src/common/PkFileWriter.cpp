#include "PkFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char TempMark[] = ".tmp-";

QByteArray systemError(const char *step, int error)
{
    return QByteArray(step) + ": " + QByteArray(std::strerror(error));
}

QString tempName(const QString &path)
{
    static std::atomic<unsigned> counter {0};
    return path + QLatin1String(TempMark) + QString::number(::getpid()) + QLatin1Char('-')
        + QString::number(++counter);
}

// The rename is only as durable as the directory entry that records it.
void syncDirectory(const QString &dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool PkFileWriter::writeAll(int fd, const QByteArray &data, QByteArray *why)
{
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t wrote = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            *why = systemError("write", wrote < 0 ? errno : ENOSPC);
            return false;
        }
        done += wrote;
    }
    if (::fsync(fd) != 0) {
        *why = systemError("fsync", errno);
        return false;
    }
    return true;
}

bool PkFileWriter::replace(const QString &path, const QByteArray &data, QByteArray *why)
{
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        *why = "cannot create the directory " + QFile::encodeName(dir);
        return false;
    }
    const QString temp = tempName(path);
    const QByteArray tempPath = QFile::encodeName(temp);
    const int fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        *why = systemError("create", errno);
        return false;
    }
    bool ok = writeAll(fd, data, why);
    if (::close(fd) != 0 && ok) {
        *why = systemError("close", errno);
        ok = false;
    }
    if (ok && ::rename(tempPath.constData(), QFile::encodeName(path).constData()) != 0) {
        *why = systemError("rename", errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(tempPath.constData());
        return false;
    }
    syncDirectory(dir);
    return true;
}

void PkFileWriter::removeStale(const QString &path)
{
    const QFileInfo target(path);
    const QRegularExpression stale(QLatin1Char('^') + QRegularExpression::escape(target.fileName())
                                   + QStringLiteral("\\.tmp-\\d+-\\d+$"));
    QDir dir = target.absoluteDir();
    const QStringList names = dir.entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &name : names) {
        if (stale.match(name).hasMatch())
            dir.remove(name);
    }
}
