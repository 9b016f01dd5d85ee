#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// A script file as the script runner reads it: piece by piece, as cut by
// TvScriptLines, from the start again on a loop line. Only a regular text
// file is run: a FIFO would block the runner in open() and a device may
// never end; a file with a zero byte near its start is not text.
class TvScriptFile
{
public:
    // How far a file is searched for a zero byte before it is run.
    static constexpr int TextCheckBytes = 64 * 1024;

    // False with *reason set (the C library's text for the error, or why
    // the file is not a script) when the file cannot be run.
    bool open(const QString &fileName, QString *reason);
    // The next piece; false at the end of the file or on a read error.
    bool nextPiece(QByteArray *piece);
    // Back to the first line; false when the file cannot be read again.
    bool rewind();
    void close();

private:
    bool fill();

    QFile file;
    QByteArray buffer;
    int offset = 0;
    bool atEnd = false;
};
