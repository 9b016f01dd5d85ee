#pragma once
#include <QObject>
#include <QString>

class TvAsk;
class TvLogModel;

// The log list and its files: time-stamped lines while logging is on, saves
// that append the lines not yet saved to the chosen log file as one block,
// a new list, and viewing a saved file. Unsaved lines are guarded: whatever
// would drop them asks first. GUI thread only (the worker's and the core's
// texts reach it as events), so it needs no lock.
class TvLogBook : public QObject
{
    Q_OBJECT
public:
    explicit TvLogBook(TvAsk *ask, QObject *parent = nullptr);

    TvLogModel *model() const { return lines; }

    bool loggingOn() const { return logging; }
    void setLoggingOn(bool on) { logging = on; }
    // Switches logging on, if it is off, with the list emptied (a console
    // command does): a viewed log file goes, so that no save writes it
    // into another log again, and so do lines already saved. Lines of this
    // program not yet saved stay.
    void switchOnWithFreshList();
    bool logUnsaved() const { return unsaved; }
    // The first line that the next save writes.
    int savedLineCount() const { return savedLines; }
    // What the list shows when a viewed log file fills its top: the
    // file's name, and where live lines follow it; empty for the live log.
    QString viewCaption() const;

    // Appends a stamped line; 1 without doing anything while logging is off.
    int addLogLine(const QString &text);
    // Appends a stamped line whether logging is on or not.
    void addForcedLine(const QString &text);
    // Logs what the description readers found wrong without refusing a file
    // (CAdapterInfo::warnings), as forced lines; only the first call does.
    void addReaderWarnings();

    // Writes the lines not yet saved to the chosen file; false on failure
    // (the lines stay unsaved).
    bool appendLogFile();
    // Offers to save unsaved lines; false when the caller must stop.
    bool confirmLogSaved();
    // True when nothing is unsaved or confirmLogSaved lets the caller go on.
    bool confirmIfUnsaved() { return !unsaved || confirmLogSaved(); }

    void fileSave();
    void fileSaveAs();
    void fileNew();
    void fileViewLogSlot();

signals:
    // A viewed log file fills the list now.
    void logFileShown();
    // viewCaption() may have changed.
    void viewChanged();

private:
    QString logDirectory() const;
    QString logFilter() const;
    bool chooseLogFileName();
    bool chooseNewLogFile();
    void saveUnderNewName();
    void showNothingToSave();
    void showSaveFailure();
    void emptyLogList(int keepFrom);

    TvAsk *ask;
    TvLogModel *lines;
    bool logging = false;
    bool unsaved = false;
    bool readerWarningsLogged = false;
    int savedLines = 0;
    // The list's first lines that come from a viewed log file.
    int viewedLines = 0;
    QString viewedName;
    QString lastLogError;
};
