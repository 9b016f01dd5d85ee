#pragma once
#include <QString>

// Texts that come from outside the program (adapter data, description
// files, file names, foreign run records) on their way into a line of
// their own: a saved log file or a terminal. A line break inside such a
// text would start a fake line, an escape sequence would drive the
// terminal that later shows it.
class TvControlText
{
public:
    // The text as one line: tabs and line breaks (also U+2028, U+2029)
    // become blanks, every other control character a "?".
    static QString line(const QString &text);

    // line(), and for a terminal also the bidirectional controls and the
    // zero-width characters (U+061C, U+200B-U+200F, U+202A-U+202E,
    // U+2066-U+2069) become "?": a terminal would reorder the rest of the
    // line by them, or show a column narrower than it counts.
    static QString terminalLine(const QString &text);

    // Whether line() leaves the text as it is; cheap, for the common case.
    static bool isLine(const QString &text);

private:
    static QString neutralised(const QString &text, bool forTerminal);
};
