// The main window as the composition of its pages: construction in both
// modes and the ways it fails, preselection, what selecting an adapter does
// to every page, tabs and their timers, closing, locking the controls, the
// console's events, and the texts.
#include "FamilyCapture.h"
#include "TvUiRig.h"

#include "text/TvProgram.h"
#include "core/TvStatusCodes.h"
#include "text/TvCoreEvent.h"
#include "ui/TvAdapterSession.h"
#include "ui/console/TvConsolePage.h"
#include "ui/adapters/TvAdapterPage.h"
#include "ui/general/TvGeneralPage.h"
#include "ui/sensors/TvSensorPage.h"
#include "engine/TvWorkerThread.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvDiagHelpDlgImpl.h"
#include "ui/TvSplash.h"
#include "ui/connectivity/ConTestDlgImpl.h"
#include "ui/vpd/VPDDlgImpl.h"
#include "description/CAdapterInfo.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestProgress.h"
#include "ui/testpage/TvTestRun.h"

#include <probekit.h>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QXmlStreamReader>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

namespace {

class Rig : public TvUiRig
{
public:
    Rig() { useFourAdapters(); }
};

// Every (context, key) of a catalogue source and its text.
QMap<QString, QString> catalogueTexts(const QString &file)
{
    QMap<QString, QString> texts;
    QFile source(QStringLiteral(NICDIAG_SOURCE_DIR "/translations/") + file);
    if (!source.open(QIODevice::ReadOnly))
        return texts;
    QXmlStreamReader xml(&source);
    QString context, key;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            key = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            texts.insert(context + QLatin1Char('/') + key, xml.readElementText());
    }
    return texts;
}

// The texts a screen shows: captions, labels, buttons, frames, tabs, list,
// tree and table entries, menus and tooltips of the visible widgets.
QStringList shownTexts(QWidget *root)
{
    QStringList texts{root->windowTitle()};
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(root))
            continue;
        texts << widget->toolTip();
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << QTextDocumentFragment::fromHtml(label->text()).toPlainText().split(QLatin1Char('\n'));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text().remove(QLatin1Char('&'));
        else if (auto *box = qobject_cast<QGroupBox *>(widget))
            texts << box->title();
        else if (auto *tabs = qobject_cast<QTabWidget *>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        else if (auto *list = qobject_cast<QListWidget *>(widget))
            for (int row = 0; row < list->count(); ++row)
                texts << list->item(row)->text().split(QLatin1Char('\n'));
        else if (auto *tree = qobject_cast<QTreeWidget *>(widget))
            for (int row = 0; row < tree->topLevelItemCount(); ++row)
                texts << tree->topLevelItem(row)->text(0);
        else if (auto *table = qobject_cast<QTableWidget *>(widget))
            for (int c = 0; c < table->columnCount(); ++c)
                if (QTableWidgetItem *header = table->horizontalHeaderItem(c))
                    texts << header->text();
    }
    for (QMenu *menu : root->findChildren<QMenu *>()) {
        texts << menu->title().remove(QLatin1Char('&'));
        for (QAction *action : menu->actions())
            texts << action->text().remove(QLatin1Char('&')) << action->toolTip();
    }
    texts.removeAll(QString());
    return texts;
}

QStringList actionNames(QMenu *menu)
{
    QStringList names;
    for (QAction *a : menu->actions())
        names.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

} // namespace

class TestUiMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void constructionFollowsTheMode_data();
    void constructionFollowsTheMode();
    void failedRefreshEndsConstruction_data();
    void failedRefreshEndsConstruction();
    void preselectionPicksTheNamedAdapter_data();
    void preselectionPicksTheNamedAdapter();
    void failingSelectionLeavesNoAdapter();
    void portCountFollowsTheThirdValue();
    void tabsDriveTheirTimers();
    void closeWhileTheCoreIsBusyAsks();
    void lockingFansOutToEveryPage();
    void commandEndsReleaseTheControls();
    void noRawKeyIsShown();
    void theDefaultWindowShowsTabsAndResultsWhole_data();
    void theDefaultWindowShowsTabsAndResultsWhole();
    void everyScreenReadsGerman_data();
    void everyScreenReadsGerman();
    void everyTabShowsAReplayedAdapter_data();
    void everyTabShowsAReplayedAdapter();
};

void TestUiMainWindow::constructionFollowsTheMode_data()
{
    QTest::addColumn<bool>("advanced");
    QTest::newRow("normal") << false;
    QTest::newRow("advanced") << true;
}

void TestUiMainWindow::constructionFollowsTheMode()
{
    QFETCH(bool, advanced);
    Rig f;
    TvProgram::runSettings()[0] = advanced ? 1 : 0;
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();

    QVERIFY(!w.constructionFailed());
    QVERIFY(f.dialogs.asked.isEmpty());
    QCOMPARE(w.windowTitle(), TvProgram::bannerText());
    QVERIFY(w.minimumWidth() == 630 && w.minimumHeight() == 450);

    auto *tabs = f.child<QTabWidget>("TvDiagDataTab");
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages.append(tabs->widget(i)->objectName());
    QStringList expected = {"AdapterTab", "TestTab", "MonTab", "ConfigTab", "SensorTab", "LogfileTab", "AdvancedTab", "GeneralTab"};
    if (!advanced) {
        expected.removeAll(QStringLiteral("MonTab"));
        expected.removeAll(QStringLiteral("AdvancedTab"));
    }
    QCOMPARE(pages, expected);

    auto *menuBar = f.child<QMenuBar>("TvDiagMenuBar");
    QCOMPARE(menuBar->actions().size(), 5);
    const QStringList file = actionNames(f.child<QMenu>("fileMenu"));
    const QStringList flash = actionNames(f.child<QMenu>("flashMenu"));
    const QStringList vpd = actionNames(f.child<QMenu>("vpdMenu"));
    const QStringList tests = actionNames(f.child<QMenu>("testMenu"));
    QAction *repeater = w.findChild<QAction *>(QStringLiteral("Repeater"));
    if (advanced) {
        QCOMPARE(file, QStringList({"fileOpenAction", "-", "fileNewAction", "fileSaveAction",
                                    "fileSaveAsAction", "fileCurrLog", "-", "fileExitAction"}));
        QCOMPARE(flash, QStringList({"flashSaveAction", "flashLoadAction", "flashClearAction"}));
        QCOMPARE(vpd, QStringList({"vpdDisplayAction", "vpdModifyAction", "vpdDeleteKeywordsAction"}));
        QVERIFY(repeater && repeater->isEnabled());
        QCOMPARE(tests.mid(0, 3), QStringList({"allTests", "connectivityTest", "Repeater"}));
    } else {
        QCOMPARE(file, QStringList({"fileNewAction", "fileSaveAction", "fileSaveAsAction",
                                    "fileCurrLog", "-", "fileExitAction"}));
        QCOMPARE(flash, QStringList({"flashSaveAction"}));
        QCOMPARE(vpd, QStringList({"vpdDisplayAction"}));
        QVERIFY(!repeater);
        QCOMPARE(tests.mid(0, 2), QStringList({"allTests", "connectivityTest"}));
    }
    QCOMPARE(actionNames(f.child<QMenu>("helpMenu")),
             QStringList({"helpManualAction", "-", "helpAboutAction"}));

    // The first refresh picked the first adapter that can be picked.
    QCOMPARE(w.adapterSession()->currentIndex(), 0);
    QCOMPARE(f.child<QLabel>("TvDiagCardLabel")->text(), QStringLiteral("Orlin Dual"));
    QCOMPARE(f.child<QListWidget>("AdapterListBox")->currentRow(), 0);
    QVERIFY(w.findChild<QAction *>(QStringLiteral("allTests"))->isEnabled());
    for (int k = 0; k < TvTestPage::RowCount; ++k)
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("TvTestCase[%1]").arg(k)));

    QVERIFY(w.adapters()->refreshTimer() && w.adapters()->refreshTimer()->isActive());
    QCOMPARE(w.adapters()->refreshTimer()->interval(), 5000);
    QVERIFY(!w.sensors()->pollTimer()->isActive() && !w.general()->infoTimer()->isActive()
            && !w.adapters()->locateTimer()->isActive());
    QVERIFY(f.child<QPushButton>("SaveToFileButton")->isEnabled());
    QVERIFY(!f.child<QPushButton>("CancelTestButton")->isEnabled());
    // The start button follows the selected list entry. A window built
    // without its worker thread starts nothing with it.
    QVERIFY(f.child<QPushButton>("StartTestButton")->isEnabled());
    f.mark();
    f.click("StartTestButton");
    QVERIFY(!f.isRunning() && f.log().isEmpty());
}

void TestUiMainWindow::failedRefreshEndsConstruction_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("key");
    QTest::newRow("no table") << "fault" << "ADAPTER_LIST_FAILED";
    QTest::newRow("none to pick") << "unknown only" << "ADAPTER_NOT_FOUND";
    QTest::newRow("all held elsewhere") << "held" << "ALL_ADAPTER_DIAGNOSED";
}

void TestUiMainWindow::failedRefreshEndsConstruction()
{
    QFETCH(QString, situation);
    QFETCH(QString, key);
    Rig f;
    if (situation == QLatin1String("unknown only"))
        f.machine.adapters = {f.machine.adapters.at(2), f.machine.adapters.at(3)};
    if (situation == QLatin1String("fault"))
        qputenv("PROBEKIT_FAULT", "AdapterEnumerate=1");
    QVERIFY(f.startCore());
    if (situation == QLatin1String("held")) {
        QVERIFY(f.holdElsewhere(2, 1) >= 0);
        QVERIFY(f.holdElsewhere(3, 0) >= 0);
    }
    TvDiagMainWindow *w = &f.window();
    qunsetenv("PROBEKIT_FAULT");

    QVERIFY(w->constructionFailed());
    QCOMPARE(f.dialogs.messageTexts(), QStringList({key}));
    QCOMPARE(f.dialogs.asked.first().icon, TvDialogSeam::Critical);
    QCOMPARE(f.dialogs.asked.first().caption, TvProgram::bannerText());
    QCOMPARE(f.dialogs.asked.first().buttons, QList<int>({TvDialogSeam::Ok}));
    QCOMPARE(w->adapterSession()->currentIndex(), -1);
}

void TestUiMainWindow::preselectionPicksTheNamedAdapter_data()
{
    QTest::addColumn<int>("bus");
    QTest::addColumn<int>("device");
    QTest::addColumn<bool>("heldElsewhere");
    QTest::addColumn<int>("expected");
    QTest::newRow("bus and device") << 3 << 0 << false << 1;
    QTest::newRow("the adapter picked first") << 2 << 1 << false << 0;
    QTest::newRow("held elsewhere") << 3 << 0 << true << 0;
    QTest::newRow("bus only") << 3 << -1 << false << 0;
    QTest::newRow("device only") << -1 << 0 << false << 0;
    QTest::newRow("nothing there") << 9 << 9 << false << 0;
    QTest::newRow("not pickable (unknown)") << 4 << 0 << false << 0;
}

void TestUiMainWindow::preselectionPicksTheNamedAdapter()
{
    QFETCH(int, bus);
    QFETCH(int, device);
    QFETCH(bool, heldElsewhere);
    QFETCH(int, expected);
    Rig f;
    QVERIFY(f.startCore());
    if (heldElsewhere)
        QVERIFY(f.holdElsewhere(3, 0) >= 0);
    TvProgram::setPreselection(bus, device);
    TvDiagMainWindow &w = f.window();

    QVERIFY(!w.constructionFailed());
    QVERIFY(f.dialogs.asked.isEmpty());
    QCOMPARE(w.adapterSession()->currentIndex(), expected);
    auto *list = f.child<QListWidget>("AdapterListBox");
    QCOMPARE(list->currentRow(), expected);
    QVERIFY(list->item(expected)->isSelected());
    QCOMPARE(f.child<QLabel>("TvDiagCardLabel")->text(),
             expected == 1 ? QStringLiteral("Orlin Single") : QStringLiteral("Orlin Dual"));
}

void TestUiMainWindow::failingSelectionLeavesNoAdapter()
{
    Rig f;
    QJsonObject single = f.machine.adapters.at(1).toObject();
    single[QStringLiteral("faults")] = QJsonObject{{QStringLiteral("AdapterSelect"), 11}};
    f.machine.adapters[1] = single;
    QVERIFY(f.startCore());
    TvProgram::runSettings()[0] = 1;
    TvDiagMainWindow &w = f.window();
    QCOMPARE(w.adapterSession()->currentIndex(), 0);
    auto *tests = f.child<QTreeWidget>("TestCasesListView");
    QVERIFY(tests->topLevelItemCount() > 0);

    w.selectAdapter(1);
    QCOMPARE(f.dialogs.messageTexts(), QStringList({TvStatusCodes::statusText(11)}));
    const auto &box = f.dialogs.asked.first();
    QCOMPARE(box.icon, TvDialogSeam::Critical);
    QCOMPARE(box.buttons, QList<int>({TvDialogSeam::Cancel}));
    QCOMPARE(box.buttonTexts, QStringList({QStringLiteral("CANCEL_TEXT")}));
    QCOMPARE(w.adapterSession()->currentIndex(), -1);
    QVERIFY(f.child<QLabel>("TvDiagCardLabel")->text().isEmpty());
    QCOMPARE(tests->topLevelItemCount(), 0);
    QVERIFY(!tests->isEnabled());
    // The adapter actions stay off, also when a run releases the controls.
    for (bool released : {false, true}) {
        if (released) {
            emit w.run()->controlsLockRequested(true);
            emit w.run()->controlsLockRequested(false);
        }
        for (const char *action : {"allTests", "flashSaveAction", "vpdDisplayAction", "Repeater"})
            QVERIFY2(!w.findChild<QAction *>(QLatin1String(action))->isEnabled(), action);
    }
    QCOMPARE(f.child<QLabel>("NetDrvNameText")->text(), QStringLiteral("NOT_AVAILABLE"));
    QCOMPARE(f.child<QLabel>("loopCountValueLabel")->text(), QStringLiteral("0"));
    for (int k = 0; k < TvTestPage::RowCount; ++k)
        QVERIFY(f.row(k)->isHidden());
    // No menu entry of the adapter's test cases is left behind.
    QCOMPARE(actionNames(f.child<QMenu>("testMenu")),
             QStringList({"allTests", "connectivityTest", "Repeater"}));
}

void TestUiMainWindow::portCountFollowsTheThirdValue()
{
    Rig f;
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();
    auto *portB = f.child<QLabel>("PortBLabel");
    auto *ports = f.child<QGroupBox>("PortButtonGroup");
    const QStringList portBWidgets = {"PortBLabel", "LinkLedB", "ActivityLedB", "DuplexModeTextB", "SpeedModeTextB"};
    // The PCI view shows the adapter's third value; here the test writes it.
    QString thirdValue;
    QObject::connect(w.adapterSession(), &TvAdapterSession::selected,
                     [&] { f.child<QLabel>("Misc3Text")->setText(thirdValue); });

    for (const QString &value : {QStringLiteral("2"), QStringLiteral("2 x"), QStringLiteral("1")}) {
        thirdValue = value;
        w.selectAdapter(value == QLatin1String("2") ? 1 : 0);
        const bool dual = value == QLatin1String("2");
        for (const QString &name : portBWidgets)
            QCOMPARE(!w.findChild<QWidget *>(name)->isHidden(), dual);
        QCOMPARE(ports->isEnabled(), dual);
        QCOMPARE(f.child<QLabel>("PortALabel")->text(), dual ? QStringLiteral("PORT_A") : QString());
        if (dual)
            QCOMPARE(portB->text(), QStringLiteral("PORT_B"));
        // Controls released after a run follow the port count as well.
        w.setControlsEnabled(true);
        QCOMPARE(ports->isEnabled(), dual);
    }
    QVERIFY(f.dialogs.asked.isEmpty());
}

void TestUiMainWindow::tabsDriveTheirTimers()
{
    Rig f;
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();
    auto *tabs = f.child<QTabWidget>("TvDiagDataTab");

    tabs->setCurrentWidget(f.child<QWidget>("SensorTab"));
    QVERIFY(w.sensors()->pollTimer()->isActive());
    QCOMPARE(w.sensors()->pollTimer()->interval(), 700);
    QVERIFY(!w.general()->infoTimer()->isActive());

    tabs->setCurrentWidget(f.child<QWidget>("GeneralTab"));
    QVERIFY(!w.sensors()->pollTimer()->isActive());
    QVERIFY(w.general()->infoTimer()->isActive());
    QCOMPARE(w.general()->infoTimer()->interval(), 1000);

    tabs->setCurrentWidget(f.child<QWidget>("LogfileTab"));
    QVERIFY(!w.sensors()->pollTimer()->isActive() && !w.general()->infoTimer()->isActive());

    // Picking an adapter stops the sensor poll.
    tabs->setCurrentWidget(f.child<QWidget>("SensorTab"));
    w.selectAdapter(1);
    QVERIFY(!w.sensors()->pollTimer()->isActive());
    QVERIFY(w.adapters()->refreshTimer()->isActive());
}

void TestUiMainWindow::closeWhileTheCoreIsBusyAsks()
{
    Rig f;
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();

    // The adapter's selection lines are unsaved log lines: given up here.
    f.dialogs.answerMessage(TvDialogSeam::No);
    QCloseEvent idle;
    QApplication::sendEvent(&w, &idle);
    QVERIFY(idle.isAccepted());
    QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("LOGFILE_UNSAVED")}));
    f.dialogs.asked.clear();

    w.run()->setCoreBusy(true);
    f.dialogs.answerMessage(TvDialogSeam::No);
    QCloseEvent refused;
    QApplication::sendEvent(&w, &refused);
    QVERIFY(!refused.isAccepted());
    QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("TEST_STILL_RUNNING")}));
    QCOMPARE(f.dialogs.asked.first().icon, TvDialogSeam::Information);
    QCOMPARE(f.dialogs.asked.first().buttons, QList<int>({TvDialogSeam::Yes, TvDialogSeam::No}));

    f.dialogs.answerMessage(TvDialogSeam::Yes);
    f.dialogs.answerMessage(TvDialogSeam::No);
    QCloseEvent accepted;
    QApplication::sendEvent(&w, &accepted);
    QVERIFY(accepted.isAccepted());
}

void TestUiMainWindow::lockingFansOutToEveryPage()
{
    Rig f;
    QVERIFY(f.startCore());
    TvProgram::runSettings()[0] = 1;
    TvDiagMainWindow &w = f.window();
    auto *adapters = f.child<QListWidget>("AdapterListBox");
    auto *tests = f.child<QTreeWidget>("TestCasesListView");
    auto *cancel = f.child<QPushButton>("CancelTestButton");
    auto *start = f.child<QPushButton>("StartTestButton");
    auto *table = f.child<QTableWidget>("StateTable");
    QList<QAction *> menuEntries;
    for (const char *menu : {"fileMenu", "testMenu", "flashMenu", "vpdMenu"})
        menuEntries += f.child<QMenu>(menu)->actions();

    // Nothing runs at start-up: nothing to cancel.
    QVERIFY(!f.child<QPushButton>("MonitorCancelButton")->isEnabled());
    // A run locks, its end releases.
    emit w.run()->controlsLockRequested(true);
    QVERIFY(f.child<QPushButton>("AdvancedCancelBtn")->isEnabled());
    QVERIFY(!adapters->isEnabled() && !tests->isEnabled() && !start->isEnabled());
    for (QAction *a : menuEntries)
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName() + a->text()));
    QVERIFY(!f.child<QPushButton>("allTestBtn")->isEnabled());
    QVERIFY(!f.child<QWidget>("ModeButtonGroup")->isEnabled());

    cancel->setEnabled(true);
    table->setRowCount(3);
    emit w.run()->controlsLockRequested(false);
    QVERIFY(adapters->isEnabled() && tests->isEnabled() && start->isEnabled());
    for (QAction *a : menuEntries)
        QVERIFY(a->isEnabled());
    QVERIFY(!cancel->isEnabled());
    // A mode's last table stays for reading until the next start.
    QCOMPARE(table->rowCount(), 3);
    QVERIFY(f.child<QRadioButton>("Repeater")->isEnabled());
}

void TestUiMainWindow::commandEndsReleaseTheControls()
{
    Rig f;
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();
    auto *start = f.child<QPushButton>("StartTestButton");
    for (int kind : {TvCoreEvent::CommandDone, TvCoreEvent::CommandCancelled}) {
        w.setControlsEnabled(false);
        QCoreApplication::postEvent(&w, new TvCoreEvent(TvCoreEvent::Kind(kind)));
        QTRY_VERIFY(start->isEnabled());
    }
    // Progress that comes before the window has its worker is no row's.
    const int before = f.row(0)->progress();
    auto *progress = new TvCoreEvent(TvCoreEvent::Progress);
    progress->value = 50;
    QCoreApplication::postEvent(&w, progress);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(f.row(0)->progress(), before);
    // While a script runs, its next command follows: the controls stay locked.
    w.console()->setScriptRunning(true);
    w.setControlsEnabled(false);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::postEvent(&w, new TvCoreEvent(TvCoreEvent::CommandDone));
    QCoreApplication::sendPostedEvents();
    QVERIFY(!start->isEnabled());
}

void TestUiMainWindow::noRawKeyIsShown()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
    QCoreApplication::installTranslator(&english);
    Rig f;
    TvProgram::runSettings()[0] = 1;
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();
    QVERIFY(!w.constructionFailed());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // A key left as it is: an upper-case word with underscores, alone or
    // followed by its values; or one of the keys made of a single word.
    const QRegularExpression rawKey(QStringLiteral("^[A-Z][A-Z0-9]*(_[A-Z0-9]+)+( |$)"));
    const QStringList singleWordKeys = {"ADAPTERS", "TESTS", "CONFIGURATION", "SENSORS", "LOGFILE",
                                        "GENERAL", "MODE", "REPEATER", "MONITOR", "PORT", "IRQ",
                                        "SLOT", "SLOTSIZE", "LATENCY", "MISCELLANEOUS", "MEMBASE",
                                        "IOBASE", "DESCRIPTION", "COPYRIGHT", "DUPLEX"};
    QStringList raw;
    auto check = [&](const QString &where, QString text) {
        text.remove(QLatin1Char('&'));
        if (rawKey.match(text).hasMatch() || singleWordKeys.contains(text))
            raw.append(where + QStringLiteral(": ") + text);
    };

    check(QStringLiteral("caption"), w.windowTitle());
    auto *tabs = f.child<QTabWidget>("TvDiagDataTab");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        check(QStringLiteral("tab"), tabs->tabText(i));
        for (QWidget *widget : w.findChildren<QWidget *>()) {
            if (!widget->isVisible())
                continue;
            const QString name = widget->objectName();
            check(name + QStringLiteral(" tip"), widget->toolTip());
            if (auto *label = qobject_cast<QLabel *>(widget))
                check(name, label->text());
            else if (auto *button = qobject_cast<QAbstractButton *>(widget))
                check(name, button->text());
            else if (auto *box = qobject_cast<QGroupBox *>(widget))
                check(name, box->title());
            else if (auto *list = qobject_cast<QListWidget *>(widget)) {
                for (int row = 0; row < list->count(); ++row)
                    for (const QString &line : list->item(row)->text().split(QLatin1Char('\n')))
                        check(name, line);
            } else if (auto *tree = qobject_cast<QTreeWidget *>(widget)) {
                for (int row = 0; row < tree->topLevelItemCount(); ++row)
                    check(name, tree->topLevelItem(row)->text(0));
            }
        }
    }
    for (QMenu *menu : w.findChildren<QMenu *>()) {
        check(menu->objectName(), menu->title());
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            check(action->objectName(), action->text());
            check(action->objectName() + QStringLiteral(" tip"), action->toolTip());
        }
    }
    QCoreApplication::removeTranslator(&english);
    QVERIFY2(raw.isEmpty(), qPrintable(raw.join(QStringLiteral("; "))));

    // Accelerators are translated texts read as key sequences.
    QCOMPARE(w.findChild<QAction *>(QStringLiteral("fileSaveAction"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(w.findChild<QAction *>(QStringLiteral("Repeater"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+M")));
}

void TestUiMainWindow::theDefaultWindowShowsTabsAndResultsWhole_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::newRow("English") << "diag_en";
    QTest::newRow("German") << "diag_de";
}

void TestUiMainWindow::theDefaultWindowShowsTabsAndResultsWhole()
{
    QFETCH(QString, catalogue);
    QTranslator language;
    QVERIFY(language.load(catalogue, QStringLiteral(NICDIAG_RUN_DIR)));
    QCoreApplication::installTranslator(&language);
    Rig f;
    TvProgram::runSettings()[0] = 1;
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // Every tab's name whole, none behind the scroll arrows.
    auto *tabs = f.child<QTabWidget>("TvDiagDataTab");
    QTabBar *bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        QVERIFY2(bar->tabRect(i).right() < bar->width(), qPrintable(bar->tabText(i)));
        QVERIFY(bar->tabRect(i).width() > bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
    }

    // The results a row shows, measured against the row's own label.
    f.pick(1);
    tabs->setCurrentIndex(1);
    QCoreApplication::processEvents();
    for (const QString &text : {QStringLiteral("Cable good, length 3 m"),
                                QStringLiteral("1000 frames sent, 1000 received")}) {
        f.row(0)->setResultText(text);
        auto *label = f.row(0)->findChild<QLabel *>(QStringLiteral("test_resulttext"));
        QCOMPARE(label->text(), text);
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(text) <= label->contentsRect().width(),
                 qPrintable(text));
    }

    // Its size and place are the next window's.
    w.resize(w.width() + 30, w.height() + 20);
    f.dialogs.answerMessage(TvDialogSeam::No); // the log need not be saved
    QVERIFY(f.closeWindow());
    TvDiagMainWindow again;
    QCOMPARE(again.size(), w.size());
    QCoreApplication::removeTranslator(&language);
}

void TestUiMainWindow::everyScreenReadsGerman_data()
{
    QTest::addColumn<int>("screen");
    const char *tabs[] = {"tab Adapters", "tab Tests", "tab Monitor", "tab Configuration",
                          "tab Sensors", "tab Log", "tab Advanced", "tab General"};
    for (int i = 0; i < 8; ++i)
        QTest::newRow(tabs[i]) << i;
    QTest::newRow("about box") << 10;
    QTest::newRow("help pages") << 11;
    QTest::newRow("VPD dialog") << 12;
    QTest::newRow("connectivity dialog") << 13;
    QTest::newRow("Qt's boxes and file dialog") << 14;
    QTest::newRow("every box text") << 15;
}

void TestUiMainWindow::everyScreenReadsGerman()
{
    QFETCH(int, screen);
    const QMap<QString, QString> english = catalogueTexts(QStringLiteral("diag_en.ts"));
    const QMap<QString, QString> german = catalogueTexts(QStringLiteral("diag_de.ts"));
    QVERIFY(!english.isEmpty() && !german.isEmpty());
    if (screen == 15) {
        // Each box text of the program, in whatever context, has its German.
        for (auto e = english.cbegin(); e != english.cend(); ++e)
            QVERIFY2(!german.value(e.key()).isEmpty(), qPrintable(e.key()));
        return;
    }
    // English where the catalogue has German: the German was not loaded.
    QSet<QString> englishOnly;
    for (auto e = english.cbegin(); e != english.cend(); ++e) {
        const QString text = QString(e.value()).remove(QLatin1Char('&'));
        if (QString(german.value(e.key())).remove(QLatin1Char('&')) != text && text.size() > 3)
            englishOnly.insert(text);
    }
    QTranslator program, qt;
    QVERIFY(program.load(QStringLiteral("diag_de"), QStringLiteral(NICDIAG_RUN_DIR)));
    QVERIFY(qt.load(QStringLiteral("qtbase_de"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&qt);
    QCoreApplication::installTranslator(&program);
    Rig f;
    TvProgram::runSettings()[0] = 1;
    TvProgram::setLanguageCode(QStringLiteral("de"));
    CAdapterInfo &info = CAdapterInfo::instance();
    info.help_path = QDir(f.basePath(QString())).relativeFilePath(QStringLiteral(NICDIAG_RUN_DIR "/help"));
    info.help_file = QStringLiteral("index.html");
    // The rig's own test names are description texts, in English here.
    for (const CTestCase &t : qAsConst(info.testCases)) {
        englishOnly.remove(t.testname);
        englishOnly.remove(QString(t.menuentry).remove(QLatin1Char('&')));
    }
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();
    w.show();
    f.pick(1);

    QStringList texts;
    std::unique_ptr<QWidget> dialog;
    if (screen < 8) {
        auto *tabs = f.child<QTabWidget>("TvDiagDataTab");
        tabs->setCurrentIndex(screen);
        texts = shownTexts(&w);
    } else if (screen == 10) {
        dialog.reset(new TvSplash(true));
    } else if (screen == 11) {
        // Every page in German, with the English pages' links.
        const QDir pages(QStringLiteral(NICDIAG_RUN_DIR "/help"));
        const QRegularExpression link(QStringLiteral("href=\"[^\"]*\""));
        auto links = [&](const QString &file) {
            QFile page(file);
            page.open(QIODevice::ReadOnly);
            QStringList found;
            for (auto m = link.globalMatch(QString::fromUtf8(page.readAll())); m.hasNext();)
                found << m.next().captured();
            return found;
        };
        TvDiagHelpDlgImpl help;
        auto *browser = help.findChild<QTextBrowser *>(QStringLiteral("HelpTextBrowser"));
        for (const QString &name : pages.entryList({QStringLiteral("*.html")})) {
            QCOMPARE(links(pages.filePath(QStringLiteral("de/") + name)), links(pages.filePath(name)));
            browser->setSource(QUrl(name));
            QVERIFY2(browser->documentTitle().startsWith(QStringLiteral("Orlin Diagnostics")), qPrintable(name));
            texts << browser->documentTitle() << browser->toPlainText().split(QLatin1Char('\n'));
        }
        QVERIFY(texts.contains(QStringLiteral("Erste Schritte")));
        texts << shownTexts(&help);
    } else if (screen == 12) {
        dialog.reset(new VPDDlgImpl);
    } else if (screen == 13) {
        dialog.reset(new ConTestDlgImpl);
    } else {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        texts << box.button(QMessageBox::Yes)->text() << box.button(QMessageBox::No)->text();
        QCOMPARE(texts, QStringList({"&Ja", "&Nein"}));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
#ifdef __SANITIZE_THREAD__
        // Qt's file dialog reads the directory on a thread of Qt's own,
        // whose locks ThreadSanitizer cannot see in a Qt not built for it:
        // here the dialog's text is asked of the catalogue instead.
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
#else
        auto *files = new QFileDialog;
        files->setOption(QFileDialog::DontUseNativeDialog);
        dialog.reset(files);
        QCOMPARE(files->findChild<QLabel *>(QStringLiteral("lookInLabel"))->text(), QStringLiteral("Suchen in:"));
#endif
    }
    if (dialog) {
        dialog->show();
        texts << shownTexts(dialog.get());
    }
    QStringList english_;
    for (const QString &text : texts) {
        if (englishOnly.contains(text))
            english_ << text;
    }
    dialog.reset();
    QCoreApplication::removeTranslator(&program);
    QCoreApplication::removeTranslator(&qt);
    QVERIFY2(!texts.isEmpty(), "nothing shown");
    QVERIFY2(TvUiRig::rawKeys(texts).isEmpty(), qPrintable(TvUiRig::rawKeys(texts).join(QStringLiteral("; "))));
    QVERIFY2(english_.isEmpty(), qPrintable(english_.join(QStringLiteral("; "))));
}

void TestUiMainWindow::everyTabShowsAReplayedAdapter_data()
{
    QTest::addColumn<QString>("capture");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QString>("statistic");
    QTest::addColumn<QStringList>("gauges");
    QTest::newRow("virtio, taken on a machine") << NICDIAG_SOURCE_DIR "/tests/captures/virtio-net"
                                               << "Red Hat, Inc. Virtio 1.0 network device" << "1AF4"
                                               << "virtio_net" << "n/a" << QStringList() << "rx_drops" << QStringList();
    // A dual-port XL710-Q2 whose interrupt test failed when it was captured,
    // with a QSFP module in port A: its measures in mW and again in dBm.
    QTest::newRow("i40e, two ports") << QString() << "Intel Corporation Ethernet Controller XL710 for 40GbE QSFP+"
                                     << "8086" << "i40e" << "40000 Mbit/s"
                                     << QStringList{"Register test (offline): passed", "Eeprom test (offline): passed",
                                                    "Failed", QString()}
                                     << "rx_packets"
                                     << QStringList{"Temperature", "Module A Vcc", "Module A bias", "Module A Tx",
                                                    "Module A Rx", "Module A Tx", "Module A Rx"};
}

// The Linux backend over a capture of a real machine, through the whole
// window: the adapter list, the General, Configuration and Tests tabs, and
// the Monitor's driver statistics, without a raw key on any of them.
void TestUiMainWindow::everyTabShowsAReplayedAdapter()
{
    QFETCH(QString, capture);
    QFETCH(QString, name);
    QFETCH(QString, vendor);
    QFETCH(QString, driver);
    QFETCH(QString, speed);
    QFETCH(QStringList, results);
    QFETCH(QString, statistic);
    QFETCH(QStringList, gauges);
    // A process keeps the backend it started with, and the other tests
    // here start the simulated one: CTest runs this one alone as well.
    if (qgetenv("NICDIAG_REPLAY_TABS") != "1")
        QSKIP("runs in a process of its own (test_ui_mainwindow_replay)");
    QTranslator english;
    QVERIFY(english.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
    QCoreApplication::installTranslator(&english);
    QTemporaryDir written;
    if (capture.isEmpty()) {
        FamilyCapture i40e{"8086:1583:8086:0002", true, "i40e", {"Register test  (offline)", "Eeprom test    (offline)",
                           "Interrupt test (offline)", "Link test   (on/offline)"}, 2, 40000,
                           FamilyCapture::moduleDump("qsfp1.hex")};
        QVERIFY(i40e.write(written.path()));
        capture = written.path();
    }
    struct Backend {
        Backend(const QString &replay)
        {
            qputenv("PROBEKIT_BACKEND", "linux");
            qputenv("PROBEKIT_REPLAY", QFile::encodeName(replay));
        }
        ~Backend()
        {
            qunsetenv("PROBEKIT_BACKEND");
            qunsetenv("PROBEKIT_REPLAY");
        }
    } replay(capture);
    TvUiRig f;
    TvProgram::runSettings()[0] = 1; // advanced mode: the Monitor tab
    QVERIFY(f.startCore());
    const QString described = f.basePath(QStringLiteral("described"));
    QVERIFY(QDir().mkpath(described));
    QCOMPARE(CommandRun(QFile::encodeName("describe " + described).constData(), nullptr, nullptr), 0);
    CAdapterInfo &info = CAdapterInfo::instance();
    QVERIFY(info.readConfigFile(described + QStringLiteral("/config.xml"))
            && info.readAdapterInfoFile(described + QStringLiteral("/adapterinfofile.xml"), QStringLiteral("en"))
            && info.readTestInfoFile(described + QStringLiteral("/testinfofile.xml"), QStringLiteral("en")));
    info.basepath = f.base.path();
    info.logpath = QStringLiteral("logs");
    TvDiagMainWindow &w = f.windowWithWorker();
    QVERIFY(!w.constructionFailed());
    w.show();
    auto *list = f.child<QListWidget>("AdapterListBox");
    QCOMPARE(list->count(), 1);
    QVERIFY2(list->item(0)->text().contains(name), qPrintable(list->item(0)->text()));
    w.selectAdapter(0);

    auto *tabs = f.child<QTabWidget>("TvDiagDataTab");
    tabs->setCurrentWidget(f.child<QWidget>("GeneralTab"));
    w.general()->generalInfoTimerExpired();
    QCOMPARE(f.child<QLabel>("NetDrvNameText")->text(), driver);
    QCOMPARE(f.child<QLabel>("SpeedModeText")->text(), speed);
    tabs->setCurrentWidget(f.child<QWidget>("ConfigTab"));
    QCOMPARE(f.child<QLabel>("VendorIDText")->text(), vendor);
    // A plugged module's measures are gauges of their own.
    tabs->setCurrentWidget(f.child<QWidget>("SensorTab"));
    QStringList shownGauges;
    for (int i = 0; w.sensors()->gauge(i); ++i)
        shownGauges << w.sensors()->gauge(i)->property("LabelText").toString();
    QCOMPARE(shownGauges, gauges);

    // The driver's own self-tests, each with the result it recorded; the
    // run ends at the first failure.
    tabs->setCurrentWidget(f.child<QWidget>("TestTab"));
    f.pick(10);
    // The offline tests ask once, before the link goes down.
    f.dialogs.answerMessage(TvDialogSeam::Yes);
    if (!results.isEmpty()) {
        f.tickOnly({0, 1, 2, 3});
        f.click("StartTestButton");
        QTRY_VERIFY(!f.isRunning());
        for (int k = 0; k < results.size(); ++k)
            QCOMPARE(f.row(k)->resultText(), results.at(k));
        QCOMPARE(f.dialogs.messageTexts().size(), 1);
    }

    // Monitor Port A: a row per driver statistic, until Cancel.
    tabs->setCurrentWidget(f.child<QWidget>("MonTab"));
    f.child<QRadioButton>("Monitor")->setChecked(true);
    f.child<QRadioButton>("PortA")->setChecked(true);
    f.click("MonitorStartButton");
    auto *table = f.child<QTableWidget>("StateTable");
    QTRY_VERIFY(table->rowCount() > 2 && table->item(2, 1));
    QCOMPARE(table->item(2, 0)->text(), statistic);
    f.click("MonitorCancelButton");
    QTRY_VERIFY(!f.worker()->isCoreBusy());

    // Refusals say why: the capture answers neither the LED's blinking nor
    // an EEPROM read, as a driver without them would.
    const QString unsupported = "not supported by the " + driver + " driver";
    f.dialogs.asked.clear();
    f.mark();
    // The monitor's end releases the controls when its event arrives, which
    // on a busy machine can be after the worker went idle.
    auto *locateButton = f.child<QPushButton>("locateNIC_Btn");
    QTRY_VERIFY(locateButton->isEnabled());
    locateButton->click();
    QTRY_VERIFY(!w.adapters()->isLocating());
    QCOMPARE(f.dialogs.messageTexts().size(), 1);
    const QString locate = f.dialogs.messageTexts().first();
    QVERIFY2(locate.startsWith("The adapter's LED cannot blink: Locate on ") && locate.endsWith(unsupported),
             qPrintable(locate));
    QVERIFY(f.logHas(locate));
    f.dialogs.answerFile(f.basePath(QStringLiteral("prom.bin")));
    w.flashSaveSlot();
    QCOMPARE(f.dialogs.messageTexts().size(), 2);
    QVERIFY2(f.dialogs.messageTexts().last().endsWith(" not read: " + unsupported),
             qPrintable(f.dialogs.messageTexts().last()));
    QVERIFY(f.dialogs.messageTexts().last().contains("\nReason: EEPROM of "));
    QStringList shown;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        shown << shownTexts(&w);
    }
    QCoreApplication::removeTranslator(&english);
    QVERIFY2(TvUiRig::rawKeys(shown).isEmpty(), qPrintable(TvUiRig::rawKeys(shown).join(QStringLiteral("; "))));
}

QTEST_MAIN(TestUiMainWindow)
#include "test_ui_mainwindow.moc"
