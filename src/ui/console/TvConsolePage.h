#pragma once
#include "engine/TvScriptHost.h"

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class TvAdapterSession;
class TvAsk;
class TvLineEdit;
class TvLogBook;
class TvPushButton;
class TvScriptThread;
class TvTestRun;

// The Advanced tab (advanced mode): a console for the core's command
// interpreter and the script files that feed it. A line is help ("?", "h"),
// leaving ("q", Control+X) or a core command, which is queued for the
// worker; the core's output scrolls in the console, and the start and end
// of every command go to the log. Script files run on the script runner,
// which hands each line to executeCommand here and waits for its end.
class TvConsolePage : public QWidget, public TvScriptHost
{
    Q_OBJECT
public:
    // The console keeps the last lines only; the log list keeps everything.
    static constexpr int MaxConsoleLines = 100000;
    // Text waiting for the console goes in at the latest at this length.
    static constexpr int FlushChars = 4096;

    TvConsolePage(bool advanced, TvAdapterSession *session, TvAsk *ask, TvLogBook *log,
                  TvTestRun *run, QWidget *parent = nullptr);
    ~TvConsolePage() override;

    // Builds the tab's widgets (advanced mode); false when there is no tab
    // to show.
    bool buildAdvancedTab();
    // The runner of script files and the receiver of its events (the main
    // window); not owned.
    void setScriptThread(TvScriptThread *thread, QObject *receiver);
    // Ends a running script for good (the window is going away).
    void stopScript();

    bool isScriptRunning() const { return scriptRunning; }
    // The script runner says while a script file runs.
    void setScriptRunning(bool on) override { scriptRunning = on; }

    // The command input follows the adapter and runs.
    void setInputEnabled(bool enabled);
    // The console's share of locking the controls around a run; the input
    // (or the cancel button while it is locked) takes the focus when this
    // page is shown. The cancel button comes on only when what locked the
    // controls can be cancelled (a test or a command, not locating).
    void setControlsEnabled(bool enabled, bool shown, bool cancellable = true);
    // A cancel was asked for: the cancel button goes off, a script stops.
    void cancelDone();
    void takeFocus();
    void languageChange();

    // -1 the program is to end, 0 handled and nothing queued, 1 a core
    // command was queued.
    int executeCommand(const QString &line) override;
    int executeCoreCommand(const QString &line) override { return queueCommand(line); }
    // The monitor and repeater modes: the command runs as if typed.
    void runCommand(const QString &command);
    void showHelp();
    // Appends at most 511 characters of the text.
    void printConsole(const QString &text);
    void startScript(const QString &fileName);

    // Core events: a command ended (1011 with its status, 1021); a core
    // text (1030). commandEnded is what both endings share.
    void commandDone(int status);
    void commandCancelled();
    void commandEnded();
    void coreLogText(const QString &text);

    // The console's text (with what waits to go in) and the command input.
    QString consoleText();
    QString commandText() const;

public slots:
    void doAdvancedAction();
    void appendConsoleText(const QString &text);
    void fileOpen();
    void fileOpenScript();

signals:
    void controlsLockRequested(bool lock);
    // Control+X, or a "q" line: leave the program.
    void exitRequested();
    // Control+C or the cancel button.
    void cancelRequested();
    // A script starts: the tab is to be shown.
    void pageWanted();

protected:
    // Control+C and Control+X that the focused cancel button passed on.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // TvScriptHost
    void setControlsEnabled(bool enabled) override;
    void showMessage(const QString &text) override;

    int queueCommand(const QString &line);
    void releaseControls();
    void flushConsoleText();
    bool showTestItems();

    bool advanced;
    TvAdapterSession *session;
    TvAsk *ask;
    TvLogBook *log;
    TvTestRun *run;
    bool scriptRunning = false;
    TvScriptThread *runner = nullptr;
    QObject *scriptReceiver = nullptr;
    // Built with the tab.
    QPlainTextEdit *console = nullptr;
    TvLineEdit *input = nullptr;
    TvPushButton *cancelButton = nullptr;
    // Text on its way into the console, at the next turn of the event loop.
    QString pendingText;
    bool flushPending = false;
};
