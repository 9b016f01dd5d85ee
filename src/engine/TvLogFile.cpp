#include "TvLogFile.h"
#include "TvLogModel.h"

#include "text/TvControlText.h"
#include "text/TvText.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeText(std::FILE *file, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size());
}

bool writeBlock(std::FILE *file, const TvLogModel &lines, int from, std::time_t when)
{
    const QString heading = TvText::translate("TvDiagMainWindow", "SAVE_LOG_FILE %1")
                                .arg(TvLogFile::ctimeText(when));
    if (!writeText(file, QLatin1Char('\n') + heading + QLatin1Char('\n')))
        return false;
    if (!lines.writeLines(file, from, lines.count()))
        return false;
    const QString separator = QLatin1Char('\n') + QString(TvLogFile::SeparatorLength, QLatin1Char('='))
                              + QLatin1Char('\n');
    return writeText(file, separator);
}

} // namespace

TvLogFile::Result TvLogFile::appendBlock(const QString &fileName, const TvLogModel &lines, int from,
                                         QString *errorText, std::time_t when)
{
    int error = 0;
    bool regular = false;
    std::FILE *file = openForAppending(fileName, &error, &regular);
    if (!file) {
        if (errorText)
            *errorText = errorTextOf(error);
        return OpenFailed;
    }
    const int fd = ::fileno(file);
    const off_t before = ::lseek(fd, 0, SEEK_END);
    // Data that stdio still buffers is written by fflush, so a full disk
    // (or a file size limit) often shows only there; the sync says whether
    // the bytes reached the disk.
    const bool written = writeBlock(file, lines, from, when) && std::fflush(file) == 0
                         && ::fsync(fd) == 0;
    if (!written)
        error = errno;
    // The descriptor outlives the stream: fclose may still push out what a
    // failed flush left in the buffer, and all of it has to go again.
    const int kept = written || !regular ? -1 : ::dup(fd);
    if (std::fclose(file) != 0 && written)
        error = errno;
    if (kept >= 0) {
        // The lines stay unsaved and go out whole with the next save, so a
        // block cut short is taken off the user's file again.
        if (::ftruncate(kept, before) != 0)
            qWarning("The partial log block could not be taken off again: %s", std::strerror(errno));
        ::close(kept);
    }
    if (error != 0 && errorText)
        *errorText = errorTextOf(error);
    return error == 0 ? Saved : WriteFailed;
}

std::FILE *TvLogFile::openForAppending(const QString &fileName, int *error, bool *regular)
{
    // Not blocking: a FIFO of that name would wait for a reader, with the
    // window frozen.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        // ENXIO: a FIFO without a reader, or a device file without its device.
        *error = errno == ENXIO ? NotRegularFile : errno;
        return nullptr;
    }
    struct stat info = {};
    *regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    std::FILE *file = ::fdopen(fd, "a");
    if (!file) {
        *error = errno;
        ::close(fd);
    }
    return file;
}

QString TvLogFile::errorTextOf(int error)
{
    if (error == NotRegularFile)
        return TvText::translate("TvDiagMainWindow", "NOT_A_REGULAR_FILE");
    return QString::fromLocal8Bit(std::strerror(error));
}

namespace {

QString dotted(const QString &extension)
{
    return extension.startsWith(QLatin1Char('.')) ? extension : QLatin1Char('.') + extension;
}

} // namespace

QString TvLogFile::withExtension(const QString &name, const QString &extension)
{
    return withExtension(name, extension.isEmpty() ? QStringList() : QStringList{extension});
}

QString TvLogFile::withExtension(const QString &name, const QStringList &extensions)
{
    if (extensions.isEmpty())
        return name;
    // Only the end of the file's own name counts: "A-log" has no extension,
    // and a directory called "logs" gives none.
    for (const QString &extension : extensions) {
        if (!extension.isEmpty() && name.endsWith(dotted(extension), Qt::CaseSensitive))
            return name;
    }
    const QString first = dotted(extensions.first());
    return name.endsWith(QLatin1Char('.')) ? name.left(name.size() - 1) + first : name + first;
}

QString TvLogFile::patterns(const QStringList &extensions)
{
    QStringList found;
    for (const QString &extension : extensions)
        found.append(QLatin1Char('*') + dotted(extension));
    return found.join(QLatin1Char(' '));
}

QString TvLogFile::stampedLine(const QString &text, std::time_t when)
{
    // A burst logs many lines within one second: format its stamp once.
    thread_local std::time_t stampTime = -1;
    thread_local QString stamp;
    if (when != stampTime) {
        stamp = ctimeText(when);
        stamp.chop(1);
        stampTime = when;
    }
    QString line;
    line.reserve(stamp.size() + 1 + text.size());
    line += stamp;
    line += QLatin1Char(' ');
    // Texts carry adapter data and file names: an escape sequence in one
    // would reach the saved file raw and drive the terminal that shows it.
    line += TvControlText::isLine(text) ? text : oneLine(text);
    return line;
}

QString TvLogFile::oneLine(const QString &text)
{
    QString tabsWidened = text;
    tabsWidened.replace(QLatin1Char('\t'), QLatin1String("   "));
    return TvControlText::line(tabsWidened);
}

QString TvLogFile::ctimeText(std::time_t when)
{
    char buffer[32];
    std::tm local;
    localtime_r(&when, &local);
    if (!asctime_r(&local, buffer))
        return QStringLiteral("\n");
    return QString::fromLatin1(buffer);
}
