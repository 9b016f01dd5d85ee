#pragma once
#include "TvDiagMainWindowBase.h"
#include "TvAsk.h"

#include <QMutex>
#include <QString>
#include <QWaitCondition>

class QAction;
class QCloseEvent;
class QLineEdit;
class QPushButton;
class QTimer;
class TvAdapterPage;
class TvAdapterSession;
class TvLogBook;
class TvTestPage;
class TvTestRun;
class TvWorkerThread;

// The program's main window: the adapter list, the test tab, the log and the
// adapter views, the timers that keep them current, and the receiver of the
// worker thread's and the core callbacks' events.
class TvDiagMainWindow : public TvDiagMainWindowBase
{
    Q_OBJECT
public:
    // Every box goes through the program-wide dialog seam
    // (TvDialogSeam::current()), which tests replace with scripted answers.
    TvDiagMainWindow();
    ~TvDiagMainWindow() override;

    // True when the construction ended early; its message has been shown.
    bool constructionFailed() const { return failedConstruction; }
    int instanceNumber() const { return instance; }

    void selectAdapter(int index);
    void setControlsEnabled(bool enabled);

    TvAdapterSession *adapterSession() const { return session; }
    TvAdapterPage *adapters() const { return adapterPage; }
    TvTestPage *tests() const { return testPage; }
    TvTestRun *run() const { return testRun; }
    TvLogBook *log() const { return logBook; }
    QTimer *sensorTimer() const { return sensorPollTimer; }
    QTimer *generalInfoTimer() const { return generalTimer; }

    // The worker thread that runs the test jobs; not owned.
    void setWorker(TvWorkerThread *worker);
    // The script runner says while a script file runs.
    void setScriptRunning(bool on) { scriptRunning = on; }

signals:
    // fileExit wants the program to end; connected to the application's quit.
    void quitRequested();

public slots:
    void AdapterClickedSlot(QListWidgetItem *item) override;
    void vpdviewSlot() override;
    void vpdEditSlot() override;
    void helpContents() override;
    void helpAbout() override;
    void CancelTestSlot();
    void SelectTestCaseSlot(QTreeWidgetItem *item) override;
    void StartTestSlot();
    void StartMonitor();
    void StartRepeater();
    void SaveConfigSlot() override;
    void testSlot();
    void vpdDelete() override;
    void fileExit() override;
    void fileNew() override;
    void fileOpen() override;
    void fileOpenScript();
    void fileSave() override;
    void fileSaveAs() override;
    void fileViewLogSlot() override;
    void flashLoadSlot() override;
    void flashSaveSlot() override;
    void flashClearSlot() override;
    void startAllTestsSlot() override;
    void connectivityTestSlot() override;
    void restartTestCase();
    void locateNIC_Slot() override;
    void getNetworkDriverInfo();
    void getLinkInfo();
    void checkActivity(int port);
    void sensorTimerExpired();
    int adapterTimerExpired();
    void generalInfoTimerExpired();
    void doAdvancedAction();
    void tabChanged(QWidget *page);
    void fileExitSlot();

protected slots:
    void languageChange() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void customEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Later features reached from the adapter selection; each fills its own
    // views when it exists.
    void showPciConfig(int adapterIndex);
    void buildSensorTab();
    void destroySensorGauges();
    void buildAdvancedTab();
    // The Advanced tab's console text area; nothing while there is none.
    void appendConsoleText(const QString &text);

    void setUpLogList();
    void createTimers();
    void applyAdvancedMode();
    void setUpStaticWidgets();
    void centreOnDesktop();
    void connectWindowSignals();

    // The user's pick of the adapter list.
    void pickAdapter(int index);
    void resetAdapterViews();
    void enableAdapterActions(bool enabled);
    void applyPortCount();
    bool dualPort() const;
    // A cancel was asked for: the cancel buttons of the other pages go off.
    void cancelButtonsOff();
    void commandEnded();
    void showStateCell(int row, int column, const QString &key);

    bool failedConstruction = true;
    bool advanced = false;
    bool scriptRunning = false;
    int instance;
    TvAsk ask;

    TvLogBook *logBook = nullptr;
    TvAdapterSession *session = nullptr;
    TvAdapterPage *adapterPage = nullptr;
    TvTestPage *testPage = nullptr;
    TvTestRun *testRun = nullptr;

    // The script runner waits on these, holding runnerLock; they are
    // signalled after a command's end (1011, 1021) and after each core
    // log text (1030) has been handled.
    QMutex runnerLock;
    QWaitCondition commandDone;
    QWaitCondition textShown;

    // Advanced tab (advanced mode only; built by buildAdvancedTab).
    QWidget *advancedTab = nullptr;
    QLineEdit *advancedLineEdit = nullptr;
    QPushButton *advancedCancelButton = nullptr;
    QAction *repeaterAction = nullptr;

    QTimer *sensorPollTimer = nullptr;
    QTimer *generalTimer = nullptr;
};
