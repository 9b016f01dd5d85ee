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

TvScriptLines::Line TvScriptLines::classify(const char *piece, std::size_t length)
{
    std::size_t text = length;
    if (text > 0 && piece[text - 1] == '\n')
        --text;
    if (text > 0 && piece[text - 1] == '\r')
        --text;
    if (text == 0)
        return {Skipped, 0};
    if (piece[0] == '#')
        return {Comment, 0};
    if (piece[0] == 'L')
        return {Loop, 0};
    return {Command, text};
}
