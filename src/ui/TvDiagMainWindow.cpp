#include "TvDiagMainWindow.h"
#include "core/TvAdapterListing.h"
#include "ui_TvDiagMainWindowBase.h"

#include "AdapterListDelegate.h"
#include "AdapterListItem.h"
#include "TvDiagHelpDlgImpl.h"
#include "text/TvDialogSeam.h"
#include "TvSplash.h"
#include "TvTestListItem.h"
#include "TvTestProgress.h"

#include "text/TvProgram.h"
#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"
#include "text/TvAnswerGate.h"
#include "engine/TestJob.h"
#include "text/TvCoreEvent.h"
#include "engine/TvLogFile.h"
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

const char *const Context = "TvDiagMainWindow";

// Instances are numbered program-wide.
int instanceCounter = 0;

// Set while a pick of the adapter list is handled: message boxes run a
// nested event loop in which a second pick must not start.
bool selectionGuard = false;

QString msg(const char *key)
{
    return TvText::translate(Context, key);
}

QString msg(const QString &key)
{
    return TvText::translate(Context, key);
}

QString adapterKey(const AdapterRecord &r)
{
    return TvAdapterListing::adapterKey(r);
}

bool isEndRecord(const AdapterRecord &r)
{
    return TvAdapterListing::isEndRecord(r);
}

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

TvDiagMainWindow::TvDiagMainWindow(QWidget *parent, TvDialogSeam *dialogs)
    : TvDiagMainWindowBase(parent), instance(++instanceCounter), dialogSeam(dialogs)
{
    TvCoreCallbacks::setReceiver(this);
    advanced = TvProgram::advancedMode();
    rowMap.fill(-1);
    logLines = new TvLogModel(this);

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

    ui->TestCasesListView->setEnabled(false);
    ui->StartTestButton->setEnabled(false);
    ui->CancelTestButton->setEnabled(false);
    ui->LoopInfiniteTests->setEnabled(false);
    ui->StartTestButton->setFocusPolicy(Qt::StrongFocus);
    ui->CancelTestButton->setFocusPolicy(Qt::StrongFocus);

    connectWindowSignals();
    resize(630, 450);
    centreOnDesktop();

    setUpLogList();

    if (!buildTestRows()) {
        showConstructionBox(TvDialogSeam::Critical, "ALLOC_TESTPROGRESS_FAILED");
        return;
    }
    menuActions = new (std::nothrow) QActionGroup(this);
    if (!menuActions) {
        showConstructionBox(TvDialogSeam::Critical, "ALLOC_MENUACTION_FAILED");
        return;
    }
    menuActions->setExclusive(true);

    enableAdapterActions(false);
    if (advancedLineEdit)
        advancedLineEdit->setEnabled(false);

    switch (adapterTimerExpired()) {
    case 1:
        showConstructionBox(TvDialogSeam::Critical, "ADAPTER_LIST_FAILED");
        return;
    case 2:
        showConstructionBox(TvDialogSeam::Critical, "ADAPTER_NOT_FOUND");
        return;
    case 3:
        showConstructionBox(TvDialogSeam::Critical, "ALL_ADAPTER_DIAGNOSED");
        return;
    default:
        break;
    }
    preselectAdapter();
    languageChange();
    failedConstruction = false;
    ui->CancelTestButton->installEventFilter(this);
    ui->LoopInfiniteTests->installEventFilter(this);
}

TvDiagMainWindow::~TvDiagMainWindow()
{
    clearRunCursor();
    // Neither the worker nor a core callback may post to a window that is
    // going away.
    if (workerThread)
        workerThread->setReceiver(nullptr);
    TvCoreCallbacks::setReceiver(nullptr);
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

    ui->AdapterListBox->setItemDelegate(new AdapterListDelegate(ui->AdapterListBox));
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

bool TvDiagMainWindow::createTimers()
{
    const struct {
        QTimer *TvDiagMainWindow::*timer;
        const char *failureKey;
        void (TvDiagMainWindow::*slot)();
    } timers[] = {
        {&TvDiagMainWindow::sensorPollTimer, "ALLOC_SENSOR_TIMER_FAILED",
         &TvDiagMainWindow::sensorTimerExpired},
        {&TvDiagMainWindow::adapterRefreshTimer, "ALLOC_ADAPTER_TIMER_FAILED", nullptr},
        {&TvDiagMainWindow::generalTimer, "ALLOC_GENERAL_TIMER_FAILED",
         &TvDiagMainWindow::generalInfoTimerExpired},
        {&TvDiagMainWindow::locateNICTimer, "ALLOC_LOCATE_TIMER_FAILED",
         &TvDiagMainWindow::locateNICTimerExpired},
    };
    bool all = true;
    for (const auto &t : timers) {
        QTimer *timer = new (std::nothrow) QTimer(this);
        this->*(t.timer) = timer;
        if (!timer) {
            // The window stays usable without this timer.
            showConstructionBox(TvDialogSeam::Warning, t.failureKey);
            all = false;
            continue;
        }
        if (t.slot)
            connect(timer, &QTimer::timeout, this, t.slot);
    }
    if (adapterRefreshTimer) {
        // adapterTimerExpired returns a code, so it is connected on its own.
        connect(adapterRefreshTimer, &QTimer::timeout, this, [this] { adapterTimerExpired(); });
        adapterRefreshTimer->start(5000);
    }
    if (generalTimer)
        generalTimer->setInterval(1000);
    if (locateNICTimer)
        locateNICTimer->setInterval(1000);
    return all;
}

void TvDiagMainWindow::connectWindowSignals()
{
    connect(ui->TvDiagDataTab, &QTabWidget::currentChanged, this,
            [this](int index) { tabChanged(ui->TvDiagDataTab->widget(index)); });
    connect(ui->StartTestButton, &QPushButton::pressed, this, &TvDiagMainWindow::StartTestSlot);
    connect(ui->CancelTestButton, &QPushButton::pressed, this, &TvDiagMainWindow::CancelTestSlot);
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
    view->setModel(logLines);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setUniformItemSizes(true);
    // Each announcement lays out every row again; scrolling by pixels spares
    // a second pass over all rows, and following the end by scrolling rather
    // than by a current index spares a look-up per row (see TvLogModel).
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QFont logFont(QStringLiteral("Courier"));
    logFont.setPointSizeF(8.5);
    view->setFont(logFont);
    connect(logLines, &QAbstractItemModel::rowsInserted, view, &QAbstractItemView::scrollToBottom);
}

bool TvDiagMainWindow::buildTestRows()
{
    auto *layout = new QVBoxLayout(ui->BaseTestBox);
    layout->setAlignment(Qt::AlignTop);
    for (int k = 0; k < RowCount; ++k) {
        TvTestProgress *row = new (std::nothrow)
            TvTestProgress(ui->BaseTestBox, QStringLiteral("TvTestCase[%1]").arg(k));
        rows[k] = row;
        if (!row)
            return false;
        row->hide();
        layout->addWidget(row);
    }
    return true;
}

void TvDiagMainWindow::preselectAdapter()
{
    const int bus = TvProgram::preselectBus();
    const int device = TvProgram::preselectDevice();
    if (!adapters || bus == -1 || device == -1)
        return;
    const int count = adapterCount();
    for (int i = 0; i < count; ++i) {
        const AdapterRecord &r = adapters[i];
        // The adapter this window holds is reported in use as well; only
        // another holder rules a record out.
        if (r.busNumber != bus || r.deviceNumber != device || (r.inUse && i != currentAdapter))
            continue;
        // As with a click, an entry that the list shows as not pickable
        // (unknown adapter) is not selected.
        const QListWidgetItem *item = ui->AdapterListBox->item(rowOfAdapter(i));
        if (!item || !item->flags().testFlag(Qt::ItemIsSelectable))
            return;
        if (i != currentAdapter)
            selectAdapter(i);
        if (currentAdapter != i)
            return;
        const int row = rowOfAdapter(i);
        if (row >= 0)
            ui->AdapterListBox->setCurrentRow(row);
        return;
    }
}

TvDialogSeam &TvDiagMainWindow::dialogs() const
{
    return dialogSeam ? *dialogSeam : TvDialogSeam::current();
}

void TvDiagMainWindow::showConstructionBox(int icon, const char *key)
{
    dialogs().message(nullptr, static_cast<TvDialogSeam::Icon>(icon), TvProgram::bannerText(),
                      msg(key), TvDialogSeam::Ok);
}

int TvDiagMainWindow::criticalBox(const QString &text, int button, const QString &buttonText)
{
    return dialogs().messageBox(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(), text,
                                {{button, buttonText}});
}

QString TvDiagMainWindow::statusText(int code)
{
    return TvStatusCodes::statusText(code);
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
        {ui->AdapterTab, "ADAPTERS"},   {ui->TestTab, "TESTS"},     {ui->MonTab, "REPEATER_MONITOR"},
        {ui->ConfigTab, "CONFIGURATION"}, {ui->SensorTab, "SENSORS"}, {ui->LogfileTab, "LOGFILE"},
        {ui->GeneralTab, "GENERAL"},
    };
    for (const auto &p : pages) {
        const int index = tabs->indexOf(p.page);
        if (index >= 0)
            tabs->setTabText(index, msg(p.key));
    }

    ui->AdapterListBox->setToolTip(msg("INSTALLED_ADAPTERS %1").arg(QStringLiteral("Tornavel")));
    ui->allTestBtn->setToolTip(msg("START_ALL_TESTS_FOR_SEL_ADAPTER"));
    ui->ConnectivityTestBtn->setToolTip(msg("START_CONNECTIVITY_TEST_FOR_SEL_ADAPTER"));
    ui->LoopInfiniteTests->setToolTip(msg("LOOP_INFINITE_TOOLTIP"));
    ui->SaveToFileButton->setToolTip(msg("SAVE_PCI_CONFIG_TO_FILE_TOOLTIP"));

    const struct {
        QAbstractButton *button;
        const char *key;
    } buttons[] = {
        {ui->locateNIC_Btn, "START_LOCATE_NIC"},
        {ui->allTestBtn, "PERFORM_ALL_TESTS"},
        {ui->ConnectivityTestBtn, "CONNECTIVITY_TEST"},
        {ui->LoopInfiniteTests, "LOOP_INFINITE"},
        {ui->StartTestButton, "START_TESTS"},
        {ui->CancelTestButton, "CANCEL_TESTS"},
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
        {ui->loopCountLabel, "LOOP_COUNT"},
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
    } else if (page == ui->TestTab) {
        (ui->StartTestButton->isEnabled() ? ui->StartTestButton : ui->CancelTestButton)->setFocus();
        refitTestNames();
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
    if (coreIsBusy()) {
        const Question question{QStringLiteral("TEST_STILL_RUNNING"), TvDialogSeam::Yes,
                                TvDialogSeam::No, TvDialogSeam::NoButton};
        if (showQuestion(&question) != TvDialogSeam::Yes) {
            event->ignore();
            return;
        }
        cancelCoreWork();
    }
    if (logUnsaved && !confirmLogSaved()) {
        event->ignore();
        return;
    }
    // Rows still queued would run for a window that is gone.
    clearPendingJobs();
    event->accept();
}

void TvDiagMainWindow::fileExit()
{
    cancelCoreWork();
    clearPendingJobs();
    // A script that ends the program has said so itself: nothing to ask.
    if (!scriptRunning && logUnsaved && !confirmLogSaved())
        return;
    quitApplication();
}

void TvDiagMainWindow::quitApplication()
{
    QCoreApplication::quit();
}

void TvDiagMainWindow::fileExitSlot()
{
    fileExit();
}

bool TvDiagMainWindow::eventFilter(QObject *object, QEvent *event)
{
    // While a test runs the window shows the wait cursor; the cancel button
    // and the loop check box stay usable, so they show the arrow.
    if (running && (object == ui->CancelTestButton || object == ui->LoopInfiniteTests)) {
        if (event->type() == QEvent::Enter)
            setRunCursor(Qt::ArrowCursor);
        else if (event->type() == QEvent::Leave)
            setRunCursor(Qt::WaitCursor);
    }
    return QMainWindow::eventFilter(object, event);
}

void TvDiagMainWindow::showEvent(QShowEvent *event)
{
    TvDiagMainWindowBase::showEvent(event);
    refitTestNames();
}

// ---------------------------------------------------------------------------
// Questions and the log
// ---------------------------------------------------------------------------

int TvDiagMainWindow::showQuestion(const Question *question)
{
    if (!question) {
        answer = TvDialogSeam::Cancel;
        return answer;
    }
    // The user needs the arrow to answer; afterwards the cursor is what it
    // was, unless the run ended meanwhile (which restored it already).
    const bool wasRunning = running;
    const bool hadRunCursor = runCursorPushed;
    const Qt::CursorShape shape =
        hadRunCursor && QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                       : Qt::ArrowCursor;
    if (wasRunning)
        setRunCursor(Qt::ArrowCursor);
    answer = dialogs().message(this, TvDialogSeam::Information, TvProgram::bannerText(),
                               msg(question->text), question->button0, question->button1,
                               question->button2);
    if (wasRunning && running) {
        if (hadRunCursor)
            setRunCursor(shape);
        else
            clearRunCursor();
    }
    return answer;
}

int TvDiagMainWindow::addLogLine(const QString &text)
{
    if (!loggingOn)
        return 1;
    logUnsaved = true;
    const QString line = TvLogFile::stampedLine(text);
    QMutexLocker locker(&logLock);
    // The model announces new lines once per turn of the event loop; the
    // view follows the last one from there (see setUpLogList).
    logLines->appendLine(line);
    return 0;
}

// ---------------------------------------------------------------------------
// Adapter inventory
// ---------------------------------------------------------------------------

int TvDiagMainWindow::adapterCount() const
{
    int count = 0;
    if (adapters) {
        while (!isEndRecord(adapters[count]))
            ++count;
    }
    return count;
}

bool TvDiagMainWindow::inUseChangedElsewhere() const
{
    const int count = adapterCount();
    if (count != savedInUse.size())
        return true;
    for (int i = 0; i < count; ++i) {
        if (i != currentAdapter && (adapters[i].inUse != 0) != (savedInUse.at(i) != 0))
            return true;
    }
    return false;
}

int TvDiagMainWindow::adapterTimerExpired()
{
    adapters = TvAdapterListing::enumerateAdapters();
    if (!adapters)
        return 1;
    if (currentAdapter != -1 && !inUseChangedElsewhere())
        return 0;
    return rebuildAdapterList();
}

int TvDiagMainWindow::rebuildAdapterList()
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    QListWidget *list = ui->AdapterListBox;
    list->clear();
    rowMap.fill(-1);
    const int count = adapterCount();
    savedInUse.resize(count);
    int inUseElsewhere = 0;

    for (int i = 0; i < count; ++i) {
        const AdapterRecord &r = adapters[i];
        savedInUse[i] = r.inUse;
        const QString key = adapterKey(r);
        const bool known = info.hasAdapter(key);
        const bool selectable = known && (r.inUse == 0 || i == currentAdapter);
        QString state;
        if (!known) {
            state = msg("ADAPTER_UNKNOWN");
        } else if (!selectable) {
            state = msg("ALREADY_DIAGNOSED");
            ++inUseElsewhere;
        } else if (firstSelectable == -1) {
            firstSelectable = i;
        }

        const QString name = known ? info.adapterName(key) : QString();
        const QString place =
            r.slotNumber != -1
                ? msg("IN_SLOT %1 %2").arg(name, QString::number(r.slotNumber))
                : msg("DEVICE_ON_BUS %1 %2 %3")
                      .arg(name, QString::number(r.deviceNumber), QString::number(r.busNumber));
        const QString ids = QString::asprintf(
            "Vendor-ID:%4.4X Device-ID:%4.4X Subvendor-ID:%4.4X Subsystem-ID:%4.4X", r.vendorId,
            r.deviceId, r.subsystemVendorId, r.subsystemId);

        list->addItem(new AdapterListItem(adapterPicture(key, known),
                                          {state + place, ids, QString()}, !selectable,
                                          selectable));
        const int row = list->count() - 1;
        if (currentBus != -1 && currentDevice != -1 && r.busNumber == currentBus
            && r.deviceNumber == currentDevice)
            list->setCurrentRow(row);
        if (row < MaxAdapterRows)
            rowMap[row] = i;
    }

    if (firstSelectable == -1)
        return inUseElsewhere > 0 ? 3 : 2;
    if (list->selectedItems().isEmpty()) {
        const int row = rowOfAdapter(firstSelectable);
        if (row >= 0) {
            list->setCurrentRow(row);
            automaticPick = true;
            AdapterClickedSlot(list->item(row));
            automaticPick = false;
        }
    }
    return 0;
}

QPixmap TvDiagMainWindow::adapterPicture(const QString &key, bool known) const
{
    // The grey drawing of an entry that cannot be picked is made by AdapterListItem.
    const CAdapterInfo &info = CAdapterInfo::instance();
    QPixmap picture;
    if (known)
        picture.load(info.basePathOf(info.adapterPixmap(key)));
    if (picture.isNull())
        picture.load(info.basePathOf(QStringLiteral("images/generic.bmp")));
    return picture;
}

int TvDiagMainWindow::rowOfAdapter(int index) const
{
    if (index < 0)
        return -1;
    for (int row = 0; row < MaxAdapterRows && rowMap[row] != -1; ++row) {
        if (rowMap[row] == index)
            return row;
    }
    return -1;
}

void TvDiagMainWindow::selectCurrentAdapterRow()
{
    const int row = rowOfAdapter(currentAdapter);
    if (row >= 0)
        ui->AdapterListBox->setCurrentRow(row);
    else
        ui->AdapterListBox->clearSelection();
}

void TvDiagMainWindow::AdapterClickedSlot(QListWidgetItem *item)
{
    if (!item)
        return;
    if (!item->flags().testFlag(Qt::ItemIsSelectable)) {
        selectCurrentAdapterRow();
        return;
    }
    const int row = ui->AdapterListBox->row(item);
    const int index = row >= 0 && row < MaxAdapterRows ? rowMap[row] : -1;
    if (index == currentAdapter || index < 0 || selectionGuard)
        return;
    selectionGuard = true;

    if (!adapters) {
        selectionGuard = false;
        ui->allTestBtn->setEnabled(true);
        ui->ConnectivityTestBtn->setEnabled(true);
        return;
    }
    if (adapters[index].inUse) {
        criticalBox(msg("ADAPTER_ALREADY_DIAGNOSED"));
        selectCurrentAdapterRow();
        selectionGuard = false;
        return;
    }

    getLinkInfo();
    selectAdapter(index);

    const bool wasLogging = loggingOn;
    loggingOn = true;
    addLogLine(QString(60, QLatin1Char('=')));
    addLogLine(ui->TvDiagCardLabel->text());
    // The selection refreshed the table; read the record from the new one.
    if (adapters && index < adapterCount()) {
        const AdapterRecord &r = adapters[index];
        addLogLine(QString::asprintf(
            "Vendor-ID: %4.4X Device-ID:%4.4X Subvendor-ID:%4.4X Subsystem-ID:%4.4X", r.vendorId,
            r.deviceId, r.subsystemVendorId, r.subsystemId));
    }
    loggingOn = wasLogging;

    selectionGuard = false;
    ui->allTestBtn->setEnabled(true);
    ui->ConnectivityTestBtn->setEnabled(true);
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
    currentAdapter = -1;
    currentBus = -1;
    currentDevice = -1;
    clearTestSlots();
    for (TvTestProgress *row : rows) {
        if (row)
            row->hide();
    }
    ui->BaseTestBox->setTitle(QString());
    ui->TestCasesListView->clear();
    lastSelectedItem = nullptr;
    ui->LoopInfiniteTests->setChecked(false);
    ui->loopCountValueLabel->setText(QStringLiteral("0"));

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
             ui->MonitorStartButton, ui->StartTestButton, ui->TestCasesListView})
        w->setEnabled(false);
    if (sensorPollTimer)
        sensorPollTimer->stop();
    if (locateNICTimer)
        locateNICTimer->stop();
    ui->TvDiagCardLabel->clear();
}

void TvDiagMainWindow::selectAdapter(int index)
{
    resetAdapterViews();
    if (!adapters || index < 0 || index >= adapterCount())
        return;

    const AdapterRecord record = adapters[index];
    const int status = AdapterSelect(&record);
    if (status != 0) {
        reportSelectFailure(status);
        return;
    }
    selectFailureShown = false;
    currentAdapter = index;
    currentBus = record.busNumber;
    currentDevice = record.deviceNumber;

    const QString key = adapterKey(record);
    char name[256] = {};
    uint32_t size = sizeof name;
    if (VpdReadKeyword("Name", name, &size) == 0)
        ui->TvDiagCardLabel->setText(
            QString::fromUtf8(name, int(qstrnlen(name, qMin<uint32_t>(size, sizeof name)))));
    else
        ui->TvDiagCardLabel->setText(CAdapterInfo::instance().adapterName(key));

    buildTestList(key);
    showPciConfig(index);
    buildSensorTab();
    adapterTimerExpired();

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

void TvDiagMainWindow::reportSelectFailure(int status)
{
    // The refresh retries the pick every few seconds; a failure that
    // persists must not bring up the same box each time.
    if (automaticPick && selectFailureShown) {
        const bool wasLogging = loggingOn;
        loggingOn = true;
        addLogLine(statusText(status));
        loggingOn = wasLogging;
        return;
    }
    selectFailureShown = true;
    dialogs().messageBox(this, TvDialogSeam::Critical, TvProgram::bannerText(), statusText(status),
                         {{TvDialogSeam::Cancel, msg("CANCEL_TEXT")}});
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
// Test tab
// ---------------------------------------------------------------------------

void TvDiagMainWindow::clearTestSlots()
{
    for (TestSlot &slot : testSlots) {
        if (slot.action) {
            ui->testMenu->removeAction(slot.action);
            delete slot.action;
        }
        slot = TestSlot();
    }
}

void TvDiagMainWindow::buildTestList(const QString &adapterKey)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    QTreeWidget *list = ui->TestCasesListView;
    list->setSortingEnabled(false);
    list->setFont(list->font());

    const QList<int> *numbers = info.adapterTestCases(adapterKey);
    if (!numbers || numbers->isEmpty()) {
        criticalBox(msg("TESTCASE_LIST_FAILED"));
        return;
    }
    clearTestSlots();
    for (TvTestProgress *row : rows)
        row->hide();
    ui->BaseTestBox->setTitle(QString());
    lastSelectedItem = nullptr;
    list->clear();

    QTreeWidgetItem *after = nullptr;
    QTreeWidgetItem *allTestsEntry = nullptr;
    for (int special : {AllTestsNumber, ConnectivityNumber}) {
        if (const CTestCase *t = info.testCase(special)) {
            after = new TvTestListItem(list, after, special, msg(t->testname),
                                       QIcon(info.basePathOf(t->pixmap)));
            if (special == AllTestsNumber)
                allTestsEntry = after;
        }
    }
    for (int k = 0; k < numbers->size() && k < SlotCount; ++k) {
        const int number = numbers->at(k);
        const CTestCase *t = info.testCase(number);
        if (!t) {
            criticalBox(msg("TESTITEM_NOT_FOUND"));
            return;
        }
        if (t->advanced != 0 && !advanced) {
            testSlots[k].number = number;
            testSlots[k].hidden = true;
            continue;
        }
        if (!addTestSlot(k, number, *t, after))
            return;
    }
    if (allTestsEntry)
        list->setCurrentItem(allTestsEntry);
    list->setEnabled(true);
}

bool TvDiagMainWindow::addTestSlot(int k, int number, const CTestCase &testCase,
                                   QTreeWidgetItem *&after)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    after = new TvTestListItem(ui->TestCasesListView, after, number, msg(testCase.testname),
                               QIcon(info.basePathOf(testCase.pixmap)));
    QAction *action = new (std::nothrow) QAction(menuActions);
    if (!action) {
        criticalBox(msg("ALLOC_MENUACTION_FAILED"));
        return false;
    }
    const QString menuText = msg(testCase.menuentry);
    const QString accel = msg(testCase.accel);
    action->setCheckable(true);
    action->setText(menuText);
    QString tip = menuText + QStringLiteral(" (") + accel + QLatin1Char(')');
    action->setToolTip(tip.remove(QLatin1Char('&')));
    action->setShortcut(QKeySequence(accel));
    ui->testMenu->addAction(action);
    connect(action, &QAction::triggered, this, &TvDiagMainWindow::testSlot);
    testSlots[k] = {number, action, after};
    return true;
}

void TvDiagMainWindow::showTestSlot(int testCaseNumber)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    const CTestCase *t = info.testCase(testCaseNumber);
    if (!t)
        return;
    if (t->subtests.size() > RowCount) {
        criticalBox(msg("TOO_MANY_SUBTEST_CASES"));
        return;
    }
    ui->BaseTestBox->setTitle(msg(t->testname));
    const QPixmap empty(info.basePathOf(QStringLiteral("images/empty.png")));
    for (TvTestProgress *row : rows) {
        row->setResultPixmap(empty);
        row->setResultText(QString());
        row->setProgress(0);
        row->setChecked(false);
        row->hide();
    }
    int smallest = 100;
    for (int i = 0; i < t->subtests.size(); ++i) {
        TvTestProgress *row = rows[i];
        const CSubTestCase &sub = t->subtests.at(i);
        row->setTestName(sub.label);
        row->setTestCase(sub.id);
        row->setTotalSteps(100);
        row->setChecked(true);
        row->show();
        smallest = qMin(smallest, row->testNameFontSize());
    }
    for (int i = 0; i < t->subtests.size(); ++i)
        rows[i]->setTestNameFontSize(smallest);
    refitTestNames();
}

void TvDiagMainWindow::refitTestNames()
{
    // The names are measured against the labels' real widths, which exist
    // only once the test tab has been laid out on screen.
    if (!ui->BaseTestBox->isVisible())
        return;
    ui->BaseTestBox->layout()->activate();
    QList<TvTestProgress *> shown;
    int smallest = 100;
    for (TvTestProgress *row : rows) {
        if (row->isHidden())
            continue;
        row->layout()->activate();
        row->setTestName(row->testName());
        smallest = qMin(smallest, row->testNameFontSize());
        shown.append(row);
    }
    for (TvTestProgress *row : shown)
        row->setTestNameFontSize(smallest);
}

void TvDiagMainWindow::SelectTestCaseSlot(QTreeWidgetItem *item)
{
    if (!item || item == lastSelectedItem || item->type() != TvTestListItem::Type)
        return;
    lastSelectedItem = item;
    const int number = static_cast<TvTestListItem *>(item)->testCaseNumber();
    showTestSlot(number);
    ui->StartTestButton->setEnabled(true);
    const bool loop = loopAllowed();
    ui->LoopInfiniteTests->setEnabled(loop);
    ui->loopCountLabel->setEnabled(loop);
    ui->loopCountValueLabel->setEnabled(loop);
}

void TvDiagMainWindow::setControlsEnabled(bool enabled)
{
    ui->AdapterListBox->setEnabled(enabled);
    ui->TestCasesListView->setEnabled(enabled);
    for (QMenu *menu : {ui->fileMenu, ui->flashMenu, ui->vpdMenu, ui->testMenu}) {
        for (QAction *action : menu->actions())
            action->setEnabled(enabled);
    }
    ui->allTestBtn->setEnabled(enabled);
    ui->ConnectivityTestBtn->setEnabled(enabled);
    for (QAction *action :
         {ui->allTests, ui->fileNewAction, ui->fileOpenAction, ui->fileSaveAction,
          ui->fileSaveAsAction, ui->fileExitAction, ui->fileCurrLog, ui->flashSaveAction,
          ui->flashLoadAction, ui->flashClearAction, ui->vpdDisplayAction, ui->vpdModifyAction,
          ui->vpdDeleteKeywordsAction})
        action->setEnabled(enabled);

    if (enabled) {
        ui->StateTable->setRowCount(0);
        ui->CancelTestButton->setEnabled(false);
        ui->MonitorCancelButton->setEnabled(false);
    }
    ui->PortButtonGroup->setEnabled(enabled && dualPort());
    ui->ModeButtonGroup->setEnabled(enabled);
    ui->MonitorStartButton->setEnabled(enabled);
    ui->StartTestButton->setEnabled(enabled);
    QWidget *current = ui->TvDiagDataTab->currentWidget();
    if (current == ui->MonTab)
        ui->MonitorStartButton->setFocus();
    else if (current == ui->TestTab)
        ui->StartTestButton->setFocus();

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
    dialogs().execDialog(about.get());
}

void TvDiagMainWindow::helpContents()
{
    std::unique_ptr<TvDiagHelpDlgImpl> help(new (std::nothrow) TvDiagHelpDlgImpl(this));
    if (!help) {
        criticalBox(msg("CREATE_HELP_FAILED"));
        return;
    }
    dialogs().execDialog(help.get());
}

// ---------------------------------------------------------------------------
// Test engine
// ---------------------------------------------------------------------------
// The checked rows of the shown test slot run one job at a time on the
// worker thread; each completion event starts the next row, loops the slot,
// moves an all-tests run on to its next slot, or ends the run.

namespace {

constexpr int LoopRestartMs = 100;
constexpr int ConnectivityRestartMs = 300;

int entryNumber(const QTreeWidgetItem *entry)
{
    return entry && entry->type() == TvTestListItem::Type
               ? static_cast<const TvTestListItem *>(entry)->testCaseNumber()
               : -1;
}

} // namespace

bool TvDiagMainWindow::coreIsBusy() const
{
    return coreBusy || (workerThread && workerThread->isCoreBusy());
}

void TvDiagMainWindow::cancelCoreWork()
{
    if (workerThread && workerThread->cancelCore())
        return;
    if (coreBusy)
        TestCancel();
}

void TvDiagMainWindow::clearPendingJobs()
{
    if (workerThread)
        workerThread->clearJobs();
}

// ---- connectivity test: the ping job is queued by the connectivity test
// dialog, which is not part of the window yet; until then the entry starts
// nothing and StartTestSlot restores the controls.
bool TvDiagMainWindow::runConnectivityTest(int)
{
    return false;
}

// ---- console: the Advanced tab's text area comes with the console.
void TvDiagMainWindow::appendConsoleText(const QString &) {}

void TvDiagMainWindow::showLoopCount(int count)
{
    ui->loopCountValueLabel->setText(QString::number(count));
}

void TvDiagMainWindow::advanceLoopCounter()
{
    if (!ui->LoopInfiniteTests->isChecked()) {
        loopCounter = 0;
        showLoopCount(0);
        return;
    }
    showLoopCount(loopCounter);
    ++loopCounter;
}

QPixmap TvDiagMainWindow::resultImage(const QString &name) const
{
    return QPixmap(CAdapterInfo::instance().basePathOf(name));
}

void TvDiagMainWindow::prepareRowsForRun()
{
    const QPixmap empty = resultImage(QStringLiteral("images/empty.png"));
    for (TvTestProgress *row : rows) {
        row->setResultPixmap(empty);
        row->setResultText(QString());
        row->setProgress(0);
        row->setCheckEnabled(false);
    }
}

void TvDiagMainWindow::setRowChecksEnabled(bool enabled)
{
    for (TvTestProgress *row : rows)
        row->setCheckEnabled(enabled);
}

bool TvDiagMainWindow::loopAllowed() const
{
    const CTestCase *t =
        CAdapterInfo::instance().testCase(entryNumber(ui->TestCasesListView->currentItem()));
    return t && t->allow_loop == 1;
}

int TvDiagMainWindow::nextTickedRow(int from) const
{
    for (int k = qMax(from, 0); k < RowCount; ++k) {
        if (rows[k]->isChecked())
            return k;
    }
    return -1;
}

QString TvDiagMainWindow::currentEntryText() const
{
    const QTreeWidgetItem *entry = ui->TestCasesListView->currentItem();
    return entry ? entry->text(0) : QString();
}

void TvDiagMainWindow::startRow(int row)
{
    running = true;
    currentRow = row;
    addLogLine(msg("TEST_CASE_STARTED %1").arg(rows[row]->testName()));
    workerThread->appendJob(new TestJob(rows[row]->testCase(), row));
}

bool TvDiagMainWindow::pointerOverRunControls() const
{
    return ui->CancelTestButton->underMouse() || ui->LoopInfiniteTests->underMouse();
}

void TvDiagMainWindow::setRunCursor(Qt::CursorShape shape)
{
    if (runCursorPushed)
        QApplication::changeOverrideCursor(QCursor(shape));
    else
        QApplication::setOverrideCursor(QCursor(shape));
    runCursorPushed = true;
}

void TvDiagMainWindow::clearRunCursor()
{
    if (!runCursorPushed)
        return;
    QApplication::restoreOverrideCursor();
    runCursorPushed = false;
}

void TvDiagMainWindow::StartTestSlot()
{
    if (!workerThread)
        return;
    if (!allTestsMode)
        advanceLoopCounter();
    loggingOn = true;
    prepareRowsForRun();
    const QTreeWidgetItem *entry = ui->TestCasesListView->currentItem();
    const QString name = currentEntryText();
    if (entry)
        addLogLine(msg("TEST_SLOT_STARTED %1").arg(name));
    const int number = entryNumber(entry);
    if (number == AllTestsNumber) {
        loopCounter = 0;
        startAllTestsSlot();
        return;
    }

    const int first = nextTickedRow(0);
    if (first < 0) {
        setRowChecksEnabled(true);
        addLogLine(msg("FINISHED_NOT_TESTCASE_SELECTED %1").arg(name));
        // A slot of an all-tests run without sub-tests ends that run
        // rather than leaving the window locked.
        abandonAllTests();
        return;
    }

    running = true;
    currentRow = first;
    addLogLine(msg("TEST_CASE_STARTED %1").arg(rows[first]->testName()));
    workerThread->setCancelRequested(false);
    setControlsEnabled(false);
    ui->CancelTestButton->setEnabled(true);
    ui->CancelTestButton->setFocus();

    if (number == ConnectivityNumber) {
        if (!runConnectivityTest(first)) {
            setControlsEnabled(true);
            running = false;
            ui->CancelTestButton->setEnabled(false);
            ui->StartTestButton->setEnabled(true);
            ui->StartTestButton->setFocus();
            setRowChecksEnabled(true);
            clearRunCursor();
        }
        return;
    }
    if (!pointerOverRunControls())
        setRunCursor(Qt::WaitCursor);
    workerThread->appendJob(new TestJob(rows[first]->testCase(), first));
}

bool TvDiagMainWindow::qualifiesForAllTests(int k) const
{
    const TestSlot &slot = testSlots[k];
    if (slot.number < 0 || !slot.item || slot.number == AllTestsNumber
        || slot.number == ConnectivityNumber)
        return false;
    const CTestCase *t = CAdapterInfo::instance().testCase(slot.number);
    return t && t->all_tests == 1 && (t->advanced == 0 || advanced);
}

int TvDiagMainWindow::firstAllTestsSlot(bool *missing) const
{
    *missing = false;
    const CAdapterInfo &info = CAdapterInfo::instance();
    for (int k = 0; k < SlotCount; ++k) {
        if (testSlots[k].hidden)
            continue;
        // An empty entry has no test case either: the search ends there.
        if (testSlots[k].number < 0 || !info.testCase(testSlots[k].number)) {
            *missing = true;
            return -1;
        }
        if (qualifiesForAllTests(k))
            return k;
    }
    return -1;
}

void TvDiagMainWindow::showSlot(int k)
{
    ui->TestCasesListView->setCurrentItem(testSlots[k].item);
    showTestSlot(testSlots[k].number);
    ui->StartTestButton->setEnabled(true);
}

void TvDiagMainWindow::abandonAllTests()
{
    setRowChecksEnabled(true);
    if (allTestsMode) {
        allTestsMode = false;
        TestSeriesEnd();
    }
    if (running)
        endRun();
}

void TvDiagMainWindow::startAllTestsSlot()
{
    if (!workerThread)
        return;
    loggingOn = true;
    bool missing = false;
    const int k = firstAllTestsSlot(&missing);
    if (k < 0) {
        if (missing)
            criticalBox(msg("TESTITEM_NOT_FOUND"));
        else
            dialogs().message(this, TvDialogSeam::Information, TvProgram::bannerText(),
                              msg("NO_TEST_FOR_ALL_TESTS"), TvDialogSeam::Ok);
        abandonAllTests();
        return;
    }
    allTestsIndex = k;
    allTestsMode = true;
    ui->TvDiagDataTab->setCurrentWidget(ui->TestTab);
    showSlot(k);
    addLogLine(msg("START_ALL_TESTS_FOR %1").arg(ui->TvDiagCardLabel->text()));
    if (loopCounter == 0)
        TestSeriesBegin();
    advanceLoopCounter();
    StartTestSlot();
}

void TvDiagMainWindow::testSlot()
{
    if (running || !workerThread)
        return;
    int k = 0;
    while (k < SlotCount
           && !(testSlots[k].action && testSlots[k].action->isChecked() && testSlots[k].number >= 0
                && testSlots[k].item))
        ++k;
    if (k == SlotCount) {
        criticalBox(msg("TESTITEM_NOT_FOUND"));
        return;
    }
    // The menu entries only start a slot; none stays ticked.
    testSlots[k].action->setChecked(false);
    const CTestCase *t = CAdapterInfo::instance().testCase(testSlots[k].number);
    if (!t) {
        criticalBox(msg("TESTITEM_NOT_FOUND"));
        return;
    }
    if (t->advanced != 0 && !advanced)
        return;
    ui->TvDiagDataTab->setCurrentWidget(ui->TestTab);
    showSlot(k);
    StartTestSlot();
}

void TvDiagMainWindow::restartTestCase()
{
    StartTestSlot();
}

void TvDiagMainWindow::CancelTestSlot()
{
    lastLoopCount = loopCounter;
    loopCounter = 0;
    if (workerThread)
        workerThread->setCancelRequested(true);
    cancelCoreWork();
    ui->MonitorCancelButton->setEnabled(false);
    ui->CancelTestButton->setEnabled(false);
    // While the cancelled job is still in the core (or queued), its
    // completion event is still to come; a run started before it arrives
    // would be ended by it. That event enables Start again.
    if (!running)
        ui->StartTestButton->setEnabled(true);
    ui->LoopInfiniteTests->setEnabled(loopAllowed());
    if (advancedCancelButton)
        advancedCancelButton->setEnabled(false);
    if (advancedLineEdit)
        advancedLineEdit->setFocus();
    // Between two passes of a loop no job is left for the worker to drop,
    // so the cancellation is finished here.
    if (dropPendingRestart())
        finishCancelledRun(false, true);
}

void TvDiagMainWindow::scheduleRestart(int delayMs)
{
    if (stopIfCancelled())
        return;
    const int ticket = ++restartTickets;
    pendingRestart = ticket;
    QTimer::singleShot(delayMs, this, [this, ticket] {
        if (pendingRestart != ticket)
            return;
        pendingRestart = 0;
        restartTestCase();
    });
}

bool TvDiagMainWindow::dropPendingRestart()
{
    if (!pendingRestart)
        return false;
    pendingRestart = 0;
    return true;
}

bool TvDiagMainWindow::stopIfCancelled()
{
    // Starting another pass or slot would clear a cancel that arrived while
    // the last job finished; it ends the run instead.
    if (!workerThread || !workerThread->isCancelRequested())
        return false;
    finishCancelledRun(false, true);
    return true;
}

void TvDiagMainWindow::markRowResult(bool passed)
{
    TvTestProgress *row = rows[currentRow];
    const char *verdict = passed ? "TEST_CASE_PASSED" : "TEST_CASE_FAILED";
    // A text that the core gave for a pass stays; a fail always says so.
    if (!passed || row->resultText().isEmpty())
        row->setResultText(msg(verdict));
    row->setResultPixmap(
        resultImage(passed ? QStringLiteral("images/passed.png") : QStringLiteral("images/failed.png")));
    addLogLine(msg("TEST_CASE %1 %2").arg(row->testName(), msg(verdict)));
}

void TvDiagMainWindow::testCaseFinished(int status)
{
    if (currentRow < 0 || currentRow >= RowCount)
        return;
    const bool passed = status == 0;
    if (!passed) {
        allTestsMode = false;
        TestSeriesEnd();
    }
    markRowResult(passed);
    ++currentRow;
    if (passed) {
        const int next = nextTickedRow(currentRow);
        if (next >= 0) {
            startRow(next);
            return;
        }
    }
    // After a pass no ticked row is left; a fail ends the slot, but when
    // it came from the last row the loop goes on as after a pass.
    if ((passed || currentRow >= RowCount) && !allTestsMode) {
        showLoopCount(loopCounter);
        if (ui->LoopInfiniteTests->isChecked()) {
            scheduleRestart(LoopRestartMs);
            return;
        }
    }
    const QString entry = currentEntryText();
    if (!entry.isNull())
        addLogLine(msg("TEST_SLOT_FINISHED %1").arg(entry));
    if (allTestsMode && continueAllTests())
        return;
    endRun();
}

bool TvDiagMainWindow::continueAllTests()
{
    for (int k = allTestsIndex + 1; k < SlotCount; ++k) {
        if (!qualifiesForAllTests(k))
            continue;
        if (stopIfCancelled())
            return true;
        allTestsIndex = k;
        showSlot(k);
        StartTestSlot();
        return true;
    }
    showLoopCount(loopCounter);
    if (ui->LoopInfiniteTests->isChecked()) {
        if (!stopIfCancelled())
            startAllTestsSlot();
        return true;
    }
    const QString finished = msg("ALL_TESTS_FINISHED %1").arg(ui->TvDiagCardLabel->text());
    addLogLine(finished);
    running = false;
    clearRunCursor();
    const Question done{finished, TvDialogSeam::Ok, TvDialogSeam::NoButton, TvDialogSeam::NoButton};
    showQuestion(&done);
    allTestsMode = false;
    TestSeriesEnd();
    return false;
}

void TvDiagMainWindow::endRun()
{
    setRowChecksEnabled(true);
    running = false;
    loopCounter = 0;
    clearRunCursor();
    setControlsEnabled(true);
}

void TvDiagMainWindow::finishCancelledRun(bool markRow, bool endAllTests)
{
    if (markRow && currentRow >= 0 && currentRow < RowCount) {
        rows[currentRow]->setResultPixmap(resultImage(QStringLiteral("images/failed.png")));
        rows[currentRow]->setResultText(msg("TEST_CASE_CANCELLED"));
    }
    clearPendingJobs();
    if (workerThread)
        workerThread->setCancelRequested(false);
    running = false;
    const QString entry = currentEntryText();
    if (!entry.isNull())
        addLogLine(msg("TEST_SLOT_CANCELLED %1").arg(entry));
    if (ui->LoopInfiniteTests->isChecked())
        addLogLine(msg("LOOP_COUNT %1").arg(lastLoopCount));
    setControlsEnabled(true);
    if (endAllTests && allTestsMode) {
        allTestsMode = false;
        TestSeriesEnd();
    }
    setRowChecksEnabled(true);
    clearRunCursor();
}

void TvDiagMainWindow::connectivityFinished(int status)
{
    if (currentRow < 0 || currentRow >= RowCount)
        return;
    const bool passed = status == 0;
    markRowResult(passed);
    showLoopCount(loopCounter);
    const bool looping = ui->LoopInfiniteTests->isChecked();
    if (looping && passed) {
        scheduleRestart(ConnectivityRestartMs);
        return;
    }
    const QString entry = currentEntryText();
    if (!entry.isNull())
        addLogLine(msg("TEST_SLOT_FINISHED %1").arg(entry));
    // A failed pass ends a loop: say how many passes were started.
    if (looping)
        addLogLine(msg("LOOP_COUNT %1").arg(loopCounter));
    endRun();
}

void TvDiagMainWindow::commandEnded()
{
    // ---- console: the command's log line and its input come with the
    // Advanced tab; the script runner and the controls are served here.
    clearRunCursor();
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

void TvDiagMainWindow::answerQuestion(TvCoreEvent &event)
{
    const Question question{event.text, event.buttons[0], event.buttons[1], event.buttons[2]};
    const int code = showQuestion(&question);
    // The gate keeps the answer, so an asker that has not begun to wait
    // yet still gets it.
    if (event.gate)
        event.gate->post(code);
}

void TvDiagMainWindow::customEvent(QEvent *event)
{
    auto *coreEvent = dynamic_cast<TvCoreEvent *>(event);
    if (!coreEvent)
        return TvDiagMainWindowBase::customEvent(event);
    switch (coreEvent->kind()) {
    case TvCoreEvent::TestDone:
        testCaseFinished(coreEvent->value);
        break;
    case TvCoreEvent::TestCancelled:
        finishCancelledRun(true, true);
        break;
    case TvCoreEvent::ConnectivityDone:
        connectivityFinished(coreEvent->value);
        break;
    case TvCoreEvent::ConnectivityCancelled:
        finishCancelledRun(true, false);
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
        if (!coreEvent->text.isEmpty() && currentRow >= 0 && currentRow < RowCount)
            rows[currentRow]->setResultText(coreEvent->text);
        break;
    case TvCoreEvent::StateCell:
        showStateCell(coreEvent->row, coreEvent->column, coreEvent->text);
        break;
    case TvCoreEvent::LogText:
        addLogLine(coreEvent->text);
        break;
    case TvCoreEvent::Progress:
        if (const int row = workerThread ? workerThread->currentRow() : -1; row >= 0 && row < RowCount)
            rows[row]->setProgress(coreEvent->value);
        break;
    case TvCoreEvent::Question:
        answerQuestion(*coreEvent);
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

QString TvDiagMainWindow::logDirectory() const
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    return info.basePathOf(info.logpath);
}

QString TvDiagMainWindow::logFilter() const
{
    return msg("LOGFILE_FILTER %1").arg(CAdapterInfo::instance().log_ext);
}

bool TvDiagMainWindow::appendLogFile()
{
    const QString &name = CAdapterInfo::instance().logFileName;
    const int lineCount = logLines->count();
    lastLogError.clear();
    const TvLogFile::Result result =
        TvLogFile::appendBlock(name, logLines->linesFrom(savedLineCount), &lastLogError);
    if (result == TvLogFile::Saved) {
        savedLineCount = lineCount;
        logUnsaved = false;
        return true;
    }
    if (result == TvLogFile::OpenFailed) {
        const Question failed{msg("OPEN_LOGFILE_FAILED %1 %2").arg(name, lastLogError),
                              TvDialogSeam::Ok, TvDialogSeam::NoButton, TvDialogSeam::NoButton};
        showQuestion(&failed);
    }
    // A block written only in part leaves every line unsaved, so the next
    // save writes them all again.
    return false;
}

bool TvDiagMainWindow::chooseLogFileName()
{
    CAdapterInfo &info = CAdapterInfo::instance();
    const QString name = dialogs().saveFileName(this, msg("CHOOSE_LOGFILE_NAME"), logDirectory(),
                                                logFilter());
    if (name.isEmpty())
        return false;
    // Only the file's own name counts: the log directory itself is usually
    // called after the extension.
    const QString fileName = QFileInfo(name).fileName();
    info.logFileName = name.left(name.size() - fileName.size())
                       + TvLogFile::withExtension(fileName, info.log_ext);
    return true;
}

bool TvDiagMainWindow::chooseNewLogFile()
{
    CAdapterInfo &info = CAdapterInfo::instance();
    for (;;) {
        if (!chooseLogFileName())
            return false;
        if (!QFileInfo::exists(info.logFileName))
            return true;
        const int choice = dialogs().message(this, TvDialogSeam::Warning, TvProgram::bannerText(),
                                             msg("FILE_EXISTS"), TvDialogSeam::Yes,
                                             TvDialogSeam::No, TvDialogSeam::Cancel);
        if (choice == TvDialogSeam::Yes)
            return true;
        if (choice != TvDialogSeam::No) {
            info.logFileName = QString();
            return false;
        }
    }
}

void TvDiagMainWindow::showNothingToSave()
{
    dialogs().messageBox(this, TvDialogSeam::Information, TvProgram::bannerText(),
                         msg("LOGFILE_UNCHANGED"), {{TvDialogSeam::Ok, msg("OK_TEXT")}});
}

void TvDiagMainWindow::showSaveFailure()
{
    dialogs().messageBox(this, TvDialogSeam::Critical, TvProgram::bannerText(),
                         msg("LOGFILE_SAVE_FAILED %1 %2")
                             .arg(CAdapterInfo::instance().logFileName, lastLogError),
                         {{TvDialogSeam::Cancel, msg("CANCEL_TEXT")}});
}

void TvDiagMainWindow::saveUnderNewName()
{
    if (chooseNewLogFile() && !appendLogFile())
        showSaveFailure();
}

void TvDiagMainWindow::fileSave()
{
    if (!logUnsaved) {
        showNothingToSave();
        return;
    }
    if (CAdapterInfo::instance().logFileName.isEmpty()) {
        saveUnderNewName();
        return;
    }
    if (!appendLogFile())
        showSaveFailure();
}

void TvDiagMainWindow::fileSaveAs()
{
    if (!logUnsaved) {
        showNothingToSave();
        return;
    }
    saveUnderNewName();
}

bool TvDiagMainWindow::confirmLogSaved()
{
    const Question unsaved{QStringLiteral("LOGFILE_UNSAVED"), TvDialogSeam::Yes, TvDialogSeam::No,
                           TvDialogSeam::Cancel};
    const int choice = showQuestion(&unsaved);
    if (choice == TvDialogSeam::No)
        return true;
    if (choice != TvDialogSeam::Yes)
        return false;
    if (CAdapterInfo::instance().logFileName.isEmpty() && !chooseLogFileName())
        return false;
    if (appendLogFile())
        return true;
    const Question failed{msg("LOGFILE_CHANGES_SAVE_FAILED %1 %2")
                              .arg(CAdapterInfo::instance().logFileName, lastLogError),
                          TvDialogSeam::Yes, TvDialogSeam::Cancel, TvDialogSeam::NoButton};
    return showQuestion(&failed) == TvDialogSeam::Yes;
}

void TvDiagMainWindow::emptyLogList(int keepFrom)
{
    QMutexLocker locker(&logLock);
    const QStringList kept = logLines->linesFrom(keepFrom);
    logLines->clear();
    logLines->appendLines(kept);
    // Lines kept from a save stay saved.
    savedLineCount = qMax(0, savedLineCount - keepFrom);
}

void TvDiagMainWindow::fileNew()
{
    // The question runs a nested event loop in which log lines keep coming;
    // the lock is taken only to empty the list, and what arrived meanwhile
    // belongs to the new list.
    const int asked = logLines->count();
    if (logUnsaved && !confirmLogSaved())
        return;
    CAdapterInfo::instance().logFileName = QString();
    emptyLogList(asked);
}

void TvDiagMainWindow::fileViewLogSlot()
{
    loggingOn = false;
    if (logUnsaved && !confirmLogSaved())
        return;
    // Nothing of the emptied list stays, so the next save starts at the
    // top of what the list will hold (savedLineCount 0).
    emptyLogList(logLines->count());
    const QString name =
        dialogs().openFileName(this, msg("VIEW_LOGFILE_TXT"), logDirectory(), logFilter());
    if (name.isEmpty())
        return;
    std::FILE *stream = std::fopen(QFile::encodeName(name).constData(), "r");
    if (!stream) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        dialogs().message(this, TvDialogSeam::Critical, TvProgram::bannerText(),
                          msg("OPEN_LOGFILE_FAILED %1 %2").arg(name, error), TvDialogSeam::Ok);
        return;
    }
    QFile file;
    file.open(stream, QIODevice::ReadOnly | QIODevice::Text, QFileDevice::AutoCloseHandle);
    QStringList lines;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        lines.append(QString::fromUtf8(line));
    }
    file.close();
    {
        QMutexLocker locker(&logLock);
        logLines->appendLines(lines);
    }
    ui->TvDiagDataTab->setCurrentWidget(ui->LogfileTab);
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
void TvDiagMainWindow::locateNIC_Slot() {}
void TvDiagMainWindow::getNetworkDriverInfo() {}
void TvDiagMainWindow::getLinkInfo() {}
void TvDiagMainWindow::checkActivity(int) {}
void TvDiagMainWindow::sensorTimerExpired() {}
void TvDiagMainWindow::generalInfoTimerExpired() {}
void TvDiagMainWindow::locateNICTimerExpired() {}
void TvDiagMainWindow::doAdvancedAction() {}
void TvDiagMainWindow::showPciConfig(int) {}
void TvDiagMainWindow::buildSensorTab() {}
void TvDiagMainWindow::destroySensorGauges() {}
void TvDiagMainWindow::buildAdvancedTab() {}
