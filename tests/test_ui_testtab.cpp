// The test tab on its own: the progress row widget, the test list and its
// menu entries, and the rows shown for a test case.
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "ui/TvAsk.h"
#include "ui/testpage/TvTestListItem.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestProgress.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString LongName = QStringLiteral(
    "A sub-test whose name goes on and on about what it checks on the adapter");

// A test page of its own, over a store whose adapter DualKey has the test
// case list a test chooses: the all-tests entry, the connectivity entry and
// test cases 1 to 5: 1 loops, 2 does not, 3 has a long sub-test name, 4 has
// eight sub-tests and 5 is an advanced test.
class Fixture : public TvUiRig
{
public:
    explicit Fixture(const QList<int> &testCaseIds, bool advanced = false)
        : page(advanced, &ask, &testMenu)
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
        list = page.findChild<QTreeWidget *>(QStringLiteral("TestCasesListView"));
        page.buildTestList(DualKey);
    }

    QList<int> listNumbers() const
    {
        QList<int> numbers;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            numbers.append(static_cast<TvTestListItem *>(list->topLevelItem(i))->testCaseNumber());
        return numbers;
    }
    QStringList menuTexts() const
    {
        QStringList texts;
        for (QAction *a : testMenu.actions())
            texts.append(a->text());
        return texts;
    }
    QTreeWidgetItem *entryOf(int number) const
    {
        const int at = listNumbers().indexOf(number);
        return at < 0 ? nullptr : list->topLevelItem(at);
    }
    QList<int> shownRows() const
    {
        QList<int> shown;
        for (int k = 0; k < TvTestPage::RowCount; ++k) {
            if (!page.row(k)->isHidden())
                shown.append(page.row(k)->testCase());
        }
        return shown;
    }

    QMenu testMenu;
    TvTestPage page;
    QTreeWidget *list = nullptr;
};

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

    // The bar and the result text keep to the row's 25 pixels, whatever
    // the font would ask for.
    auto *bar = row.findChild<QProgressBar *>(QStringLiteral("test_progressbar"));
    bar->setFont(QFont(bar->font().family(), 40));
    QVERIFY(bar->sizeHint().height() > 25);
    row.layout()->activate();
    QCOMPARE(bar->height(), 25);
    QCOMPARE(result->height(), 25);

    QSignalSpy cut(&row, &TvTestProgress::resultCut);
    row.setResultText(QStringLiteral("ok"));
    QCOMPARE(result->font().pointSize(), 12);
    QCOMPARE(row.resultText(), QStringLiteral("ok"));
    row.setResultText(LongName + LongName);
    QCOMPARE(result->font().pointSize(), 9);
    // Too long at any size: cut to the label's width, whole in the tooltip.
    QVERIFY(row.resultElided());
    QCOMPARE(row.resultText(), LongName + LongName);
    QCOMPARE(result->toolTip(), LongName + LongName);
    QVERIFY(QFontMetrics(result->font()).horizontalAdvance(result->text()) <= result->contentsRect().width());
    QVERIFY(result->text().endsWith(QChar(0x2026)));
    // Told once, for the log.
    row.resize(590, 30);
    QCOMPARE(cut.count(), 1);
    QCOMPARE(cut.first().first().toString(), LongName + LongName);
    // A size between: the largest at which it still fits.
    const QString middle = QStringLiteral("Passed with remarks");
    const int expected = TvTestProgress::fittingPointSize(result->font(), middle, result->size(),
                                                          {12, 11, 10, 9}, 9);
    row.setResultText(middle);
    QCOMPARE(result->font().pointSize(), expected);
    QVERIFY(!row.resultElided() && result->toolTip().isEmpty());

    // The name is measured, not resized: the window applies the size.
    const int before = name->font().pointSize();
    row.setTestName(QStringLiteral("Short"));
    QCOMPARE(row.testNameFontSize(), 12);
    // As a name grows it steps down through every size in turn, then to 4.
    const QString words = QStringLiteral("word ").repeated(200);
    QList<int> taken{12};
    for (int length = 1; length <= words.size(); ++length) {
        row.setTestName(words.left(length));
        if (taken.last() != row.testNameFontSize())
            taken << row.testNameFontSize();
    }
    QCOMPARE(taken, QList<int>({12, 11, 10, 9, 8, 7, 6, 5, 4}));
    // A growing result steps down to 9 points, then is cut (0 here).
    taken = {12};
    for (int length = 1; length <= words.size(); ++length) {
        row.setResultText(words.left(length));
        const int size = row.resultElided() ? 0 : result->font().pointSize();
        if (taken.last() != size)
            taken << size;
    }
    QCOMPARE(taken, QList<int>({12, 11, 10, 9, 0}));
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
    Fixture f({3, 5, 1, 2}, advanced);
    QVERIFY(f.dialogs.asked.isEmpty());

    const QList<int> expected = advanced ? QList<int>{9999, 9998, 3, 5, 1, 2}
                                         : QList<int>{9999, 9998, 3, 1, 2};
    QCOMPARE(f.listNumbers(), expected);
    QCOMPARE(f.list->topLevelItem(2)->text(0), QStringLiteral("Link test"));
    QStringList menu = {"&Link test", "&Flash stress", "&Register test", "&Memory test"};
    if (!advanced)
        menu.removeAll(QStringLiteral("&Flash stress"));
    QCOMPARE(f.menuTexts(), menu);

    QAction *link = f.testMenu.actions().first();
    QVERIFY(link->isCheckable());
    QCOMPARE(link->toolTip(), QStringLiteral("Link test (Ctrl+3)"));
    QCOMPARE(link->shortcut(), QKeySequence(QStringLiteral("Ctrl+3")));
    QVERIFY(link->actionGroup() && link->actionGroup()->isExclusive());
    QSignalSpy triggered(&f.page, &TvTestPage::testSlotTriggered);
    link->trigger();
    QCOMPARE(triggered.count(), 1);

    // The all-tests entry is selected and the list usable.
    QCOMPARE(f.list->currentItem(), f.entryOf(9999));
    QVERIFY(f.list->isEnabled());

    // Building again for the adapter doubles nothing.
    f.page.buildTestList(TvUiRig::DualKey);
    QCOMPARE(f.listNumbers(), expected);
    QCOMPARE(f.menuTexts(), menu);
    // Without an adapter nothing is left, not even the rows of the last
    // test case shown.
    f.list->setCurrentItem(f.entryOf(1));
    f.page.reset();
    QVERIFY(f.listNumbers().isEmpty() && f.menuTexts().isEmpty() && f.shownRows().isEmpty());
    QVERIFY(!f.list->isEnabled());
}

void TestUiTestTab::brokenTestListsAreReported()
{
    {
        Fixture f({1, 7, 2});
        QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("TESTITEM_NOT_FOUND")}));
        QCOMPARE(f.dialogs.asked.first().icon, TvDialogSeam::Critical);
        // What was built before the missing number stays.
        QCOMPARE(f.listNumbers(), QList<int>({9999, 9998, 1}));
        QCOMPARE(f.menuTexts(), QStringList({"&Register test"}));
    }
    {
        Fixture f({});
        QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("TESTCASE_LIST_FAILED")}));
        QVERIFY(f.listNumbers().isEmpty());
        QVERIFY(!f.list->isEnabled());
    }
}

void TestUiTestTab::selectingAnEntryShowsItsRows()
{
    Fixture f({1, 2, 4});
    auto *box = f.page.findChild<QGroupBox *>(QStringLiteral("BaseTestBox"));
    auto *loopLabel = f.page.findChild<QLabel *>(QStringLiteral("loopCountLabel"));
    auto *loopValue = f.page.findChild<QLabel *>(QStringLiteral("loopCountValueLabel"));
    QCheckBox *loop = f.page.loopBox();

    // No entry is no test case, not even one numbered 0.
    CAdapterInfo::instance().testCases.insert(0, Fixture::testCase(QStringLiteral("Zero"), {1}));
    f.list->setCurrentItem(nullptr);
    QCOMPARE(f.page.currentNumber(), -1);
    QVERIFY(!f.page.loopAllowed());

    f.list->setCurrentItem(f.entryOf(1));
    QCOMPARE(box->title(), QStringLiteral("Register test"));
    QCOMPARE(f.shownRows(), QList<int>({101, 102, 103}));
    for (int k = 0; k < 3; ++k) {
        QVERIFY(f.page.row(k)->isChecked());
        QCOMPARE(f.page.row(k)->totalSteps(), 100);
        QCOMPARE(f.page.row(k)->testName(), QStringLiteral("Step %1").arg(101 + k));
    }
    QVERIFY(loop->isEnabled() && loopLabel->isEnabled() && loopValue->isEnabled());
    QVERIFY(f.page.startButton()->isEnabled());

    // The same entry again leaves the rows alone.
    f.page.row(0)->setResultText(QStringLiteral("passed"));
    f.page.row(1)->setChecked(false);
    f.page.SelectTestCaseSlot(f.entryOf(1));
    QCOMPARE(f.page.row(0)->resultText(), QStringLiteral("passed"));
    QVERIFY(!f.page.row(1)->isChecked());

    // A test case that may not loop switches the loop controls off, and the
    // rows are reset for it.
    f.list->setCurrentItem(f.entryOf(2));
    QCOMPARE(f.shownRows(), QList<int>({201}));
    QVERIFY(f.page.row(0)->resultText().isEmpty());
    QVERIFY(f.page.row(0)->isChecked());
    QVERIFY(!loop->isEnabled() && !loopLabel->isEnabled() && !loopValue->isEnabled());

    // Eight sub-tests do not fit: the rows keep what they showed.
    f.list->setCurrentItem(f.entryOf(4));
    QCOMPARE(f.dialogs.messageTexts(), QStringList({QStringLiteral("TOO_MANY_SUBTEST_CASES")}));
    QCOMPARE(f.shownRows(), QList<int>({201}));
    QCOMPARE(box->title(), QStringLiteral("Memory test"));
}

void TestUiTestTab::namesShareTheSmallestFittingSize()
{
    Fixture f({1, 3});
    f.page.resize(630, 400);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    f.list->setCurrentItem(f.entryOf(3));
    QCOMPARE(f.shownRows(), QList<int>({301, 302}));

    auto *shortLabel = f.page.row(0)->findChild<QLabel *>(QStringLiteral("test_testName"));
    auto *longLabel = f.page.row(1)->findChild<QLabel *>(QStringLiteral("test_testName"));
    const QList<int> sizes = {12, 11, 10, 9, 8, 7, 6, 5};
    const int longFit = TvTestProgress::fittingPointSize(longLabel->font(), LongName,
                                                         longLabel->size(), sizes, 4);
    const int shortFit = TvTestProgress::fittingPointSize(shortLabel->font(), QStringLiteral("Step 301"),
                                                          shortLabel->size(), sizes, 4);
    QVERIFY2(longFit < shortFit, "the long name must need a smaller size");
    QCOMPARE(f.page.row(0)->testNameFontSize(), longFit);
    QCOMPARE(f.page.row(1)->testNameFontSize(), longFit);
    QCOMPARE(shortLabel->font().pointSize(), longFit);
    QCOMPARE(longLabel->font().pointSize(), longFit);

    // Back to a test case of short names: the size grows again.
    f.list->setCurrentItem(f.entryOf(1));
    QCOMPARE(f.page.row(0)->testNameFontSize(), shortFit);
}

QTEST_MAIN(TestUiTestTab)
#include "test_ui_testtab.moc"
