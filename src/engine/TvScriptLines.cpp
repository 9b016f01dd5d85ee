#include "TvScriptLines.h"

#include <cstring>

std::size_t TvScriptLines::pieceLength(const char *data, std::size_t size)
{
    const std::size_t window = size < MaxPiece ? size : MaxPiece;
    const void *lineFeed = window ? std::memchr(data, '\n', window) : nullptr;
    if (!lineFeed)
        return window;
    return static_cast<std::size_t>(static_cast<const char *>(lineFeed) - data) + 1;
}

TvScriptLines::Line TvScriptLines::classify(const char *piece, std::size_t length, Kind begun)
{
    std::size_t text = length;
    if (text > 0 && piece[text - 1] == '\n')
        --text;
    if (text > 0 && piece[text - 1] == '\r')
        --text;
    switch (begun) {
    case Comment:
        return {Comment, 0, Comment};
    case Loop:
        return {Skipped, 0, Loop};
    case Command:
    case Continued:
        return text == 0 ? Line{Skipped, 0, Command} : Line{Continued, text, Command};
    case Skipped:
        break;
    }
    if (text == 0)
        return {Skipped, 0, Skipped};
    if (piece[0] == '#')
        return {Comment, 0, Comment};
    if (piece[0] == 'L')
        return {Loop, 0, Loop};
    return {Command, text, Command};
}

bool TvScriptLines::lineGoesOn(const char *piece, std::size_t length)
{
    return length > 0 && piece[length - 1] != '\n';
}

namespace {

// The length of the UTF-8 sequence of a printable character at `data`, or
// 0. C1 control characters (U+0080 to U+009F), overlong forms, surrogates
// and code points beyond U+10FFFF are not text.
std::size_t utf8Length(const unsigned char *data, std::size_t size)
{
    const unsigned char lead = data[0];
    std::size_t length = 0;
    unsigned int code = 0;
    unsigned int least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        least = 0x10000;
    } else {
        return 0;
    }
    if (size < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((data[i] & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (data[i] & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)
        || (code >= 0x80 && code <= 0x9F))
        return 0;
    return length;
}

} // namespace

bool TvScriptLines::isText(const char *data, std::size_t size)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    for (std::size_t at = 0; at < size;) {
        const unsigned char c = bytes[at];
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F)
                return false;
            ++at;
            continue;
        }
        const std::size_t n = utf8Length(bytes + at, size - at);
        if (n == 0)
            return false;
        at += n;
    }
    return true;
}
