#include "TvConsolePage.h"
#include "TvLineEdit.h"
#include "TvPushButton.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"
#include "ui/log/TvLogBook.h"
#include "ui/testpage/TvTestRun.h"

#include "description/CAdapterInfo.h"
#include "engine/TestJob.h"
#include "engine/TvLogFile.h"
#include "engine/TvScriptThread.h"
#include "engine/TvWorkerThread.h"
#include "text/TvProgram.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

// The core takes a command as Latin-1 text: a character beyond it would
// reach the core changed, and a zero would cut the command short.
bool sendable(const QString &line)
{
    for (const QChar c : line) {
        if (c.unicode() > 0xFF || c.isNull())
            return false;
    }
    return true;
}

// The help's texts in the order they are shown.
QList<int> helpTextNumbers()
{
    QList<int> numbers;
    for (int n = 1; n <= 23; ++n)
        numbers.append(n);
    return numbers << 26 << 24 << 25 << 27;
}

} // namespace

TvConsolePage::TvConsolePage(bool advanced, TvAdapterSession *session, TvAsk *ask, TvLogBook *log,
                             TvTestRun *run, QWidget *parent)
    : QWidget(parent), advanced(advanced), session(session), ask(ask), log(log), run(run)
{
    setObjectName(QStringLiteral("AdvancedTab"));
}

TvConsolePage::~TvConsolePage()
{
    stopScript();
}

bool TvConsolePage::buildAdvancedTab()
{
    if (!advanced)
        return false;
    if (console)
        return true;
    auto *layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("LayoutAdvanced"));
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(6);

    console = new QPlainTextEdit(this);
    console->setObjectName(QStringLiteral("AdvancedTextEdit"));
    console->setReadOnly(true);
    console->setUndoRedoEnabled(false);
    QPalette colours = console->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0, 255, 0));
    console->setPalette(colours);
    QFont font(QStringLiteral("Courier"));
    font.setPointSizeF(8.5);
    console->setFont(font);
    console->setFocusPolicy(Qt::NoFocus);
    console->setMouseTracking(false);
    console->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    console->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    console->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A repeater left running for a day must not fill the memory.
    console->setMaximumBlockCount(MaxConsoleLines);

    input = new TvLineEdit(this);
    input->setObjectName(QStringLiteral("AdvancedLineEdit"));
    cancelButton = new TvPushButton(this);
    cancelButton->setObjectName(QStringLiteral("AdvancedCancelBtn"));
    cancelButton->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{console, input, cancelButton})
        layout->addWidget(w);

    connect(input, &QLineEdit::returnPressed, this, &TvConsolePage::doAdvancedAction);
    connect(input, &TvLineEdit::fileExitSignal, this, &TvConsolePage::exitRequested);
    connect(input, &TvLineEdit::testCancelSignal, this, &TvConsolePage::cancelRequested);
    connect(cancelButton, &TvPushButton::ButtonPressed, this, &TvConsolePage::cancelRequested);
    connect(cancelButton, &QPushButton::pressed, this, &TvConsolePage::cancelRequested);
    input->setFocus();
    languageChange();
    return true;
}

void TvConsolePage::setScriptThread(TvScriptThread *thread, QObject *receiver)
{
    runner = thread;
    scriptReceiver = receiver;
}

void TvConsolePage::stopScript()
{
    if (runner)
        runner->stop();
}

void TvConsolePage::setInputEnabled(bool enabled)
{
    if (input)
        input->setEnabled(enabled);
}

void TvConsolePage::setControlsEnabled(bool enabled, bool shown, bool cancellable)
{
    if (!advanced)
        return;
    setInputEnabled(enabled);
    if (cancelButton)
        cancelButton->setEnabled(!enabled && cancellable);
    if (shown)
        takeFocus();
}

void TvConsolePage::setControlsEnabled(bool enabled)
{
    emit controlsLockRequested(!enabled);
}

void TvConsolePage::releaseControls()
{
    // A script goes on with its next line: the controls stay locked.
    if (!scriptRunning)
        emit controlsLockRequested(false);
}

void TvConsolePage::cancelDone()
{
    if (cancelButton)
        cancelButton->setEnabled(false);
    if (input)
        input->setFocus();
    if (runner && runner->isRunning())
        runner->requestCancel();
}

void TvConsolePage::keyPressEvent(QKeyEvent *event)
{
    // While a command runs the input is locked and the cancel button has the
    // focus; it takes only Return and Enter, so the console's two control
    // keys arrive here.
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_C)
        emit cancelRequested();
    else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_X)
        emit exitRequested();
    else
        QWidget::keyPressEvent(event);
}

void TvConsolePage::takeFocus()
{
    if (input && input->isEnabled())
        input->setFocus();
    else if (cancelButton)
        cancelButton->setFocus();
}

void TvConsolePage::languageChange()
{
    if (cancelButton)
        cancelButton->setText(msg("CANCEL_TESTS"));
}

QString TvConsolePage::consoleText()
{
    if (!console)
        return QString();
    flushConsoleText();
    return console->toPlainText();
}

QString TvConsolePage::commandText() const
{
    return input ? input->text() : QString();
}

// ---------------------------------------------------------------------------
// Command lines
// ---------------------------------------------------------------------------

void TvConsolePage::doAdvancedAction()
{
    const QString line = commandText();
    if (line.isEmpty())
        return;
    emit controlsLockRequested(true);
    if (executeCommand(line) < 0)
        emit exitRequested();
}

void TvConsolePage::runCommand(const QString &command)
{
    if (!input)
        return;
    input->setText(command);
    doAdvancedAction();
}

int TvConsolePage::executeCommand(const QString &line)
{
    // A character beyond Latin-1 is none of these.
    const QChar first = line.isEmpty() ? QChar() : line.at(0);
    const bool leave = first == QLatin1Char('q') || first == QChar(0x18);
    const bool help = first == QLatin1Char('?') || first == QLatin1Char('h');
    if (!leave && !help)
        return queueCommand(line);
    if (help)
        showHelp();
    releaseControls();
    if (input)
        input->clear();
    return leave ? -1 : 0;
}

int TvConsolePage::queueCommand(const QString &line)
{
    // Logging comes on with a fresh list; lines not yet saved stay.
    log->switchOnWithFreshList();
    if (input)
        input->setText(line);
    TvWorkerThread *worker = run ? run->worker() : nullptr;
    const bool canSend = !line.isEmpty() && sendable(line);
    if (!worker || !canSend) {
        if (!canSend && !line.isEmpty()) {
            const QString refused = msg("COMMAND_NOT_SENT %1").arg(line);
            appendConsoleText(QLatin1Char('\n') + refused + QLatin1Char('\n'));
            log->addLogLine(refused);
        }
        releaseControls();
        return 0;
    }
    worker->setCancelRequested(false);
    if (cancelButton) {
        cancelButton->setEnabled(true);
        if (cancelButton->isVisible())
            cancelButton->setFocus();
    }
    log->addLogLine(msg("COMMAND_STARTED %1").arg(line));
    ask->setRunCursor(Qt::WaitCursor);
    worker->appendJob(new TestJob(TestJob::ConsoleCommand, -1, line));
    return 1;
}

void TvConsolePage::commandDone(int status)
{
    log->addLogLine(msg(status == 0 ? "COMMAND_FINISHED %1" : "COMMAND_FAILED %1").arg(commandText()));
    commandEnded();
}

void TvConsolePage::commandCancelled()
{
    appendConsoleText(QLatin1Char('\n') + msg("Command cancelled !") + QLatin1Char('\n'));
    log->addLogLine(msg("COMMAND_CANCELLED %1").arg(commandText()));
    if (run && run->loopTicked())
        log->addLogLine(msg("LOOP_COUNT %1").arg(run->lastLoop()));
    commandEnded();
}

void TvConsolePage::commandEnded()
{
    ask->clearRunCursor();
    if (input)
        input->clear();
    if (runner)
        runner->commandEnded();
    releaseControls();
}

void TvConsolePage::coreLogText(const QString &text)
{
    // Each of the core's texts is a line of its own, whether or not the
    // core ended it.
    appendConsoleText(text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n'));
    if (runner)
        runner->textShown();
}

// ---------------------------------------------------------------------------
// The console's text
// ---------------------------------------------------------------------------

void TvConsolePage::appendConsoleText(const QString &text)
{
    if (!console || text.isEmpty())
        return;
    // Each insertion and each scroll lays the view out again: a burst of
    // core texts goes in at once, when it has arrived. A long one goes in
    // in parts as it comes, so that the event channel's time slices bound
    // the cost of the insertions too; one insertion of a whole backlog
    // would stall the window.
    pendingText += text;
    if (pendingText.size() >= FlushChars)
        flushConsoleText();
    if (flushPending)
        return;
    flushPending = true;
    QTimer::singleShot(0, this, &TvConsolePage::flushConsoleText);
}

void TvConsolePage::flushConsoleText()
{
    flushPending = false;
    if (pendingText.isEmpty())
        return;
    QTextCursor end(console->document());
    end.movePosition(QTextCursor::End);
    end.insertText(pendingText);
    pendingText.clear();
    QScrollBar *bar = console->verticalScrollBar();
    bar->setValue(bar->maximum());
    // New output starts at the left: scrolled right, it would be off-screen.
    console->horizontalScrollBar()->setValue(0);
}

void TvConsolePage::printConsole(const QString &text)
{
    appendConsoleText(text.left(511));
}

void TvConsolePage::showHelp()
{
    printConsole(QLatin1Char('\n') + msg("ADVANCE_HELP %1").arg(TvProgram::bannerText())
                 + QLatin1Char('\n'));
    for (int n : helpTextNumbers()) {
        QString text = msg(QStringLiteral("ADVANCED_HELP_%1").arg(n));
        if (!text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('\n');
        appendConsoleText(text);
    }
    if (!showTestItems())
        return;
    appendConsoleText(msg("HELP_QM") + QLatin1Char('\n') + msg("HELP_H") + QLatin1Char('\n')
                      + msg("EXIT_PROGRAM") + QStringLiteral("\n\n"));
}

bool TvConsolePage::showTestItems()
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    const QList<int> *numbers = info.adapterTestCases(session->currentKey());
    if (!numbers) {
        showMessage(msg("TESTCASE_LIST_FAILED"));
        return false;
    }
    for (int number : *numbers) {
        const CTestCase *testCase = info.testCase(number);
        if (!testCase) {
            showMessage(msg("TESTITEM_NOT_FOUND"));
            return false;
        }
        for (const CSubTestCase &sub : testCase->subtests)
            appendConsoleText(msg("TESTITEM %1 %2").arg(QStringLiteral("%1").arg(sub.id, 4), sub.label)
                              + QLatin1Char('\n'));
    }
    return true;
}

void TvConsolePage::showMessage(const QString &text)
{
    const TvAsk::Question message{text, TvDialogSeam::Ok};
    ask->showQuestion(&message);
}

// ---------------------------------------------------------------------------
// Script files
// ---------------------------------------------------------------------------

void TvConsolePage::fileOpen()
{
    fileOpenScript();
}

void TvConsolePage::fileOpenScript()
{
    if (!advanced)
        return;
    const CAdapterInfo &info = CAdapterInfo::instance();
    // Qt's file dialogs take the patterns apart at blanks.
    const QString filter = msg("SCRIPT_FILES") + QStringLiteral(" (")
                           + TvLogFile::patterns(info.script_ext) + QLatin1Char(')');
    const QString name = ask->openFileName(msg("CHOOSE_SCRIPT_NAME"),
                                           info.basePathOf(info.script_path), filter);
    if (name.isEmpty())
        return;
    emit controlsLockRequested(true);
    startScript(name);
}

void TvConsolePage::startScript(const QString &fileName)
{
    // One script at a time: a second one would share the first one's waits.
    if (!runner || runner->isRunning()) {
        if (!runner)
            releaseControls();
        return;
    }
    log->setLoggingOn(true);
    runner->start(scriptReceiver, this, fileName);
    emit pageWanted();
}
