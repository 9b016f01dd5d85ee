// Every core function failing in turn, through the program's main paths:
// start-up and the console listing (the program run as a user starts it),
// adapter selection, a test run with the log saved, the VPD and flash PROM
// menus, the polled tabs, locate, the connectivity test and the console.
// Each row checks that the failure is shown in words (the English
// catalogue is loaded, so a message key left as it is stands out), that
// the controls are free again afterwards, and, for start-up, the exit
// status.
#include "TvUiRig.h"

#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"
#include "engine/TvWorkerThread.h"
#include "text/TvProgram.h"
#include "text/TvText.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestProgress.h"
#include "ui/testpage/TvTestRun.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>

namespace {

QString english(const char *key)
{
    return TvText::translate("TvDiagMainWindow", key);
}

// While it lives, the core function of `entry` ("Function=status") fails.
// The simulated core reads the switch at every call.
class Fault
{
public:
    explicit Fault(const QByteArray &entry) { qputenv("PROBEKIT_FAULT", entry); }
    ~Fault() { qunsetenv("PROBEKIT_FAULT"); }
    Fault(const Fault &) = delete;
    Fault &operator=(const Fault &) = delete;
};

// The whole window over a real worker, advanced mode on. Two adapters of
// the dual-port model (bus 2 and bus 3) with a driver, an address, a link,
// a sensor and writable VPD; the first is selected by the window itself.
// Test cases: all tests, "Register test" (101, 102, part of all tests) and
// the connectivity entry.
class Rig : public TvUiRig
{
public:
    // `tests`: the machine's behaviours by sub-test number.
    explicit Rig(const QJsonObject &tests = QJsonObject())
    {
        TvProgram::runSettings()[0] = 1;
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {1, 9998});
        CAdapterInfo &info = CAdapterInfo::instance();
        info.testCases.insert(9999, testCase(QStringLiteral("All tests"), {}));
        info.testCases.insert(1, testCase(QStringLiteral("Register test"), {101, 102}, 1, 1));
        info.testCases.insert(9998, testCase(QStringLiteral("Connectivity"), {9801}));
        info.flash_path = QStringLiteral("flash");
        info.flash_ext = QStringList({QStringLiteral("bin")});
        info.flash_size = 131072;
        QDir().mkpath(basePath(QStringLiteral("flash")));
        machine.adapters = {adapter(2, 1), adapter(3, 0)};
        machine.tests = tests;
        started = startCore();
        windowWithWorker();
        tabs = child<QTabWidget>("TvDiagDataTab");
        dialogs.asked.clear();
        mark();
    }

    static QJsonObject adapter(int bus, int device)
    {
        QJsonObject a = TvTestMachine::adapter(bus, device, bus);
        a[QStringLiteral("driver")] = QJsonObject{{QStringLiteral("name"), QStringLiteral("orlin")}};
        a[QStringLiteral("ip")] = QJsonObject{{QStringLiteral("address"), QStringLiteral("127.0.0.1")},
                                              {QStringLiteral("mask"), QStringLiteral("255.0.0.0")}};
        a[QStringLiteral("ports")] = QJsonArray{QJsonObject{{QStringLiteral("link"), true}}};
        a[QStringLiteral("vpd")] = QJsonObject{{QStringLiteral("Name"), QStringLiteral("Bench Card")},
                                               {QStringLiteral("SN"), QStringLiteral("S-1")},
                                               {QStringLiteral("V1"), QStringLiteral("one")}};
        a[QStringLiteral("sensors")] = QJsonArray{QJsonObject{
            {QStringLiteral("name"), QStringLiteral("Voltage VCC")}, {QStringLiteral("type"), 0},
            {QStringLiteral("min"), 0}, {QStringLiteral("max"), 6}, {QStringLiteral("nominal"), 5.0},
            {QStringLiteral("value"), 5.0}}};
        return a;
    }

    // What the user was shown since the rig was built: every box, the log
    // and the test rows' results.
    QStringList shown()
    {
        QStringList texts = dialogs.messageTexts() + log();
        for (int k = 0; k < TvTestPage::RowCount; ++k)
            texts.append(row(k)->resultText());
        return texts;
    }

    // The window is idle and every control it locks for core work is free.
    bool controlsFree()
    {
        bool free = !isRunning() && !window().run()->coreIsBusy() && !QApplication::overrideCursor()
                    && tabs->isEnabled() && child<QListWidget>("AdapterListBox")->isEnabled()
                    && child<QPushButton>("locateNIC_Btn")->isEnabled()
                    && child<QPushButton>("allTestBtn")->isEnabled();
        for (const char *action : {"fileNewAction", "fileSaveAction", "fileSaveAsAction",
                                   "fileExitAction", "fileCurrLog"})
            free = free && child<QAction>(action)->isEnabled();
        // The adapter's own menus follow whether one is selected.
        const bool selected = window().adapterSession()->currentIndex() >= 0;
        for (const char *action : {"flashSaveAction", "vpdDisplayAction"})
            free = free && child<QAction>(action)->isEnabled() == selected;
        return free && child<QPushButton>("StartTestButton")->isEnabled() == selected
               && !child<QPushButton>("CancelTestButton")->isEnabled();
    }

    void showTab(const char *name) { tabs->setCurrentWidget(child<QWidget>(name)); }

    bool started = false;
    QTabWidget *tabs = nullptr;
};

// Every check a row of a window path ends with.
void checkAftermath(Rig &rig, const QString &expectedBox)
{
    if (!expectedBox.isEmpty())
        QVERIFY2(rig.dialogs.messageTexts().contains(expectedBox),
                 qPrintable(rig.dialogs.messageTexts().join(QLatin1String(" | "))));
    QCOMPARE(TvUiRig::rawKeys(rig.shown()), QStringList());
    QTRY_VERIFY(rig.controlsFree());
    QCOMPARE(rig.dialogs.pendingAnswers(), 0);
}

} // namespace

class TestCoreFaults : public QObject
{
    Q_OBJECT

private:
    QTranslator catalogue;

private slots:
    void initTestCase()
    {
        QVERIFY(catalogue.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
        QCoreApplication::installTranslator(&catalogue);
    }
    void cleanupTestCase() { QCoreApplication::removeTranslator(&catalogue); }

    void startUp_data();
    void startUp();
    void selectingAnAdapter_data();
    void selectingAnAdapter();
    void testRunAndLogSave_data();
    void testRunAndLogSave();
    void vpdMenu_data();
    void vpdMenu();
    void flashMenu_data();
    void flashMenu();
    void polledTabsAndLocate_data();
    void polledTabsAndLocate();
    void connectivityTest_data();
    void connectivityTest();
    void consoleCommand();
};

// Start-up and the listing as a user meets them: the program itself, with
// the shipped description files over the shipped machine.
void TestCoreFaults::startUp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("said");
    const QStringList list{QStringLiteral("-l")}, window;
    QTest::newRow("listing, CoreInit") << list << QByteArray("CoreInit=3") << 255
                                       << QByteArray("could not be initialised");
    QTest::newRow("window, CoreInit") << window << QByteArray("CoreInit=12") << 255
                                      << QByteArray("could not be initialised");
    QTest::newRow("listing, AdapterEnumerate") << list << QByteArray("AdapterEnumerate=10") << 0
                                               << QByteArray("could not be read");
    QTest::newRow("window, AdapterEnumerate") << window << QByteArray("AdapterEnumerate=10") << 255
                                              << english("ADAPTER_LIST_FAILED").toUtf8();
    QTest::newRow("listing, CoreDeinit") << list << QByteArray("CoreDeinit=13") << 255
                                         << QByteArray("could not be de-initialised");
    QTest::newRow("listing, AdapterSelect") << list << QByteArray("AdapterSelect=29") << 0
                                            << QByteArray("Installed Orlin adapters");
    QTest::newRow("listing, VpdReadKeyword") << list << QByteArray("VpdReadKeyword=16") << 0
                                             << QByteArray("Installed Orlin adapters");
    QTest::newRow("listing, StatGetInfo") << list << QByteArray("StatGetInfo=1") << 0
                                          << QByteArray("Installed Orlin adapters");
}

void TestCoreFaults::startUp()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, fault);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, said);
    QTemporaryDir state;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"PROBEKIT_MACHINE", "PROBEKIT_TIME_SCALE", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("PROBEKIT_STATE_DIR"), state.path());
    env.insert(QStringLiteral("PROBEKIT_LOCK_DIR"), state.path());
    // Qt warns, with the variable's name, when there is none.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), state.path());
    env.insert(QStringLiteral("PROBEKIT_FAULT"), QString::fromLatin1(fault));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(state.path());
    program.start(QStringLiteral(NICDIAG_RUN_DIR "/nicdiag"), arguments);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QByteArray out = program.readAllStandardOutput() + program.readAllStandardError();
    QCOMPARE(program.exitCode(), exitCode);
    QVERIFY2(out.contains(said), out.constData());
    QCOMPARE(TvUiRig::rawKeys(QString::fromUtf8(out).split(QLatin1Char('\n'))), QStringList());
}

void TestCoreFaults::selectingAnAdapter_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("box");
    QTest::newRow("AdapterSelect") << QByteArray("AdapterSelect=29") << TvStatusCodes::statusText(29);
    QTest::newRow("VpdReadKeyword") << QByteArray("VpdReadKeyword=17") << QString();
    QTest::newRow("SensorGetList") << QByteArray("SensorGetList=26") << TvStatusCodes::statusText(26);
    QTest::newRow("AdapterEnumerate") << QByteArray("AdapterEnumerate=10") << QString();
    QTest::newRow("DriverOpen") << QByteArray("DriverOpen=31") << QString();
    QTest::newRow("DriverQueryOid") << QByteArray("DriverQueryOid=32") << QString();
}

void TestCoreFaults::selectingAnAdapter()
{
    QFETCH(QByteArray, fault);
    QFETCH(QString, box);
    Rig rig;
    QVERIFY(rig.started);
    auto *list = rig.child<QListWidget>("AdapterListBox");
    {
        Fault failing(fault);
        rig.window().AdapterClickedSlot(list->item(1));
    }
    checkAftermath(rig, box);
    QCOMPARE(rig.dialogs.asked.size(), box.isEmpty() ? 0 : 1);
    // The pick's lines in the log say that it failed.
    if (fault.startsWith("AdapterSelect"))
        QVERIFY(rig.logHas(box));
}

void TestCoreFaults::testRunAndLogSave_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("TestRun") << QByteArray("TestRun=12") << 1 << false;
    QTest::newRow("TestSeriesBegin") << QByteArray("TestSeriesBegin=8") << 9999 << false;
    QTest::newRow("TestSeriesEnd") << QByteArray("TestSeriesEnd=8") << 9999 << false;
    QTest::newRow("TestCancel") << QByteArray("TestCancel=8") << 1 << true;
    QTest::newRow("VpdReadKeyword") << QByteArray("VpdReadKeyword=16") << 1 << false;
}

void TestCoreFaults::testRunAndLogSave()
{
    QFETCH(QByteArray, fault);
    QFETCH(int, entry);
    QFETCH(bool, cancel);
    // The first sub-test asks a question; a cancel comes while it is open.
    const QJsonObject question{{QStringLiteral("message"), 12},
                               {QStringLiteral("buttons"), QJsonArray{3, 4, 0}},
                               {QStringLiteral("expect"), 3}};
    Rig rig({{QStringLiteral("101"),
              QJsonObject{{QStringLiteral("steps"), QJsonArray{QJsonObject{{QStringLiteral("ask"), question}}}}}}});
    QVERIFY(rig.started);
    rig.dialogs.whileOpen = [&](const QString &) {
        if (cancel && rig.isRunning())
            rig.click("CancelTestButton");
    };
    rig.pick(entry);
    {
        Fault failing(fault);
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.isRunning());
    }
    if (fault.startsWith("TestRun="))
        QCOMPARE(rig.row(0)->resultText(), english("TEST_CASE_FAILED"));
    const QString saved = rig.basePath(QStringLiteral("logs/run.log"));
    rig.dialogs.answerFile(saved);
    rig.child<QAction>("fileSaveAsAction")->trigger();
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QVERIFY(lines.size() > 3);
    QCOMPARE(TvUiRig::rawKeys(lines), QStringList());
    checkAftermath(rig, QString());
}

void TestCoreFaults::vpdMenu_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QByteArray>("fault");
    QTest::newRow("view, VpdListKeywords") << QByteArray("vpdviewSlot") << QByteArray("VpdListKeywords=17");
    QTest::newRow("view, VpdReadKeyword") << QByteArray("vpdviewSlot") << QByteArray("VpdReadKeyword=16");
    QTest::newRow("edit, VpdWriteKeyword") << QByteArray("vpdEditSlot") << QByteArray("VpdWriteKeyword=22");
    QTest::newRow("delete, VpdDeleteKeyword") << QByteArray("vpdDelete") << QByteArray("VpdDeleteKeyword=21");
}

void TestCoreFaults::vpdMenu()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArray, fault);
    Rig rig;
    QVERIFY(rig.started);
    // The user changes V1 in the edit dialog, or picks every row to delete.
    rig.dialogs.onDialog = [](QDialog *dialog) {
        auto *table = dialog->findChild<QTableWidget *>();
        for (int r = 0; table && r < table->rowCount(); ++r) {
            auto *keyword = qobject_cast<QLineEdit *>(table->cellWidget(r, 0));
            if (keyword && keyword->text() == QLatin1String("V1"))
                qobject_cast<QLineEdit *>(table->cellWidget(r, 1))->setText(QStringLiteral("uno"));
        }
        if (table && table->selectionMode() == QAbstractItemView::MultiSelection)
            table->selectAll();
        return int(QDialog::Accepted);
    };
    {
        Fault failing(fault);
        QVERIFY(QMetaObject::invokeMethod(&rig.window(), slot.constData()));
    }
    checkAftermath(rig, TvStatusCodes::statusText(fault.split('=').last().toInt()));
}

void TestCoreFaults::flashMenu_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QList<int>>("answers");
    QTest::newRow("save") << QByteArray("flashSaveSlot") << QByteArray("FlashSaveImage=23") << QList<int>();
    QTest::newRow("load") << QByteArray("flashLoadSlot") << QByteArray("FlashLoadImage=28") << QList<int>();
    QTest::newRow("erase") << QByteArray("flashClearSlot") << QByteArray("FlashErase=27")
                           << QList<int>{TvDialogSeam::Yes, TvDialogSeam::No};
}

void TestCoreFaults::flashMenu()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArray, fault);
    QFETCH(QList<int>, answers);
    Rig rig;
    QVERIFY(rig.started);
    const QString image = rig.basePath(QStringLiteral("flash/image.bin"));
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, '\x5a')) == 4096);
    file.close();
    if (slot != "flashClearSlot")
        rig.dialogs.answerFile(image);
    for (int answer : answers)
        rig.dialogs.answerMessage(answer);
    {
        Fault failing(fault);
        QVERIFY(QMetaObject::invokeMethod(&rig.window(), slot.constData()));
    }
    checkAftermath(rig, TvStatusCodes::statusText(fault.split('=').last().toInt()));
    QVERIFY(rig.child<QAction>("flashSaveAction")->isEnabled());
}

// Polls and locate fail silently: the fields keep their texts or say "not
// available", and nothing asks the user.
void TestCoreFaults::polledTabsAndLocate_data()
{
    QTest::addColumn<QByteArray>("fault");
    for (const char *fault : {"SensorReadValues=4", "DriverOpen=31", "DriverQueryOid=32",
                              "DriverClose=1", "GetIpAddress=4", "GetSubnetMask=4", "LocateLedSet=1"})
        QTest::newRow(fault) << QByteArray(fault);
}

void TestCoreFaults::polledTabsAndLocate()
{
    QFETCH(QByteArray, fault);
    Rig rig;
    QVERIFY(rig.started);
    TvDiagMainWindow &w = rig.window();
    {
        Fault failing(fault);
        rig.showTab("SensorTab");
        w.sensorTimerExpired();
        rig.showTab("GeneralTab");
        w.generalInfoTimerExpired();
        rig.showTab("AdapterTab");
        rig.click("locateNIC_Btn");
        rig.click("locateNIC_Btn");
    }
    QStringList fields;
    for (QLabel *label : rig.child<QWidget>("GeneralTab")->findChildren<QLabel *>())
        fields.append(label->text());
    QCOMPARE(TvUiRig::rawKeys(fields), QStringList());
    QCOMPARE(rig.dialogs.messageTexts(), QStringList());
    checkAftermath(rig, QString());
}

void TestCoreFaults::connectivityTest_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("box");
    const QString noAddress = english("ERROR_NO_IP_ADDR_OR_SUBNET_MASK");
    QTest::newRow("DriverOpen") << QByteArray("DriverOpen=31")
                                << english("OPEN_ADAPTER_FAILED_NO_DRIVER_OR_DISABLED");
    QTest::newRow("DriverQueryOid") << QByteArray("DriverQueryOid=32")
                                    << english("QUERY_OID_LINK_STATE_FAILED");
    QTest::newRow("GetIpAddress") << QByteArray("GetIpAddress=4") << noAddress;
    QTest::newRow("GetSubnetMask") << QByteArray("GetSubnetMask=4") << noAddress;
    // The address dialog then comes, and is cancelled.
    QTest::newRow("DriverClose") << QByteArray("DriverClose=1") << QString();
}

void TestCoreFaults::connectivityTest()
{
    QFETCH(QByteArray, fault);
    QFETCH(QString, box);
    Rig rig;
    QVERIFY(rig.started);
    rig.dialogs.onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    rig.pick(9998);
    rig.tickOnly({0});
    {
        Fault failing(fault);
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.isRunning());
    }
    checkAftermath(rig, box);
    QCOMPARE(rig.worker()->jobCount(), 0);
}

void TestCoreFaults::consoleCommand()
{
    Rig rig;
    QVERIFY(rig.started);
    rig.showTab("AdvancedTab");
    auto *input = rig.child<QLineEdit>("AdvancedLineEdit");
    {
        Fault failing("CommandRun=8");
        input->setText(QStringLiteral("status"));
        QTest::keyClick(input, Qt::Key_Return);
        QTRY_VERIFY(input->isEnabled() && !rig.worker()->isCoreBusy());
    }
    QVERIFY2(!rig.logStarting(english("COMMAND_FAILED %1").arg(QStringLiteral("status"))).isEmpty(),
             qPrintable(rig.log().join(QLatin1Char('\n'))));
    checkAftermath(rig, QString());
}

QTEST_MAIN(TestCoreFaults)
#include "test_core_faults.moc"
