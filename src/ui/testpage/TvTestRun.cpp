#include "TvTestRun.h"

#include "TvTestPage.h"
#include "TvTestProgress.h"
#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"
#include "ui/log/TvLogBook.h"

#include "description/CAdapterInfo.h"
#include "engine/TestJob.h"
#include "engine/TvWorkerThread.h"

#include <probekit.h>

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

QPixmap resultImage(bool passed)
{
    return QPixmap(CAdapterInfo::instance().basePathOf(
        passed ? QStringLiteral("images/passed.png") : QStringLiteral("images/failed.png")));
}

} // namespace

TvTestRun::TvTestRun(TvTestPage *page, TvAdapterSession *session, TvLogBook *log, TvAsk *ask,
                     bool advanced, QObject *parent)
    : QObject(parent), page(page), session(session), log(log), ask(ask), advanced(advanced)
{
    // A result cut short on the screen is read whole in the log.
    for (int k = 0; page->hasRows() && k < TvTestPage::RowCount; ++k) {
        TvTestProgress *row = page->row(k);
        connect(row, &TvTestProgress::resultCut, this, [log, row](const QString &text) {
            log->addLogLine(msg("RESULT_TEXT_IN_FULL %1 %2").arg(row->testName(), text));
        });
    }
}

bool TvTestRun::coreIsBusy() const
{
    return coreBusy || (workerThread && workerThread->isCoreBusy());
}

void TvTestRun::cancelCoreWork()
{
    if (workerThread && workerThread->cancelCore())
        return;
    if (coreBusy)
        TestCancel();
}

bool TvTestRun::loopTicked() const
{
    return page->loopBox()->isChecked();
}

void TvTestRun::clearPendingJobs()
{
    if (workerThread)
        workerThread->clearJobs();
}

void TvTestRun::watchRunControls()
{
    page->cancelButton()->installEventFilter(this);
    page->loopBox()->installEventFilter(this);
}

bool TvTestRun::eventFilter(QObject *object, QEvent *event)
{
    // While a test runs the window shows the wait cursor; the cancel button
    // and the loop check box stay usable, so they show the arrow.
    if (running && (object == page->cancelButton() || object == page->loopBox())) {
        if (event->type() == QEvent::Enter)
            ask->setRunCursor(Qt::ArrowCursor);
        else if (event->type() == QEvent::Leave)
            ask->setRunCursor(Qt::WaitCursor);
    }
    return QObject::eventFilter(object, event);
}

void TvTestRun::setRunning(bool on)
{
    ask->setRunning(on);
    if (running == on)
        return;
    running = on;
    emit runningChanged(on);
}

bool TvTestRun::currentRowValid() const
{
    return currentRow >= 0 && currentRow < TvTestPage::RowCount;
}

void TvTestRun::advanceLoopCounter()
{
    if (!page->loopBox()->isChecked()) {
        loopCounter = 0;
        page->showLoopCount(0);
        return;
    }
    page->showLoopCount(loopCounter);
    ++loopCounter;
}

void TvTestRun::beginRow(int row)
{
    setRunning(true);
    currentRow = row;
    log->addLogLine(msg("TEST_CASE_STARTED %1").arg(page->row(row)->testName()));
    emit subTestStarted(row);
}

void TvTestRun::startRow(int row)
{
    beginRow(row);
    workerThread->appendJob(new TestJob(page->row(row)->testCase(), row));
}

void TvTestRun::StartTestSlot()
{
    if (!workerThread)
        return;
    if (!running)
        emit runStarting();
    if (!allTestsMode)
        advanceLoopCounter();
    log->setLoggingOn(true);
    page->prepareRowsForRun();
    const QString name = page->currentEntryText();
    if (page->hasCurrentEntry())
        log->addLogLine(msg("TEST_SLOT_STARTED %1").arg(name));
    const int number = page->currentNumber();
    if (number == TvTestPage::AllTestsNumber) {
        loopCounter = 0;
        startAllTestsSlot();
        return;
    }

    const int first = page->nextTickedRow(0);
    if (first < 0) {
        page->setRowChecksEnabled(true);
        log->addLogLine(msg("FINISHED_NOT_TESTCASE_SELECTED %1").arg(name));
        // A slot of an all-tests run without sub-tests ends that run
        // rather than leaving the window locked.
        abandonAllTests();
        return;
    }

    beginRow(first);
    workerThread->setCancelRequested(false);
    emit controlsLockRequested(true);
    page->cancelButton()->setEnabled(true);
    page->cancelButton()->setFocus();

    if (number == TvTestPage::ConnectivityNumber) {
        if (!runConnectivityTest(first))
            releaseAfterFailedStart();
        return;
    }
    if (!page->cancelButton()->underMouse() && !page->loopBox()->underMouse())
        ask->setRunCursor(Qt::WaitCursor);
    workerThread->appendJob(new TestJob(page->row(first)->testCase(), first));
}

bool TvTestRun::runConnectivityTest(int row)
{
    return connectivityStart && connectivityStart(row);
}

void TvTestRun::connectivityNotStarted()
{
    if (running)
        releaseAfterFailedStart();
}

void TvTestRun::releaseAfterFailedStart()
{
    emit controlsLockRequested(false);
    setRunning(false);
    page->cancelButton()->setEnabled(false);
    page->startButton()->setEnabled(true);
    page->startButton()->setFocus();
    page->setRowChecksEnabled(true);
    ask->clearRunCursor();
    emit runFinished(false);
}

bool TvTestRun::qualifiesForAllTests(int k) const
{
    const TvTestPage::TestSlot &slot = page->testSlot(k);
    if (slot.number < 0 || !slot.item || slot.number == TvTestPage::AllTestsNumber
        || slot.number == TvTestPage::ConnectivityNumber)
        return false;
    const CTestCase *t = CAdapterInfo::instance().testCase(slot.number);
    return t && t->all_tests == 1 && (t->advanced == 0 || advanced);
}

int TvTestRun::firstAllTestsSlot(bool *missing) const
{
    *missing = false;
    const CAdapterInfo &info = CAdapterInfo::instance();
    for (int k = 0; k < TvTestPage::SlotCount; ++k) {
        const TvTestPage::TestSlot &slot = page->testSlot(k);
        if (slot.hidden)
            continue;
        // An empty entry has no test case either: the search ends there.
        if (slot.number < 0 || !info.testCase(slot.number)) {
            *missing = true;
            return -1;
        }
        if (qualifiesForAllTests(k))
            return k;
    }
    return -1;
}

void TvTestRun::endAllTests()
{
    if (!allTestsMode)
        return;
    allTestsMode = false;
    TestSeriesEnd();
}

void TvTestRun::abandonAllTests()
{
    page->setRowChecksEnabled(true);
    endAllTests();
    if (running)
        endRun();
    else
        emit runFinished(false);
}

void TvTestRun::startAllTestsSlot()
{
    if (!workerThread)
        return;
    if (!running)
        emit runStarting();
    log->setLoggingOn(true);
    bool missing = false;
    const int k = firstAllTestsSlot(&missing);
    if (k < 0) {
        if (missing)
            ask->alone(TvDialogSeam::Critical, msg("TESTITEM_NOT_FOUND"));
        else
            ask->message(TvDialogSeam::Information, msg("NO_TEST_FOR_ALL_TESTS"), TvDialogSeam::Ok);
        abandonAllTests();
        return;
    }
    allTestsIndex = k;
    allTestsMode = true;
    emit testPageWanted();
    page->showSlot(k);
    log->addLogLine(msg("START_ALL_TESTS_FOR %1").arg(session->cardName()));
    if (loopCounter == 0)
        TestSeriesBegin();
    advanceLoopCounter();
    StartTestSlot();
}

int TvTestRun::checkedMenuSlot() const
{
    for (int k = 0; k < TvTestPage::SlotCount; ++k) {
        const TvTestPage::TestSlot &slot = page->testSlot(k);
        if (slot.action && slot.action->isChecked() && slot.number >= 0 && slot.item)
            return k;
    }
    return -1;
}

void TvTestRun::testSlot()
{
    if (running || !workerThread)
        return;
    const int k = checkedMenuSlot();
    if (k < 0) {
        ask->alone(TvDialogSeam::Critical, msg("TESTITEM_NOT_FOUND"));
        return;
    }
    // The menu entries only start a slot; none stays ticked.
    page->testSlot(k).action->setChecked(false);
    const CTestCase *t = CAdapterInfo::instance().testCase(page->testSlot(k).number);
    if (!t) {
        ask->alone(TvDialogSeam::Critical, msg("TESTITEM_NOT_FOUND"));
        return;
    }
    if (t->advanced != 0 && !advanced)
        return;
    emit testPageWanted();
    page->showSlot(k);
    StartTestSlot();
}

void TvTestRun::restartTestCase()
{
    StartTestSlot();
}

void TvTestRun::CancelTestSlot()
{
    lastLoopCount = loopCounter;
    loopCounter = 0;
    if (workerThread)
        workerThread->setCancelRequested(true);
    cancelCoreWork();
    emit cancelling();
    page->cancelButton()->setEnabled(false);
    // Start stays off: while the cancelled test or console command is still
    // in the core (or queued), its end event is still to come, and that
    // event releases the controls, Start with them.
    page->loopBox()->setEnabled(page->loopAllowed());
    // Between two passes of a loop no job is left for the worker to drop,
    // so the cancellation is finished here.
    if (dropPendingRestart())
        finishCancelledRun(false, true);
}

void TvTestRun::scheduleRestart(int delayMs)
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

bool TvTestRun::dropPendingRestart()
{
    if (!pendingRestart)
        return false;
    pendingRestart = 0;
    return true;
}

bool TvTestRun::stopIfCancelled()
{
    // Starting another pass or slot would clear a cancel that arrived while
    // the last job finished; it ends the run instead.
    if (!workerThread || !workerThread->isCancelRequested())
        return false;
    finishCancelledRun(false, true);
    return true;
}

void TvTestRun::markRowResult(bool passed)
{
    TvTestProgress *row = page->row(currentRow);
    const char *verdict = passed ? "TEST_CASE_PASSED" : "TEST_CASE_FAILED";
    // A text that the core gave for a pass stays; a fail always says so.
    if (!passed || row->resultText().isEmpty())
        row->setResultText(msg(verdict));
    row->setResultPixmap(resultImage(passed));
    log->addLogLine(msg("TEST_CASE %1 %2").arg(row->testName(), msg(verdict)));
    emit subTestEnded(currentRow, passed ? Passed : Failed);
}

void TvTestRun::testCaseFinished(int status)
{
    if (!currentRowValid())
        return;
    const bool passed = status == 0;
    if (!passed) {
        allTestsMode = false;
        TestSeriesEnd();
    }
    markRowResult(passed);
    ++currentRow;
    if (passed) {
        const int next = page->nextTickedRow(currentRow);
        if (next >= 0) {
            startRow(next);
            return;
        }
    }
    // After a pass no ticked row is left; a fail ends the slot, but when
    // it came from the last row the loop goes on as after a pass.
    if ((passed || currentRow >= TvTestPage::RowCount) && !allTestsMode) {
        page->showLoopCount(loopCounter);
        if (page->loopBox()->isChecked()) {
            scheduleRestart(LoopRestartMs);
            return;
        }
    }
    const QString entry = page->currentEntryText();
    if (!entry.isNull())
        log->addLogLine(msg("TEST_SLOT_FINISHED %1").arg(entry));
    if (allTestsMode && continueAllTests())
        return;
    endRun();
}

bool TvTestRun::continueAllTests()
{
    for (int k = allTestsIndex + 1; k < TvTestPage::SlotCount; ++k) {
        if (!qualifiesForAllTests(k))
            continue;
        if (stopIfCancelled())
            return true;
        allTestsIndex = k;
        page->showSlot(k);
        StartTestSlot();
        return true;
    }
    page->showLoopCount(loopCounter);
    if (page->loopBox()->isChecked()) {
        if (!stopIfCancelled())
            startAllTestsSlot();
        return true;
    }
    finishAllTests();
    return false;
}

void TvTestRun::finishAllTests()
{
    const QString finished = msg("ALL_TESTS_FINISHED %1").arg(session->cardName());
    log->addLogLine(finished);
    setRunning(false);
    // The run is over; the box below only waits for the operator.
    emit runFinished(false);
    ask->clearRunCursor();
    const TvAsk::Question done{finished, TvDialogSeam::Ok};
    ask->showQuestion(&done);
    allTestsMode = false;
    TestSeriesEnd();
}

void TvTestRun::endRun()
{
    page->setRowChecksEnabled(true);
    setRunning(false);
    loopCounter = 0;
    ask->clearRunCursor();
    emit controlsLockRequested(false);
    emit runFinished(false);
}

void TvTestRun::finishCancelledRun(bool markRow, bool endAllTestsToo)
{
    if (markRow && currentRowValid()) {
        page->row(currentRow)->setResultPixmap(resultImage(false));
        page->row(currentRow)->setResultText(msg("TEST_CASE_CANCELLED"));
        emit subTestEnded(currentRow, Cancelled);
    }
    clearPendingJobs();
    if (workerThread)
        workerThread->setCancelRequested(false);
    setRunning(false);
    const QString entry = page->currentEntryText();
    if (!entry.isNull())
        log->addLogLine(msg("TEST_SLOT_CANCELLED %1").arg(entry));
    if (page->loopBox()->isChecked())
        log->addLogLine(msg("LOOP_COUNT %1").arg(lastLoopCount));
    emit controlsLockRequested(false);
    if (endAllTestsToo)
        endAllTests();
    page->setRowChecksEnabled(true);
    ask->clearRunCursor();
    emit runFinished(true);
}

void TvTestRun::testCaseCancelled()
{
    finishCancelledRun(true, true);
}

void TvTestRun::connectivityFinished(int status)
{
    if (!currentRowValid())
        return;
    const bool passed = status == 0;
    markRowResult(passed);
    page->showLoopCount(loopCounter);
    const bool looping = page->loopBox()->isChecked();
    if (looping && passed) {
        scheduleRestart(ConnectivityRestartMs);
        return;
    }
    const QString entry = page->currentEntryText();
    if (!entry.isNull())
        log->addLogLine(msg("TEST_SLOT_FINISHED %1").arg(entry));
    // A failed pass ends a loop: say how many passes were started.
    if (looping)
        log->addLogLine(msg("LOOP_COUNT %1").arg(loopCounter));
    endRun();
}

void TvTestRun::connectivityCancelled()
{
    finishCancelledRun(true, false);
}

void TvTestRun::showResultText(const QString &text)
{
    if (!text.isEmpty() && currentRowValid()) {
        page->row(currentRow)->setResultText(text);
        emit coreResultText(text);
    }
}

void TvTestRun::showProgress(int value)
{
    const int row = workerThread ? workerThread->currentRow() : -1;
    if (row >= 0 && row < TvTestPage::RowCount)
        page->row(row)->setProgress(value);
}
