#pragma once
#include "TvDiagMainWindowBase.h"

#include <QMutex>
#include <QString>
#include <QVector>
#include <array>
#include <atomic>

struct AdapterRecord;
class QAction;
class QActionGroup;
class QCloseEvent;
class QLineEdit;
class QPushButton;
class QTimer;
class TvDialogSeam;
class TvLogModel;
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
    // A question for the user: a text (a message key or a finished text)
    // and up to three button codes (0 = no button).
    struct Question {
        QString text;
        int button0 = 0;
        int button1 = 0;
        int button2 = 0;
    };

    static constexpr int RowCount = 7;
    static constexpr int SlotCount = 32;
    static constexpr int MaxAdapterRows = 256;
    static constexpr int AllTestsNumber = 9999;
    static constexpr int ConnectivityNumber = 9998;

    explicit TvDiagMainWindow(QWidget *parent = nullptr, TvDialogSeam *dialogs = nullptr);
    ~TvDiagMainWindow() override;

    // True when the construction ended early; its message has been shown.
    bool constructionFailed() const { return failedConstruction; }
    int instanceNumber() const { return instance; }

    // The text of a core status, in this window's language.
    static QString statusText(int code);

    int showQuestion(const Question *question);
    int addLogLine(const QString &text);

    void selectAdapter(int index);
    void buildTestList(const QString &adapterKey);
    void showTestSlot(int testCaseNumber);
    void setControlsEnabled(bool enabled);

    int currentAdapterIndex() const { return currentAdapter; }
    const AdapterRecord *adapterTable() const { return adapters; }
    TvTestProgress *testRow(int index) const { return rows[index]; }
    TvLogModel *logModel() const { return logLines; }
    QTimer *sensorTimer() const { return sensorPollTimer; }
    QTimer *adapterTimer() const { return adapterRefreshTimer; }
    QTimer *generalInfoTimer() const { return generalTimer; }
    QTimer *locateTimer() const { return locateNICTimer; }

    // The worker thread that runs the test jobs; not owned.
    void setWorker(TvWorkerThread *worker) { workerThread = worker; }

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
    void locateNICTimerExpired();
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

    TvDialogSeam &dialogs() const;
    // A box without parent, with the banner as caption and one OK button.
    void showConstructionBox(int icon, const char *key);
    int criticalBox(const QString &text, int button = 1, const QString &buttonText = QString());

    // Later features reached from the adapter selection; each fills its own
    // views when it exists.
    virtual void showPciConfig(int adapterIndex);
    virtual void buildSensorTab();
    virtual void destroySensorGauges();
    virtual void buildAdvancedTab();

    // ---- test engine -----------------------------------------------------
    // State shared by the test engine's slots and events. The worker thread
    // writes coreBusy; everything else belongs to the GUI thread.
    struct TestSlot {
        int number = -1;
        QAction *action = nullptr;
        QTreeWidgetItem *item = nullptr;
    };
    std::atomic<bool> coreBusy{false};
    std::atomic<bool> cancelRequested{false};
    bool running = false;
    bool scriptRunning = false;
    int answer = 0;
    int currentRow = 0;
    bool allTestsMode = false;
    int allTestsIndex = 0;
    int loopCounter = 0;
    int lastLoopCount = 0;
    std::array<TestSlot, SlotCount> testSlots; // `slots` is taken by Qt
    std::array<TvTestProgress *, RowCount> rows{};
    TvWorkerThread *workerThread = nullptr;
    // Empties the worker's queue of jobs not yet started.
    void clearPendingJobs();
    bool confirmLogSaved();
    // ---- log -------------------------------------------------------------
    bool loggingOn = false;
    bool logUnsaved = false;
    int savedLineCount = 0;
    QMutex logLock;
    TvLogModel *logLines = nullptr;
    // -----------------------------------------------------------------------

    // Advanced tab (advanced mode only; built by buildAdvancedTab).
    QWidget *advancedTab = nullptr;
    QLineEdit *advancedLineEdit = nullptr;
    QPushButton *advancedCancelButton = nullptr;
    QAction *repeaterAction = nullptr;

private:
    void setUpLogList();
    bool buildTestRows();
    bool createTimers();
    void applyAdvancedMode();
    void setUpStaticWidgets();
    void centreOnDesktop();
    void preselectAdapter();
    void connectWindowSignals();

    // Adapter inventory.
    int adapterCount() const;
    bool inUseChangedElsewhere() const;
    int rebuildAdapterList();
    QPixmap adapterPicture(const QString &key, bool known) const;
    int rowOfAdapter(int index) const;
    void selectCurrentAdapterRow();
    void resetAdapterViews();
    void enableAdapterActions(bool enabled);
    void applyPortCount();
    bool dualPort() const;

    // Test tab.
    void clearTestSlots();
    bool addTestSlot(int k, int number, const CTestCase &testCase, QTreeWidgetItem *&after);
    void refitTestNames();

    bool failedConstruction = true;
    bool advanced = false;
    int instance;

    AdapterRecord *adapters = nullptr;
    int currentAdapter = -1;
    int firstSelectable = -1;
    int currentBus = -1;
    int currentDevice = -1;
    std::array<int, MaxAdapterRows> rowMap;
    QVector<quint8> savedInUse;

    QActionGroup *menuActions = nullptr;
    QTreeWidgetItem *lastSelectedItem = nullptr;

    QTimer *sensorPollTimer = nullptr;
    QTimer *adapterRefreshTimer = nullptr;
    QTimer *generalTimer = nullptr;
    QTimer *locateNICTimer = nullptr;

    TvDialogSeam *dialogSeam;
};
