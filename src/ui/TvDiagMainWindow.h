#pragma once
#include "TvDiagMainWindowBase.h"
#include "TvAsk.h"

#include <QMutex>
#include <QString>
#include <QVector>
#include <QWaitCondition>
#include <array>
#include <atomic>

class QAction;
class QActionGroup;
class QCloseEvent;
class QLineEdit;
class QPushButton;
class QTimer;
class TvCoreEvent;
class TvDialogSeam;
class TvAdapterPage;
class TvAdapterSession;
class TvLogBook;
class TvTestProgress;
class TvWorkerThread;
struct CTestCase;

// The program's main window: the adapter list, the test tab, the log and the
// adapter views, the timers that keep them current, and the receiver of the
// worker thread's and the core callbacks' events.
class TvDiagMainWindow : public TvDiagMainWindowBase
{
    Q_OBJECT
public:
    static constexpr int RowCount = 7;
    static constexpr int SlotCount = 32;
    static constexpr int AllTestsNumber = 9999;
    static constexpr int ConnectivityNumber = 9998;

    // Every box goes through the program-wide dialog seam
    // (TvDialogSeam::current()), which tests replace with scripted answers.
    TvDiagMainWindow();
    ~TvDiagMainWindow() override;

    // True when the construction ended early; its message has been shown.
    bool constructionFailed() const { return failedConstruction; }
    int instanceNumber() const { return instance; }


    void selectAdapter(int index);
    void buildTestList(const QString &adapterKey);
    void showTestSlot(int testCaseNumber);
    void setControlsEnabled(bool enabled);

    TvAdapterSession *adapterSession() const { return session; }
    TvAdapterPage *adapters() const { return adapterPage; }
    TvTestProgress *testRow(int index) const { return rows[index]; }
    TvLogBook *log() const { return logBook; }
    QTimer *sensorTimer() const { return sensorPollTimer; }
    QTimer *generalInfoTimer() const { return generalTimer; }

    // The worker thread that runs the test jobs; not owned.
    void setWorker(TvWorkerThread *worker) { workerThread = worker; }

    TvAsk &asking() { return ask; }
    bool isRunning() const { return running; }
    bool isAllTests() const { return allTestsMode; }
    // Core work that the window runs on a thread of its own (not through
    // the worker) marks itself busy, so that closing still asks about it.
    void setCoreBusy(bool busy) { coreBusy = busy; }
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
    bool eventFilter(QObject *object, QEvent *event) override;
    void showEvent(QShowEvent *event) override;


    // Later features reached from the adapter selection; each fills its own
    // views when it exists.
    virtual void showPciConfig(int adapterIndex);
    virtual void buildSensorTab();
    virtual void destroySensorGauges();
    virtual void buildAdvancedTab();

    // ---- test engine -----------------------------------------------------
    // The run state belongs to the GUI thread. The cancel request, the
    // queue and whether the core is inside a test or command live in the
    // worker thread (TvWorkerThread), which both threads reach.
    struct TestSlot {
        int number = -1;
        QAction *action = nullptr;
        QTreeWidgetItem *item = nullptr;
        // An advanced test case outside advanced mode: no entry, but not a
        // gap in the adapter's list either.
        bool hidden = false;
    };
    std::atomic<bool> coreBusy{false};
    bool running = false;
    bool scriptRunning = false;
    int currentRow = 0;
    bool allTestsMode = false;
    int allTestsIndex = 0;
    int loopCounter = 0;
    int lastLoopCount = 0;
    std::array<TestSlot, SlotCount> testSlots; // `slots` is taken by Qt
    std::array<TvTestProgress *, RowCount> rows{};
    TvWorkerThread *workerThread = nullptr;
    // The script runner waits on these, holding runnerLock; they are
    // signalled after a command's end (1011, 1021) and after each core
    // log text (1030) has been handled.
    QMutex runnerLock;
    QWaitCondition commandDone;
    QWaitCondition textShown;

    // A core call in progress: the worker's test or command, or the
    // window's own core work.
    bool coreIsBusy() const;
    // TestCancel, only while the core is busy.
    void cancelCoreWork();
    // Empties the worker's queue of jobs not yet started.
    void clearPendingJobs();
    // The connectivity entry's row: queues the ping job (connectivity test
    // dialog and ping routine). False when no test was started.
    virtual bool runConnectivityTest(int row);
    // The Advanced tab's console text area; nothing while there is none.
    virtual void appendConsoleText(const QString &text);

    TvLogBook *logBook = nullptr;
    // -----------------------------------------------------------------------

    // Advanced tab (advanced mode only; built by buildAdvancedTab).
    QWidget *advancedTab = nullptr;
    QLineEdit *advancedLineEdit = nullptr;
    QPushButton *advancedCancelButton = nullptr;
    QAction *repeaterAction = nullptr;

private:
    void setUpLogList();
    bool buildTestRows();
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

    // Test tab.
    void clearTestSlots();
    bool addTestSlot(int k, int number, const CTestCase &testCase, QTreeWidgetItem *&after);
    void refitTestNames();

    // Test engine.
    void advanceLoopCounter();
    void showLoopCount(int count);
    void prepareRowsForRun();
    void setRowChecksEnabled(bool enabled);
    bool loopAllowed() const;
    int nextTickedRow(int from) const;
    void startRow(int row);
    QString currentEntryText() const;
    bool qualifiesForAllTests(int k) const;
    int firstAllTestsSlot(bool *missing) const;
    void showSlot(int k);
    void abandonAllTests();
    void markRowResult(bool passed);
    void testCaseFinished(int status);
    void connectivityFinished(int status);
    bool continueAllTests();
    void finishCancelledRun(bool markRow, bool endAllTests);
    bool stopIfCancelled();
    void endRun();
    void scheduleRestart(int delayMs);
    bool dropPendingRestart();
    void commandEnded();
    void showStateCell(int row, int column, const QString &key);
    void setRunning(bool on);
    bool pointerOverRunControls() const;
    QPixmap resultImage(const QString &name) const;

    bool failedConstruction = true;
    bool advanced = false;
    int instance;
    TvAsk ask;

    TvAdapterSession *session = nullptr;
    TvAdapterPage *adapterPage = nullptr;

    QActionGroup *menuActions = nullptr;
    QTreeWidgetItem *lastSelectedItem = nullptr;

    QTimer *sensorPollTimer = nullptr;
    QTimer *generalTimer = nullptr;

    // The one-shot loop restart that is due, or 0; a cancel drops it.
    int pendingRestart = 0;
    int restartTickets = 0;

};
