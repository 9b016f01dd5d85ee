// The main window: construction in both modes, the ways construction fails,
// preselection, the adapter list and its refresh, picks, and the texts.
#include "TvScriptedDialogs.h"
#include "TvTestMachine.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "ui/AdapterListItem.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvTestProgress.h"

#include <probekit.h>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace {

const QString DualKey = QStringLiteral("ABCD:0102:ABCD:0001");
const QString SingleKey = QStringLiteral("ABCD:0101:ABCD:0001");

// A window whose later features can be steered from a test: the PCI view
// writes a chosen third value, and the engine state is reachable.
class ProbedWindow : public TvDiagMainWindow
{
public:
    using TvDiagMainWindow::TvDiagMainWindow;
    QString thirdValue;
    void setCoreBusy(bool busy) { coreBusy = busy; }
    void setLogging(bool on) { loggingOn = on; }
    void setRunning(bool on) { running = on; }

protected:
    void showPciConfig(int) override
    {
        findChild<QLabel *>(QStringLiteral("Misc3Text"))->setText(thirdValue);
    }
};

// A base directory with pictures, a description store that knows two adapter
// models, and a machine with four adapters: the dual-port model at bus 2
// device 1 slot 2, the single-port model at bus 3 device 0 without slot, an
// undescribed one at bus 4, and one of another vendor at bus 5.
class Fixture
{
public:
    Fixture()
    {
        TvProgram::reset();
        QDir().mkpath(base.filePath(QStringLiteral("images")));
        savePicture("images/dual.png", QSize(40, 80), Qt::red);
        savePicture("images/single.png", QSize(40, 30), Qt::blue);
        savePicture("images/generic.bmp", QSize(32, 90), Qt::green);
        savePicture("images/empty.png", QSize(25, 25), Qt::white);
        savePicture("images/led_off.bmp", QSize(16, 16), Qt::darkGray);
        fillStore();
        QJsonObject unknown = TvTestMachine::adapter(4, 0, 4, QStringLiteral("01FF"));
        QJsonObject other = TvTestMachine::adapter(5, 0, 5);
        other[QStringLiteral("vendorId")] = QStringLiteral("1B2C");
        machine.adapters = {TvTestMachine::adapter(2, 1, 2),
                            TvTestMachine::adapter(3, 0, -1, QStringLiteral("0101")), unknown,
                            other};
    }

    ~Fixture()
    {
        for (int fd : heldLocks)
            ::close(fd);
        CoreDeinit();
        CAdapterInfo::instance().clear();
        TvProgram::reset();
    }

    bool startCore()
    {
        machine.install();
        return CoreInit() == 0;
    }

    // Takes an adapter's lock as another running instance would: the core
    // holds an open-file-description write lock on the whole file.
    int holdElsewhere(int bus, int device)
    {
        const QString path = machine.lockDir() + QStringLiteral("/adapter-%1-%2.lock").arg(bus).arg(device);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0644);
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        if (fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &whole) == 0) {
            heldLocks.append(fd);
            return fd;
        }
        if (fd >= 0)
            ::close(fd);
        return -1;
    }

    void release(int fd)
    {
        heldLocks.removeAll(fd);
        ::close(fd);
    }

    QTemporaryDir base;
    TvTestMachine machine;

private:
    void savePicture(const char *name, const QSize &size, Qt::GlobalColor color)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        image.save(base.filePath(QLatin1String(name)));
    }

    static CTestCase testCase(const QString &name, int loop, const QList<int> &ids)
    {
        CTestCase t;
        t.testname = name;
        t.menuentry = QLatin1Char('&') + name;
        t.accel = QStringLiteral("Ctrl+%1").arg(ids.isEmpty() ? 0 : ids.first() / 100);
        t.allow_loop = loop;
        t.all_tests = 1;
        for (int id : ids)
            t.subtests.append({QStringLiteral("Step %1").arg(id), QString(), id});
        return t;
    }

    void fillStore()
    {
        CAdapterInfo &info = CAdapterInfo::instance();
        info.clear();
        info.name = QStringLiteral("Test Diagnostics");
        info.basepath = base.path();
        info.poll_interval = 700;
        info.vendorIds = {PciIdEntry{0xABCD, 0}};
        CAdapterEntry dual;
        dual.id = DualKey;
        dual.name = QStringLiteral("Orlin Dual");
        dual.pixmap = QStringLiteral("images/dual.png");
        dual.testCaseIds = {1, 2};
        CAdapterEntry single;
        single.id = SingleKey;
        single.name = QStringLiteral("Orlin Single");
        single.pixmap = QStringLiteral("images/missing.png");
        single.testCaseIds = {2, 1};
        info.adapters.insert(dual.id, dual);
        info.adapters.insert(single.id, single);
        info.testCases.insert(9999, testCase(QStringLiteral("All tests"), 1, {}));
        info.testCases.insert(1, testCase(QStringLiteral("Register test"), 1, {101, 102}));
        info.testCases.insert(2, testCase(QStringLiteral("Memory test"), 0, {201}));
    }

    QList<int> heldLocks;
};

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

QList<QListWidgetItem *> rowsOf(QListWidget *list)
{
    QList<QListWidgetItem *> items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i));
    return items;
}

QStringList actionNames(QMenu *menu)
{
    QStringList names;
    for (QAction *a : menu->actions())
        names.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

// The text of a log line without its 24-character time stamp and blank.
QString logText(TvDiagMainWindow &w, int row)
{
    return w.logModel()->line(row).mid(25);
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
    void refreshRebuildsOnlyForOtherHolders();
    void picksOfTheAdapterList();
    void failingSelectionLeavesNoAdapter();
    void aPersistentSelectFailureIsShownOnce();
    void rowsHoldTheirTextWithoutPictures();
    void portCountFollowsTheThirdValue();
    void tabsDriveTheirTimers();
    void closeWhileTheCoreIsBusyAsks();
    void questionsAndLogLines();
    void noRawKeyIsShown();
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
    Fixture f;
    TvProgram::runSettings()[0] = advanced ? 1 : 0;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;

    QVERIFY(!w.constructionFailed());
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(w.windowTitle(), TvProgram::bannerText());
    QVERIFY(w.minimumWidth() == 630 && w.minimumHeight() == 450);

    auto *tabs = child<QTabWidget>(&w, "TvDiagDataTab");
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages.append(tabs->widget(i)->objectName());
    QStringList expected = {"AdapterTab", "TestTab", "MonTab", "ConfigTab", "SensorTab", "LogfileTab", "GeneralTab"};
    if (!advanced)
        expected.removeAll(QStringLiteral("MonTab"));
    QCOMPARE(pages, expected);

    auto *menuBar = child<QMenuBar>(&w, "TvDiagMenuBar");
    QCOMPARE(menuBar->actions().size(), 5);
    const QStringList file = actionNames(child<QMenu>(&w, "fileMenu"));
    const QStringList flash = actionNames(child<QMenu>(&w, "flashMenu"));
    const QStringList vpd = actionNames(child<QMenu>(&w, "vpdMenu"));
    const QStringList tests = actionNames(child<QMenu>(&w, "testMenu"));
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
    QCOMPARE(actionNames(child<QMenu>(&w, "helpMenu")),
             QStringList({"helpManualAction", "-", "helpAboutAction"}));

    // The first refresh picked the first adapter that can be picked.
    QCOMPARE(w.currentAdapterIndex(), 0);
    QCOMPARE(child<QLabel>(&w, "TvDiagCardLabel")->text(), QStringLiteral("Orlin Dual"));
    QCOMPARE(child<QListWidget>(&w, "AdapterListBox")->currentRow(), 0);
    QVERIFY(w.findChild<QAction *>(QStringLiteral("allTests"))->isEnabled());
    for (int k = 0; k < TvDiagMainWindow::RowCount; ++k)
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("TvTestCase[%1]").arg(k)));

    QVERIFY(w.adapterTimer() && w.adapterTimer()->isActive());
    QCOMPARE(w.adapterTimer()->interval(), 5000);
    QVERIFY(!w.sensorTimer()->isActive() && !w.generalInfoTimer()->isActive()
            && !w.locateTimer()->isActive());
    QVERIFY(child<QPushButton>(&w, "SaveToFileButton")->isEnabled());
    QVERIFY(!child<QPushButton>(&w, "CancelTestButton")->isEnabled());
    // The start button follows the selected list entry.
    QVERIFY(child<QPushButton>(&w, "StartTestButton")->isEnabled());
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
    Fixture f;
    if (situation == QLatin1String("unknown only"))
        f.machine.adapters = {f.machine.adapters.at(2), f.machine.adapters.at(3)};
    if (situation == QLatin1String("fault"))
        qputenv("PROBEKIT_FAULT", "AdapterEnumerate=1");
    QVERIFY(f.startCore());
    if (situation == QLatin1String("held")) {
        QVERIFY(f.holdElsewhere(2, 1) >= 0);
        QVERIFY(f.holdElsewhere(3, 0) >= 0);
    }
    TvScriptedDialogs dialogs;
    auto w = std::make_unique<TvDiagMainWindow>();
    qunsetenv("PROBEKIT_FAULT");

    QVERIFY(w->constructionFailed());
    QCOMPARE(dialogs.messageTexts(), QStringList({key}));
    QCOMPARE(dialogs.asked.first().icon, TvDialogSeam::Critical);
    QCOMPARE(dialogs.asked.first().caption, TvProgram::bannerText());
    QCOMPARE(dialogs.asked.first().buttons, QList<int>({TvDialogSeam::Ok}));
    QCOMPARE(w->currentAdapterIndex(), -1);
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
    Fixture f;
    QVERIFY(f.startCore());
    if (heldElsewhere)
        QVERIFY(f.holdElsewhere(3, 0) >= 0);
    TvProgram::setPreselection(bus, device);
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;

    QVERIFY(!w.constructionFailed());
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(w.currentAdapterIndex(), expected);
    auto *list = child<QListWidget>(&w, "AdapterListBox");
    QCOMPARE(list->currentRow(), expected);
    QVERIFY(list->item(expected)->isSelected());
    QCOMPARE(child<QLabel>(&w, "TvDiagCardLabel")->text(),
             expected == 1 ? QStringLiteral("Orlin Single") : QStringLiteral("Orlin Dual"));
}

void TestUiMainWindow::refreshRebuildsOnlyForOtherHolders()
{
    Fixture f;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;
    auto *list = child<QListWidget>(&w, "AdapterListBox");

    // The other vendor's adapter is filtered out; the rest are described.
    QCOMPARE(list->count(), 3);
    auto *dual = static_cast<AdapterListItem *>(list->item(0));
    auto *single = static_cast<AdapterListItem *>(list->item(1));
    auto *unknown = static_cast<AdapterListItem *>(list->item(2));
    QCOMPARE(dual->lines().value(0), QStringLiteral("IN_SLOT Orlin Dual 2"));
    QCOMPARE(dual->lines().value(1),
             QStringLiteral("Vendor-ID:ABCD Device-ID:0102 Subvendor-ID:ABCD Subsystem-ID:0001"));
    QVERIFY(dual->lines().value(2).isNull());
    QCOMPARE(single->lines().value(0), QStringLiteral("DEVICE_ON_BUS Orlin Single 0 3"));
    QCOMPARE(unknown->lines().value(0), QStringLiteral("ADAPTER_UNKNOWNIN_SLOT  4"));
    QVERIFY(!unknown->isSelectable() && unknown->isMonochrome());
    // A missing picture falls back to the generic one.
    QCOMPARE(single->picture().size(), QSize(32, 90));
    QCOMPARE(dual->picture().size(), QSize(40, 80));
    QCOMPARE(dual->picture().toImage().pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(unknown->picture().size(), QSize(32, 90));

    // This window holds the dual-port adapter, and the core says so; it
    // stays the selectable, selected row.
    QVERIFY(w.adapterTable()[0].inUse != 0);
    QVERIFY(dual->isSelectable() && !dual->isMonochrome());

    const QList<QListWidgetItem *> before = rowsOf(list);
    QCOMPARE(w.adapterTimerExpired(), 0);
    QCOMPARE(rowsOf(list), before);
    QVERIFY(list->item(0)->isSelected());

    // Another instance takes the single-port adapter: the list is rebuilt.
    const int lock = f.holdElsewhere(3, 0);
    QVERIFY(lock >= 0);
    QCOMPARE(w.adapterTimerExpired(), 0);
    QVERIFY(rowsOf(list) != before);
    auto *taken = static_cast<AdapterListItem *>(list->item(1));
    QVERIFY(!taken->isSelectable() && taken->isMonochrome());
    QVERIFY(taken->lines().value(0).startsWith(QStringLiteral("ALREADY_DIAGNOSED")));
    const QColor grey = taken->picture().toImage().pixelColor(3, 3);
    QVERIFY(grey.red() == grey.green() && grey.green() == grey.blue());
    QVERIFY(list->item(0)->isSelected());
    QVERIFY(static_cast<AdapterListItem *>(list->item(0))->isSelectable());
    QCOMPARE(w.currentAdapterIndex(), 0);

    // Released again: rebuilt once more, and pickable.
    const QList<QListWidgetItem *> whileHeld = rowsOf(list);
    f.release(lock);
    QCOMPARE(w.adapterTimerExpired(), 0);
    QVERIFY(rowsOf(list) != whileHeld);
    QVERIFY(static_cast<AdapterListItem *>(list->item(1))->isSelectable());
    QVERIFY(dialogs.asked.isEmpty());
}

void TestUiMainWindow::picksOfTheAdapterList()
{
    Fixture f;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;
    auto *list = child<QListWidget>(&w, "AdapterListBox");
    TvLogModel *log = w.logModel();
    // The first pick, made by the construction, logged its three lines.
    QCOMPARE(log->count(), 3);
    QCOMPARE(logText(w, 0), QString(60, QLatin1Char('=')));
    QCOMPARE(logText(w, 1), QStringLiteral("Orlin Dual"));
    QCOMPARE(logText(w, 2),
             QStringLiteral("Vendor-ID: ABCD Device-ID:0102 Subvendor-ID:ABCD Subsystem-ID:0001"));

    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Rows are as high as their picture and 5 pixels more, 500 wide.
    QCOMPARE(list->visualItemRect(list->item(0)).height(), 80 + 5);
    QCOMPARE(list->visualItemRect(list->item(1)).height(), 90 + 5);
    QCOMPARE(list->itemDelegate()->sizeHint(QStyleOptionViewItem(), list->model()->index(1, 0)).width(), 500);
    auto click = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
    };

    // A monochrome row sends the selection back to the current adapter.
    click(2);
    QVERIFY(list->item(0)->isSelected());
    QVERIFY(!list->item(2)->isSelected());
    QCOMPARE(w.currentAdapterIndex(), 0);

    // The current adapter's row: nothing happens, nothing is logged.
    w.AdapterClickedSlot(list->item(0));
    QCOMPARE(log->count(), 3);

    // A real pick selects, logs and leaves logging as it was. Only this
    // window's adapters changed hands, so the rows stay as they were.
    const QList<QListWidgetItem *> before = rowsOf(list);
    click(1);
    QCOMPARE(rowsOf(list), before);
    QCOMPARE(w.currentAdapterIndex(), 1);
    QCOMPARE(child<QLabel>(&w, "TvDiagCardLabel")->text(), QStringLiteral("Orlin Single"));
    QCOMPARE(log->count(), 6);
    QCOMPARE(logText(w, 4), QStringLiteral("Orlin Single"));
    QCOMPARE(logText(w, 5),
             QStringLiteral("Vendor-ID: ABCD Device-ID:0101 Subvendor-ID:ABCD Subsystem-ID:0001"));
    QCOMPARE(w.addLogLine(QStringLiteral("dropped")), 1);
    QVERIFY(list->item(1)->isSelected());
    QVERIFY(dialogs.asked.isEmpty());

    // A row shown free whose adapter was taken meanwhile: the core refuses.
    QVERIFY(f.holdElsewhere(2, 1) >= 0);
    w.AdapterClickedSlot(list->item(0));
    QCOMPARE(dialogs.messageTexts(), QStringList({QStringLiteral("ADAPTER_LOCK_FAILED")}));
    QCOMPARE(w.currentAdapterIndex(), -1);
}

void TestUiMainWindow::failingSelectionLeavesNoAdapter()
{
    Fixture f;
    QJsonObject single = f.machine.adapters.at(1).toObject();
    single[QStringLiteral("faults")] = QJsonObject{{QStringLiteral("AdapterSelect"), 11}};
    f.machine.adapters[1] = single;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;
    QCOMPARE(w.currentAdapterIndex(), 0);
    auto *tests = child<QTreeWidget>(&w, "TestCasesListView");
    QVERIFY(tests->topLevelItemCount() > 0);

    w.selectAdapter(1);
    QCOMPARE(dialogs.messageTexts(), QStringList({TvDiagMainWindow::statusText(11)}));
    const auto &box = dialogs.asked.first();
    QCOMPARE(box.icon, TvDialogSeam::Critical);
    QCOMPARE(box.buttons, QList<int>({TvDialogSeam::Cancel}));
    QCOMPARE(box.buttonTexts, QStringList({QStringLiteral("CANCEL_TEXT")}));
    QCOMPARE(w.currentAdapterIndex(), -1);
    QVERIFY(child<QLabel>(&w, "TvDiagCardLabel")->text().isEmpty());
    QCOMPARE(tests->topLevelItemCount(), 0);
    QVERIFY(!tests->isEnabled());
    QVERIFY(!w.findChild<QAction *>(QStringLiteral("allTests"))->isEnabled());
    QVERIFY(!w.findChild<QAction *>(QStringLiteral("flashSaveAction"))->isEnabled());
    QCOMPARE(child<QLabel>(&w, "NetDrvNameText")->text(), QStringLiteral("NOT_AVAILABLE"));
    QCOMPARE(child<QLabel>(&w, "loopCountValueLabel")->text(), QStringLiteral("0"));
    for (int k = 0; k < TvDiagMainWindow::RowCount; ++k)
        QVERIFY(w.testRow(k)->isHidden());
    // No menu entry of the adapter's test cases is left behind.
    QCOMPARE(actionNames(child<QMenu>(&w, "testMenu")),
             QStringList({"allTests", "connectivityTest"}));
}

void TestUiMainWindow::aPersistentSelectFailureIsShownOnce()
{
    Fixture f;
    f.machine.faults = QJsonObject{{QStringLiteral("AdapterSelect"), 29}};
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;
    QCOMPARE(w.currentAdapterIndex(), -1);
    // Every refresh picks again and fails again; the box came once, the
    // later failures are logged.
    for (int refresh = 0; refresh < 3; ++refresh)
        QCOMPARE(w.adapterTimerExpired(), 0);
    QCOMPARE(dialogs.messageTexts(), QStringList({TvDiagMainWindow::statusText(29)}));
    int logged = 0;
    for (int i = 0; i < w.logModel()->count(); ++i)
        logged += logText(w, i) == TvDiagMainWindow::statusText(29) ? 1 : 0;
    QCOMPARE(logged, 3);

    // Once a pick succeeds, a new failure is shown again.
    qputenv("PROBEKIT_FAULT", "AdapterSelect=0");
    QCOMPARE(w.adapterTimerExpired(), 0);
    QCOMPARE(w.currentAdapterIndex(), 0);
    qputenv("PROBEKIT_FAULT", "AdapterSelect=29");
    w.selectAdapter(1);
    qunsetenv("PROBEKIT_FAULT");
    QCOMPARE(dialogs.messageTexts().size(), 2);
}

void TestUiMainWindow::rowsHoldTheirTextWithoutPictures()
{
    Fixture f;
    QTemporaryDir nowhere;
    CAdapterInfo::instance().basepath = nowhere.path();
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *list = child<QListWidget>(&w, "AdapterListBox");
    const int lineHeight = QFontMetrics(list->font()).height();
    for (int row = 0; row < list->count(); ++row)
        QVERIFY(list->visualItemRect(list->item(row)).height() >= 2 * lineHeight + 5);
}

void TestUiMainWindow::portCountFollowsTheThirdValue()
{
    Fixture f;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    ProbedWindow w;
    auto *portB = child<QLabel>(&w, "PortBLabel");
    auto *ports = child<QGroupBox>(&w, "PortButtonGroup");
    const QStringList portBWidgets = {"PortBLabel", "LinkLedB", "ActivityLedB", "DuplexModeTextB", "SpeedModeTextB"};

    for (const QString &value : {QStringLiteral("2"), QStringLiteral("2 x"), QStringLiteral("1")}) {
        w.thirdValue = value;
        w.selectAdapter(value == QLatin1String("2") ? 1 : 0);
        const bool dual = value == QLatin1String("2");
        for (const QString &name : portBWidgets)
            QCOMPARE(!w.findChild<QWidget *>(name)->isHidden(), dual);
        QCOMPARE(ports->isEnabled(), dual);
        QCOMPARE(child<QLabel>(&w, "PortALabel")->text(), dual ? QStringLiteral("PORT_A") : QString());
        if (dual)
            QCOMPARE(portB->text(), QStringLiteral("PORT_B"));
        // Controls released after a run follow the port count as well.
        w.setControlsEnabled(true);
        QCOMPARE(ports->isEnabled(), dual);
    }
    QVERIFY(dialogs.asked.isEmpty());
}

void TestUiMainWindow::tabsDriveTheirTimers()
{
    Fixture f;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;
    auto *tabs = child<QTabWidget>(&w, "TvDiagDataTab");

    tabs->setCurrentWidget(child<QWidget>(&w, "SensorTab"));
    QVERIFY(w.sensorTimer()->isActive());
    QCOMPARE(w.sensorTimer()->interval(), 700);
    QVERIFY(!w.generalInfoTimer()->isActive());

    tabs->setCurrentWidget(child<QWidget>(&w, "GeneralTab"));
    QVERIFY(!w.sensorTimer()->isActive());
    QVERIFY(w.generalInfoTimer()->isActive());
    QCOMPARE(w.generalInfoTimer()->interval(), 1000);

    tabs->setCurrentWidget(child<QWidget>(&w, "LogfileTab"));
    QVERIFY(!w.sensorTimer()->isActive() && !w.generalInfoTimer()->isActive());

    // Picking an adapter stops the sensor poll.
    tabs->setCurrentWidget(child<QWidget>(&w, "SensorTab"));
    w.selectAdapter(1);
    QVERIFY(!w.sensorTimer()->isActive());
    QVERIFY(w.adapterTimer()->isActive());
}

void TestUiMainWindow::closeWhileTheCoreIsBusyAsks()
{
    Fixture f;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    ProbedWindow w;

    // The adapter's selection lines are unsaved log lines: given up here.
    dialogs.answerMessage(TvDialogSeam::No);
    QCloseEvent idle;
    QApplication::sendEvent(&w, &idle);
    QVERIFY(idle.isAccepted());
    QCOMPARE(dialogs.messageTexts(), QStringList({QStringLiteral("LOGFILE_UNSAVED")}));
    dialogs.asked.clear();

    w.setCoreBusy(true);
    dialogs.answerMessage(TvDialogSeam::No);
    QCloseEvent refused;
    QApplication::sendEvent(&w, &refused);
    QVERIFY(!refused.isAccepted());
    QCOMPARE(dialogs.messageTexts(), QStringList({QStringLiteral("TEST_STILL_RUNNING")}));
    QCOMPARE(dialogs.asked.first().icon, TvDialogSeam::Information);
    QCOMPARE(dialogs.asked.first().buttons, QList<int>({TvDialogSeam::Yes, TvDialogSeam::No}));

    dialogs.answerMessage(TvDialogSeam::Yes);
    dialogs.answerMessage(TvDialogSeam::No);
    QCloseEvent accepted;
    QApplication::sendEvent(&w, &accepted);
    QVERIFY(accepted.isAccepted());
}

void TestUiMainWindow::questionsAndLogLines()
{
    Fixture f;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    ProbedWindow w;

    QCOMPARE(w.showQuestion(nullptr), int(TvDialogSeam::Cancel));
    QVERIFY(dialogs.asked.isEmpty());
    const TvDiagMainWindow::Question question{QStringLiteral("IS_LINK_LED_ON"), TvDialogSeam::Yes,
                                              TvDialogSeam::No, TvDialogSeam::NoButton};
    dialogs.answerMessage(TvDialogSeam::No);
    w.setRunning(true);
    QCOMPARE(w.showQuestion(&question), int(TvDialogSeam::No));
    w.setRunning(false);
    QCOMPARE(dialogs.asked.first().icon, TvDialogSeam::Information);
    QCOMPARE(dialogs.asked.first().caption, TvProgram::bannerText());
    QCOMPARE(dialogs.asked.first().text, QStringLiteral("IS_LINK_LED_ON"));
    QCOMPARE(dialogs.asked.first().buttons, QList<int>({TvDialogSeam::Yes, TvDialogSeam::No}));
    // The question leaves the cursor as it found it.
    QVERIFY(!QApplication::overrideCursor());

    const int lines = w.logModel()->count();
    QCOMPARE(w.addLogLine(QStringLiteral("off")), 1);
    QCOMPARE(w.logModel()->count(), lines);
    w.setLogging(true);
    QCOMPARE(w.addLogLine(QStringLiteral("a\tb\nc")), 0);
    QCOMPARE(w.logModel()->count(), lines + 1);
    const QRegularExpression stamped(
        QStringLiteral("^[A-Z][a-z]{2} [A-Z][a-z]{2} [ \\d]\\d \\d\\d:\\d\\d:\\d\\d \\d{4} a   b c$"));
    QVERIFY2(stamped.match(w.logModel()->line(lines)).hasMatch(), qPrintable(w.logModel()->line(lines)));
}

void TestUiMainWindow::noRawKeyIsShown()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
    QCoreApplication::installTranslator(&english);
    Fixture f;
    TvProgram::runSettings()[0] = 1;
    QVERIFY(f.startCore());
    TvScriptedDialogs dialogs;
    TvDiagMainWindow w;
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
    auto *tabs = child<QTabWidget>(&w, "TvDiagDataTab");
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

QTEST_MAIN(TestUiMainWindow)
#include "test_ui_mainwindow.moc"
