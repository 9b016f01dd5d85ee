// Fuzz target: a script file's contents, cut into lines as the script
// runner does, first by the pure splitter over the bytes in memory, then
// through TvScriptFile reading the same bytes from a file (a memory file,
// so that no disk is touched). Both must cut the same pieces, and together
// the pieces must be the contents, byte for byte.
#include "engine/TvScriptFile.h"
#include "engine/TvScriptLines.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// What the splitter promises of one piece and of what it means.
void checkPiece(const char *piece, std::size_t length, bool last)
{
    if (length == 0 || length > TvScriptLines::MaxPiece)
        __builtin_trap();
    const void *lineFeed = std::memchr(piece, '\n', length);
    // A line feed ends its piece, and only a full buffer or the end of the
    // file ends one without.
    if (lineFeed ? lineFeed != piece + length - 1 : length < TvScriptLines::MaxPiece && !last)
        __builtin_trap();
    std::size_t text = length;
    if (text > 0 && piece[text - 1] == '\n')
        --text;
    if (text > 0 && piece[text - 1] == '\r')
        --text;
    const TvScriptLines::Line line = TvScriptLines::classify(piece, length);
    const TvScriptLines::Kind kind = text == 0         ? TvScriptLines::Skipped
                                     : piece[0] == '#' ? TvScriptLines::Comment
                                     : piece[0] == 'L' ? TvScriptLines::Loop
                                                       : TvScriptLines::Command;
    if (line.kind != kind || line.length != (kind == TvScriptLines::Command ? text : 0))
        __builtin_trap();
}

std::vector<QByteArray> splitInMemory(const char *data, std::size_t size)
{
    std::vector<QByteArray> pieces;
    for (std::size_t at = 0; at < size;) {
        const std::size_t n = TvScriptLines::pieceLength(data + at, size - at);
        if (n == 0 || n > size - at)
            __builtin_trap();
        checkPiece(data + at, n, at + n == size);
        pieces.emplace_back(data + at, int(n));
        at += n;
    }
    if (TvScriptLines::pieceLength(data, 0) != 0)
        __builtin_trap();
    return pieces;
}

// One memory file for the whole run, its contents replaced each time.
QString memoryFile(const uint8_t *data, size_t size)
{
    static const int fd = memfd_create("fuzz_scriptlines", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        __builtin_trap();
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

void checkFile(const uint8_t *data, size_t size, const std::vector<QByteArray> &pieces)
{
    TvScriptFile file;
    QString reason;
    const bool text = size == 0 || std::memchr(data, '\0', size) == nullptr;
    if (file.open(memoryFile(data, size), &reason) != text)
        __builtin_trap();
    if (!text)
        return;
    QByteArray piece;
    std::size_t count = 0;
    while (file.nextPiece(&piece)) {
        if (count >= pieces.size() || piece != pieces[count])
            __builtin_trap();
        ++count;
    }
    if (count != pieces.size())
        __builtin_trap();
    // A loop line starts again from the first piece.
    if (!file.rewind() || file.nextPiece(&piece) != !pieces.empty()
        || (!pieces.empty() && piece != pieces.front()))
        __builtin_trap();
    file.close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QtMessageHandler quiet = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &) {});
    Q_UNUSED(quiet);
    const char *bytes = reinterpret_cast<const char *>(data);
    const std::vector<QByteArray> pieces = splitInMemory(bytes, size);
    QByteArray whole;
    for (const QByteArray &piece : pieces)
        whole += piece;
    if (whole != QByteArray::fromRawData(bytes, int(size)))
        __builtin_trap();
    checkFile(data, size, pieces);
    return 0;
}
