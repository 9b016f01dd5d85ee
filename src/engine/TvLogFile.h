#pragma once
#include <QString>
#include <QStringList>

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
    // Every write and the close are checked. On failure *errorText gets the
    // C library's text for the error (strerror); OpenFailed means nothing was
    // written, WriteFailed that the block may be incomplete. Either way the
    // caller keeps its lines unsaved.
    static Result appendBlock(const QString &fileName, const TvLogModel &lines, int from,
                              QString *errorText, std::time_t when = std::time(nullptr));

    // The name a save uses: `extension` is appended (after a dot, unless it
    // starts with one or the name ends with one) when it occurs nowhere in
    // the name; the search is case-sensitive.
    static QString withExtension(const QString &name, const QString &extension);

    // A log list line: the 24-character ctime text of `when`, a blank, then
    // the text with every line feed made a blank and every tab three blanks.
    static QString stampedLine(const QString &text, std::time_t when = std::time(nullptr));

    // ctime text of `when`, with its trailing line feed.
    static QString ctimeText(std::time_t when);

    static constexpr int SeparatorLength = 43;
};
