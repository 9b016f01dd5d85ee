#include "TvScriptFile.h"
#include "TvScriptLines.h"

#include "platform/TvPlatform.h"
#include "text/TvText.h"

#include <cstring>
#include <unistd.h>

namespace {

const char *const Context = "TvDiagMainWindow";
constexpr int ReadBlock = 64 * 1024;

} // namespace

bool TvScriptFile::open(const QString &fileName, QString *reason)
{
    close();
    qint64 size = 0;
    int error = 0;
    const int fd = TvPlatform::openRegularFile(fileName, &size, &error);
    if (fd < 0) {
        *reason = error == TvPlatform::NotRegularFile
                      ? TvText::translate(Context, "NOT_A_REGULAR_FILE")
                      : QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *reason = file.errorString();
        ::close(fd);
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
