// The test engine in the main window: runs of the ticked rows on a real
// worker thread against the simulated core, fails and loops, cancelling,
// all-tests runs, the Tests menu and the core's questions.
#include "TvScriptedDialogs.h"
#include "TvTestMachine.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"
#include "engine/TvLogModel.h"
#include "engine/TvWorkerThread.h"
#include "text/TvCoreCallbacks.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvTestListItem.h"
#include "ui/TvTestProgress.h"

#include <probekit.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <thread>

namespace {

const QString AdapterKey = QStringLiteral("ABCD:0102:ABCD:0001");

using Dialogs = TvScriptedDialogs;

// The window with its run state in view and hooks around its events.
class ProbedWindow : public TvDiagMainWindow
{
public:
    using TvDiagMainWindow::TvDiagMainWindow;
    bool isRunning() const { return running; }
    bool inAllTests() const { return allTestsMode; }
    std::function<void(int type)> beforeEvent;
    std::function<void(int type)> afterEvent;

protected:
    void customEvent(QEvent *event) override
    {
        const int type = event->type();
        if (beforeEvent)
            beforeEvent(type);
        TvDiagMainWindow::customEvent(event);
        if (afterEvent)
            afterEvent(type);
    }
};

CTestCase testCase(const QString &name, int allTests, const QList<int> &ids)
{
    CTestCase t;
    t.testname = name;
    t.menuentry = QLatin1Char('&') + name;
    t.accel = QStringLiteral("Ctrl+%1").arg(ids.isEmpty() ? 0 : ids.first() % 10);
    t.allow_loop = 1;
    t.all_tests = allTests;
    for (int id : ids)
        t.subtests.append({QStringLiteral("Step %1").arg(id), QString(), id});
    return t;
}

QJsonObject behaviour(const QJsonArray &steps, int status = 0)
{
    return QJsonObject{{QStringLiteral("steps"), steps}, {QStringLiteral("status"), status}};
}

QJsonObject asking(int message, int expect)
{
    return QJsonObject{{QStringLiteral("ask"),
                        QJsonObject{{QStringLiteral("message"), message},
                                    {QStringLiteral("buttons"), QJsonArray{3, 4, 0}},
                                    {QStringLiteral("expect"), expect}}}};
}

// One adapter whose test case list a test chooses, a store with the
// all-tests entry, the connectivity entry, "Register test" (1, rows
// 111..117), "Memory test" (2, rows 201, 202), "Link test" (3, row 301, not
// part of all tests) and spare test cases 10..41 (not part of all tests),
// and a window driving a real worker thread.
class Rig
{
public:
    Rig(const QList<int> &ids, const QJsonObject &behaviours = QJsonObject(),
        const std::function<void(CAdapterInfo &)> &describe = nullptr)
    {
        TvProgram::reset();
        QDir().mkpath(base.filePath(QStringLiteral("images")));
        savePicture("images/empty.png", Qt::white);
        savePicture("images/passed.png", Qt::green);
        savePicture("images/failed.png", Qt::red);

        CAdapterInfo &info = CAdapterInfo::instance();
        info.clear();
        info.name = QStringLiteral("Test Diagnostics");
        info.basepath = base.path();
        info.vendorIds = {PciIdEntry{0xABCD, 0}};
        CAdapterEntry entry;
        entry.id = AdapterKey;
        entry.name = QStringLiteral("Orlin Dual");
        entry.testCaseIds = ids;
        info.adapters.insert(entry.id, entry);
        info.testCases.insert(9999, testCase(QStringLiteral("All tests"), 0, {}));
        info.testCases.insert(9998, testCase(QStringLiteral("Connectivity"), 0, {9801}));
        info.testCases.insert(1, testCase(QStringLiteral("Register test"), 1,
                                          {111, 112, 113, 114, 115, 116, 117}));
        info.testCases.insert(2, testCase(QStringLiteral("Memory test"), 1, {201, 202}));
        info.testCases.insert(3, testCase(QStringLiteral("Link test"), 0, {301}));
        for (int n = 10; n < 42; ++n)
            info.testCases.insert(n, testCase(QStringLiteral("Spare %1").arg(n), 0, {111}));

        if (describe)
            describe(info);
        machine.adapters = {TvTestMachine::adapter(2, 1, 2)};
        machine.tests = behaviours;
        machine.install();
        started = CoreInit() == 0;
        window = std::make_unique<ProbedWindow>();
        worker = std::make_unique<TvWorkerThread>();
        window->setWorker(worker.get());
        worker->start(window.get());
        list = window->findChild<QTreeWidget *>(QStringLiteral("TestCasesListView"));
    }

    ~Rig()
    {
        // Questions still open are answered Cancel, so the worker can end.
        worker->setReceiver(nullptr);
        TvCoreCallbacks::setReceiver(nullptr);
        worker->stop();
        window.reset();
        worker.reset();
        CoreDeinit();
        CAdapterInfo::instance().clear();
        TvProgram::reset();
    }

    template <typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    void click(const char *button) const { child<QPushButton>(button)->click(); }

    void pick(int number)
    {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            auto *item = static_cast<TvTestListItem *>(list->topLevelItem(i));
            if (item->testCaseNumber() == number)
                list->setCurrentItem(item);
        }
    }
    void tickOnly(const QList<int> &ticked)
    {
        for (int k = 0; k < TvDiagMainWindow::RowCount; ++k)
            window->testRow(k)->setChecked(ticked.contains(k));
    }
    void loop(bool on) { child<QCheckBox>("LoopInfiniteTests")->setChecked(on); }
    // Marks where the lines of the next step begin.
    void mark() { from = window->logModel()->count(); }
    // Log texts since the mark, without their time stamps.
    QStringList log() const
    {
        QStringList texts;
        for (int i = from; i < window->logModel()->count(); ++i)
            texts.append(window->logModel()->line(i).mid(25));
        return texts;
    }
    QStringList logStarting(const QString &prefix) const
    {
        QStringList texts;
        for (const QString &t : log())
            if (t.startsWith(prefix))
                texts.append(t);
        return texts;
    }
    bool logHas(const QString &text) const { return log().contains(text); }
    bool rowChecksEnabled() const
    {
        for (int k = 0; k < TvDiagMainWindow::RowCount; ++k)
            if (!window->testRow(k)->findChild<QCheckBox *>(QStringLiteral("test_checkbox"))->isEnabled())
                return false;
        return true;
    }
    QColor picture(int row) const
    {
        return window->testRow(row)->resultPixmap().toImage().pixelColor(2, 2);
    }

    QTemporaryDir base;
    TvTestMachine machine;
    Dialogs dialogs;
    bool started = false;
    std::unique_ptr<ProbedWindow> window;
    std::unique_ptr<TvWorkerThread> worker;
    QTreeWidget *list = nullptr;
    int from = 0;

private:
    void savePicture(const char *name, Qt::GlobalColor color)
    {
        QImage image(25, 25, QImage::Format_RGB32);
        image.fill(color);
        image.save(base.filePath(QLatin1String(name)));
    }
};

} // namespace

class TestUiEngine : public QObject
{
    Q_OBJECT

private slots:
    void runsTheTickedRowsInOrder();
    void failsEndTheSlotUnlessTheLastRowLoops();
    void coreTextsCellsAndProgressReachTheRow();
    void cancellingEndsTheRunWhereverItIs();
    void aCancelledRunCannotEndTheNextOne();
    void allTestsRunsGoFromSlotToSlot();
    void testsMenuStartsItsSlot();
    void questionsAnswersReachTheCore();
    void runTextsAreTranslated();
};

void TestUiEngine::runsTheTickedRowsInOrder()
{
    Rig rig({1, 2});
    QVERIFY(rig.started);
    ProbedWindow &w = *rig.window;
    rig.pick(1);

    // Nothing ticked: the slot ends at once and nothing is queued.
    rig.tickOnly({});
    rig.mark();
    rig.click("StartTestButton");
    QCOMPARE(rig.log(), QStringList({"TEST_SLOT_STARTED Register test",
                                     "FINISHED_NOT_TESTCASE_SELECTED Register test"}));
    QCOMPARE(rig.worker->jobCount(), 0);
    QVERIFY(!w.isRunning());
    QVERIFY(rig.rowChecksEnabled());

    // Rows 2 and 5: after row 2 the unticked rows 3 and 4 are passed over.
    // While it runs the window waits, except over the cancel button.
    QList<Qt::CursorShape> cursors;
    w.beforeEvent = [&](int type) {
        if (type != TvCoreEvent::TestDone || !cursors.isEmpty())
            return;
        auto *cancel = rig.child<QPushButton>("CancelTestButton");
        cursors << QApplication::overrideCursor()->shape();
        QEvent enter(QEvent::Enter), leave(QEvent::Leave);
        QApplication::sendEvent(cancel, &enter);
        cursors << QApplication::overrideCursor()->shape();
        QApplication::sendEvent(cancel, &leave);
        cursors << QApplication::overrideCursor()->shape();
        QVERIFY(!rig.rowChecksEnabled());
        QVERIFY(!rig.child<QPushButton>("StartTestButton")->isEnabled());
    };
    rig.tickOnly({2, 5});
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(rig.log(), QStringList({"TEST_SLOT_STARTED Register test",
                                     "TEST_CASE_STARTED Step 113",
                                     "TEST_CASE Step 113 TEST_CASE_PASSED",
                                     "TEST_CASE_STARTED Step 116",
                                     "TEST_CASE Step 116 TEST_CASE_PASSED",
                                     "TEST_SLOT_FINISHED Register test"}));
    QCOMPARE(cursors, QList<Qt::CursorShape>({Qt::WaitCursor, Qt::ArrowCursor, Qt::WaitCursor}));
    QVERIFY(!QApplication::overrideCursor());
    for (int k : {2, 5}) {
        QCOMPARE(w.testRow(k)->resultText(), QStringLiteral("TEST_CASE_PASSED"));
        QCOMPARE(rig.picture(k), QColor(Qt::green));
        QCOMPARE(w.testRow(k)->progress(), 100);
    }
    for (int k : {0, 1, 3, 4, 6}) {
        QVERIFY(w.testRow(k)->resultText().isEmpty());
        QCOMPARE(rig.picture(k), QColor(Qt::white));
    }
    QVERIFY(rig.rowChecksEnabled());
    QVERIFY(rig.child<QPushButton>("StartTestButton")->isEnabled());
    QVERIFY(!rig.child<QPushButton>("CancelTestButton")->isEnabled());
    QVERIFY(rig.list->isEnabled());
    QVERIFY(rig.dialogs.asked.isEmpty());
}

void TestUiEngine::failsEndTheSlotUnlessTheLastRowLoops()
{
    Rig rig({1}, {{"113", behaviour({}, 1)}, {"117", behaviour({}, 1)}});
    QVERIFY(rig.started);
    ProbedWindow &w = *rig.window;
    rig.pick(1);

    // A fail on row 2 ends the slot; the rows after it do not run.
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(rig.log().mid(5), QStringList({"TEST_CASE_STARTED Step 113",
                                            "TEST_CASE Step 113 TEST_CASE_FAILED",
                                            "TEST_SLOT_FINISHED Register test"}));
    QCOMPARE(w.testRow(2)->resultText(), QStringLiteral("TEST_CASE_FAILED"));
    QCOMPARE(rig.picture(2), QColor(Qt::red));
    QVERIFY(w.testRow(3)->resultText().isEmpty());

    // Looping, a fail on the last row starts the slot again.
    rig.tickOnly({0, 1, 3, 4, 5, 6});
    rig.loop(true);
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(rig.logStarting("TEST_SLOT_STARTED").size() >= 3);
    QVERIFY(rig.logStarting("TEST_SLOT_FINISHED").isEmpty());
    QVERIFY(rig.log().contains("TEST_CASE Step 117 TEST_CASE_FAILED"));
    QVERIFY(rig.child<QLabel>("loopCountValueLabel")->text().toInt() >= 2);
    rig.click("CancelTestButton");
    QTRY_VERIFY(!w.isRunning());
    QTRY_VERIFY(rig.logHas("TEST_SLOT_CANCELLED Register test"));
    QVERIFY(rig.logStarting("LOOP_COUNT ").size() == 1);
    QVERIFY(rig.logStarting("LOOP_COUNT ").first().mid(11).toInt() >= 2);
    QVERIFY(!QApplication::overrideCursor());
}

void TestUiEngine::coreTextsCellsAndProgressReachTheRow()
{
    const QJsonArray passing = {
        QJsonObject{{"progress", 40}, {"stamped", "Link partner found"}},
        QJsonObject{{"cell", QJsonArray{QJsonObject{{"row", 2}, {"column", 1}, {"message", 45}},
                                        QJsonObject{{"row", 0}, {"column", 0}, {"text", "1000"}}}},
                    {"ask", QJsonObject{{"message", 12}, {"buttons", QJsonArray{1, 0, 0}}}}},
        QJsonObject{{"result", "Link at 1000 Mbit/s"}, {"progress", 100}}};
    const QJsonArray failing = {QJsonObject{{"result", "almost"}}};
    Rig rig({1}, {{"111", behaviour(passing)}, {"112", behaviour(failing, 1)}});
    QVERIFY(rig.started);
    ProbedWindow &w = *rig.window;
    auto *table = rig.child<QTableWidget>("StateTable");
    table->resize(300, 240);
    rig.pick(1);
    rig.tickOnly({0, 1});

    QStringList seen;
    rig.dialogs.whileOpen = [&](const QString &) {
        seen << QString::number(table->rowCount()) << table->item(2, 1)->text()
             << table->item(0, 0)->text();
        QCOMPARE(table->rowHeight(0), 80);
        QCOMPARE(w.testRow(0)->progress(), 40);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    };
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(seen, QStringList({"3", "LINK_UP", "1000"}));
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"IS_LINK_LED_ON"}));
    QCOMPARE(rig.log().mid(1, 3), QStringList({"TEST_CASE_STARTED Step 111", "Link partner found",
                                               "TEST_CASE Step 111 TEST_CASE_PASSED"}));
    // The core's text survives a pass; a fail always says so.
    QCOMPARE(w.testRow(0)->resultText(), QStringLiteral("Link at 1000 Mbit/s"));
    QCOMPARE(w.testRow(1)->resultText(), QStringLiteral("TEST_CASE_FAILED"));
    QCOMPARE(table->rowCount(), 0);
}

void TestUiEngine::cancellingEndsTheRunWhereverItIs()
{
    Rig rig({1, 3}, {{"301", behaviour({asking(12, 3)})}});
    QVERIFY(rig.started);
    ProbedWindow &w = *rig.window;

    // Between two jobs: the worker drops the next one.
    rig.pick(1);
    rig.tickOnly({0, 1, 2});
    bool cancelled = false;
    w.beforeEvent = [&](int type) {
        if (type == TvCoreEvent::TestDone && !cancelled) {
            cancelled = true;
            rig.click("CancelTestButton");
        }
    };
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(rig.log().mid(2), QStringList({"TEST_CASE Step 111 TEST_CASE_PASSED",
                                            "TEST_CASE_STARTED Step 112",
                                            "TEST_SLOT_CANCELLED Register test"}));
    QCOMPARE(w.testRow(1)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QCOMPARE(rig.picture(1), QColor(Qt::red));
    QVERIFY(w.testRow(2)->resultText().isEmpty());
    QCOMPARE(rig.worker->jobCount(), 0);
    QVERIFY(!rig.worker->isCancelRequested());
    QVERIFY(rig.rowChecksEnabled());
    QVERIFY(rig.child<QPushButton>("StartTestButton")->isEnabled());
    w.beforeEvent = nullptr;

    // Looping: the third pass is cancelled while the core waits for an answer.
    rig.pick(3);
    rig.loop(true);
    int asked = 0;
    rig.dialogs.whileOpen = [&](const QString &) {
        if (++asked == 3)
            rig.click("CancelTestButton");
    };
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(rig.logHas("TEST_SLOT_CANCELLED Link test"));
    QCOMPARE(rig.logStarting("TEST_SLOT_STARTED").size(), 3);
    QCOMPARE(rig.logStarting("LOOP_COUNT "), QStringList({"LOOP_COUNT 3"}));
    QCOMPARE(w.testRow(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QVERIFY(!w.isRunning());
    rig.dialogs.whileOpen = nullptr;

    // A cancel in the pause before the next pass, or one that came while
    // the pass finished: no job is left to drop, yet the loop ends there.
    for (std::function<void(int)> *hook : {&w.afterEvent, &w.beforeEvent}) {
        *hook = [&](int type) {
            if (type == TvCoreEvent::TestDone)
                rig.click("CancelTestButton");
        };
        rig.mark();
        rig.click("StartTestButton");
        QTRY_VERIFY(rig.logHas("TEST_SLOT_CANCELLED Link test"));
        QTest::qWait(300);
        QCOMPARE(rig.logStarting("TEST_SLOT_STARTED").size(), 1);
        QCOMPARE(rig.logStarting("LOOP_COUNT "), QStringList({"LOOP_COUNT 1"}));
        QVERIFY(!w.isRunning());
        QVERIFY(rig.child<QPushButton>("StartTestButton")->isEnabled());
        *hook = nullptr;
    }
    QVERIFY(!QApplication::overrideCursor());
}

void TestUiEngine::aCancelledRunCannotEndTheNextOne()
{
    Rig rig({1, 3}, {{"301", behaviour({asking(12, 3)})}},
            [](CAdapterInfo &info) { info.testCases.find(3)->allow_loop = 0; });
    QVERIFY(rig.started);
    ProbedWindow &w = *rig.window;
    auto *start = rig.child<QPushButton>("StartTestButton");

    // Cancelled while the core still runs the test (it waits for an
    // answer): Start stays disabled until the cancelled run has reported
    // back, and the loop box stays as the test case allows.
    rig.pick(3);
    QVERIFY(!rig.child<QCheckBox>("LoopInfiniteTests")->isEnabled());
    rig.dialogs.whileOpen = [&](const QString &) {
        rig.click("CancelTestButton");
        QVERIFY(!start->isEnabled());
        QVERIFY(!rig.child<QCheckBox>("LoopInfiniteTests")->isEnabled());
    };
    rig.click("StartTestButton");
    QTRY_VERIFY(!w.isRunning());
    rig.dialogs.whileOpen = nullptr;
    QCOMPARE(w.testRow(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QVERIFY(start->isEnabled());
    QVERIFY(!rig.child<QCheckBox>("LoopInfiniteTests")->isEnabled());

    // Cancelled between two jobs, then started again at once from the
    // cancellation's own event: the new run is not dropped with the old one.
    rig.pick(1);
    rig.tickOnly({0, 1});
    bool cancelled = false, restarted = false;
    w.beforeEvent = [&](int type) {
        if (type == TvCoreEvent::TestDone && !cancelled) {
            cancelled = true;
            rig.click("CancelTestButton");
        }
    };
    w.afterEvent = [&](int type) {
        if (type == TvCoreEvent::TestCancelled && !restarted) {
            restarted = true;
            rig.mark();
            rig.click("StartTestButton");
        }
    };
    rig.click("StartTestButton");
    QTRY_VERIFY(restarted);
    QTRY_VERIFY(rig.logHas("TEST_SLOT_FINISHED Register test"));
    QVERIFY(!w.isRunning());
    QVERIFY(start->isEnabled());
    QCOMPARE(rig.logStarting("TEST_CASE "), QStringList({"TEST_CASE Step 111 TEST_CASE_PASSED",
                                                         "TEST_CASE Step 112 TEST_CASE_PASSED"}));
}

void TestUiEngine::allTestsRunsGoFromSlotToSlot()
{
    {
        // Slots 1 and 2 take part, 3 does not.
        Rig rig({1, 3, 2});
        QVERIFY(rig.started);
        const QString card = rig.child<QLabel>("TvDiagCardLabel")->text();
        rig.pick(TvDiagMainWindow::AllTestsNumber);
        rig.mark();
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.window->isRunning());
        QStringList slotLines = rig.logStarting("TEST_SLOT");
        slotLines.insert(1, rig.logStarting("START_ALL").value(0));
        slotLines += rig.logStarting("ALL_TESTS");
        QCOMPARE(slotLines, QStringList({"TEST_SLOT_STARTED All tests",
                                         "START_ALL_TESTS_FOR " + card,
                                         "TEST_SLOT_STARTED Register test",
                                         "TEST_SLOT_FINISHED Register test",
                                         "TEST_SLOT_STARTED Memory test",
                                         "TEST_SLOT_FINISHED Memory test",
                                         "ALL_TESTS_FINISHED " + card}));
        QCOMPARE(rig.logStarting("TEST_CASE ").size(), 9);
        QCOMPARE(rig.dialogs.messageTexts(), QStringList({"ALL_TESTS_FINISHED " + card}));
        QCOMPARE(rig.dialogs.asked.first().buttons, QList<int>({TvDialogSeam::Ok}));
        QVERIFY(!rig.window->inAllTests());
    }
    {
        // A fail ends the whole run.
        Rig rig({1, 2}, {{"113", behaviour({}, 1)}});
        QVERIFY(rig.started);
        rig.pick(TvDiagMainWindow::AllTestsNumber);
        rig.mark();
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.window->isRunning());
        QCOMPARE(rig.logStarting("TEST_SLOT").last(), QStringLiteral("TEST_SLOT_FINISHED Register test"));
        QVERIFY(!rig.log().contains("TEST_SLOT_STARTED Memory test"));
        QVERIFY(rig.dialogs.asked.isEmpty());
        QVERIFY(!rig.window->inAllTests());
        QVERIFY(rig.child<QPushButton>("allTestBtn")->isEnabled());
    }
    {
        // An advanced test case outside advanced mode leaves no entry, but
        // is no gap in the list either: the run goes on to the next one.
        Rig rig({10, 2}, {}, [](CAdapterInfo &info) {
            info.testCases.find(10)->advanced = 1;
            info.testCases.find(10)->all_tests = 1;
        });
        QVERIFY(rig.started);
        rig.mark();
        rig.click("allTestBtn");
        QTRY_VERIFY(!rig.window->isRunning());
        QCOMPARE(rig.logStarting("TEST_SLOT_STARTED"), QStringList({"TEST_SLOT_STARTED Memory test"}));
        QCOMPARE(rig.dialogs.messageTexts(), QStringList({"ALL_TESTS_FINISHED Orlin Dual"}));
    }
    {
        // An empty slot entry before any slot that takes part.
        Rig rig({3});
        QVERIFY(rig.started);
        rig.click("allTestBtn");
        QCOMPARE(rig.dialogs.messageTexts(), QStringList({"TESTITEM_NOT_FOUND"}));
        QCOMPARE(rig.dialogs.asked.first().icon, TvDialogSeam::Critical);
        QCOMPARE(rig.worker->jobCount(), 0);
        QVERIFY(!rig.window->isRunning() && !rig.window->inAllTests());
        QVERIFY(rig.rowChecksEnabled());
    }
    {
        // All 32 slots filled, none takes part.
        QList<int> spares;
        for (int n = 10; n < 42; ++n)
            spares << n;
        Rig rig(spares);
        QVERIFY(rig.started);
        rig.click("allTestBtn");
        QCOMPARE(rig.dialogs.messageTexts(), QStringList({"NO_TEST_FOR_ALL_TESTS"}));
        QCOMPARE(rig.worker->jobCount(), 0);
        QVERIFY(!rig.window->isRunning() && !rig.window->inAllTests());
    }
}

void TestUiEngine::testsMenuStartsItsSlot()
{
    Rig rig({1, 2});
    QVERIFY(rig.started);
    QAction *memory = nullptr;
    for (QAction *a : rig.child<QMenu>("testMenu")->actions())
        if (a->text() == QLatin1String("&Memory test"))
            memory = a;
    QVERIFY(memory);
    rig.mark();
    memory->trigger();
    QTRY_VERIFY(!rig.window->isRunning());
    QCOMPARE(rig.log().first(), QStringLiteral("TEST_SLOT_STARTED Memory test"));
    QCOMPARE(rig.log().last(), QStringLiteral("TEST_SLOT_FINISHED Memory test"));
    QCOMPARE(rig.list->currentItem()->text(0), QStringLiteral("Memory test"));
    QVERIFY(!memory->isChecked());

    // The same entry again runs it again.
    rig.mark();
    memory->trigger();
    QTRY_VERIFY(rig.logHas("TEST_SLOT_FINISHED Memory test"));
}

void TestUiEngine::questionsAnswersReachTheCore()
{
    Rig rig({3}, {{"301", behaviour({asking(12, 4)})}});
    QVERIFY(rig.started);
    rig.pick(3);

    // The second button (No, 4) is what this test wants.
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.window->isRunning());
    QCOMPARE(rig.window->testRow(0)->resultText(), QStringLiteral("TEST_CASE_PASSED"));
    const TvScriptedDialogs::Asked asked = rig.dialogs.asked.first();
    QCOMPARE(asked.text, QStringLiteral("IS_LINK_LED_ON"));
    QCOMPARE(asked.buttons, QList<int>({TvDialogSeam::Yes, TvDialogSeam::No}));
    QCOMPARE(asked.icon, TvDialogSeam::Information);
    QCOMPARE(asked.caption, TvProgram::bannerText());

    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.window->isRunning());
    QCOMPARE(rig.window->testRow(0)->resultText(), QStringLiteral("TEST_CASE_FAILED"));

    // Answered before anyone waits: the asker still gets the answer.
    auto gate = std::make_shared<TvAnswerGate>();
    auto *question = new TvCoreEvent(TvCoreEvent::Question);
    question->text = QStringLiteral("CONFIRM_LINK");
    question->buttons[0] = TvDialogSeam::Yes;
    question->buttons[1] = TvDialogSeam::No;
    question->gate = gate;
    rig.dialogs.answerMessage(TvDialogSeam::No);
    QCoreApplication::postEvent(rig.window.get(), question);
    QTRY_VERIFY(gate->isAnswered());
    int received = 0;
    std::thread asker([&] { received = gate->wait(); });
    asker.join();
    QCOMPARE(received, int(TvDialogSeam::No));
}

void TestUiEngine::runTextsAreTranslated()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
    QCoreApplication::installTranslator(&english);
    {
        Rig rig({1, 3}, {{"301", behaviour({}, 1)}});
        QVERIFY(rig.started);
        rig.mark();
        rig.pick(TvDiagMainWindow::AllTestsNumber);
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.window->isRunning());
        rig.pick(3);
        rig.tickOnly({});
        rig.click("StartTestButton");
        rig.tickOnly({0});
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.window->isRunning());
        const QString failed = rig.window->testRow(0)->resultText();
        rig.pick(1);
        rig.loop(true);
        bool cancelled = false;
        rig.window->afterEvent = [&](int type) {
            if (type == TvCoreEvent::TestDone && !cancelled) {
                cancelled = true;
                rig.click("CancelTestButton");
            }
        };
        rig.click("StartTestButton");
        QTRY_VERIFY(rig.log().contains(QStringLiteral("Loop count: 1")));

        const QRegularExpression rawKey(QStringLiteral("(^|\\s)[A-Z][A-Z0-9]*(_[A-Z0-9]+)+( |$)"));
        const QStringList texts = rig.log() + rig.dialogs.messageTexts()
                                  + QStringList{failed, rig.window->testRow(1)->resultText()};
        QVERIFY(rig.log().size() > 15);
        for (const QString &text : texts)
            QVERIFY2(!rawKey.match(text).hasMatch(), qPrintable(text));
    }
    QCoreApplication::removeTranslator(&english);
}

QTEST_MAIN(TestUiEngine)
#include "test_ui_engine.moc"
