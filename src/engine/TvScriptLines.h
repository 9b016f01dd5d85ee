#pragma once
#include <cstddef>

// How a script file is cut into lines and what each line means. A line is
// read as a 256-byte line buffer would take it: up to and including its
// line feed, but never more than 255 bytes, so a longer line arrives in
// pieces, each handled as a line of its own.
//
// Only the first piece of a line is read for its meaning: the pieces after
// it carry on what the line began. The rest of a long comment is comment,
// the rest of a loop line is ignored, and the rest of a long command is a
// command of its own that goes to the core as it stands, so that a "q" or
// "L" that merely happens to start a later piece neither ends the program
// nor loops.
//
// Pure functions over bytes (no Qt, no files), so that they can be tested and
// fuzzed on their own:
//   TvScriptLines::Kind begun = TvScriptLines::Skipped; // no line begun
//   for (size_t at = 0; at < size;) {
//       const size_t n = TvScriptLines::pieceLength(data + at, size - at);
//       const TvScriptLines::Line line = TvScriptLines::classify(data + at, n, begun);
//       begun = TvScriptLines::lineGoesOn(data + at, n) ? line.begun : TvScriptLines::Skipped;
//       at += n;
//   }
//
// A script is text: printable ASCII, tab, CR and LF, and UTF-8 sequences
// of printable characters (isText). Anything else, a zero byte, another
// control character, or bytes that are not UTF-8 (such as Latin-1 text),
// makes it a file that is not run.
class TvScriptLines
{
public:
    static constexpr std::size_t BufferSize = 256;
    static constexpr std::size_t MaxPiece = BufferSize - 1;

    enum Kind {
        Skipped, // nothing but a line break
        Comment, // first character '#'
        Loop,    // first character 'L': start the script again
        Command, // a console command
        Continued // the rest of a long command: a core command as it stands
    };
    struct Line {
        Kind kind;
        // Command and Continued: the command is the piece's first `length`
        // bytes, its line break (LF or CR LF) left out. Otherwise 0.
        std::size_t length;
        // What the line that this piece belongs to began as (its first
        // piece's kind), for the pieces that follow.
        Kind begun;
    };

    // The length of the piece that starts at `data`: through the first line
    // feed among the first MaxPiece bytes, else MaxPiece bytes, else all of
    // `size`. 0 only when `size` is 0.
    static std::size_t pieceLength(const char *data, std::size_t size);

    // What a piece means. `begun` is the kind of the line's first piece
    // when this piece carries on a line, Skipped when it starts one. A
    // piece that holds no more than its line break is skipped, whether or
    // not it ends in one (the last line of a file need not); a trailing
    // carriage return belongs to the line break.
    static Line classify(const char *piece, std::size_t length, Kind begun = Skipped);
    // Whether the line goes on in the next piece (this one did not end it).
    static bool lineGoesOn(const char *piece, std::size_t length);

    // Whether the bytes are script text (above).
    static bool isText(const char *data, std::size_t size);
};
