// The test tab: the progress row widget, the test list and its menu entries,
// the rows shown for a test case, and the controls around a run.
#include "TvUiRig.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvTestListItem.h"
#include "ui/TvTestProgress.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString LongName = QStringLiteral(
    "A sub-test whose name goes on and on about what it checks on the adapter");

// The machine's adapter with the test case list a test chooses, and a store
// with the all-tests entry, the connectivity entry and test cases 1 to 5: 1
// loops, 2 does not, 3 has a long sub-test name, 4 has eight sub-tests and
// 5 is an advanced test.
class Fixture : public TvUiRig
{
public:
    explicit Fixture(const QList<int> &testCaseIds)
    {
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), testCaseIds);
        CAdapterInfo &info = CAdapterInfo::instance();
        info.testCases.insert(9999, testCase(QStringLiteral("All tests"), {}));
        info.testCases.insert(9998, testCase(QStringLiteral("Connectivity"), {9801}));
        info.testCases.insert(1, testCase(QStringLiteral("Register test"), {101, 102, 103}));
        info.testCases.insert(2, testCase(QStringLiteral("Memory test"), {201}, 0));
        CTestCase named = testCase(QStringLiteral("Link test"), {301, 302});
        named.subtests[1].label = LongName;
        info.testCases.insert(3, named);
        info.testCases.insert(4, testCase(QStringLiteral("Huge test"),
                                          {401, 402, 403, 404, 405, 406, 407, 408}));
        info.testCases.insert(5, testCase(QStringLiteral("Flash stress"), {501}, 1, 0, 1));
        started = startCore();
    }

    bool started = false;
};

QTreeWidget *testList(QWidget *w)
{
    return w->findChild<QTreeWidget *>(QStringLiteral("TestCasesListView"));
}

QList<int> listNumbers(QWidget *w)
{
    QList<int> numbers;
    QTreeWidget *list = testList(w);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        numbers.append(static_cast<TvTestListItem *>(list->topLevelItem(i))->testCaseNumber());
    return numbers;
}

QStringList testActionTexts(QWidget *w)
{
    QStringList texts;
    const QList<QAction *> actions = w->findChild<QMenu *>(QStringLiteral("testMenu"))->actions();
    for (QAction *a : actions) {
        if (a->objectName().isEmpty())
            texts.append(a->text());
    }
    return texts;
}

QTreeWidgetItem *entryOf(QWidget *w, int number)
{
    QTreeWidget *list = testList(w);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        auto *item = static_cast<TvTestListItem *>(list->topLevelItem(i));
        if (item->testCaseNumber() == number)
            return item;
    }
    return nullptr;
}

QList<int> shownRows(TvDiagMainWindow &w)
{
    QList<int> shown;
    for (int k = 0; k < TvDiagMainWindow::RowCount; ++k) {
        if (!w.testRow(k)->isHidden())
            shown.append(w.testRow(k)->testCase());
    }
    return shown;
}

} // namespace

class TestUiTestTab : public QObject
{
    Q_OBJECT

private slots:
    void progressRowParts();
    void progressRowFitsItsTexts();
    void listAndMenuKeepTheAdaptersOrder_data();
    void listAndMenuKeepTheAdaptersOrder();
    void brokenTestListsAreReported();
    void selectingAnEntryShowsItsRows();
    void namesShareTheSmallestFittingSize();
    void controlsFollowARun();
};

void TestUiTestTab::progressRowParts()
{
    TvTestProgress row(nullptr, QStringLiteral("TvTestCase[0]"));
    QCOMPARE(row.sizeHint(), QSize(405, 30));
    auto *check = row.findChild<QCheckBox *>(QStringLiteral("test_checkbox"));
    auto *name = row.findChild<QLabel *>(QStringLiteral("test_testName"));
    auto *bar = row.findChild<QProgressBar *>(QStringLiteral("test_progressbar"));
    auto *result = row.findChild<QLabel *>(QStringLiteral("test_resulttext"));
    auto *picture = row.findChild<QLabel *>(QStringLiteral("test_resultpixmap"));
    QVERIFY(check && name && bar && result && picture);

    QCOMPARE(row.property("TestCase").toInt(), -1);
    QVERIFY(row.setProperty("TestCase", 301));
    QVERIFY(row.setProperty("TotalSteps", 100));
    QVERIFY(row.setProperty("TestName", QStringLiteral("<qt>Link <b>check</b></qt>")));
    QCOMPARE(row.property("TestName").toString(), QStringLiteral("Link <b>check</b>"));
    QCOMPARE(row.testCase(), 301);
    QCOMPARE(bar->maximum(), 100);
    row.setProgress(40);
    QCOMPARE(bar->value(), 40);
    // `checked` can be read but not written.
    QVERIFY(!row.setProperty("checked", true));
    QPixmap red(10, 10);
    red.fill(Qt::red);
    QVERIFY(row.setProperty("ResultPixmap", red));
    QCOMPARE(row.resultPixmap().toImage().pixelColor(1, 1), QColor(Qt::red));

    QSignalSpy checked(&row, &TvTestProgress::testChecked);
    row.setChecked(false);
    check->click();
    QCOMPARE(checked.count(), 1);
    QCOMPARE(checked.takeFirst().at(0).toBool(), true);
    QVERIFY(row.property("checked").toBool());
    row.setCheckEnabled(false);
    QVERIFY(!check->isEnabled());
}

void TestUiTestTab::progressRowFitsItsTexts()
{
    TvTestProgress row;
    row.resize(600, 30);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    auto *name = row.findChild<QLabel *>(QStringLiteral("test_testName"));
    auto *result = row.findChild<QLabel *>(QStringLiteral("test_resulttext"));

    row.setResultText(QStringLiteral("ok"));
    QCOMPARE(result->font().pointSize(), 12);
    QCOMPARE(row.resultText(), QStringLiteral("ok"));
    row.setResultText(LongName + LongName);
    QCOMPARE(result->font().pointSize(), 9);
    // A size between: the largest at which it still fits.
    const QString middle = QStringLiteral("Passed with remarks");
    const int expected = TvTestProgress::fittingPointSize(result->font(), middle, result->size(),
                                                          {12, 11, 10, 9}, 9);
    row.setResultText(middle);
    QCOMPARE(result->font().pointSize(), expected);

    // The name is measured, not resized: the window applies the size.
    const int before = name->font().pointSize();
    row.setTestName(QStringLiteral("Short"));
    QCOMPARE(row.testNameFontSize(), 12);
    row.setTestName(LongName + LongName + LongName);
    QCOMPARE(row.testNameFontSize(), 4);
    QCOMPARE(name->font().pointSize(), before);
    row.setTestNameFontSize(6);
    QCOMPARE(name->font().pointSize(), 6);
    QCOMPARE(row.property("testNameFontSize").toInt(), 6);
}

void TestUiTestTab::listAndMenuKeepTheAdaptersOrder_data()
{
    QTest::addColumn<bool>("advanced");
    QTest::newRow("normal") << false;
    QTest::newRow("advanced") << true;
}

void TestUiTestTab::listAndMenuKeepTheAdaptersOrder()
{
    QFETCH(bool, advanced);
    Fixture f({3, 5, 1, 2});
    QVERIFY(f.started);
    TvProgram::runSettings()[0] = advanced ? 1 : 0;
    TvDiagMainWindow &w = f.window();
    QVERIFY(!w.constructionFailed());
    QVERIFY(f.dialogs.asked.isEmpty());

    const QList<int> expected = advanced ? QList<int>{9999, 9998, 3, 5, 1, 2}
                                         : QList<int>{9999, 9998, 3, 1, 2};
    QCOMPARE(listNumbers(&w), expected);
    QCOMPARE(testList(&w)->topLevelItem(2)->text(0), QStringLiteral("Link test"));
    QStringList menu = {"&Link test", "&Flash stress", "&Register test", "&Memory test"};
    if (!advanced)
        menu.removeAll(QStringLiteral("&Flash stress"));
    QCOMPARE(testActionTexts(&w), menu);

    QAction *link = nullptr;
    for (QAction *a : w.findChild<QMenu *>(QStringLiteral("testMenu"))->actions())
        if (a->text() == QLatin1String("&Link test"))
            link = a;
    QVERIFY(link && link->isCheckable());
    QCOMPARE(link->toolTip(), QStringLiteral("Link test (Ctrl+3)"));
    QCOMPARE(link->shortcut(), QKeySequence(QStringLiteral("Ctrl+3")));
    QVERIFY(link->actionGroup() && link->actionGroup()->isExclusive());

    // The all-tests entry is selected and the list usable.
    QCOMPARE(testList(&w)->currentItem(), entryOf(&w, 9999));
    QVERIFY(testList(&w)->isEnabled());

    // Picking the adapter again rebuilds without doubling anything.
    w.selectAdapter(0);
    QCOMPARE(listNumbers(&w), expected);
    QCOMPARE(testActionTexts(&w), menu);
}

void TestUiTestTab::brokenTestListsAreReported()
{
    {
        Fixture f({1, 7, 2});
        QVERIFY(f.started);
            TvDiagMainWindow &w = f.window();
        QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("TESTITEM_NOT_FOUND")}));
        QCOMPARE(f.dialogs.asked.first().icon, TvDialogSeam::Critical);
        // What was built before the missing number stays.
        QCOMPARE(listNumbers(&w), QList<int>({9999, 9998, 1}));
        QCOMPARE(testActionTexts(&w), QStringList({"&Register test"}));
    }
    {
        Fixture f({});
        QVERIFY(f.started);
            TvDiagMainWindow &w = f.window();
        QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("TESTCASE_LIST_FAILED")}));
        QVERIFY(listNumbers(&w).isEmpty());
        QVERIFY(!testList(&w)->isEnabled());
    }
}

void TestUiTestTab::selectingAnEntryShowsItsRows()
{
    Fixture f({1, 2, 4});
    QVERIFY(f.started);
    TvDiagMainWindow &w = f.window();
    auto *box = w.findChild<QGroupBox *>(QStringLiteral("BaseTestBox"));
    auto *loop = w.findChild<QCheckBox *>(QStringLiteral("LoopInfiniteTests"));
    auto *loopLabel = w.findChild<QLabel *>(QStringLiteral("loopCountLabel"));
    auto *loopValue = w.findChild<QLabel *>(QStringLiteral("loopCountValueLabel"));

    testList(&w)->setCurrentItem(entryOf(&w, 1));
    QCOMPARE(box->title(), QStringLiteral("Register test"));
    QCOMPARE(shownRows(w), QList<int>({101, 102, 103}));
    for (int k = 0; k < 3; ++k) {
        QVERIFY(w.testRow(k)->isChecked());
        QCOMPARE(w.testRow(k)->totalSteps(), 100);
        QCOMPARE(w.testRow(k)->testName(), QStringLiteral("Step %1").arg(101 + k));
    }
    QVERIFY(loop->isEnabled() && loopLabel->isEnabled() && loopValue->isEnabled());
    QVERIFY(w.findChild<QPushButton *>(QStringLiteral("StartTestButton"))->isEnabled());

    // The same entry again leaves the rows alone.
    w.testRow(0)->setResultText(QStringLiteral("passed"));
    w.testRow(1)->setChecked(false);
    w.SelectTestCaseSlot(entryOf(&w, 1));
    QCOMPARE(w.testRow(0)->resultText(), QStringLiteral("passed"));
    QVERIFY(!w.testRow(1)->isChecked());

    // A test case that may not loop switches the loop controls off, and the
    // rows are reset for it.
    testList(&w)->setCurrentItem(entryOf(&w, 2));
    QCOMPARE(shownRows(w), QList<int>({201}));
    QVERIFY(w.testRow(0)->resultText().isEmpty());
    QVERIFY(w.testRow(0)->isChecked());
    QVERIFY(!loop->isEnabled() && !loopLabel->isEnabled() && !loopValue->isEnabled());

    // Eight sub-tests do not fit: the rows keep what they showed.
    testList(&w)->setCurrentItem(entryOf(&w, 4));
    QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("TOO_MANY_SUBTEST_CASES")}));
    QCOMPARE(shownRows(w), QList<int>({201}));
    QCOMPARE(box->title(), QStringLiteral("Memory test"));
}

void TestUiTestTab::namesShareTheSmallestFittingSize()
{
    Fixture f({1, 3});
    QVERIFY(f.started);
    TvDiagMainWindow &w = f.window();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *tabs = w.findChild<QTabWidget *>(QStringLiteral("TvDiagDataTab"));
    tabs->setCurrentWidget(w.findChild<QWidget *>(QStringLiteral("TestTab")));
    testList(&w)->setCurrentItem(entryOf(&w, 3));
    QCOMPARE(shownRows(w), QList<int>({301, 302}));

    auto *shortLabel = w.testRow(0)->findChild<QLabel *>(QStringLiteral("test_testName"));
    auto *longLabel = w.testRow(1)->findChild<QLabel *>(QStringLiteral("test_testName"));
    const QList<int> sizes = {12, 11, 10, 9, 8, 7, 6, 5};
    const int longFit = TvTestProgress::fittingPointSize(longLabel->font(), LongName,
                                                         longLabel->size(), sizes, 4);
    const int shortFit = TvTestProgress::fittingPointSize(shortLabel->font(), QStringLiteral("Step 301"),
                                                          shortLabel->size(), sizes, 4);
    QVERIFY2(longFit < shortFit, "the long name must need a smaller size");
    QCOMPARE(w.testRow(0)->testNameFontSize(), longFit);
    QCOMPARE(w.testRow(1)->testNameFontSize(), longFit);
    QCOMPARE(shortLabel->font().pointSize(), longFit);
    QCOMPARE(longLabel->font().pointSize(), longFit);

    // Back to a test case of short names: the size grows again.
    testList(&w)->setCurrentItem(entryOf(&w, 1));
    QCOMPARE(w.testRow(0)->testNameFontSize(), shortFit);
}

void TestUiTestTab::controlsFollowARun()
{
    Fixture f({1, 2});
    QVERIFY(f.started);
    TvProgram::runSettings()[0] = 1;
    TvDiagMainWindow &w = f.window();
    auto *adapters = w.findChild<QListWidget *>(QStringLiteral("AdapterListBox"));
    auto *cancel = w.findChild<QPushButton *>(QStringLiteral("CancelTestButton"));
    auto *start = w.findChild<QPushButton *>(QStringLiteral("StartTestButton"));
    auto *table = w.findChild<QTableWidget *>(QStringLiteral("StateTable"));
    QList<QAction *> menuEntries;
    for (const char *menu : {"fileMenu", "testMenu", "flashMenu", "vpdMenu"})
        menuEntries += w.findChild<QMenu *>(QLatin1String(menu))->actions();

    w.setControlsEnabled(false);
    QVERIFY(!adapters->isEnabled() && !testList(&w)->isEnabled() && !start->isEnabled());
    for (QAction *a : menuEntries)
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName() + a->text()));
    QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("allTestBtn"))->isEnabled());
    QVERIFY(!w.findChild<QWidget *>(QStringLiteral("ModeButtonGroup"))->isEnabled());

    cancel->setEnabled(true);
    table->setRowCount(3);
    w.setControlsEnabled(true);
    QVERIFY(adapters->isEnabled() && testList(&w)->isEnabled() && start->isEnabled());
    for (QAction *a : menuEntries)
        QVERIFY(a->isEnabled());
    QVERIFY(!cancel->isEnabled());
    QCOMPARE(table->rowCount(), 0);
    QVERIFY(w.findChild<QRadioButton *>(QStringLiteral("Repeater"))->isEnabled());
}

QTEST_MAIN(TestUiTestTab)
#include "test_ui_testtab.moc"
