#include "TvTestPage.h"
#include "ui_TvTestPage.h"

#include "TvTestListItem.h"
#include "TvTestProgress.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"

#include "description/CAdapterInfo.h"

#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QVBoxLayout>

#include <new>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

} // namespace

TvTestPage::TvTestPage(bool advanced, TvAsk *ask, QMenu *testMenu, QWidget *parent)
    : QWidget(parent), ui(new Ui::TvTestPage), advanced(advanced), ask(ask), testMenu(testMenu)
{
    ui->setupUi(this);
    ui->TestCasesListView->setEnabled(false);
    ui->StartTestButton->setEnabled(false);
    ui->CancelTestButton->setEnabled(false);
    ui->LoopInfiniteTests->setEnabled(false);
    ui->StartTestButton->setFocusPolicy(Qt::StrongFocus);
    ui->CancelTestButton->setFocusPolicy(Qt::StrongFocus);
    connect(ui->TestCasesListView, &QTreeWidget::currentItemChanged, this,
            &TvTestPage::SelectTestCaseSlot);
    connect(ui->TestCasesListView, &QTreeWidget::itemClicked, this,
            &TvTestPage::SelectTestCaseSlot);
    connect(ui->StartTestButton, &QPushButton::pressed, this, &TvTestPage::startPressed);
    connect(ui->CancelTestButton, &QPushButton::pressed, this, &TvTestPage::cancelPressed);
    rowsBuilt = buildTestRows();
    menuActions = new (std::nothrow) QActionGroup(this);
    if (menuActions)
        menuActions->setExclusive(true);
}

TvTestPage::~TvTestPage()
{
    delete ui;
}

bool TvTestPage::buildTestRows()
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

QPushButton *TvTestPage::startButton() const
{
    return ui->StartTestButton;
}

QPushButton *TvTestPage::cancelButton() const
{
    return ui->CancelTestButton;
}

QCheckBox *TvTestPage::loopBox() const
{
    return ui->LoopInfiniteTests;
}

void TvTestPage::languageChange()
{
    ui->LoopInfiniteTests->setToolTip(msg("LOOP_INFINITE_TOOLTIP"));
    ui->LoopInfiniteTests->setText(msg("LOOP_INFINITE"));
    ui->StartTestButton->setText(msg("START_TESTS"));
    ui->CancelTestButton->setText(msg("CANCEL_TESTS"));
    ui->loopCountLabel->setText(msg("LOOP_COUNT"));
}

void TvTestPage::clearTestSlots()
{
    for (TestSlot &slot : testSlots) {
        if (slot.action) {
            testMenu->removeAction(slot.action);
            delete slot.action;
        }
        slot = TestSlot();
    }
}

void TvTestPage::hideRows()
{
    for (TvTestProgress *row : rows) {
        if (row)
            row->hide();
    }
    ui->BaseTestBox->setTitle(QString());
}

void TvTestPage::reset()
{
    clearTestSlots();
    hideRows();
    ui->TestCasesListView->clear();
    lastSelectedItem = nullptr;
    ui->LoopInfiniteTests->setChecked(false);
    ui->loopCountValueLabel->setText(QStringLiteral("0"));
    ui->StartTestButton->setEnabled(false);
    ui->TestCasesListView->setEnabled(false);
}

void TvTestPage::buildTestList(const QString &adapterKey)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    QTreeWidget *list = ui->TestCasesListView;
    list->setSortingEnabled(false);

    const QList<int> *numbers = info.adapterTestCases(adapterKey);
    if (!numbers || numbers->isEmpty()) {
        ask->alone(TvDialogSeam::Critical, msg("TESTCASE_LIST_FAILED"));
        return;
    }
    clearTestSlots();
    hideRows();
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
            ask->alone(TvDialogSeam::Critical, msg("TESTITEM_NOT_FOUND"));
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

bool TvTestPage::addTestSlot(int k, int number, const CTestCase &testCase, QTreeWidgetItem *&after)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    after = new TvTestListItem(ui->TestCasesListView, after, number, msg(testCase.testname),
                               QIcon(info.basePathOf(testCase.pixmap)));
    QAction *action = new (std::nothrow) QAction(menuActions);
    if (!action) {
        ask->alone(TvDialogSeam::Critical, msg("ALLOC_MENUACTION_FAILED"));
        return false;
    }
    const QString menuText = msg(testCase.menuentry);
    const QString accel = msg(testCase.accel);
    action->setCheckable(true);
    action->setText(menuText);
    QString tip = menuText + QStringLiteral(" (") + accel + QLatin1Char(')');
    action->setToolTip(tip.remove(QLatin1Char('&')));
    action->setShortcut(QKeySequence(accel));
    testMenu->addAction(action);
    connect(action, &QAction::triggered, this, &TvTestPage::testSlotTriggered);
    testSlots[k] = {number, action, after};
    return true;
}

void TvTestPage::showTestSlot(int testCaseNumber)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    const CTestCase *t = info.testCase(testCaseNumber);
    if (!t)
        return;
    if (t->subtests.size() > RowCount) {
        ask->alone(TvDialogSeam::Critical, msg("TOO_MANY_SUBTEST_CASES"));
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
    for (int i = 0; i < t->subtests.size(); ++i) {
        TvTestProgress *row = rows[i];
        const CSubTestCase &sub = t->subtests.at(i);
        // Fitted below when the tab is on screen, else when it is shown.
        row->setTestNameUnmeasured(sub.label);
        row->setTestCase(sub.id);
        row->setTotalSteps(100);
        row->setChecked(true);
        row->show();
    }
    refitTestNames();
}

void TvTestPage::showSlot(int k)
{
    ui->TestCasesListView->setCurrentItem(testSlots[k].item);
    showTestSlot(testSlots[k].number);
    ui->StartTestButton->setEnabled(true);
}

bool TvTestPage::selectEntry(int testCaseNumber)
{
    QTreeWidget *list = ui->TestCasesListView;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = list->topLevelItem(i);
        if (item->type() == TvTestListItem::Type
            && static_cast<TvTestListItem *>(item)->testCaseNumber() == testCaseNumber) {
            list->setCurrentItem(item);
            SelectTestCaseSlot(item);
            return true;
        }
    }
    return false;
}

void TvTestPage::refitTestNames()
{
    // The names are measured against the labels' real widths, which exist
    // only once the test tab has been laid out on screen. A row shown
    // inside the visible box has the box laid out again there and then.
    if (!ui->BaseTestBox->isVisible())
        return;
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

void TvTestPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refitTestNames();
}

void TvTestPage::SelectTestCaseSlot(QTreeWidgetItem *item)
{
    if (!item || item == lastSelectedItem || item->type() != TvTestListItem::Type)
        return;
    lastSelectedItem = item;
    showTestSlot(static_cast<TvTestListItem *>(item)->testCaseNumber());
    ui->StartTestButton->setEnabled(true);
    const bool loop = loopAllowed();
    ui->LoopInfiniteTests->setEnabled(loop);
    ui->loopCountLabel->setEnabled(loop);
    ui->loopCountValueLabel->setEnabled(loop);
}

int TvTestPage::currentNumber() const
{
    const QTreeWidgetItem *entry = ui->TestCasesListView->currentItem();
    return entry && entry->type() == TvTestListItem::Type
               ? static_cast<const TvTestListItem *>(entry)->testCaseNumber()
               : -1;
}

bool TvTestPage::hasCurrentEntry() const
{
    return ui->TestCasesListView->currentItem() != nullptr;
}

QString TvTestPage::currentEntryText() const
{
    const QTreeWidgetItem *entry = ui->TestCasesListView->currentItem();
    return entry ? entry->text(0) : QString();
}

bool TvTestPage::loopAllowed() const
{
    const CTestCase *t = CAdapterInfo::instance().testCase(currentNumber());
    return t && t->allow_loop == 1;
}

void TvTestPage::showLoopCount(int count)
{
    ui->loopCountValueLabel->setText(QString::number(count));
}

int TvTestPage::nextTickedRow(int from) const
{
    for (int k = qMax(from, 0); k < RowCount; ++k) {
        if (rows[k]->isChecked())
            return k;
    }
    return -1;
}

void TvTestPage::prepareRowsForRun()
{
    const QPixmap empty(CAdapterInfo::instance().basePathOf(QStringLiteral("images/empty.png")));
    for (TvTestProgress *row : rows) {
        row->setResultPixmap(empty);
        row->setResultText(QString());
        row->setProgress(0);
        row->setCheckEnabled(false);
    }
}

void TvTestPage::setRowChecksEnabled(bool enabled)
{
    for (TvTestProgress *row : rows)
        row->setCheckEnabled(enabled);
}

void TvTestPage::setControlsEnabled(bool enabled, bool shown)
{
    ui->TestCasesListView->setEnabled(enabled);
    if (enabled)
        ui->CancelTestButton->setEnabled(false);
    ui->StartTestButton->setEnabled(enabled);
    if (shown)
        ui->StartTestButton->setFocus();
}

void TvTestPage::takeFocus()
{
    (ui->StartTestButton->isEnabled() ? ui->StartTestButton : ui->CancelTestButton)->setFocus();
    refitTestNames();
}
