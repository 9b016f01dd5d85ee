#pragma once
#include "TvDiagMainWindowBase.h"
#include "TvAsk.h"

#include <QSet>

class QAction;
class QCloseEvent;
class TvAdapterPage;
class TvAdapterSession;
class TvConfigPage;
class TvConnectivityTest;
class TvConsolePage;
class TvFlashProm;
class TvGeneralPage;
class TvLogBook;
class TvLogPage;
class TvMonitorPage;
class TvRunRecorder;
class TvSensorPage;
class TvTestPage;
class TvTestRun;
class TvScriptThread;
class TvVpdActions;
class TvWorkerThread;

// The program's main window. It composes: each tab is a page of its own
// (src/ui/<feature>/), the shared state has owners that the pages are handed
// (TvAdapterSession, TvLogBook, TvTestRun), and the window builds them in
// order, routes its menus and the core's events to them with one line
// each, keeps the order of what selecting an adapter does, and fans out
// locking the controls around a run.
class TvDiagMainWindow : public TvDiagMainWindowBase
{
    Q_OBJECT
public:
    // The smallest the window gets, and the size it opens with unless the
    // tab names need more width or a size was remembered from the last run.
    static constexpr int DefaultWidth = 630;
    static constexpr int DefaultHeight = 450;
    // Room to spare after the last tab's name.
    static constexpr int TabSlack = 8;
    // The tab names shrink no further to fit a narrow screen.
    static constexpr int SmallestTabPointSize = 7;

    // Advanced mode is read from the program's settings once, here, and
    // handed to the pages. Every box goes through the program-wide dialog
    // seam (TvDialogSeam::current()), which tests replace.
    TvDiagMainWindow();
    ~TvDiagMainWindow() override;

    // True when the construction ended early; its message has been shown.
    bool constructionFailed() const { return failedConstruction; }
    int instanceNumber() const { return instance; }

    // Makes the adapter at this index of the session's table the current
    // one and refills every view that depends on it.
    void selectAdapter(int index);
    // Locks (false) or releases (true) the controls of every page.
    void setControlsEnabled(bool enabled);

    // The worker thread that runs the test jobs; not owned.
    void setWorker(TvWorkerThread *worker);
    // The runner of script files (advanced mode); not owned. The window
    // stops it before it goes away.
    void setScriptThread(TvScriptThread *thread);

    TvAdapterSession *adapterSession() const { return session; }
    TvLogBook *log() const { return logBook; }
    TvTestRun *run() const { return testRun; }
    TvAdapterPage *adapters() const { return adapterPage; }
    TvTestPage *tests() const { return testPage; }
    TvMonitorPage *monitor() const { return monitorPage; }
    TvConfigPage *config() const { return configPage; }
    TvSensorPage *sensors() const { return sensorPage; }
    TvGeneralPage *general() const { return generalPage; }
    TvConsolePage *console() const { return consolePage; }
    TvConnectivityTest *connectivity() const { return connectivityTest; }
    TvVpdActions *vpd() const { return vpdActions; }
    TvFlashProm *flash() const { return flashProm; }
    TvRunRecorder *records() const { return runRecorder; }

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
    bool checkActivity(int port);
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
    void composePages();
    void connectPages();
    void applyAdvancedMode();
    void buildAdvancedTab();
    void removeAdvancedEntries();
    void reportMissingTimers();
    bool firstRefresh();
    void centreOnDesktop();
    // The width at which the tab bar shows every tab's name whole.
    int widthForEveryTab();
    void placeWindow();
    void rememberPlace();
    void showPage(QWidget *page);
    void setActionTexts();

    // The user's pick of the adapter list.
    void pickAdapter(int index);
    void resetAdapterViews();
    void enableAdapterActions(bool enabled);
    void applyPortCount();
    void setMenusEnabled(bool enabled);
    // A page locks (true) or lets go of (false) the controls.
    void holdControls(QObject *holder, bool lock);
    // A "q" script line; the other ways out go through fileExit.
    void scriptExit();
    // Stops the core's work and the queue, and ends the program.
    void endProgram();
    // A cancel was asked for: the cancel buttons of the other pages go off.
    void cancelButtonsOff();

    bool failedConstruction = true;
    const bool advanced;
    int instance;
    TvAsk ask;

    TvLogBook *logBook = nullptr;
    TvAdapterSession *session = nullptr;
    TvTestRun *testRun = nullptr;
    TvAdapterPage *adapterPage = nullptr;
    TvTestPage *testPage = nullptr;
    TvMonitorPage *monitorPage = nullptr;
    TvConfigPage *configPage = nullptr;
    TvSensorPage *sensorPage = nullptr;
    TvLogPage *logPage = nullptr;
    TvGeneralPage *generalPage = nullptr;
    TvConsolePage *consolePage = nullptr;
    TvConnectivityTest *connectivityTest = nullptr;
    TvVpdActions *vpdActions = nullptr;
    TvFlashProm *flashProm = nullptr;
    TvRunRecorder *runRecorder = nullptr;
    QAction *repeaterAction = nullptr;
    // The pages that hold the controls locked.
    QSet<QObject *> lockHolders;
};
