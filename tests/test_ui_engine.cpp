// The test engine in the main window: runs of the ticked rows on a real
// worker thread against the simulated core, fails and loops, cancelling,
// all-tests runs, the Tests menu and the core's questions.
#include "TvUiRig.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"
#include "engine/TvWorkerThread.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestProgress.h"
#include "ui/testpage/TvTestRun.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QJsonArray>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <thread>

namespace {

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

// The machine's adapter with the test case list a test chooses; the store
// holds the all-tests entry, the connectivity entry, "Register test" (1,
// rows 111..117), "Memory test" (2, rows 201, 202), "Link test" (3, row
// 301, not part of all tests) and spare test cases 10..41 (not part of all
// tests); the window drives a real worker thread.
class Rig : public TvUiRig
{
public:
    Rig(const QList<int> &ids, const QJsonObject &behaviours = QJsonObject(),
        const std::function<void(CAdapterInfo &)> &describe = nullptr)
    {
        CAdapterInfo &info = CAdapterInfo::instance();
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), ids);
        info.testCases.insert(9999, testCase(QStringLiteral("All tests"), {}));
        info.testCases.insert(9998, testCase(QStringLiteral("Connectivity"), {9801}));
        info.testCases.insert(1, testCase(QStringLiteral("Register test"),
                                          {111, 112, 113, 114, 115, 116, 117}, 1, 1));
        info.testCases.insert(2, testCase(QStringLiteral("Memory test"), {201, 202}, 1, 1));
        info.testCases.insert(3, testCase(QStringLiteral("Link test"), {301}));
        for (int n = 10; n < 42; ++n)
            info.testCases.insert(n, testCase(QStringLiteral("Spare %1").arg(n), {111}));
        if (describe)
            describe(info);
        machine.tests = behaviours;
        started = startCore();
        windowWithWorker();
        list = child<QTreeWidget>("TestCasesListView");
    }

    // Clicked as a user would, even while a run is on.
    void loop(bool on)
    {
        auto *box = child<QCheckBox>("LoopInfiniteTests");
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->isChecked(), on);
    }
    QColor picture(int k) { return row(k)->resultPixmap().toImage().pixelColor(2, 2); }

    bool started = false;
    QTreeWidget *list = nullptr;
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
    void closingWhileATestRunsAsksFirst_data();
    void closingWhileATestRunsAsksFirst();
};

void TestUiEngine::runsTheTickedRowsInOrder()
{
    Rig rig({1, 2});
    QVERIFY(rig.started);
    rig.pick(1);

    // Nothing ticked: the slot ends at once and nothing is queued.
    rig.tickOnly({});
    rig.mark();
    rig.click("StartTestButton");
    QCOMPARE(rig.log(), QStringList({"TEST_SLOT_STARTED Register test",
                                     "FINISHED_NOT_TESTCASE_SELECTED Register test"}));
    QCOMPARE(rig.worker()->jobCount(), 0);
    QVERIFY(!rig.isRunning());
    QVERIFY(rig.rowChecksEnabled());

    // Rows 2 and 5: after row 2 the unticked rows 3 and 4 are passed over.
    // While it runs the window waits, except over the cancel button.
    QList<Qt::CursorShape> cursors;
    rig.beforeEvent = [&](int type) {
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
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.log(), QStringList({"TEST_SLOT_STARTED Register test",
                                     "TEST_CASE_STARTED Step 113",
                                     "TEST_CASE Step 113 TEST_CASE_PASSED",
                                     "TEST_CASE_STARTED Step 116",
                                     "TEST_CASE Step 116 TEST_CASE_PASSED",
                                     "TEST_SLOT_FINISHED Register test"}));
    QCOMPARE(cursors, QList<Qt::CursorShape>({Qt::WaitCursor, Qt::ArrowCursor, Qt::WaitCursor}));
    QVERIFY(!QApplication::overrideCursor());
    for (int k : {2, 5}) {
        QCOMPARE(rig.row(k)->resultText(), QStringLiteral("TEST_CASE_PASSED"));
        QCOMPARE(rig.picture(k), QColor(Qt::green));
        QCOMPARE(rig.row(k)->progress(), 100);
    }
    for (int k : {0, 1, 3, 4, 6}) {
        QVERIFY(rig.row(k)->resultText().isEmpty());
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
    rig.pick(1);

    // A fail on row 2 ends the slot; the rows after it do not run.
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.log().mid(5), QStringList({"TEST_CASE_STARTED Step 113",
                                            "TEST_CASE Step 113 TEST_CASE_FAILED",
                                            "TEST_SLOT_FINISHED Register test"}));
    QCOMPARE(rig.row(2)->resultText(), QStringLiteral("TEST_CASE_FAILED"));
    QCOMPARE(rig.picture(2), QColor(Qt::red));
    QVERIFY(rig.row(3)->resultText().isEmpty());

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
    QTRY_VERIFY(!rig.isRunning());
    QTRY_VERIFY(rig.logHas("TEST_SLOT_CANCELLED Register test"));
    QVERIFY(rig.logStarting("LOOP_COUNT ").size() == 1);
    QVERIFY(rig.logStarting("LOOP_COUNT ").first().mid(11).toInt() >= 2);
    QVERIFY(!QApplication::overrideCursor());

    // A new run counts its passes from 0 again.
    rig.click("StartTestButton");
    QCOMPARE(rig.child<QLabel>("loopCountValueLabel")->text(), QStringLiteral("0"));
    rig.click("CancelTestButton");
    QTRY_VERIFY(!rig.isRunning());
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
    auto *table = rig.child<QTableWidget>("StateTable");
    table->resize(300, 240);
    rig.pick(1);
    rig.tickOnly({0, 1});

    QStringList seen;
    rig.dialogs.whileOpen = [&](const QString &) {
        seen << QString::number(table->rowCount()) << table->item(2, 1)->text()
             << table->item(0, 0)->text();
        QCOMPARE(table->rowHeight(0), 80);
        QCOMPARE(rig.row(0)->progress(), 40);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    };
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(seen, QStringList({"3", "LINK_UP", "1000"}));
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"IS_LINK_LED_ON"}));
    QCOMPARE(rig.log().mid(1, 3), QStringList({"TEST_CASE_STARTED Step 111", "Link partner found",
                                               "TEST_CASE Step 111 TEST_CASE_PASSED"}));
    // The core's text survives a pass; a fail always says so.
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("Link at 1000 Mbit/s"));
    QCOMPARE(rig.row(1)->resultText(), QStringLiteral("TEST_CASE_FAILED"));
    // The last table stays to be read.
    QCOMPARE(table->rowCount(), 3);
    // A result cut short on the screen is logged whole, under its row's name.
    emit rig.row(0)->resultCut(QStringLiteral("Link at 1000 Mbit/s"));
    QCOMPARE(rig.log().last(), QStringLiteral("RESULT_TEXT_IN_FULL Step 111 Link at 1000 Mbit/s"));
}

void TestUiEngine::cancellingEndsTheRunWhereverItIs()
{
    Rig rig({1, 3}, {{"301", behaviour({asking(12, 3)})}});
    QVERIFY(rig.started);

    // Between two jobs: the worker drops the next one.
    rig.pick(1);
    rig.tickOnly({0, 1, 2});
    bool cancelled = false;
    rig.beforeEvent = [&](int type) {
        if (type == TvCoreEvent::TestDone && !cancelled) {
            cancelled = true;
            rig.click("CancelTestButton");
        }
    };
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.log().mid(2), QStringList({"TEST_CASE Step 111 TEST_CASE_PASSED",
                                            "TEST_CASE_STARTED Step 112",
                                            "TEST_SLOT_CANCELLED Register test"}));
    QCOMPARE(rig.row(1)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QCOMPARE(rig.picture(1), QColor(Qt::red));
    QVERIFY(rig.row(2)->resultText().isEmpty());
    QCOMPARE(rig.worker()->jobCount(), 0);
    QVERIFY(!rig.worker()->isCancelRequested());
    QVERIFY(rig.rowChecksEnabled());
    QVERIFY(rig.child<QPushButton>("StartTestButton")->isEnabled());
    rig.beforeEvent = nullptr;

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
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QVERIFY(!rig.isRunning());
    rig.dialogs.whileOpen = nullptr;

    // A cancel in the pause before the next pass, or one that came while
    // the pass finished: no job is left to drop, yet the loop ends there.
    for (std::function<void(int)> *hook : {&rig.afterEvent, &rig.beforeEvent}) {
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
        QVERIFY(!rig.isRunning());
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
    QTRY_VERIFY(!rig.isRunning());
    rig.dialogs.whileOpen = nullptr;
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QVERIFY(start->isEnabled());
    QVERIFY(!rig.child<QCheckBox>("LoopInfiniteTests")->isEnabled());

    // Cancelled between two jobs, then started again at once from the
    // cancellation's own event: the new run is not dropped with the old one.
    rig.pick(1);
    rig.tickOnly({0, 1});
    bool cancelled = false, restarted = false;
    rig.beforeEvent = [&](int type) {
        if (type == TvCoreEvent::TestDone && !cancelled) {
            cancelled = true;
            rig.click("CancelTestButton");
        }
    };
    rig.afterEvent = [&](int type) {
        if (type == TvCoreEvent::TestCancelled && !restarted) {
            restarted = true;
            rig.mark();
            rig.click("StartTestButton");
        }
    };
    rig.click("StartTestButton");
    QTRY_VERIFY(restarted);
    QTRY_VERIFY(rig.logHas("TEST_SLOT_FINISHED Register test"));
    QVERIFY(!rig.isRunning());
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
        rig.pick(TvTestPage::AllTestsNumber);
        rig.mark();
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.isRunning());
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
        QVERIFY(!rig.inAllTests());
    }
    {
        // Looping, the whole run starts again after its last slot.
        Rig rig({1, 2});
        QVERIFY(rig.started);
        rig.pick(TvTestPage::AllTestsNumber);
        rig.loop(true);
        rig.mark();
        rig.click("StartTestButton");
        QTRY_VERIFY(rig.logStarting("START_ALL_TESTS_FOR").size() >= 3);
        QVERIFY(rig.logStarting("ALL_TESTS_FINISHED").isEmpty());
        // The passes go on counting.
        QVERIFY(rig.child<QLabel>("loopCountValueLabel")->text().toInt() >= 2);
        rig.click("CancelTestButton");
        QTRY_VERIFY(!rig.isRunning());
        QVERIFY(!rig.inAllTests());
    }
    {
        // A fail ends the whole run.
        Rig rig({1, 2}, {{"113", behaviour({}, 1)}});
        QVERIFY(rig.started);
        rig.pick(TvTestPage::AllTestsNumber);
        rig.mark();
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.isRunning());
        QCOMPARE(rig.logStarting("TEST_SLOT").last(), QStringLiteral("TEST_SLOT_FINISHED Register test"));
        QVERIFY(!rig.log().contains("TEST_SLOT_STARTED Memory test"));
        QVERIFY(rig.dialogs.asked.isEmpty());
        QVERIFY(!rig.inAllTests());
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
        QTRY_VERIFY(!rig.isRunning());
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
        QCOMPARE(rig.worker()->jobCount(), 0);
        QVERIFY(!rig.isRunning() && !rig.inAllTests());
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
        QCOMPARE(rig.worker()->jobCount(), 0);
        QVERIFY(!rig.isRunning() && !rig.inAllTests());
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
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.log().first(), QStringLiteral("TEST_SLOT_STARTED Memory test"));
    QCOMPARE(rig.log().last(), QStringLiteral("TEST_SLOT_FINISHED Memory test"));
    QCOMPARE(rig.list->currentItem()->text(0), QStringLiteral("Memory test"));
    QVERIFY(!memory->isChecked());

    // The same entry again runs it again.
    rig.mark();
    memory->trigger();
    QTRY_VERIFY(rig.logHas("TEST_SLOT_FINISHED Memory test"));
    // Asked to start the ticked entry when none is ticked: no test found.
    rig.window().run()->testSlot();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"TESTITEM_NOT_FOUND"}));
}

void TestUiEngine::questionsAnswersReachTheCore()
{
    Rig rig({3}, {{"301", behaviour({asking(12, 4)})}});
    QVERIFY(rig.started);
    rig.pick(3);

    // The second button (No, 4) is what this test wants.
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_PASSED"));
    const TvScriptedDialogs::Asked asked = rig.dialogs.asked.first();
    QCOMPARE(asked.text, QStringLiteral("IS_LINK_LED_ON"));
    QCOMPARE(asked.buttons, QList<int>({TvDialogSeam::Yes, TvDialogSeam::No}));
    QCOMPARE(asked.icon, TvDialogSeam::Information);
    QCOMPARE(asked.caption, TvProgram::bannerText());

    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_FAILED"));

    // Answered before anyone waits: the asker still gets the answer.
    auto gate = std::make_shared<TvAnswerGate>();
    auto *question = new TvCoreEvent(TvCoreEvent::Question);
    question->text = QStringLiteral("CONFIRM_LINK");
    question->buttons[0] = TvDialogSeam::Yes;
    question->buttons[1] = TvDialogSeam::No;
    question->gate = gate;
    rig.dialogs.answerMessage(TvDialogSeam::No);
    QCoreApplication::postEvent(&rig.window(), question);
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
        rig.pick(TvTestPage::AllTestsNumber);
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.isRunning());
        rig.pick(3);
        rig.tickOnly({});
        rig.click("StartTestButton");
        rig.tickOnly({0});
        rig.click("StartTestButton");
        QTRY_VERIFY(!rig.isRunning());
        const QString failed = rig.row(0)->resultText();
        rig.pick(1);
        rig.loop(true);
        bool cancelled = false;
        rig.afterEvent = [&](int type) {
            if (type == TvCoreEvent::TestDone && !cancelled) {
                cancelled = true;
                rig.click("CancelTestButton");
            }
        };
        rig.click("StartTestButton");
        QTRY_VERIFY(rig.log().contains(QStringLiteral("Loop count: 1")));

        const QStringList texts = rig.log() + rig.dialogs.messageTexts()
                                  + QStringList{failed, rig.row(1)->resultText()};
        QVERIFY(rig.log().size() > 15);
        QCOMPARE(TvUiRig::rawKeys(texts), QStringList());
    }
    QCoreApplication::removeTranslator(&english);
}

void TestUiEngine::closingWhileATestRunsAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("end");
    QTest::newRow("yes cancels the test") << int(TvDialogSeam::Yes) << "TEST_SLOT_CANCELLED Link test";
    QTest::newRow("no lets it run to its end") << int(TvDialogSeam::No) << "TEST_SLOT_FINISHED Link test";
}

void TestUiEngine::closingWhileATestRunsAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(QString, end);
    // The core waits for an answer to its question: the window is closed then.
    Rig rig({3}, {{"301", behaviour({asking(12, 3)})}});
    QVERIFY(rig.started);
    rig.pick(3);
    QCloseEvent close;
    bool closed = false;
    rig.dialogs.whileOpen = [&](const QString &) {
        if (closed)
            return;
        closed = true;
        QVERIFY(rig.worker()->isCoreBusy());
        rig.dialogs.answerMessage(answer);
        // The selection's unsaved log lines are given up.
        if (answer == TvDialogSeam::Yes)
            rig.dialogs.answerMessage(TvDialogSeam::No);
        QApplication::sendEvent(&rig.window(), &close);
    };
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(close.isAccepted(), answer == TvDialogSeam::Yes);
    // The close's question came while the core's was open.
    QCOMPARE(rig.dialogs.messageTexts().first(), QStringLiteral("TEST_STILL_RUNNING"));
    QCOMPARE(rig.dialogs.messageTexts().last(), QStringLiteral("IS_LINK_LED_ON"));
    QTRY_COMPARE(rig.log().last(), end);
    rig.dialogs.whileOpen = nullptr;
}

QTEST_MAIN(TestUiEngine)
#include "test_ui_engine.moc"
