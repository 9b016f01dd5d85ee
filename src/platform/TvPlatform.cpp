#include "TvPlatform.h"
#include "text/TvLanguageTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

quint32 TvPlatform::userLocaleId()
{
    QByteArray locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qgetenv(name);
        if (!locale.isEmpty())
            break;
    }
    // "de_DE.UTF-8@euro" -> "de_de"
    QString code = QString::fromLatin1(locale).section(QLatin1Char('.'), 0, 0)
                       .section(QLatin1Char('@'), 0, 0).toLower();
    if (code.isEmpty() || code == QLatin1String("c") || code == QLatin1String("posix"))
        return 0;
    return TvLanguageTable::localeIdOf(code);
}

void TvPlatform::writeConsole(const QString &text)
{
    std::fflush(stdout);
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    std::fflush(stdout);
}

quint32 TvPlatform::tickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return quint32(quint64(now.tv_sec) * 1000u + quint64(now.tv_nsec) / 1000000u);
}

quint32 TvPlatform::processId()
{
    return quint32(getpid());
}

QString TvPlatform::dataDirectory()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    if (QFileInfo::exists(programDir.filePath(QStringLiteral("config.xml"))))
        return programDir.path();
    return QDir::cleanPath(programDir.filePath(QStringLiteral("../share/nicdiag")));
}

bool TvPlatform::hasDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    return false;
}

int TvPlatform::openRegularFile(const QString &path, qint64 *size, int *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0)
        *error = errno;
    else if (S_ISDIR(info.st_mode))
        *error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        *error = NotRegularFile;
    else {
        *size = info.st_size;
        return fd;
    }
    ::close(fd);
    return -1;
}

int TvPlatform::readRegularFile(const QString &path, qint64 maxBytes, QByteArray *data)
{
    qint64 size = 0;
    int error = 0;
    const int fd = openRegularFile(path, &size, &error);
    if (fd < 0)
        return error;
    if (size > maxBytes) {
        ::close(fd);
        return TooLarge;
    }
    data->resize(int(size));
    qint64 have = 0;
    while (have < size) {
        const ssize_t n = ::read(fd, data->data() + have, std::size_t(size - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        have += n;
    }
    ::close(fd);
    data->resize(int(have));
    return error;
}
