#pragma once
#include <cstddef>

// How a script file is cut into lines and what each line means. A line is
// read as a 256-byte line buffer would take it: up to and including its
// line feed, but never more than 255 bytes, so a longer line arrives in
// pieces, each handled as a line of its own.
//
// Pure functions over bytes (no Qt, no files), so that they can be tested and
// fuzzed on their own:
//   for (size_t at = 0; at < size;) {
//       const size_t n = TvScriptLines::pieceLength(data + at, size - at);
//       const TvScriptLines::Line line = TvScriptLines::classify(data + at, n);
//       at += n;
//   }
class TvScriptLines
{
public:
    static constexpr std::size_t BufferSize = 256;
    static constexpr std::size_t MaxPiece = BufferSize - 1;

    enum Kind {
        Skipped, // nothing but a line break
        Comment, // first character '#'
        Loop,    // first character 'L': start the script again
        Command  // a console command
    };
    struct Line {
        Kind kind;
        // Command: the command is the piece's first `length` bytes, its line
        // break (LF or CR LF) left out. Otherwise 0.
        std::size_t length;
    };

    // The length of the piece that starts at `data`: through the first line
    // feed among the first MaxPiece bytes, else MaxPiece bytes, else all of
    // `size`. 0 only when `size` is 0.
    static std::size_t pieceLength(const char *data, std::size_t size);

    // What a piece means. A piece that holds no more than its line break is
    // skipped, whether or not it ends in one (the last line of a file need
    // not); a trailing carriage return belongs to the line break.
    static Line classify(const char *piece, std::size_t length);
};
