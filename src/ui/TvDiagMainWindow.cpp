#include "TvDiagMainWindow.h"
#include "ui_TvDiagMainWindowBase.h"

#include "TvAdapterSession.h"
#include "TvContextText.h"
#include "TvDiagHelpDlgImpl.h"
#include "TvSplash.h"
#include "adapters/TvAdapterPage.h"
#include "config/TvConfigPage.h"
#include "connectivity/TvConnectivityTest.h"
#include "console/TvConsolePage.h"
#include "flash/TvFlashProm.h"
#include "general/TvGeneralPage.h"
#include "log/TvLogBook.h"
#include "log/TvLogPage.h"
#include "monitor/TvMonitorPage.h"
#include "records/TvRunRecorder.h"
#include "sensors/TvSensorPage.h"
#include "testpage/TvTestPage.h"
#include "testpage/TvTestRun.h"
#include "vpd/TvVpdActions.h"

#include "engine/TvWorkerThread.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvCoreEvent.h"
#include "text/TvProgram.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLayout>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTabBar>
#include <QStatusBar>

#include <memory>
#include <new>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

// Instances are numbered program-wide.
int instanceCounter = 0;

QRect desktopGeometry()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 0, 0);
}

// Where the window's size and place are kept between runs.
QSettings windowSettings()
{
    return QSettings(QStringLiteral("nicdiag"), QStringLiteral("window"));
}

const QString GeometryKey = QStringLiteral("geometry");

} // namespace

// ---------------------------------------------------------------------------
// Construction
// ---------------------------------------------------------------------------

TvDiagMainWindow::TvDiagMainWindow()
    : advanced(TvProgram::advancedMode()), instance(++instanceCounter), ask(this)
{
    TvCoreCallbacks::setReceiver(this);
    connect(this, &TvDiagMainWindow::quitRequested, &QCoreApplication::quit);
    setWindowTitle(TvProgram::bannerText());
    setMinimumSize(DefaultWidth, DefaultHeight);
    // Built now, so that the pages do not move when it first says something.
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    composePages();
    applyAdvancedMode();
    reportMissingTimers();
    connectPages();
    resize(DefaultWidth, DefaultHeight);
    centreOnDesktop();

    if (!testPage->hasRows()) {
        ask.alone(TvDialogSeam::Critical, msg("ALLOC_TESTPROGRESS_FAILED"));
        return;
    }
    if (!testPage->hasActionGroup()) {
        ask.alone(TvDialogSeam::Critical, msg("ALLOC_MENUACTION_FAILED"));
        return;
    }
    enableAdapterActions(false);
    consolePage->setInputEnabled(false);
    if (!firstRefresh())
        return;
    adapterPage->preselect(TvProgram::preselectBus(), TvProgram::preselectDevice());
    languageChange();
    placeWindow();
    failedConstruction = false;
    testRun->watchRunControls();
}

TvDiagMainWindow::~TvDiagMainWindow()
{
    // A run still going is filed before the pages it reads go away.
    runRecorder->closeForExit();
    // Neither the worker, a core callback nor the script runner may post to
    // a window that is going away.
    consolePage->stopScript();
    if (testRun->worker())
        testRun->worker()->setReceiver(nullptr);
    TvCoreCallbacks::setReceiver(nullptr);
}

void TvDiagMainWindow::composePages()
{
    logBook = new TvLogBook(&ask, this);
    logBook->addReaderWarnings();
    session = new TvAdapterSession(&ask, logBook, this);
    adapterPage = new TvAdapterPage(session, &ask, logBook);
    testPage = new TvTestPage(advanced, &ask, ui->testMenu);
    testRun = new TvTestRun(testPage, session, logBook, &ask, advanced, this);
    connectivityTest = new TvConnectivityTest(testPage, testRun, session, logBook, &ask, this);
    monitorPage = new TvMonitorPage(advanced, session, &ask);
    configPage = new TvConfigPage(session, &ask);
    sensorPage = new TvSensorPage(session, &ask);
    logPage = new TvLogPage(logBook);
    generalPage = new TvGeneralPage(session);
    for (QWidget *page : std::initializer_list<QWidget *>{adapterPage, testPage, monitorPage,
                                                          configPage, sensorPage, logPage,
                                                          generalPage})
        ui->TvDiagDataTab->addTab(page, QString());
    // Not a tab until the console builds one (advanced mode).
    consolePage = new TvConsolePage(advanced, session, &ask, logBook, testRun, this);
    consolePage->hide();
    vpdActions = new TvVpdActions(advanced, &ask, logBook, session, this, this);
    flashProm = new TvFlashProm(advanced, &ask, logBook, session, this, this);
    runRecorder = new TvRunRecorder(testRun, testPage, session, logBook, &ask, sensorPage, this);
    ask.setAnswerObserver(
        [this](const QString &text, int answer) { runRecorder->questionAnswered(text, answer); });
}

void TvDiagMainWindow::connectPages()
{
    connect(ui->TvDiagDataTab, &QTabWidget::currentChanged, this,
            [this](int index) { tabChanged(ui->TvDiagDataTab->widget(index)); });
    connect(adapterPage, &TvAdapterPage::adapterPicked, this, &TvDiagMainWindow::pickAdapter);
    connect(adapterPage, &TvAdapterPage::selectRequested, this, &TvDiagMainWindow::selectAdapter);
    connect(adapterPage, &TvAdapterPage::allTestsClicked, this, &TvDiagMainWindow::startAllTestsSlot);
    connect(adapterPage, &TvAdapterPage::connectivityClicked, this,
            &TvDiagMainWindow::connectivityTestSlot);
    connect(testPage, &TvTestPage::startPressed, this, &TvDiagMainWindow::StartTestSlot);
    connect(testPage, &TvTestPage::cancelPressed, this, &TvDiagMainWindow::CancelTestSlot);
    connect(testPage, &TvTestPage::testSlotTriggered, this, &TvDiagMainWindow::testSlot);
    connect(monitorPage, &TvMonitorPage::startPressed, this, &TvDiagMainWindow::StartMonitor);
    connect(monitorPage, &TvMonitorPage::cancelPressed, this, &TvDiagMainWindow::CancelTestSlot);
    const auto lockBy = [this](QObject *holder) {
        return [this, holder](bool locked) { holdControls(holder, locked); };
    };
    connect(testRun, &TvTestRun::controlsLockRequested, this, lockBy(testRun));
    connect(consolePage, &TvConsolePage::controlsLockRequested, this, lockBy(consolePage));
    connect(adapterPage, &TvAdapterPage::controlsLockRequested, this, lockBy(adapterPage));
    connect(flashProm, &TvFlashProm::controlsLockRequested, this, lockBy(flashProm));
    // Closing while the PROM is being written asks first, as during a test.
    connect(flashProm, &TvFlashProm::busyChanged, testRun, &TvTestRun::setCoreBusy);
    connect(consolePage, &TvConsolePage::exitRequested, this, &TvDiagMainWindow::fileExitSlot);
    connect(consolePage, &TvConsolePage::cancelRequested, this, &TvDiagMainWindow::CancelTestSlot);
    connect(consolePage, &TvConsolePage::pageWanted, this, [this] { showPage(consolePage); });
    connect(monitorPage, &TvMonitorPage::commandWanted, consolePage, &TvConsolePage::runCommand);
    connect(monitorPage, &TvMonitorPage::pageWanted, this, [this] { showPage(monitorPage); });
    connect(monitorPage, &TvMonitorPage::modeEnded, logBook, [this](const QString &counts) {
        logBook->addLogLine(msg("MODE_FINAL_COUNTS %1").arg(counts));
    });
    connect(testRun, &TvTestRun::cancelling, this, &TvDiagMainWindow::cancelButtonsOff);
    connect(testRun, &TvTestRun::testPageWanted, this, [this] { showPage(testPage); });
    connect(testRun, &TvTestRun::runningChanged, sensorPage, &TvSensorPage::setTestRunning);
    connect(sensorPage, &TvSensorPage::sensorsAvailable, this, [this](bool available) {
        ui->TvDiagDataTab->setTabEnabled(ui->TvDiagDataTab->indexOf(sensorPage), available);
    });
    connect(testRun, &TvTestRun::runningChanged, generalPage, &TvGeneralPage::setTestRunning);
    connect(logBook, &TvLogBook::logFileShown, this, [this] { showPage(logPage); });
    testRun->setConnectivityStart(
        [this](int row) { return connectivityTest->runConnectivityTest(row); });
    connect(connectivityTest, &TvConnectivityTest::notStarted, testRun,
            &TvTestRun::connectivityNotStarted);
    connect(connectivityTest, &TvConnectivityTest::startCancelled, testRun,
            &TvTestRun::connectivityCancelled);
    connect(connectivityTest, &TvConnectivityTest::testPageWanted, this,
            [this] { showPage(testPage); });
}

void TvDiagMainWindow::applyAdvancedMode()
{
    if (!advanced) {
        removeAdvancedEntries();
        return;
    }
    buildAdvancedTab();
    repeaterAction = new QAction(this);
    repeaterAction->setObjectName(QStringLiteral("Repeater"));
    ui->testMenu->addAction(repeaterAction);
    // Like the other adapter actions it waits for an adapter.
    repeaterAction->setEnabled(session->currentIndex() >= 0);
    connect(repeaterAction, &QAction::triggered, this, &TvDiagMainWindow::StartRepeater);
}

void TvDiagMainWindow::removeAdvancedEntries()
{
    ui->TvDiagDataTab->removeTab(ui->TvDiagDataTab->indexOf(monitorPage));
    ui->flashMenu->removeAction(ui->flashLoadAction);
    ui->flashMenu->removeAction(ui->flashClearAction);
    ui->vpdMenu->removeAction(ui->vpdModifyAction);
    ui->vpdMenu->removeAction(ui->vpdDeleteKeywordsAction);

    const QList<QAction *> fileEntries = ui->fileMenu->actions();
    const int open = fileEntries.indexOf(ui->fileOpenAction);
    if (open < 0)
        return;
    ui->fileMenu->removeAction(ui->fileOpenAction);
    if (open + 1 < fileEntries.size() && fileEntries.at(open + 1)->isSeparator())
        ui->fileMenu->removeAction(fileEntries.at(open + 1));
}

void TvDiagMainWindow::reportMissingTimers()
{
    const struct {
        QTimer *timer;
        const char *failureKey;
    } timers[] = {
        {sensorPage->pollTimer(), "ALLOC_SENSOR_TIMER_FAILED"},
        {adapterPage->refreshTimer(), "ALLOC_ADAPTER_TIMER_FAILED"},
        {generalPage->infoTimer(), "ALLOC_GENERAL_TIMER_FAILED"},
        {adapterPage->locateTimer(), "ALLOC_LOCATE_TIMER_FAILED"},
    };
    // The window stays usable without a timer.
    for (const auto &t : timers) {
        if (!t.timer)
            ask.alone(TvDialogSeam::Warning, msg(t.failureKey));
    }
}

bool TvDiagMainWindow::firstRefresh()
{
    const char *failure = nullptr;
    switch (adapterTimerExpired()) {
    case 1:
        failure = "ADAPTER_LIST_FAILED";
        break;
    case 2:
        failure = "ADAPTER_NOT_FOUND";
        break;
    case 3:
        failure = "ALL_ADAPTER_DIAGNOSED";
        break;
    default:
        return true;
    }
    ask.alone(TvDialogSeam::Critical, msg(failure));
    return false;
}

void TvDiagMainWindow::centreOnDesktop()
{
    const QRect desktop = desktopGeometry();
    move(desktop.x() + (desktop.width() - width()) / 2, desktop.y() + (desktop.height() - height()) / 2);
}

int TvDiagMainWindow::widthForEveryTab()
{
    // The chrome around the tab bar as laid out now, plus the tab bar with
    // every name whole.
    QTabWidget *tabs = ui->TvDiagDataTab;
    tabs->setElideMode(Qt::ElideNone);
    layout()->activate();
    const int chrome = width() - tabs->width() + 2 * tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return tabs->tabBar()->sizeHint().width() + chrome + TabSlack;
}

void TvDiagMainWindow::placeWindow()
{
    // The window opens where and as large as it was left; else larger than
    // its minimum where every tab's name needs it and the screen has room.
    const QByteArray saved = windowSettings().value(GeometryKey).toByteArray();
    if (!saved.isEmpty() && restoreGeometry(saved))
        return;
    const QRect desktop = desktopGeometry();
    int wanted = qMax(widthForEveryTab(), DefaultWidth);
    if (desktop.width() > 0 && wanted > desktop.width()) {
        // A narrow screen or a large font: the names get a smaller font
        // rather than scroll arrows.
        QTabBar *bar = ui->TvDiagDataTab->tabBar();
        QFont font = bar->font();
        while (widthForEveryTab() > desktop.width() && font.pointSize() > SmallestTabPointSize) {
            font.setPointSize(font.pointSize() - 1);
            bar->setFont(font);
        }
        wanted = qMin(widthForEveryTab(), desktop.width());
    }
    resize(qMax(wanted, minimumWidth()), height());
    centreOnDesktop();
}

void TvDiagMainWindow::rememberPlace()
{
    windowSettings().setValue(GeometryKey, saveGeometry());
}

void TvDiagMainWindow::setWorker(TvWorkerThread *worker)
{
    testRun->setWorker(worker);
}

void TvDiagMainWindow::setScriptThread(TvScriptThread *thread)
{
    consolePage->setScriptThread(thread, this);
}

void TvDiagMainWindow::showPage(QWidget *page)
{
    ui->TvDiagDataTab->setCurrentWidget(page);
}

void TvDiagMainWindow::buildAdvancedTab()
{
    // Before the last tab.
    if (consolePage->buildAdvancedTab())
        ui->TvDiagDataTab->insertTab(ui->TvDiagDataTab->count() - 1, consolePage, msg("ADVANCED"));
}

// ---------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------

void TvDiagMainWindow::languageChange()
{
    // The caption stays the banner; the layout's own caption is not used.
    setWindowTitle(TvProgram::bannerText());
    const struct {
        QWidget *page;
        const char *key;
    } pages[] = {
        {adapterPage, "ADAPTERS"},      {testPage, "TESTS"},     {monitorPage, "REPEATER_MONITOR"},
        {configPage, "CONFIGURATION"}, {sensorPage, "SENSORS"}, {logPage, "LOGFILE"},
        {generalPage, "GENERAL"},       {consolePage, "ADVANCED"},
    };
    for (const auto &p : pages) {
        const int index = ui->TvDiagDataTab->indexOf(p.page);
        if (index >= 0)
            ui->TvDiagDataTab->setTabText(index, msg(p.key));
    }
    adapterPage->languageChange();
    testPage->languageChange();
    monitorPage->languageChange();
    configPage->languageChange();
    logPage->languageChange();
    generalPage->languageChange();
    consolePage->languageChange();

    ui->fileMenu->setTitle(msg("FILE_MENU"));
    ui->testMenu->setTitle(msg("TEST_MENU"));
    ui->flashMenu->setTitle(msg("FPROM_MENU"));
    ui->vpdMenu->setTitle(msg("VPD_MENU"));
    ui->helpMenu->setTitle(msg("HELP_MENU"));
    setActionTexts();
}

void TvDiagMainWindow::setActionTexts()
{
    const struct {
        QAction *action;
        const char *text;
        const char *menuText;
        const char *accel;
    } actions[] = {
        {ui->fileNewAction, "NEW_LOGFILE_TXT", "NEW_LOGFILE_MENU", "NEW_LOGFILE_ACCEL"},
        {ui->fileOpenAction, "OPEN_SCRIPT_TXT", "OPEN_SCRIPT_MENU", "OPEN_SCRIPT_ACCEL"},
        {ui->fileSaveAction, "SAVE_LOGFILE_TXT", "SAVE_LOGFILE_MENU", "SAVE_LOGFILE_ACCEL"},
        {ui->fileSaveAsAction, "SAVE_AS_TXT", "SAVE_AS_MENU", "SAVE_AS_ACCEL"},
        {ui->fileExitAction, "EXIT_TXT", "EXIT_MENU", "EXIT_ACCEL"},
        {ui->helpAboutAction, "ABOUT_TXT", "ABOUT_MENU", "ABOUT_ACCEL"},
        {ui->flashSaveAction, "SAVE_FPROM_TXT", "SAVE_FPROM_MENU", "SAVE_FPROM_ACCEL"},
        {ui->flashLoadAction, "LOAD_FPROM_TXT", "LOAD_FPROM_MENU", "LOAD_FPROM_ACCEL"},
        {ui->flashClearAction, "CLEAR_FPROM_TXT", "CLEAR_FPROM_MENU", "CLEAR_FPROM_ACCEL"},
        {ui->vpdDisplayAction, "VIEW_VPD_TXT", "VIEW_VPD_MENU", "VIEW_VPD_ACCEL"},
        {ui->vpdModifyAction, "EDIT_VPD_TXT", "EDIT_VPD_MENU", "EDIT_VPD_ACCEL"},
        {ui->vpdDeleteKeywordsAction, "DELETE_VPD_TXT", "DELETE_VPD_MENU", "DELETE_VPD_ACCEL"},
        {ui->helpManualAction, "HELP_TXT", nullptr, "HELP_ACCEL"},
        {ui->fileCurrLog, "VIEW_LOGFILE_TXT", "VIEW_LOGFILE_MENU", "VIEW_LOGFILE_ACCEL"},
        {ui->allTests, "ALL_TESTS_TXT", nullptr, nullptr},
        {ui->connectivityTest, "CONNECTIVITY_TEST", nullptr, nullptr},
    };
    for (const auto &a : actions) {
        a.action->setIconText(msg(a.text));
        a.action->setToolTip(msg(a.text));
        a.action->setText(msg(a.menuText ? a.menuText : a.text));
        if (a.accel)
            a.action->setShortcut(QKeySequence(msg(a.accel)));
    }
    ui->allTests->setToolTip(msg("ALL_TESTS_TOOLTIP"));
    ui->allTests->setStatusTip(msg("ALL_TESTS_STATUSTIP"));
    if (repeaterAction) {
        repeaterAction->setText(msg("REPEATER_MODE"));
        repeaterAction->setToolTip(msg("REPEATER_MODE_TOOLTIP"));
        repeaterAction->setStatusTip(msg("REPEATER_MODE_STATUSTIP"));
        repeaterAction->setShortcut(QKeySequence(
            QCoreApplication::translate(TvContextText::MainWindow, "CTRL_M", "Tests|Repeater")));
    }
}

// ---------------------------------------------------------------------------
// Tabs, closing and leaving
// ---------------------------------------------------------------------------

void TvDiagMainWindow::tabChanged(QWidget *page)
{
    sensorPage->stopPolling();
    generalPage->stopPolling();
    if (!page)
        return;
    if (page == consolePage) {
        consolePage->takeFocus();
    } else if (page == testPage) {
        testPage->takeFocus();
    } else if (page == monitorPage) {
        monitorPage->takeFocus();
    } else if (page == configPage) {
        configPage->takeFocus();
    } else if (page == sensorPage) {
        configPage->takeFocus();
        sensorPage->startPolling();
    } else if (page == generalPage) {
        generalPage->startPolling();
    }
}

void TvDiagMainWindow::closeEvent(QCloseEvent *event)
{
    if (testRun->coreIsBusy()) {
        const TvAsk::Question question{QStringLiteral("TEST_STILL_RUNNING"), TvDialogSeam::Yes,
                                       TvDialogSeam::No};
        if (ask.showQuestion(&question) != TvDialogSeam::Yes) {
            event->ignore();
            return;
        }
        testRun->cancelCoreWork();
    }
    if (!logBook->confirmIfUnsaved()) {
        event->ignore();
        return;
    }
    // Rows still queued would run for a window that is gone.
    testRun->clearPendingJobs();
    rememberPlace();
    event->accept();
}

void TvDiagMainWindow::fileExit()
{
    // Nothing is stopped before the answer: after a Cancel the running and
    // the queued commands go on, and their end events release the controls.
    if (!logBook->confirmIfUnsaved())
        return;
    endProgram();
}

void TvDiagMainWindow::scriptExit()
{
    // A "q" line of a running script ends the program without a question:
    // whoever wrote the script asked for exactly that. The user's own ways
    // out (File > Exit, Control+X, the console's "q") ask even while a
    // script runs.
    if (consolePage->isScriptRunning())
        endProgram();
    else
        fileExit();
}

void TvDiagMainWindow::endProgram()
{
    rememberPlace();
    testRun->cancelCoreWork();
    testRun->clearPendingJobs();
    emit quitRequested();
}

void TvDiagMainWindow::fileExitSlot()
{
    fileExit();
}

void TvDiagMainWindow::showEvent(QShowEvent *event)
{
    TvDiagMainWindowBase::showEvent(event);
    testPage->refitTestNames();
}

// ---------------------------------------------------------------------------
// The core's and the worker's events
// ---------------------------------------------------------------------------

void TvDiagMainWindow::customEvent(QEvent *event)
{
    auto *coreEvent = dynamic_cast<TvCoreEvent *>(event);
    if (!coreEvent)
        return TvDiagMainWindowBase::customEvent(event);
    switch (coreEvent->kind()) {
    case TvCoreEvent::TestDone:
        testRun->testCaseFinished(coreEvent->value);
        break;
    case TvCoreEvent::TestCancelled:
        testRun->testCaseCancelled();
        break;
    case TvCoreEvent::ConnectivityDone:
        testRun->connectivityFinished(coreEvent->value);
        break;
    case TvCoreEvent::ConnectivityCancelled:
        testRun->connectivityCancelled();
        break;
    case TvCoreEvent::CommandDone:
        consolePage->commandDone(coreEvent->value);
        break;
    case TvCoreEvent::CommandCancelled:
        consolePage->commandCancelled();
        break;
    case TvCoreEvent::CoreLogText:
        consolePage->coreLogText(coreEvent->text);
        break;
    case TvCoreEvent::ResultText:
        testRun->showResultText(coreEvent->text);
        break;
    case TvCoreEvent::StateCell:
        monitorPage->showStateCell(coreEvent->row, coreEvent->column, coreEvent->text);
        break;
    case TvCoreEvent::LogText:
        logBook->addLogLine(coreEvent->text);
        break;
    case TvCoreEvent::Progress:
        flashProm->isBusy() ? flashProm->showProgress(coreEvent->value)
                            : testRun->showProgress(coreEvent->value);
        break;
    case TvCoreEvent::Question:
        ask.answerQuestion(*coreEvent);
        break;
    case TvCoreEvent::Exit:
        scriptExit();
        break;
    default:
        TvDiagMainWindowBase::customEvent(event);
        break;
    }
}

// ---------------------------------------------------------------------------
// Selecting an adapter
// ---------------------------------------------------------------------------

void TvDiagMainWindow::pickAdapter(int index)
{
    getLinkInfo();
    selectAdapter(index);
}

void TvDiagMainWindow::selectAdapter(int index)
{
    resetAdapterViews();
    if (!session->select(index))
        return;
    ui->TvDiagCardLabel->setText(session->cardName());
    testPage->buildTestList(session->currentKey());
    configPage->showPciConfig(index);
    sensorPage->buildSensorTab();
    adapterPage->adapterTimerExpired();

    enableAdapterActions(true);
    consolePage->setInputEnabled(true);
    configPage->setSaveEnabled(true);
    monitorPage->adapterSelected();
    applyPortCount();
}

void TvDiagMainWindow::resetAdapterViews()
{
    session->clear();
    testPage->reset();
    configPage->reset();
    generalPage->reset();
    sensorPage->destroySensorGauges();
    enableAdapterActions(false);
    consolePage->setInputEnabled(false);
    monitorPage->reset();
    sensorPage->stopPolling();
    adapterPage->stopLocating();
    ui->TvDiagCardLabel->clear();
}

void TvDiagMainWindow::enableAdapterActions(bool enabled)
{
    for (QMenu *menu : {ui->flashMenu, ui->vpdMenu}) {
        for (QAction *action : menu->actions())
            action->setEnabled(enabled);
    }
    ui->allTests->setEnabled(enabled);
    ui->fileOpenAction->setEnabled(enabled);
    if (repeaterAction)
        repeaterAction->setEnabled(enabled);
}

void TvDiagMainWindow::applyPortCount()
{
    const bool dual = configPage->dualPort();
    monitorPage->setPortsEnabled(dual);
    generalPage->applyPortCount(dual);
}

// ---------------------------------------------------------------------------
// Locking the controls around a run
// ---------------------------------------------------------------------------

void TvDiagMainWindow::holdControls(QObject *holder, bool lock)
{
    // The controls come back when every page that locked them has let go:
    // the late end of a cancelled command must not release a run that
    // started meanwhile.
    if (lock) {
        lockHolders.insert(holder);
        setControlsEnabled(false);
    } else {
        lockHolders.remove(holder);
        if (lockHolders.isEmpty())
            setControlsEnabled(true);
    }
    // Greyed tabs say why while the LED blinks: only its button ends it.
    if (lockHolders.contains(adapterPage))
        statusBar()->showMessage(msg("CONTROLS_LOCKED_WHILE_LOCATING"));
    else
        statusBar()->clearMessage();
}

void TvDiagMainWindow::setControlsEnabled(bool enabled)
{
    QWidget *current = ui->TvDiagDataTab->currentWidget();
    adapterPage->setControlsEnabled(enabled);
    setMenusEnabled(enabled);
    testPage->setControlsEnabled(enabled, current == testPage);
    monitorPage->setControlsEnabled(enabled, configPage->dualPort(), current == monitorPage);
    // Locating and the flash PROM have no cancel; a test and a command do.
    const bool cancellable = lockHolders.isEmpty() || lockHolders.contains(testRun)
                             || lockHolders.contains(consolePage);
    consolePage->setControlsEnabled(enabled, current == consolePage, cancellable);
}

void TvDiagMainWindow::setMenusEnabled(bool enabled)
{
    for (QMenu *menu : {ui->fileMenu, ui->flashMenu, ui->vpdMenu, ui->testMenu}) {
        for (QAction *action : menu->actions())
            action->setEnabled(enabled);
    }
    for (QAction *action :
         {ui->allTests, ui->fileNewAction, ui->fileOpenAction, ui->fileSaveAction,
          ui->fileSaveAsAction, ui->fileExitAction, ui->fileCurrLog, ui->flashSaveAction,
          ui->flashLoadAction, ui->flashClearAction, ui->vpdDisplayAction, ui->vpdModifyAction,
          ui->vpdDeleteKeywordsAction})
        action->setEnabled(enabled);
    // What needs an adapter comes back only with one.
    if (enabled && session->currentIndex() < 0)
        enableAdapterActions(false);
}

void TvDiagMainWindow::cancelButtonsOff()
{
    monitorPage->cancelDone();
    consolePage->cancelDone();
}

// ---------------------------------------------------------------------------
// Menus, buttons and timers, each routed to the page or owner that does it
// ---------------------------------------------------------------------------

void TvDiagMainWindow::helpAbout()
{
    std::unique_ptr<TvSplash> about(new TvSplash(true));
    ask.execDialog(about.get());
}

void TvDiagMainWindow::helpContents()
{
    std::unique_ptr<TvDiagHelpDlgImpl> help(new (std::nothrow) TvDiagHelpDlgImpl(this));
    if (!help) {
        ask.alone(TvDialogSeam::Critical, msg("CREATE_HELP_FAILED"));
        return;
    }
    ask.execDialog(help.get());
}

void TvDiagMainWindow::fileSave() { logBook->fileSave(); }
void TvDiagMainWindow::fileSaveAs() { logBook->fileSaveAs(); }
void TvDiagMainWindow::fileNew() { logBook->fileNew(); }
void TvDiagMainWindow::fileViewLogSlot() { logBook->fileViewLogSlot(); }
void TvDiagMainWindow::fileOpen() { consolePage->fileOpen(); }
void TvDiagMainWindow::fileOpenScript() { consolePage->fileOpenScript(); }
void TvDiagMainWindow::doAdvancedAction() { consolePage->doAdvancedAction(); }

int TvDiagMainWindow::adapterTimerExpired() { return adapterPage->adapterTimerExpired(); }
void TvDiagMainWindow::AdapterClickedSlot(QListWidgetItem *item) { adapterPage->AdapterClickedSlot(item); }
void TvDiagMainWindow::locateNIC_Slot() { adapterPage->locateNIC_Slot(); }

void TvDiagMainWindow::SelectTestCaseSlot(QTreeWidgetItem *item) { testPage->SelectTestCaseSlot(item); }
void TvDiagMainWindow::StartTestSlot() { testRun->StartTestSlot(); }
void TvDiagMainWindow::startAllTestsSlot() { testRun->startAllTestsSlot(); }
void TvDiagMainWindow::CancelTestSlot() { testRun->CancelTestSlot(); }
void TvDiagMainWindow::testSlot() { testRun->testSlot(); }
void TvDiagMainWindow::restartTestCase() { testRun->restartTestCase(); }

void TvDiagMainWindow::StartMonitor() { monitorPage->StartMonitor(); }
void TvDiagMainWindow::StartRepeater() { monitorPage->StartRepeater(); }
void TvDiagMainWindow::SaveConfigSlot() { configPage->SaveConfigSlot(); }
void TvDiagMainWindow::sensorTimerExpired() { sensorPage->sensorTimerExpired(); }
void TvDiagMainWindow::getNetworkDriverInfo() { generalPage->getNetworkDriverInfo(); }
void TvDiagMainWindow::getLinkInfo() { generalPage->getLinkInfo(); }
bool TvDiagMainWindow::checkActivity(int port) { return generalPage->checkActivity(port); }
void TvDiagMainWindow::generalInfoTimerExpired() { generalPage->generalInfoTimerExpired(); }

void TvDiagMainWindow::vpdviewSlot() { vpdActions->vpdviewSlot(); }
void TvDiagMainWindow::vpdEditSlot() { vpdActions->vpdEditSlot(); }
void TvDiagMainWindow::vpdDelete() { vpdActions->vpdDelete(); }
void TvDiagMainWindow::flashLoadSlot() { flashProm->flashLoadSlot(); }
void TvDiagMainWindow::flashSaveSlot() { flashProm->flashSaveSlot(); }
void TvDiagMainWindow::flashClearSlot() { flashProm->flashClearSlot(); }
void TvDiagMainWindow::connectivityTestSlot() { connectivityTest->connectivityTestSlot(); }
