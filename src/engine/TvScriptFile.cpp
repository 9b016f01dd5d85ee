#include "TvScriptFile.h"
#include "TvScriptLines.h"

#include "text/TvText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const Context = "TvDiagMainWindow";
constexpr int ReadBlock = 64 * 1024;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why the file open at fd is not run; empty when it is.
QString refusalReason(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return systemReason(errno);
    if (S_ISDIR(info.st_mode))
        return systemReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return TvText::translate(Context, "NOT_A_REGULAR_FILE");
    return QString();
}

} // namespace

bool TvScriptFile::open(const QString &fileName, QString *reason)
{
    close();
    const int fd =
        ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *reason = systemReason(errno);
        return false;
    }
    *reason = refusalReason(fd);
    if (reason->isEmpty() && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        *reason = file.errorString();
    if (!reason->isEmpty()) {
        if (!file.isOpen())
            ::close(fd);
        file.close();
        return false;
    }
    if (file.peek(TextCheckBytes).contains('\0')) {
        *reason = TvText::translate(Context, "NOT_A_TEXT_FILE");
        file.close();
        return false;
    }
    return true;
}

bool TvScriptFile::fill()
{
    if (offset > 0) {
        buffer.remove(0, offset);
        offset = 0;
    }
    while (!atEnd && buffer.size() < int(TvScriptLines::MaxPiece)) {
        const QByteArray block = file.read(ReadBlock);
        if (block.isEmpty())
            atEnd = true;
        buffer.append(block);
    }
    return !buffer.isEmpty();
}

bool TvScriptFile::nextPiece(QByteArray *piece)
{
    if (buffer.size() - offset < int(TvScriptLines::MaxPiece) && !fill())
        return false;
    const std::size_t length = TvScriptLines::pieceLength(buffer.constData() + offset,
                                                          std::size_t(buffer.size() - offset));
    *piece = buffer.mid(offset, int(length));
    offset += int(length);
    return true;
}

bool TvScriptFile::rewind()
{
    buffer.clear();
    offset = 0;
    atEnd = false;
    return file.seek(0);
}

void TvScriptFile::close()
{
    file.close();
    buffer.clear();
    offset = 0;
    atEnd = false;
}
