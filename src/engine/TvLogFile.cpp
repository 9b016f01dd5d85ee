#include "TvLogFile.h"
#include "TvLogModel.h"

#include "text/TvText.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

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
    std::FILE *file = std::fopen(QFile::encodeName(fileName).constData(), "a");
    if (!file) {
        if (errorText)
            *errorText = systemError(errno);
        return OpenFailed;
    }
    // Data that stdio still buffers is written by fflush, so a full disk
    // often shows only there or at fclose; both are checked.
    bool written = writeBlock(file, lines, from, when) && std::fflush(file) == 0;
    int error = written ? 0 : errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written && errorText)
        *errorText = systemError(error);
    return written ? Saved : WriteFailed;
}

QString TvLogFile::withExtension(const QString &name, const QString &extension)
{
    if (name.lastIndexOf(extension, -1, Qt::CaseSensitive) >= 0)
        return name;
    const bool dotted = extension.startsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char('.'));
    return dotted ? name + extension : name + QLatin1Char('.') + extension;
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
    line += text;
    // The stamp holds neither, so only the text can.
    if (text.contains(QLatin1Char('\n')))
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (text.contains(QLatin1Char('\t')))
        line.replace(QLatin1Char('\t'), QLatin1String("   "));
    return line;
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
