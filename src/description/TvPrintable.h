#pragma once
#include <QString>

// Texts from the description files and the core library on their way to a
// terminal: a line break or an escape sequence inside a name must not start
// a fake line or drive the terminal.
class TvPrintable
{
public:
    // The text as one line: tabs and line breaks become blanks, every other
    // control character, bidirectional control and zero-width character a
    // "?" (TvControlText::terminalLine).
    static QString line(const QString &text);
};
