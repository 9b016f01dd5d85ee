#pragma once
#include <QString>
#include <QStringList>

#include <cstdio>
#include <ctime>

class TvLogModel;

// The log's text formats: a log line as the list shows it, and the block that
// each save appends to a log file. Files are written and read as UTF-8.
class TvLogFile
{
public:
    enum Result { Saved, OpenFailed, WriteFailed };

    // Appends one block to the file (created if missing):
    //   "\n" + SAVE_LOG_FILE heading (with the ctime text of `when`, whose
    //   own line feed stays) + "\n", every line of `lines` from row `from`
    //   on + "\n", "\n" + 43 '=' + "\n".
    // The lines go out as the model stores them, without a copy.
    // Every write, the sync and the close are checked. On failure
    // *errorText gets the C library's text for the error (strerror), or
    // says that the name is not a regular file (a FIFO is not waited on);
    // OpenFailed means nothing was written, WriteFailed that the block did
    // not reach the disk whole; in a regular file, what of it did is cut
    // off again. Either way the caller keeps its lines unsaved.
    static Result appendBlock(const QString &fileName, const TvLogModel &lines, int from,
                              QString *errorText, std::time_t when = std::time(nullptr));

    // The name a save uses: the file's own name keeps an extension it ends
    // with (".log" for "log" or ".log"; case-sensitive), else the first
    // one is appended with its dot ("A-log" becomes "A-log.log", "run."
    // "run.log"). No extension leaves the name as it is.
    static QString withExtension(const QString &name, const QString &extension);
    static QString withExtension(const QString &name, const QStringList &extensions);
    // "*.log *.txt" for a file dialog's filter; an extension may be given
    // with or without its dot.
    static QString patterns(const QStringList &extensions);

    // A log list line: the 24-character ctime text of `when`, a blank, then
    // the text as one line: every tab made three blanks, every other line
    // break a blank and every other control character a "?".
    static QString stampedLine(const QString &text, std::time_t when = std::time(nullptr));
    static QString oneLine(const QString &text);

    // ctime text of `when`, with its trailing line feed.
    static QString ctimeText(std::time_t when);

    static constexpr int SeparatorLength = 43;

private:
    static constexpr int NotRegularFile = -1;
    static std::FILE *openForAppending(const QString &fileName, int *error, bool *regular);
    static QString errorTextOf(int error);
};
