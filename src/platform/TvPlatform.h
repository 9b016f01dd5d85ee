#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The small layer that stands in for the operating-system calls of the program.
class TvPlatform
{
public:
    // Locale identifier of the user's language (for example 0x407 for
    // de_DE), from LC_ALL, LC_MESSAGES or LANG; 0 when none is known.
    static quint32 userLocaleId();
    // Writes text as UTF-8 to standard output, adds nothing, and flushes so
    // that it stays in order with printf output.
    static void writeConsole(const QString &text);
    // Milliseconds of the monotonic clock; wraps at 32 bits.
    static quint32 tickCount();
    static quint32 processId();

    // Where the program's own data lives (description files, images, help
    // pages, catalogues, the simulated machine): the program's directory
    // when it holds the data, as the build's run directory does, else
    // ../share/nicdiag beside an installed program's bin directory. Needs
    // the application object.
    static QString dataDirectory();
    // True when a window has somewhere to go: an X11 or Wayland display is
    // named, or the user chose a Qt platform plug-in.
    static bool hasDisplay();

    // Opens a file for reading the way the program's readers take one: a
    // FIFO does not block the opening, and only a regular file is accepted
    // (a FIFO would block the first read, a device may never end). Returns
    // the descriptor (close-on-exec) with its size in *size, or -1 with
    // *error set to the C library's error number (EISDIR for a directory)
    // or to NotRegularFile.
    static constexpr int NotRegularFile = -1;
    static int openRegularFile(const QString &path, qint64 *size, int *error);

    // Reads a regular file whole, as openRegularFile() takes it, when it
    // holds at most maxBytes. Returns 0 with the bytes in *data, else the
    // C library's error number, NotRegularFile or TooLarge (then nothing
    // was read). The size it had when it was opened is what is read, should
    // it grow meanwhile.
    static constexpr int TooLarge = -2;
    static int readRegularFile(const QString &path, qint64 maxBytes, QByteArray *data);
};
