#pragma once
#include <QByteArray>
#include <QString>

// A script file as the script runner reads it: piece by piece, as cut by
// TvScriptLines, from the start again on a loop line. Only a regular text
// file is run: a FIFO would block the runner in open() and a device may
// never end; a file with bytes that are not script text (TvScriptLines::
// isText) is refused before any line runs. The file is read whole when it
// is opened, so a loop repeats what was checked, even if the file changes
// on disk meanwhile. A UTF-8 byte order mark at its start is dropped.
class TvScriptFile
{
public:
    // The largest script run; a script of commands comes nowhere near.
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    // False with *reason set (the C library's text for the error, or why
    // the file is not a script) when the file cannot be run.
    bool open(const QString &fileName, QString *reason);
    // The next piece; false at the end of the file.
    bool nextPiece(QByteArray *piece);
    // Back to the first line; false when no file is open.
    bool rewind();
    void close();

private:
    QByteArray contents;
    int offset = 0;
    bool opened = false;
};
