// Fuzz target: a script file's contents, cut into lines as the script
// runner does, first by the pure splitter over the bytes in memory, then
// through TvScriptFile reading the same bytes from a file (a memory file,
// so that no disk is touched). Both must cut the same pieces, and together
// the pieces must be the contents, byte for byte. The file is run only when
// it is text by a plain reading of the rule (TvScriptLines::isText).
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

// What a piece means when it starts its line.
TvScriptLines::Kind firstPieceKind(const char *piece, std::size_t text)
{
    return text == 0         ? TvScriptLines::Skipped
           : piece[0] == '#' ? TvScriptLines::Comment
           : piece[0] == 'L' ? TvScriptLines::Loop
                             : TvScriptLines::Command;
}

// What a piece means when it carries on a line begun as `begun`.
TvScriptLines::Kind laterPieceKind(TvScriptLines::Kind begun, std::size_t text)
{
    if (begun == TvScriptLines::Comment)
        return TvScriptLines::Comment;
    if (begun == TvScriptLines::Loop || text == 0)
        return TvScriptLines::Skipped;
    return TvScriptLines::Continued;
}

// What the splitter promises of one piece and of what it means; returns
// the kind of line that the next piece carries on (Skipped: none).
TvScriptLines::Kind checkPiece(const char *piece, std::size_t length, bool last,
                               TvScriptLines::Kind begun)
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
    const TvScriptLines::Line line = TvScriptLines::classify(piece, length, begun);
    const bool first = begun == TvScriptLines::Skipped;
    const TvScriptLines::Kind kind = first ? firstPieceKind(piece, text) : laterPieceKind(begun, text);
    const bool command = kind == TvScriptLines::Command || kind == TvScriptLines::Continued;
    if (line.kind != kind || line.length != (command ? text : 0))
        __builtin_trap();
    // Only a line's first piece may end the program or loop.
    if (!first && (kind == TvScriptLines::Command || kind == TvScriptLines::Loop))
        __builtin_trap();
    const TvScriptLines::Kind lineKind = first ? kind : begun;
    if (line.begun != (lineKind == TvScriptLines::Continued ? TvScriptLines::Command : lineKind))
        __builtin_trap();
    return lineFeed ? TvScriptLines::Skipped : line.begun;
}

std::vector<QByteArray> splitInMemory(const char *data, std::size_t size)
{
    std::vector<QByteArray> pieces;
    TvScriptLines::Kind begun = TvScriptLines::Skipped;
    for (std::size_t at = 0; at < size;) {
        const std::size_t n = TvScriptLines::pieceLength(data + at, size - at);
        if (n == 0 || n > size - at)
            __builtin_trap();
        begun = checkPiece(data + at, n, at + n == size, begun);
        pieces.emplace_back(data + at, int(n));
        at += n;
    }
    if (TvScriptLines::pieceLength(data, 0) != 0)
        __builtin_trap();
    return pieces;
}

const char ByteOrderMark[] = "\xEF\xBB\xBF";

bool isScriptText(const uint8_t *data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        if ((data[i] < 0x20 && data[i] != '\t' && data[i] != '\r' && data[i] != '\n') || data[i] == 0x7F)
            return false;
    }
    // Qt drops a leading byte order mark.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QString decoded = QString::fromUtf8(bytes);
    if (decoded.toUtf8() != (bytes.startsWith(ByteOrderMark) ? bytes.mid(3) : bytes))
        return false;
    for (const QChar c : decoded) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            return false;
    }
    return true;
}

// One memory file for the whole run, its contents replaced each time.
QString memoryFile(const uint8_t *data, size_t size)
{
    static const int fd = memfd_create("fuzz_scriptlines", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        __builtin_trap();
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

void checkFile(const uint8_t *data, size_t size)
{
    TvScriptFile file;
    QString reason;
    // Text, by a plain reading of the rule: printable ASCII, tab, CR, LF,
    // and whatever Qt decodes from UTF-8 without a replacement character
    // into printable characters.
    const bool text = isScriptText(data, size);
    if (TvScriptLines::isText(reinterpret_cast<const char *>(data), size) != text)
        __builtin_trap();
    if (file.open(memoryFile(data, size), &reason) != text)
        __builtin_trap();
    if (!text)
        return;
    // The file runs without its byte order mark.
    const auto *bytes = reinterpret_cast<const char *>(data);
    const std::size_t mark = QByteArray::fromRawData(bytes, int(size)).startsWith(ByteOrderMark) ? 3 : 0;
    const std::vector<QByteArray> pieces = splitInMemory(bytes + mark, size - mark);
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
    checkFile(data, size);
    return 0;
}
