#pragma once
#include <QWidget>

#include <array>

class QAction;
class QActionGroup;
class QCheckBox;
class QMenu;
class QPushButton;
class QTreeWidgetItem;
class TvAsk;
class TvTestProgress;
struct CTestCase;

namespace Ui {
class TvTestPage;
}

// The test tab: the test list of the selected adapter with one entry per
// test case (a "test slot"), a toggle action per slot in the Tests menu that
// it is handed, the seven progress rows of the shown slot, the loop controls
// and the start and cancel buttons. TvTestRun runs what it shows.
class TvTestPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RowCount = 7;
    static constexpr int SlotCount = 32;
    static constexpr int AllTestsNumber = 9999;
    static constexpr int ConnectivityNumber = 9998;

    // A test case of the adapter's list, in list order. An empty entry has
    // number -1, no action and no list entry.
    struct TestSlot {
        int number = -1;
        QAction *action = nullptr;
        QTreeWidgetItem *item = nullptr;
        // An advanced test case outside advanced mode: no entry, but not a
        // gap in the adapter's list either.
        bool hidden = false;
    };

    TvTestPage(bool advanced, TvAsk *ask, QMenu *testMenu, QWidget *parent = nullptr);
    ~TvTestPage() override;

    // False when a row or the menu's action group could not be created.
    bool hasRows() const { return rowsBuilt; }
    bool hasActionGroup() const { return menuActions != nullptr; }

    TvTestProgress *row(int k) const { return rows[k]; }
    // A slot past the last throws rather than reading what follows.
    const TestSlot &testSlot(int k) const { return testSlots.at(std::size_t(k)); }
    QPushButton *startButton() const;
    QPushButton *cancelButton() const;
    QCheckBox *loopBox() const;

    // Empties the list, the menu entries and the rows (no adapter).
    void reset();
    // Rebuilds list, slots and menu entries for the adapter with this key.
    void buildTestList(const QString &adapterKey);
    // Fills the rows from the test case with this number.
    void showTestSlot(int testCaseNumber);
    // Makes slot k's entry the current one and shows its rows.
    void showSlot(int k);
    // Makes the entry of this test case number the current one and shows
    // its rows; false when the list has none.
    bool selectEntry(int testCaseNumber);
    // The names of the shown rows share the largest size at which all fit.
    void refitTestNames();

    // The test case number of the current entry (-1 without one) and its text.
    int currentNumber() const;
    bool hasCurrentEntry() const;
    QString currentEntryText() const;
    bool loopAllowed() const;
    void showLoopCount(int count);
    // The first ticked row from `from` on, or -1.
    int nextTickedRow(int from) const;
    // Before a run: every row without result and progress, ticks locked.
    void prepareRowsForRun();
    void setRowChecksEnabled(bool enabled);

    // The test page's share of locking the controls around a run; the start
    // button takes the focus when this page is shown.
    void setControlsEnabled(bool enabled, bool shown);
    // The tab was shown: the start button (or cancel while a run goes on)
    // takes the focus.
    void takeFocus();
    void languageChange();

public slots:
    void SelectTestCaseSlot(QTreeWidgetItem *item);

signals:
    void startPressed();
    void cancelPressed();
    // A test slot's entry of the Tests menu was triggered.
    void testSlotTriggered();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool buildTestRows();
    void clearTestSlots();
    void hideRows();
    bool addTestSlot(int k, int number, const CTestCase &testCase, QTreeWidgetItem *&after);

    Ui::TvTestPage *ui;
    bool advanced;
    TvAsk *ask;
    QMenu *testMenu;
    QActionGroup *menuActions = nullptr;
    bool rowsBuilt = false;
    std::array<TvTestProgress *, RowCount> rows{};
    std::array<TestSlot, SlotCount> testSlots; // `slots` is taken by Qt
    QTreeWidgetItem *lastSelectedItem = nullptr;
};
