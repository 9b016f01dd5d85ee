#include "TvScriptFile.h"
#include "TvScriptLines.h"

#include "platform/TvPlatform.h"
#include "text/TvText.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

const char *const Context = "TvDiagMainWindow";

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads up to `limit` bytes (fewer when the file ends first); false with
// the C library's text in *reason on a read error.
bool readAll(int fd, qint64 limit, QByteArray *data, QString *reason)
{
    data->resize(int(limit));
    qint64 have = 0;
    while (have < limit) {
        const ssize_t n = ::read(fd, data->data() + have, std::size_t(limit - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *reason = systemError(errno);
            return false;
        }
        if (n == 0)
            break;
        have += n;
    }
    data->resize(int(have));
    return true;
}

} // namespace

bool TvScriptFile::open(const QString &fileName, QString *reason)
{
    close();
    qint64 size = 0;
    int error = 0;
    const int fd = TvPlatform::openRegularFile(fileName, &size, &error);
    if (fd < 0) {
        *reason = error == TvPlatform::NotRegularFile ? TvText::translate(Context, "NOT_A_REGULAR_FILE")
                                                      : systemError(error);
        return false;
    }
    // The size it had when it was opened is what runs, should it grow.
    QByteArray data;
    const bool tooLarge = size > MaxBytes;
    const bool read = !tooLarge && readAll(fd, size, &data, reason);
    ::close(fd);
    if (tooLarge)
        *reason = TvText::translate(Context, "SCRIPT_TOO_LARGE %1").arg(MaxBytes / (1024 * 1024));
    if (!read)
        return false;
    if (!TvScriptLines::isText(data.constData(), std::size_t(data.size()))) {
        *reason = TvText::translate(Context, "NOT_A_TEXT_FILE");
        return false;
    }
    // Some editors begin a UTF-8 file with a byte order mark; it is no part
    // of the first command.
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    contents = data;
    opened = true;
    return true;
}

bool TvScriptFile::nextPiece(QByteArray *piece)
{
    if (offset >= contents.size())
        return false;
    const std::size_t length = TvScriptLines::pieceLength(contents.constData() + offset,
                                                          std::size_t(contents.size() - offset));
    *piece = contents.mid(offset, int(length));
    offset += int(length);
    return true;
}

bool TvScriptFile::rewind()
{
    offset = 0;
    return opened;
}

void TvScriptFile::close()
{
    contents.clear();
    offset = 0;
    opened = false;
}
