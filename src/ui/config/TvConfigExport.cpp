#include "TvConfigExport.h"

#include "engine/TvLogFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// Devices and pipes cannot be synchronised; their bytes are delivered.
bool synchronised(int fd)
{
    return ::fdatasync(fd) == 0 || errno == EINVAL || errno == EROFS;
}

} // namespace

QString TvConfigExport::filter(const QString &filesText, const QStringList &extensions)
{
    return filesText + QLatin1String(" (") + TvLogFile::patterns(extensions) + QLatin1Char(')');
}

QString TvConfigExport::withExtension(const QString &name, const QStringList &extensions)
{
    return TvLogFile::withExtension(name, extensions);
}

QByteArray TvConfigExport::line(const QStringList &fields)
{
    QString text;
    for (QString field : fields) {
        if (field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"'))
            || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
            field.replace(QLatin1Char('"'), QLatin1String("\"\""));
            field = QLatin1Char('"') + field + QLatin1Char('"');
        }
        text += field + QLatin1Char(';');
    }
    return (text + QLatin1Char('\n')).toUtf8();
}

bool TvConfigExport::append(const QString &fileName, const QByteArray &bytes, QString *errorText)
{
    // Not blocking: a FIFO nobody reads would hold the window in open()
    // for good; it fails at once instead. A full pipe fails the write.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        *errorText = systemError(errno);
        return false;
    }
    struct stat before {};
    const bool regular = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode);
    bool written = writeAll(fd, bytes) && synchronised(fd);
    int error = written ? 0 : errno;
    // A line cut short by a full disk would glue the next export to it. The
    // reason reported stays the write's, whether the cut works or not.
    if (!written && regular) {
        const int cut = ::ftruncate(fd, before.st_size);
        Q_UNUSED(cut);
    }
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written)
        *errorText = systemError(error);
    return written;
}
