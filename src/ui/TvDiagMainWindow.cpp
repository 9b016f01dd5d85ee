#include "TvDiagMainWindow.h"
#include "ui_TvDiagMainWindowBase.h"

#include "TvAdapterSession.h"
#include "adapters/TvAdapterPage.h"
#include "TvAsk.h"
#include "TvContextText.h"
#include "TvDiagHelpDlgImpl.h"
#include "text/TvDialogSeam.h"
#include "TvSplash.h"
#include "tests/TvTestPage.h"
#include "tests/TvTestRun.h"
#include "log/TvLogBook.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"
#include "engine/TvLogModel.h"
#include "engine/TvWorkerThread.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvText.h"

#include <probekit.h>

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMutexLocker>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>
#include <vector>

namespace {

const char *const Context = TvContextText::MainWindow;
constexpr TvContextText msg{Context};

// Instances are numbered program-wide.
int instanceCounter = 0;

void setActionTexts(QAction *action, const char *text, const char *menuText, const char *accel)
{
    action->setIconText(msg(text));
    action->setToolTip(msg(text));
    action->setText(menuText ? msg(menuText) : msg(text));
    if (accel)
        action->setShortcut(QKeySequence(msg(accel)));
}

QRect desktopGeometry()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 0, 0);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction
// ---------------------------------------------------------------------------

TvDiagMainWindow::TvDiagMainWindow() : instance(++instanceCounter), ask(this)
{
    TvCoreCallbacks::setReceiver(this);
    connect(this, &TvDiagMainWindow::quitRequested, &QCoreApplication::quit);
    advanced = TvProgram::advancedMode();
    logBook = new TvLogBook(&ask, this);
    session = new TvAdapterSession(&ask, logBook, this);
    adapterPage = new TvAdapterPage(session, &ask, logBook);
    testPage = new TvTestPage(advanced, &ask, ui->testMenu);
    testRun = new TvTestRun(testPage, session, logBook, &ask, advanced, this);
    ui->TvDiagDataTab->insertTab(0, adapterPage, QString());
    ui->TvDiagDataTab->insertTab(1, testPage, QString());
    ui->TvDiagDataTab->setCurrentIndex(0);
    connect(adapterPage, &TvAdapterPage::adapterPicked, this, &TvDiagMainWindow::pickAdapter);
    connect(adapterPage, &TvAdapterPage::selectRequested, this, &TvDiagMainWindow::selectAdapter);
    connect(adapterPage, &TvAdapterPage::allTestsClicked, this, &TvDiagMainWindow::startAllTestsSlot);
    connect(adapterPage, &TvAdapterPage::connectivityClicked, this,
            &TvDiagMainWindow::connectivityTestSlot);
    connect(logBook, &TvLogBook::logFileShown, this,
            [this] { ui->TvDiagDataTab->setCurrentWidget(ui->LogfileTab); });

    setWindowTitle(TvProgram::bannerText());
    setMinimumSize(630, 450);
    setUpStaticWidgets();
    applyAdvancedMode();
    createTimers();

    ui->SaveToFileButton->setEnabled(false);
    ui->SaveToFileButton->setText(msg("SAVE_PCI_CONFIG_TO_FILE"));
    const QFontMetrics saveMetrics(ui->SaveToFileButton->font());
    ui->SaveToFileButton->setFixedSize(
        saveMetrics.horizontalAdvance(ui->SaveToFileButton->text()) + 60, saveMetrics.height());

    if (advanced) {
        repeaterAction = new QAction(this);
        repeaterAction->setObjectName(QStringLiteral("Repeater"));
        ui->testMenu->addAction(repeaterAction);
        repeaterAction->setEnabled(true);
        connect(repeaterAction, &QAction::triggered, this, &TvDiagMainWindow::StartRepeater);
    }

    connectWindowSignals();
    resize(630, 450);
    centreOnDesktop();

    setUpLogList();

    if (!testPage->hasRows()) {
        ask.alone(TvDialogSeam::Critical, msg("ALLOC_TESTPROGRESS_FAILED"));
        return;
    }
    if (!testPage->hasActionGroup()) {
        ask.alone(TvDialogSeam::Critical, msg("ALLOC_MENUACTION_FAILED"));
        return;
    }

    enableAdapterActions(false);
    if (advancedLineEdit)
        advancedLineEdit->setEnabled(false);

    switch (adapterTimerExpired()) {
    case 1:
        ask.alone(TvDialogSeam::Critical, msg("ADAPTER_LIST_FAILED"));
        return;
    case 2:
        ask.alone(TvDialogSeam::Critical, msg("ADAPTER_NOT_FOUND"));
        return;
    case 3:
        ask.alone(TvDialogSeam::Critical, msg("ALL_ADAPTER_DIAGNOSED"));
        return;
    default:
        break;
    }
    adapterPage->preselect(TvProgram::preselectBus(), TvProgram::preselectDevice());
    languageChange();
    failedConstruction = false;
    testRun->watchRunControls();
}

TvDiagMainWindow::~TvDiagMainWindow()
{
    // Neither the worker nor a core callback may post to a window that is
    // going away.
    if (testRun->worker())
        testRun->worker()->setReceiver(nullptr);
    TvCoreCallbacks::setReceiver(nullptr);
}

void TvDiagMainWindow::setWorker(TvWorkerThread *worker)
{
    testRun->setWorker(worker);
}

void TvDiagMainWindow::cancelButtonsOff()
{
    ui->MonitorCancelButton->setEnabled(false);
    if (advancedCancelButton)
        advancedCancelButton->setEnabled(false);
    if (advancedLineEdit)
        advancedLineEdit->setFocus();
}

void TvDiagMainWindow::setUpStaticWidgets()
{
    for (QWidget *w : {static_cast<QWidget *>(ui->PortBLabel), static_cast<QWidget *>(ui->LinkLedB),
                       static_cast<QWidget *>(ui->ActivityLedB),
                       static_cast<QWidget *>(ui->DuplexModeTextB),
                       static_cast<QWidget *>(ui->SpeedModeTextB)})
        w->hide();

    ui->StateTable->horizontalHeader()->hide();
    ui->StateTable->verticalHeader()->hide();
    QPalette tablePalette = ui->StateTable->palette();
    tablePalette.setColor(QPalette::Base, ui->TvDiagDataTab->palette().color(QPalette::Window));
    ui->StateTable->setPalette(tablePalette);

}

void TvDiagMainWindow::applyAdvancedMode()
{
    if (advanced) {
        buildAdvancedTab();
        return;
    }
    ui->TvDiagDataTab->removeTab(ui->TvDiagDataTab->indexOf(ui->MonTab));
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

void TvDiagMainWindow::createTimers()
{
    sensorPollTimer = new (std::nothrow) QTimer(this);
    if (sensorPollTimer)
        connect(sensorPollTimer, &QTimer::timeout, this, &TvDiagMainWindow::sensorTimerExpired);
    generalTimer = new (std::nothrow) QTimer(this);
    if (generalTimer) {
        connect(generalTimer, &QTimer::timeout, this, &TvDiagMainWindow::generalInfoTimerExpired);
        generalTimer->setInterval(1000);
    }
    const struct {
        QTimer *timer;
        const char *failureKey;
    } timers[] = {
        {sensorPollTimer, "ALLOC_SENSOR_TIMER_FAILED"},
        {adapterPage->refreshTimer(), "ALLOC_ADAPTER_TIMER_FAILED"},
        {generalTimer, "ALLOC_GENERAL_TIMER_FAILED"},
        {adapterPage->locateTimer(), "ALLOC_LOCATE_TIMER_FAILED"},
    };
    // The window stays usable without a timer.
    for (const auto &t : timers) {
        if (!t.timer)
            ask.alone(TvDialogSeam::Warning, msg(t.failureKey));
    }
}

void TvDiagMainWindow::connectWindowSignals()
{
    connect(ui->TvDiagDataTab, &QTabWidget::currentChanged, this,
            [this](int index) { tabChanged(ui->TvDiagDataTab->widget(index)); });
    connect(testPage, &TvTestPage::startPressed, this, &TvDiagMainWindow::StartTestSlot);
    connect(testPage, &TvTestPage::cancelPressed, this, &TvDiagMainWindow::CancelTestSlot);
    connect(testPage, &TvTestPage::testSlotTriggered, this, &TvDiagMainWindow::testSlot);
    connect(testRun, &TvTestRun::controlsLockRequested, this,
            [this](bool lock) { setControlsEnabled(!lock); });
    connect(testRun, &TvTestRun::testPageWanted, this,
            [this] { ui->TvDiagDataTab->setCurrentWidget(testPage); });
    connect(testRun, &TvTestRun::cancelling, this, &TvDiagMainWindow::cancelButtonsOff);
    connect(ui->MonitorCancelButton, &QPushButton::pressed, this, &TvDiagMainWindow::CancelTestSlot);
    connect(ui->MonitorStartButton, &QPushButton::pressed, this, &TvDiagMainWindow::StartMonitor);
}

void TvDiagMainWindow::centreOnDesktop()
{
    const QRect desktop = desktopGeometry();
    move(desktop.width() / 2 - 315, desktop.height() / 2 - 225);
}

void TvDiagMainWindow::setUpLogList()
{
    QListView *view = ui->LogfileListBox;
    TvLogModel *logLines = logBook->model();
    view->setModel(logLines);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setUniformItemSizes(true);
    QFont logFont(QStringLiteral("Courier"));
    logFont.setPointSizeF(8.5);
    view->setFont(logFont);
    connect(logLines, &QAbstractItemModel::rowsInserted, view,
            [logLines, view](const QModelIndex &, int, int last) {
                view->setCurrentIndex(logLines->index(last));
            });
}

// ---------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------

void TvDiagMainWindow::languageChange()
{
    // The caption stays the banner; the layout's own caption is not used.
    setWindowTitle(TvProgram::bannerText());

    QTabWidget *tabs = ui->TvDiagDataTab;
    const struct {
        QWidget *page;
        const char *key;
    } pages[] = {
        {adapterPage, "ADAPTERS"},   {testPage, "TESTS"},     {ui->MonTab, "REPEATER_MONITOR"},
        {ui->ConfigTab, "CONFIGURATION"}, {ui->SensorTab, "SENSORS"}, {ui->LogfileTab, "LOGFILE"},
        {ui->GeneralTab, "GENERAL"},
    };
    for (const auto &p : pages) {
        const int index = tabs->indexOf(p.page);
        if (index >= 0)
            tabs->setTabText(index, msg(p.key));
    }

    adapterPage->languageChange();
    testPage->languageChange();
    ui->SaveToFileButton->setToolTip(msg("SAVE_PCI_CONFIG_TO_FILE_TOOLTIP"));

    const struct {
        QAbstractButton *button;
        const char *key;
    } buttons[] = {
        {ui->Repeater, "REPEATER"},
        {ui->Monitor, "MONITOR"},
        {ui->PortA, "PORT_A"},
        {ui->PortB, "PORT_B"},
        {ui->MonitorStartButton, "TEST_CASE_START"},
        {ui->MonitorCancelButton, "CANCEL_TEXT"},
        {ui->SaveToFileButton, "SAVE_PCI_CONFIG_TO_FILE"},
        {ui->saveLogBtn, "SAVE_LOGFILE"},
    };
    for (const auto &b : buttons)
        b.button->setText(msg(b.key));

    const struct {
        QGroupBox *box;
        const char *key;
    } boxes[] = {
        {ui->ModeButtonGroup, "MODE"},        {ui->PortButtonGroup, "PORT"},
        {ui->Pci_ID_Box, "PCI_IDS"},          {ui->PCIDataBox, "PCI_DATA"},
        {ui->MiscellaneousBox, "MISCELLANEOUS"}, {ui->DiagInfoBox, "DIAG_PROGRAM_INFO"},
        {ui->NetDrvInfoBox, "DRIVER_INFO"},   {ui->NetAdapterSettingBox, "NETWORK_STATUS"},
    };
    for (const auto &b : boxes)
        b.box->setTitle(msg(b.key));

    const struct {
        QLabel *label;
        const char *key;
    } labels[] = {
        {ui->VendorIDLabel, "VENDOR_ID"},
        {ui->DeviceIDLabel, "DEVICE_ID"},
        {ui->SubVendorIDLabel, "SUBVENDOR_ID"},
        {ui->SubDeviceIDLabel, "SUBSYSTEM_ID"},
        {ui->MemBaseLabel, "MEMBASE"},
        {ui->IrqLabel, "IRQ"},
        {ui->BusClockLabel, "BUS_CLOCK"},
        {ui->IOBaseLabel, "IOBASE"},
        {ui->SlotLabel, "SLOT"},
        {ui->SlotSizeLabel, "SLOTSIZE"},
        {ui->LatencyLabel, "LATENCY"},
        {ui->CLSLabel, "CACHE_LINE_SIZE"},
        {ui->DiagVersionLabel, "VERSION_LABEL"},
        {ui->DiagRelDateLabel, "RELEASE_DATE"},
        {ui->NetDrvNameLabel, "NAME_LABEL"},
        {ui->NetDrvDescLabel, "DESCRIPTION"},
        {ui->NetDrvCopyrightLabel, "COPYRIGHT"},
        {ui->NetDrvVersionLabel, "VERSION_LABEL"},
        {ui->NetDrvRelDateLabel, "RELEASE_DATE"},
        {ui->NetDrvNameText, "NOT_AVAILABLE"},
        {ui->NetDrvDescText, "NOT_AVAILABLE"},
        {ui->NetDrvCopyrightText, "NOT_AVAILABLE"},
        {ui->NetDrvVersionText, "NOT_AVAILABLE"},
        {ui->NetDrvRelDateText, "NOT_AVAILABLE"},
        {ui->IpAddrLabel, "IP_ADDRESS"},
        {ui->SubnetMaskLabel, "SUBNET_MASK"},
        {ui->PortBLabel, "PORT_B"},
        {ui->LinkStatusLabel, "LINK_LABEL"},
        {ui->SpeedModeLabel, "LINK_SPEED"},
        {ui->SpeedModeText, "NOT_AVAILABLE"},
        {ui->SpeedModeTextB, "NOT_AVAILABLE"},
        {ui->ActivityLabel, "ACTIVITY_LABEL"},
        {ui->DuplexModeLabel, "DUPLEX"},
        {ui->DuplexModeText, "NOT_AVAILABLE"},
        {ui->DuplexModeTextB, "NOT_AVAILABLE"},
    };
    for (const auto &l : labels)
        l.label->setText(msg(l.key));
    ui->DiagVersionText->setText(TvProgram::versionText());
    ui->DiagRelDateText->setText(QStringLiteral("26-Jan-2004"));

    ui->fileMenu->setTitle(msg("FILE_MENU"));
    ui->testMenu->setTitle(msg("TEST_MENU"));
    ui->flashMenu->setTitle(msg("FPROM_MENU"));
    ui->vpdMenu->setTitle(msg("VPD_MENU"));
    ui->helpMenu->setTitle(msg("HELP_MENU"));

    setActionTexts(ui->fileNewAction, "NEW_LOGFILE_TXT", "NEW_LOGFILE_MENU", "NEW_LOGFILE_ACCEL");
    setActionTexts(ui->fileOpenAction, "OPEN_SCRIPT_TXT", "OPEN_SCRIPT_MENU", "OPEN_SCRIPT_ACCEL");
    setActionTexts(ui->fileSaveAction, "SAVE_LOGFILE_TXT", "SAVE_LOGFILE_MENU", "SAVE_LOGFILE_ACCEL");
    setActionTexts(ui->fileSaveAsAction, "SAVE_AS_TXT", "SAVE_AS_MENU", "SAVE_AS_ACCEL");
    setActionTexts(ui->fileExitAction, "EXIT_TXT", "EXIT_MENU", "EXIT_ACCEL");
    setActionTexts(ui->helpAboutAction, "ABOUT_TXT", "ABOUT_MENU", "ABOUT_ACCEL");
    setActionTexts(ui->flashSaveAction, "SAVE_FPROM_TXT", "SAVE_FPROM_MENU", "SAVE_FPROM_ACCEL");
    setActionTexts(ui->flashLoadAction, "LOAD_FPROM_TXT", "LOAD_FPROM_MENU", "LOAD_FPROM_ACCEL");
    setActionTexts(ui->flashClearAction, "CLEAR_FPROM_TXT", "CLEAR_FPROM_MENU", "CLEAR_FPROM_ACCEL");
    setActionTexts(ui->vpdDisplayAction, "VIEW_VPD_TXT", "VIEW_VPD_MENU", "VIEW_VPD_ACCEL");
    setActionTexts(ui->vpdModifyAction, "EDIT_VPD_TXT", "EDIT_VPD_MENU", "EDIT_VPD_ACCEL");
    setActionTexts(ui->vpdDeleteKeywordsAction, "DELETE_VPD_TXT", "DELETE_VPD_MENU", "DELETE_VPD_ACCEL");
    setActionTexts(ui->helpManualAction, "HELP_TXT", nullptr, "HELP_ACCEL");
    setActionTexts(ui->fileCurrLog, "VIEW_LOGFILE_TXT", "VIEW_LOGFILE_MENU", "VIEW_LOGFILE_ACCEL");
    setActionTexts(ui->allTests, "ALL_TESTS_TXT", nullptr, nullptr);
    ui->allTests->setToolTip(msg("ALL_TESTS_TOOLTIP"));
    ui->allTests->setStatusTip(msg("ALL_TESTS_STATUSTIP"));
    setActionTexts(ui->connectivityTest, "CONNECTIVITY_TEST", nullptr, nullptr);

    if (repeaterAction) {
        repeaterAction->setText(msg("REPEATER_MODE"));
        repeaterAction->setToolTip(msg("REPEATER_MODE_TOOLTIP"));
        repeaterAction->setStatusTip(msg("REPEATER_MODE_STATUSTIP"));
        repeaterAction->setShortcut(
            QKeySequence(QCoreApplication::translate(Context, "CTRL_M", "Tests|Repeater")));
    }
}

// ---------------------------------------------------------------------------
// Tabs, closing and leaving
// ---------------------------------------------------------------------------

void TvDiagMainWindow::tabChanged(QWidget *page)
{
    if (sensorPollTimer)
        sensorPollTimer->stop();
    if (generalTimer)
        generalTimer->stop();
    if (!page)
        return;

    if (page == advancedTab) {
        if (advancedLineEdit && advancedLineEdit->isEnabled())
            advancedLineEdit->setFocus();
        else if (advancedCancelButton)
            advancedCancelButton->setFocus();
    } else if (page == testPage) {
        testPage->takeFocus();
    } else if (page == ui->MonTab) {
        (ui->MonitorStartButton->isEnabled() ? ui->MonitorStartButton : ui->MonitorCancelButton)
            ->setFocus();
    } else if (page == ui->ConfigTab) {
        ui->SaveToFileButton->setFocus();
    } else if (page == ui->SensorTab) {
        ui->SaveToFileButton->setFocus();
        sensorTimerExpired();
        // A poll interval of 0 would spin; such a configuration only reads once.
        const int interval = CAdapterInfo::instance().poll_interval;
        if (sensorPollTimer && interval > 0)
            sensorPollTimer->start(interval);
    } else if (page == ui->GeneralTab) {
        getNetworkDriverInfo();
        if (generalTimer)
            generalTimer->start(1000);
    }
}

void TvDiagMainWindow::closeEvent(QCloseEvent *event)
{
    if (testRun->coreIsBusy()) {
        const TvAsk::Question question{QStringLiteral("TEST_STILL_RUNNING"), TvDialogSeam::Yes,
                                TvDialogSeam::No, TvDialogSeam::NoButton};
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
    event->accept();
}

void TvDiagMainWindow::fileExit()
{
    testRun->cancelCoreWork();
    testRun->clearPendingJobs();
    // A script that ends the program has said so itself: nothing to ask.
    if (!scriptRunning && !logBook->confirmIfUnsaved())
        return;
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
// Questions and the log
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// Adapter inventory
// ---------------------------------------------------------------------------

int TvDiagMainWindow::adapterTimerExpired()
{
    return adapterPage->adapterTimerExpired();
}

void TvDiagMainWindow::AdapterClickedSlot(QListWidgetItem *item)
{
    adapterPage->AdapterClickedSlot(item);
}

void TvDiagMainWindow::pickAdapter(int index)
{
    getLinkInfo();
    selectAdapter(index);
}

void TvDiagMainWindow::enableAdapterActions(bool enabled)
{
    for (QMenu *menu : {ui->flashMenu, ui->vpdMenu}) {
        for (QAction *action : menu->actions())
            action->setEnabled(enabled);
    }
    ui->allTests->setEnabled(enabled);
    ui->fileOpenAction->setEnabled(enabled);
}

void TvDiagMainWindow::resetAdapterViews()
{
    session->clear();
    testPage->reset();

    for (QLabel *l : {ui->VendorIDText, ui->DeviceIDText, ui->SubVendorIDText, ui->SubDeviceIDText,
                      ui->IOBaseText, ui->MemBaseText, ui->IrqText, ui->BusClockText, ui->SlotText,
                      ui->SlotSizeText, ui->CLSText, ui->LatencyText})
        l->clear();
    for (QLabel *l : {ui->NetDrvVersionText, ui->NetDrvRelDateText, ui->NetDrvNameText,
                      ui->NetDrvDescText, ui->SpeedModeText, ui->DuplexModeText, ui->SpeedModeTextB,
                      ui->DuplexModeTextB, ui->IpAddrText, ui->SubnetMaskText})
        l->setText(msg("NOT_AVAILABLE"));
    ui->DiagVersionText->setText(TvProgram::versionText());
    ui->DiagRelDateText->setText(QStringLiteral("26-Jan-2004"));
    const QPixmap ledOff(CAdapterInfo::instance().basePathOf(QStringLiteral("images/led_off.bmp")));
    ui->LinkLedA->setPixmap(ledOff);
    ui->ActivityLedA->setPixmap(ledOff);
    for (QLabel *l : {ui->Misc1Label, ui->Misc1Text, ui->Misc2Label, ui->Misc2Text, ui->Misc3Label,
                      ui->Misc3Text, ui->Misc4Label, ui->Misc4Text, ui->Misc5Label, ui->Misc5Text,
                      ui->Misc6Label, ui->Misc6Text, ui->Misc7Label, ui->Misc7Text}) {
        l->setTextFormat(Qt::PlainText);
        l->clear();
    }
    destroySensorGauges();

    enableAdapterActions(false);
    if (advancedLineEdit)
        advancedLineEdit->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->Repeater, ui->SaveToFileButton, ui->PortButtonGroup, ui->ModeButtonGroup,
             ui->MonitorStartButton})
        w->setEnabled(false);
    if (sensorPollTimer)
        sensorPollTimer->stop();
    adapterPage->stopLocating();
    ui->TvDiagCardLabel->clear();
}

void TvDiagMainWindow::selectAdapter(int index)
{
    resetAdapterViews();
    if (!session->select(index))
        return;
    ui->TvDiagCardLabel->setText(session->cardName());
    testPage->buildTestList(session->currentKey());
    showPciConfig(index);
    buildSensorTab();
    adapterPage->adapterTimerExpired();

    enableAdapterActions(true);
    if (advancedLineEdit)
        advancedLineEdit->setEnabled(true);
    for (QWidget *w : std::initializer_list<QWidget *>{ui->Repeater, ui->SaveToFileButton,
                                                        ui->PortButtonGroup, ui->ModeButtonGroup,
                                                        ui->MonitorStartButton})
        w->setEnabled(true);
    modeButtons()->button(0)->setChecked(true);
    portButtons()->button(0)->setChecked(true);
    applyPortCount();
}

bool TvDiagMainWindow::dualPort() const
{
    bool ok = false;
    const int ports = ui->Misc3Text->text().toInt(&ok, 10);
    return ok && ports == 2;
}

void TvDiagMainWindow::applyPortCount()
{
    const bool dual = dualPort();
    ui->PortButtonGroup->setEnabled(dual);
    ui->PortALabel->setText(dual ? msg("PORT_A") : QString());
    if (dual)
        ui->PortBLabel->setText(msg("PORT_B"));
    for (QWidget *w : {static_cast<QWidget *>(ui->PortBLabel), static_cast<QWidget *>(ui->LinkLedB),
                       static_cast<QWidget *>(ui->ActivityLedB),
                       static_cast<QWidget *>(ui->DuplexModeTextB),
                       static_cast<QWidget *>(ui->SpeedModeTextB)})
        w->setVisible(dual);
    if (dual) {
        const QPixmap ledOff(CAdapterInfo::instance().basePathOf(QStringLiteral("images/led_off.bmp")));
        ui->LinkLedB->setPixmap(ledOff);
        ui->ActivityLedB->setPixmap(ledOff);
    }
}

// ---------------------------------------------------------------------------
// Test tab and test runs
// ---------------------------------------------------------------------------

void TvDiagMainWindow::SelectTestCaseSlot(QTreeWidgetItem *item)
{
    testPage->SelectTestCaseSlot(item);
}

void TvDiagMainWindow::StartTestSlot()
{
    testRun->StartTestSlot();
}

void TvDiagMainWindow::startAllTestsSlot()
{
    testRun->startAllTestsSlot();
}

void TvDiagMainWindow::CancelTestSlot()
{
    testRun->CancelTestSlot();
}

void TvDiagMainWindow::testSlot()
{
    testRun->testSlot();
}

void TvDiagMainWindow::restartTestCase()
{
    testRun->restartTestCase();
}

void TvDiagMainWindow::setControlsEnabled(bool enabled)
{
    adapterPage->setControlsEnabled(enabled);
    testPage->setControlsEnabled(enabled);
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

    if (enabled) {
        ui->StateTable->setRowCount(0);
        ui->MonitorCancelButton->setEnabled(false);
    }
    ui->PortButtonGroup->setEnabled(enabled && dualPort());
    ui->ModeButtonGroup->setEnabled(enabled);
    ui->MonitorStartButton->setEnabled(enabled);
    QWidget *current = ui->TvDiagDataTab->currentWidget();
    if (current == ui->MonTab)
        ui->MonitorStartButton->setFocus();
    else if (current == testPage)
        testPage->startButton()->setFocus();

    if (advanced) {
        ui->Repeater->setEnabled(enabled);
        if (advancedLineEdit)
            advancedLineEdit->setEnabled(enabled);
        if (advancedCancelButton)
            advancedCancelButton->setEnabled(!enabled);
        if (current && current == advancedTab && advancedLineEdit)
            advancedLineEdit->setFocus();
    }
}

// ---------------------------------------------------------------------------
// Help
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

// ---------------------------------------------------------------------------
// Core events
// ---------------------------------------------------------------------------

// ---- console: the Advanced tab's text area comes with the console.
void TvDiagMainWindow::appendConsoleText(const QString &) {}

void TvDiagMainWindow::commandEnded()
{
    // ---- console: the command's log line and its input come with the
    // Advanced tab; the script runner and the controls are served here.
    ask.clearRunCursor();
    {
        QMutexLocker locker(&runnerLock);
        commandDone.wakeAll();
    }
    if (!scriptRunning)
        setControlsEnabled(true);
}

void TvDiagMainWindow::showStateCell(int row, int column, const QString &key)
{
    if (key.isEmpty() || row < 0 || column < 0)
        return;
    QTableWidget *table = ui->StateTable;
    if (table->rowCount() < row + 1) {
        table->setRowCount(row + 1);
        const int height = table->height() / (row + 1);
        for (int r = 0; r <= row; ++r)
            table->setRowHeight(r, height);
    }
    if (table->columnCount() < column + 1)
        table->setColumnCount(column + 1);
    QTableWidgetItem *cell = table->item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        table->setItem(row, column, cell);
    }
    cell->setText(msg(key));
}

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
    case TvCoreEvent::CommandCancelled:
        commandEnded();
        break;
    case TvCoreEvent::CoreLogText: {
        appendConsoleText(coreEvent->text);
        QMutexLocker locker(&runnerLock);
        textShown.wakeAll();
        break;
    }
    case TvCoreEvent::ResultText:
        testRun->showResultText(coreEvent->text);
        break;
    case TvCoreEvent::StateCell:
        showStateCell(coreEvent->row, coreEvent->column, coreEvent->text);
        break;
    case TvCoreEvent::LogText:
        logBook->addLogLine(coreEvent->text);
        break;
    case TvCoreEvent::Progress:
        testRun->showProgress(coreEvent->value);
        break;
    case TvCoreEvent::Question:
        ask.answerQuestion(*coreEvent);
        break;
    case TvCoreEvent::Exit:
        fileExit();
        break;
    default:
        TvDiagMainWindowBase::customEvent(event);
        break;
    }
}

// ---------------------------------------------------------------------------
// Log files
// ---------------------------------------------------------------------------

void TvDiagMainWindow::fileSave()
{
    logBook->fileSave();
}

void TvDiagMainWindow::fileSaveAs()
{
    logBook->fileSaveAs();
}

void TvDiagMainWindow::fileNew()
{
    logBook->fileNew();
}

void TvDiagMainWindow::fileViewLogSlot()
{
    logBook->fileViewLogSlot();
}

// ---------------------------------------------------------------------------
// Features of their own, reached from the menus, tabs and timers
// ---------------------------------------------------------------------------

void TvDiagMainWindow::vpdviewSlot() {}
void TvDiagMainWindow::vpdEditSlot() {}
void TvDiagMainWindow::vpdDelete() {}
void TvDiagMainWindow::StartMonitor() {}
void TvDiagMainWindow::StartRepeater() {}
void TvDiagMainWindow::SaveConfigSlot() {}
void TvDiagMainWindow::fileOpen() {}
void TvDiagMainWindow::fileOpenScript() {}
void TvDiagMainWindow::flashLoadSlot() {}
void TvDiagMainWindow::flashSaveSlot() {}
void TvDiagMainWindow::flashClearSlot() {}
void TvDiagMainWindow::connectivityTestSlot() {}
void TvDiagMainWindow::locateNIC_Slot()
{
    adapterPage->locateNIC_Slot();
}

void TvDiagMainWindow::getNetworkDriverInfo() {}
void TvDiagMainWindow::getLinkInfo() {}
void TvDiagMainWindow::checkActivity(int) {}
void TvDiagMainWindow::sensorTimerExpired() {}
void TvDiagMainWindow::generalInfoTimerExpired() {}
void TvDiagMainWindow::doAdvancedAction() {}
void TvDiagMainWindow::showPciConfig(int) {}
void TvDiagMainWindow::buildSensorTab() {}
void TvDiagMainWindow::destroySensorGauges() {}
void TvDiagMainWindow::buildAdvancedTab() {}
