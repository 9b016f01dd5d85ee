#include "TvScriptFile.h"
#include "TvScriptLines.h"

#include "platform/TvPlatform.h"
#include "text/TvText.h"

#include <cerrno>
#include <cstring>

namespace {

const char *const Context = "TvDiagMainWindow";

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool TvScriptFile::open(const QString &fileName, QString *reason)
{
    close();
    QByteArray data;
    const int error = TvPlatform::readRegularFile(fileName, MaxBytes, &data);
    if (error == TvPlatform::NotRegularFile)
        *reason = TvText::translate(Context, "NOT_A_REGULAR_FILE");
    else if (error == TvPlatform::TooLarge)
        *reason = TvText::translate(Context, "SCRIPT_TOO_LARGE %1").arg(MaxBytes / (1024 * 1024));
    else if (error != 0)
        *reason = systemError(error);
    if (error != 0)
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
    // The piece is looked for in the rest of the file, from here to its end.
    const char *const here = contents.constData() + offset;
    const char *const end = contents.constData() + contents.size();
    const std::size_t length = TvScriptLines::pieceLength(here, std::size_t(end - here));
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
