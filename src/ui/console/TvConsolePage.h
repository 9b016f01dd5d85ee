#pragma once
#include <QMutex>
#include <QWaitCondition>
#include <QWidget>

class QLineEdit;
class QPushButton;
class TvAdapterSession;
class TvAsk;
class TvLogBook;
class TvTestRun;

// The Advanced tab (advanced mode): a console for the core's command
// interpreter and the script files that feed it. The console widgets and
// the commands come with their feature; until then the page builds no tab,
// but it already serves the script runner: it knows while a script runs,
// and it wakes the runner after each command's end and each core text.
class TvConsolePage : public QWidget
{
    Q_OBJECT
public:
    TvConsolePage(bool advanced, TvAdapterSession *session, TvAsk *ask, TvLogBook *log,
                  TvTestRun *run, QWidget *parent = nullptr);

    // Builds the tab's widgets (advanced mode); false when there is no tab
    // to show.
    bool buildAdvancedTab();

    bool isScriptRunning() const { return scriptRunning; }
    // The script runner says while a script file runs.
    void setScriptRunning(bool on) { scriptRunning = on; }

    // The command input follows the adapter and runs.
    void setInputEnabled(bool enabled);
    // The console's share of locking the controls around a run; the input
    // takes the focus when this page is shown.
    void setControlsEnabled(bool enabled, bool shown);
    // A cancel was asked for: the console's cancel button goes off.
    void cancelDone();
    void takeFocus();
    void languageChange();

    // Core events: a command ended (1011, 1021); a core text (1030).
    void commandEnded();
    void coreLogText(const QString &text);

public slots:
    void doAdvancedAction();
    void appendConsoleText(const QString &text);
    void fileOpen();

signals:
    void controlsLockRequested(bool lock);

private:
    bool advanced;
    TvAdapterSession *session;
    TvAsk *ask;
    TvLogBook *log;
    TvTestRun *run;
    bool scriptRunning = false;
    // Built with the tab.
    QLineEdit *input = nullptr;
    QPushButton *cancelButton = nullptr;
    // The script runner waits on these, holding runnerLock; they are
    // signalled after a command's end (1011, 1021) and after each core
    // log text (1030) has been handled.
    QMutex runnerLock;
    QWaitCondition commandDone;
    QWaitCondition textShown;
};
