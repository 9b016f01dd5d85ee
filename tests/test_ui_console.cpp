// The advanced console, script files and the monitor and repeater modes, on
// the window in advanced mode with a real worker and script runner over the
// simulated core; and the script line splitter on its own.
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "engine/TvScriptLines.h"
#include "engine/TvScriptThread.h"
#include "engine/TvWorkerThread.h"
#include "text/TvCoreEvent.h"
#include "text/TvEventChannel.h"
#include "text/TvProgram.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/console/TvConsolePage.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class ConsoleRig : public TvUiRig
{
public:
    ConsoleRig()
    {
        TvProgram::runSettings()[0] = 1;
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {1, 2});
        CAdapterInfo &info = CAdapterInfo::instance();
        info.testCases.insert(1, testCase(QStringLiteral("Register test"), {101, 102}));
        CTestCase memory = testCase(QStringLiteral("Memory test"), {201, 202});
        // A per-cent sign in a label is printed, never taken as a format.
        memory.subtests[1].label = QStringLiteral("%2 at 100%");
        info.testCases.insert(2, memory);
        info.script_path = QStringLiteral("scripts");
        info.script_ext = QStringList{QStringLiteral("txt"), QStringLiteral("scr")};
        QDir().mkpath(basePath(QStringLiteral("scripts")));
        QJsonObject dual = machine.adapters.first().toObject();
        dual[QStringLiteral("ports")] = QJsonArray{QJsonObject{{QStringLiteral("link"), true}},
                                                   QJsonObject{{QStringLiteral("link"), false}}};
        machine.adapters = {dual};
        started = startCore();
        QObject::disconnect(&windowWithWorker(), &TvDiagMainWindow::quitRequested, nullptr, nullptr);
        QObject::connect(&window(), &TvDiagMainWindow::quitRequested, [this] { ++quits; });
        input = child<QLineEdit>("AdvancedLineEdit");
    }
    ~ConsoleRig() { qputenv("PROBEKIT_TIME_SCALE", "0"); }

    void type(const QString &line)
    {
        input->setText(line);
        QTest::keyClick(input, Qt::Key_Return);
    }
    bool idle() { return input->isEnabled() && !worker()->isCoreBusy() && !script()->isRunning(); }
    QString writeScript(const QByteArray &content)
    {
        const QString name = basePath(QStringLiteral("scripts/test.txt"));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            qWarning("cannot write %s", qPrintable(name));
        return name;
    }
    void runScript(const QString &name)
    {
        dialogs.answerFile(name);
        child<QAction>("fileOpenAction")->trigger();
    }
    QStringList commandsStarted() { return logStarting(QStringLiteral("COMMAND_STARTED ")); }
    QString consoleText() { return window().console()->consoleText(); }
    int helpItems() { return consoleText().count(QStringLiteral("TESTITEM ")); }

    bool started = false;
    int quits = 0;
    QLineEdit *input = nullptr;
};

// The pieces as the runner takes them; the rest of a long command shows
// with a leading "+".
QStringList pieces(const QByteArray &data)
{
    QStringList found;
    TvScriptLines::Kind begun = TvScriptLines::Skipped;
    for (std::size_t at = 0; at < std::size_t(data.size());) {
        const char *piece = data.constData() + at;
        const std::size_t n = TvScriptLines::pieceLength(piece, data.size() - at);
        const TvScriptLines::Line line = TvScriptLines::classify(piece, n, begun);
        begun = TvScriptLines::lineGoesOn(piece, n) ? line.begun : TvScriptLines::Skipped;
        const char *kinds[] = {"skip", "comment", "loop", "", "+"};
        found.append(QString::fromLatin1(kinds[line.kind]) + QString::fromLatin1(piece, int(line.length)));
        at += n;
    }
    return found;
}

} // namespace

class TestUiConsole : public QObject
{
    Q_OBJECT

private slots:
    void scriptLinesAreCutAndClassified_data();
    void scriptLinesAreCutAndClassified();
    void linesTheConsoleHandlesItself_data();
    void linesTheConsoleHandlesItself();
    void helpListsTheSubTestsInOrder();
    void commandsGoToTheCoreAndTheirEndsAreLogged_data();
    void commandsGoToTheCoreAndTheirEndsAreLogged();
    void controlCCancelsARunningCommand();
    void cancelBeforeTheWorkerTakesTheCommand();
    void scriptsRunTheirCommandsInTurn_data();
    void scriptsRunTheirCommandsInTurn();
    void loopingScriptRunsUntilCancelled();
    void scriptLineQEndsTheProgramWithoutAsking();
    void aCommandAfterViewingALogStartsAFreshList();
    void aLateCancelLeavesALaterRunLocked();
    void badScriptFilesAreReportedAndRunNothing_data();
    void badScriptFilesAreReportedAndRunNothing();
    void modesRunUntilCancelled_data();
    void modesRunUntilCancelled();
};

void TestUiConsole::scriptLinesAreCutAndClassified_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("expected");
    const QByteArray longLine = QByteArray(255, 'a') + QByteArray(45, 'b') + '\n';
    QTest::newRow("kinds") << QByteArray("# c\n\nstatus\nL again\nx") << QStringList{"comment", "skip", "status", "loop", "x"};
    QTest::newRow("300 characters") << longLine << QStringList{QString(255, 'a'), "+" + QString(45, 'b')};
    // Only a line's first piece means anything to the program.
    QTest::newRow("q and L later in a line") << QByteArray(255, 'a') + "quit\n" + QByteArray(255, 'b') + "L\n"
                                             << QStringList{QString(255, 'a'), "+quit", QString(255, 'b'), "+L"};
    QTest::newRow("long comment") << "#" + QByteArray(254, 'c') + "status\n" << QStringList{"comment", "comment"};
    QTest::newRow("long loop line") << "L" + QByteArray(254, 'c') + "stats\nq" << QStringList{"loop", "skip", "q"};
    QTest::newRow("255 and a line feed") << QByteArray(255, 'a') + "\nq" << QStringList{QString(255, 'a'), "skip", "q"};
    QTest::newRow("CRLF") << QByteArray("stats\r\n\r\nstatus\r\n") << QStringList{"stats", "skip", "status"};
    QTest::newRow("single character, no line break") << QByteArray("q") << QStringList{"q"};
}

void TestUiConsole::scriptLinesAreCutAndClassified()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, expected);
    QCOMPARE(pieces(data), expected);
}

void TestUiConsole::linesTheConsoleHandlesItself_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("h") << "h" << true << false;
    QTest::newRow("help") << "help" << true << false;
    QTest::newRow("? text") << "? status" << true << false;
    QTest::newRow("q") << "q" << false << true;
    QTest::newRow("quit") << "quit" << false << true;
    QTest::newRow("empty") << "" << false << false;
}

void TestUiConsole::linesTheConsoleHandlesItself()
{
    QFETCH(QString, line);
    QFETCH(bool, help);
    QFETCH(bool, leaves);
    ConsoleRig rig;
    QVERIFY(rig.started);
    rig.mark();
    // Leaving asks about the unsaved log; Cancel stays.
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    rig.type(line);
    QCOMPARE(rig.helpItems() > 0, help);
    QCOMPARE(rig.dialogs.messageTexts().contains(QStringLiteral("LOGFILE_UNSAVED")), leaves);
    QCOMPARE(rig.quits, 0);
    QVERIFY(rig.commandsStarted().isEmpty());
    QCOMPARE(rig.worker()->jobCount(), 0);
    QVERIFY(rig.input->text().isEmpty() && rig.input->isEnabled());
    QVERIFY(!rig.child<QPushButton>("AdvancedCancelBtn")->isEnabled());
}

void TestUiConsole::helpListsTheSubTestsInOrder()
{
    ConsoleRig rig;
    QVERIFY(rig.started);
    rig.type(QStringLiteral("h"));
    QStringList lines = rig.consoleText().split(QLatin1Char('\n'));
    lines.removeAll(QString());
    QStringList expected{QStringLiteral("ADVANCE_HELP %1").arg(TvProgram::bannerText())};
    for (int n : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                  15, 16, 17, 18, 19, 20, 21, 22, 23, 26, 24, 25, 27})
        expected.append(QStringLiteral("ADVANCED_HELP_%1").arg(n));
    expected << "TESTITEM  101 Step 101" << "TESTITEM  102 Step 102" << "TESTITEM  201 Step 201"
             << "TESTITEM  202 %2 at 100%" << "HELP_QM" << "HELP_H" << "EXIT_PROGRAM";
    QCOMPARE(lines, expected);
    // A printed text keeps at most 511 characters.
    rig.window().console()->printConsole(QString(600, QLatin1Char('#')));
    QVERIFY(rig.consoleText().endsWith(QLatin1Char('\n') + QString(511, QLatin1Char('#'))));
}

void TestUiConsole::commandsGoToTheCoreAndTheirEndsAreLogged_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QString>("shown");
    QTest::newRow("finished") << "status" << "COMMAND_FINISHED status" << "Locate LED: off";
    QTest::newRow("failed") << "frobnicate" << "COMMAND_FAILED frobnicate" << "Unknown command: frobnicate";
    QTest::newRow("per cent") << "reg read %1%s" << "COMMAND_FAILED reg read %1%s" << "Bad register offset %1%s";
    QTest::newRow("Latin-1") << QStringLiteral("caf\u00e9") << QStringLiteral("COMMAND_FAILED caf\u00e9")
                             << QStringLiteral("Unknown command: caf\u00e9");
    // Beyond Latin-1 the core would get another command than the one typed.
    QTest::newRow("beyond Latin-1") << QStringLiteral("stats \u03a9") << QStringLiteral("COMMAND_NOT_SENT stats \u03a9")
                                    << QStringLiteral("COMMAND_NOT_SENT stats \u03a9");
}

void TestUiConsole::commandsGoToTheCoreAndTheirEndsAreLogged()
{
    QFETCH(QString, line);
    QFETCH(QString, logged);
    QFETCH(QString, shown);
    ConsoleRig rig;
    QVERIFY(rig.started);
    rig.window().show();
    rig.child<QTabWidget>("TvDiagDataTab")->setCurrentWidget(rig.window().console());
    // Green on black, with the command line ready for typing.
    auto *console = rig.child<QPlainTextEdit>("AdvancedTextEdit");
    QCOMPARE(console->palette().color(QPalette::Text), QColor(Qt::green));
    QCOMPARE(console->palette().color(QPalette::Base), QColor(Qt::black));
    QCOMPARE(rig.window().focusWidget(), static_cast<QWidget *>(rig.input));
    // Scrolled right along a long line, the console comes back to the
    // start of the line with new output.
    rig.window().console()->appendConsoleText(QString(2000, QLatin1Char('x')) + QLatin1Char('\n'));
    rig.consoleText();
    QScrollBar *across = console->horizontalScrollBar();
    QVERIFY(across->maximum() > 0);
    across->setValue(across->maximum());
    rig.mark();
    rig.type(line);
    QTRY_VERIFY(rig.idle());
    QTRY_VERIFY(rig.log().contains(logged));
    // Each of the core's texts starts a line of its own.
    const QStringList lines = rig.consoleText().split(QLatin1Char('\n'));
    QVERIFY2(std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(shown); }),
             qPrintable(rig.consoleText().mid(2001)));
    QCOMPARE(across->value(), 0);
    const bool sent = !logged.startsWith(QStringLiteral("COMMAND_NOT_SENT"));
    QCOMPARE(rig.commandsStarted(), sent ? QStringList{"COMMAND_STARTED " + line} : QStringList());
    // A refused line stays for the user to mend.
    QCOMPARE(rig.input->text(), sent ? QString() : line);
}

void TestUiConsole::controlCCancelsARunningCommand()
{
    ConsoleRig rig;
    QVERIFY(rig.started);
    qputenv("PROBEKIT_TIME_SCALE", "1");
    rig.child<QCheckBox>("LoopInfiniteTests")->setChecked(true);
    rig.mark();
    rig.type(QStringLiteral("sleep 5000"));
    QTRY_VERIFY(rig.worker()->isCoreBusy());
    auto *cancel = rig.child<QPushButton>("AdvancedCancelBtn");
    QVERIFY(cancel->isEnabled() && !rig.input->isEnabled());
    QCOMPARE(cancel->text(), QStringLiteral("CANCEL_TESTS"));
    QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    // The locked input cannot take keys: the cancel button passes them on.
    QTest::keyClick(cancel, Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY(rig.idle());
    QCOMPARE(rig.log().mid(1), QStringList({"COMMAND_CANCELLED sleep 5000", "LOOP_COUNT 0"}));
    QVERIFY(rig.consoleText().contains(QStringLiteral("Command cancelled !")));
    QVERIFY(rig.input->text().isEmpty() && !cancel->isEnabled() && !QApplication::overrideCursor());

    // Control+X leaves, through the unsaved-log question.
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    QTest::keyClick(rig.input, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{"LOGFILE_UNSAVED"});

    // Answered Cancel with a command still queued: the command runs and
    // its end releases the window.
    qputenv("PROBEKIT_TIME_SCALE", "0");
    rig.type(QStringLiteral("stats"));
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    QTest::keyClick(cancel, Qt::Key_X, Qt::ControlModifier);
    QTRY_VERIFY(rig.idle());
    QCOMPARE(rig.log().last(), QStringLiteral("COMMAND_FINISHED stats"));
    QCOMPARE(rig.quits, 0);

    // A menu's shortcut works while the command line has the focus.
    rig.window().show();
    rig.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window()));
    rig.window().selectAdapter(0);
    // Control+E is the line's end only with X11's key bindings, which the
    // headless platform does not use; Control+Z is an editing key of the
    // line everywhere.
    rig.child<QAction>("flashClearAction")->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    rig.input->setFocus();
    rig.dialogs.asked.clear();
    rig.dialogs.answerMessage(TvDialogSeam::No);
    QTest::keyClick(rig.input, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{"CONFIRM_FLASHPROM_CLEAR"});
}

void TestUiConsole::cancelBeforeTheWorkerTakesTheCommand()
{
    ConsoleRig rig;
    QVERIFY(rig.started);
    rig.mark();
    // The worker looks at its queue every 50 ms: the command is dropped
    // there, and the console still hears of its end. A long command ends
    // the same should a busy machine let the worker take it first.
    qputenv("PROBEKIT_TIME_SCALE", "1");
    rig.type(QStringLiteral("sleep 5000"));
    rig.click("AdvancedCancelBtn");
    QTRY_VERIFY(rig.idle());
    QCOMPARE(rig.log().last(), QStringLiteral("COMMAND_CANCELLED sleep 5000"));
}

void TestUiConsole::scriptsRunTheirCommandsInTurn_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("comment, empty line, command") << QByteArray("# stats\n\nstatus\n") << QStringList{"status"};
    QTest::newRow("300 characters") << QByteArray(300, 'a') + '\n' << QStringList{QString(255, 'a'), QString(45, 'a')};
    QTest::newRow("CRLF, no final line break") << QByteArray("stats\r\nstatus") << QStringList{"stats", "status"};
    QTest::newRow("help between commands") << QByteArray("stats\nh\nstatus\n") << QStringList{"stats", "status"};
    // A "q" or "L" that only starts the rest of a long line goes to the core.
    QTest::newRow("q and L later in a line") << QByteArray(255, 'a') + "quit\n" + QByteArray(255, 'b') + "L\n"
                                             << QStringList{QString(255, 'a'), "quit", QString(255, 'b'), "L"};
    QTest::newRow("UTF-8 text, byte order mark")
        << QByteArray("\xEF\xBB\xBFstats\n# Pr\xC3\xBC" "fung \xE2\x82\xAC \xF0\x9F\x94\x8C\tok\r\n") << QStringList{"stats"};
    // Nothing but a loop would run for ever at full speed.
    QTest::newRow("only L") << QByteArray("L\n") << QStringList();
    QTest::newRow("comments and L") << QByteArray("# a\n# b\nL\n") << QStringList();
    QFile example(QStringLiteral(NICDIAG_SOURCE_DIR "/data/scripts/example.txt"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    QTest::newRow("shipped example") << example.readAll()
                                     << QStringList{"status", "reg write 10 DEADBEEF", "reg read 10",
                                                    "selftest 101", "stats", "sleep 2000"};
    QTest::newRow("10 MB") << QByteArray("# fifteen bytes\n").repeated(10 * 1024 * 1024 / 16)
                           << QStringList();
}

void TestUiConsole::scriptsRunTheirCommandsInTurn()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, commands);
    ConsoleRig rig;
    QVERIFY(rig.started);
    const QString name = rig.writeScript(content);
    rig.mark();
    rig.runScript(name);
    const TvScriptedDialogs::Asked asked = rig.dialogs.asked.last();
    QCOMPARE(asked.filter, QStringLiteral("SCRIPT_FILES (*.txt *.scr)"));
    QCOMPARE(asked.caption, QStringLiteral("CHOOSE_SCRIPT_NAME"));
    QCOMPARE(asked.directory, rig.basePath(QStringLiteral("scripts")));
    QCOMPARE(rig.child<QTabWidget>("TvDiagDataTab")->currentWidget()->objectName(), QStringLiteral("AdvancedTab"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.idle(), 20000);
    QStringList started;
    for (const QString &c : commands)
        started.append("COMMAND_STARTED " + c);
    QCOMPARE(rig.commandsStarted(), started);
    // The shipped example runs as it stands.
    if (QByteArray(QTest::currentDataTag()) == "shipped example")
        QVERIFY(rig.logStarting(QStringLiteral("COMMAND_FAILED")).isEmpty());
    QCOMPARE(rig.log().first(), "SCRIPT_STARTED " + name);
    QCOMPARE(rig.log().last(), QStringLiteral("SCRIPT_FINISHED_1"));
    QVERIFY(rig.consoleText().contains(QStringLiteral("SCRIPT_FINISHED_1")));
    QVERIFY(!rig.window().console()->isScriptRunning());
    QCOMPARE(rig.quits, 0);
}

void TestUiConsole::loopingScriptRunsUntilCancelled()
{
    ConsoleRig rig;
    QVERIFY(rig.started);
    rig.mark();
    // The window is still busy with earlier lines, slow to take each: the
    // script's start shows before its first command all the same.
    constexpr int Earlier = 1000;
    int slowed = 0;
    rig.afterEvent = [&](int type) {
        if (type != TvCoreEvent::LogText || ++slowed > Earlier)
            return;
        QElapsedTimer busy;
        busy.start();
        while (busy.nsecsElapsed() < 50000) {
        }
    };
    for (int i = 0; i < Earlier; ++i) {
        auto *line = new TvCoreEvent(TvCoreEvent::LogText);
        line->text = QStringLiteral("earlier");
        TvEventChannel::of(&rig.window())->post(line);
    }
    rig.runScript(rig.writeScript("stats\nL\n"));
    QTRY_VERIFY(rig.commandsStarted().size() >= 3);
    rig.afterEvent = nullptr;
    QVERIFY(rig.log().at(Earlier).startsWith(QStringLiteral("SCRIPT_STARTED ")));
    QVERIFY(!rig.input->isEnabled());
    // Control+X asks about the unsaved log even while a script runs; after
    // Cancel the script goes on.
    auto *cancel = rig.child<QPushButton>("AdvancedCancelBtn");
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    QTest::keyClick(cancel, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{"LOGFILE_UNSAVED"});
    QCOMPARE(rig.quits, 0);
    const int before = rig.commandsStarted().size();
    QTRY_VERIFY(rig.commandsStarted().size() > before);
    rig.click("AdvancedCancelBtn");
    QTRY_VERIFY(rig.idle());
    const QStringList log = rig.log();
    QCOMPARE(log.last(), QStringLiteral("SCRIPT_FINISHED_1"));
    // Every command started has ended; nothing ran after the cancel.
    QCOMPARE(rig.commandsStarted().size(),
             log.filter(QRegularExpression(QStringLiteral("^COMMAND_(FINISHED|CANCELLED) "))).size());
    const int commands = rig.commandsStarted().size();
    QTest::qWait(100);
    QCOMPARE(rig.commandsStarted().size(), commands);

    // Stopping, as the window does when it closes, returns once the script
    // has ended; tried a few times, as an early return may lose the race.
    const QString script = rig.writeScript("stats\nL\n");
    for (int time = 0; time < 10; ++time) {
        rig.runScript(script);
        QVERIFY(rig.script()->isRunning());
        rig.window().console()->stopScript();
        QVERIFY(!rig.script()->isRunning());
    }
    // A stopped script reports nothing more: the window may be going away.
    TvEventChannel::of(&rig.window())->deliverPending();
    QCOMPARE(rig.log().count(QStringLiteral("SCRIPT_FINISHED_1")), 1);
}

void TestUiConsole::scriptLineQEndsTheProgramWithoutAsking()
{
    ConsoleRig rig;
    QVERIFY(rig.started);
    QVERIFY(rig.window().log()->logUnsaved());
    rig.mark();
    rig.runScript(rig.writeScript("stats\nq\nstatus\n"));
    QTRY_COMPARE(rig.quits, 1);
    QTRY_VERIFY(!rig.script()->isRunning());
    QCOMPARE(rig.commandsStarted(), QStringList{"COMMAND_STARTED stats"});
    QVERIFY(!rig.dialogs.messageTexts().contains(QStringLiteral("LOGFILE_UNSAVED")));
}

void TestUiConsole::aCommandAfterViewingALogStartsAFreshList()
{
    ConsoleRig rig;
    QVERIFY(rig.started);
    const QString viewed = rig.basePath(QStringLiteral("logs/old.log"));
    QDir().mkpath(rig.basePath(QStringLiteral("logs")));
    QFile file(viewed);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("viewed one\nviewed two\n") > 0);
    file.close();
    // The adapter selection's lines are given up; the viewed file fills the list.
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerFile(viewed);
    rig.child<QAction>("fileCurrLog")->trigger();
    QCOMPARE(rig.logModel()->count(), 2);
    rig.type(QStringLiteral("status"));
    QTRY_VERIFY(rig.idle());
    // The next save writes the command's lines, not the viewed file again.
    const TvLogBook *book = rig.window().log();
    QCOMPARE(TvUiRig::texts(rig.logModel(), book->savedLineCount()),
             QStringList({"COMMAND_STARTED status", "COMMAND_FINISHED status"}));
}

void TestUiConsole::aLateCancelLeavesALaterRunLocked()
{
    ConsoleRig rig;
    QVERIFY(rig.started);
    auto *startTest = rig.child<QPushButton>("StartTestButton");
    auto *save = rig.child<QAction>("fileSaveAction");
    rig.click("MonitorStartButton");
    QTRY_VERIFY(rig.child<QTableWidget>("StateTable")->rowCount() > 0);
    rig.click("MonitorCancelButton");
    // The core still runs the mode until its cancelled event: Start waits.
    QVERIFY(!startTest->isEnabled());
    // A run started in that gap keeps its lock when the late event comes.
    bool lockedAtLateEvent = false;
    rig.afterEvent = [&](int type) {
        if (type == TvCoreEvent::CommandCancelled)
            lockedAtLateEvent = rig.isRunning() && !save->isEnabled() && !startTest->isEnabled();
    };
    rig.pick(1);
    rig.window().StartTestSlot();
    QTRY_VERIFY(rig.idle() && !rig.isRunning());
    rig.afterEvent = nullptr;
    QVERIFY(lockedAtLateEvent);
    QVERIFY(rig.logHas(QStringLiteral("TEST_SLOT_FINISHED Register test")));
    QVERIFY(save->isEnabled() && startTest->isEnabled());
}

void TestUiConsole::badScriptFilesAreReportedAndRunNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << "missing.txt" << QString::fromLocal8Bit(strerror(ENOENT)) << QByteArray();
    QTest::newRow("directory") << "dir.txt" << QString::fromLocal8Bit(strerror(EISDIR)) << QByteArray();
    QTest::newRow("FIFO") << "fifo.txt" << "NOT_A_REGULAR_FILE" << QByteArray();
    QTest::newRow("binary") << "binary.txt" << "NOT_A_TEXT_FILE" << QByteArray("stats\n\0\x01\x02status\n", 15);
    // Random bytes without a single zero byte, which end in a "q" line.
    QByteArray noise(100 * 1024, '\0');
    QRandomGenerator random(7);
    for (char &c : noise)
        c = char(1 + random.bounded(255));
    QTest::newRow("random bytes") << "noise.txt" << "NOT_A_TEXT_FILE" << noise + "\nq\n";
    QTest::newRow("escape sequence") << "escape.txt" << "NOT_A_TEXT_FILE" << QByteArray("stats\n\x1b[2J\nq\n");
    QTest::newRow("Latin-1, not UTF-8") << "latin1.txt" << "NOT_A_TEXT_FILE" << QByteArray("# Pr\xfc" "fung\nq\n");
    // UTF-8 in form only: a surrogate, a code beyond U+10FFFF, a long form, a C1 control.
    for (const char *bytes : {"\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe0\x80\xaf", "\xc2\x85"})
        QTest::newRow(bytes) << "forms.txt" << "NOT_A_TEXT_FILE" << QByteArray("# ") + bytes + "\nq\n";
    QTest::newRow("too large") << "large.txt" << "SCRIPT_TOO_LARGE 64" << QByteArray();
    QTest::newRow("unreadable") << "locked.txt" << QString::fromLocal8Bit(strerror(EACCES)) << QByteArray();
}

void TestUiConsole::badScriptFilesAreReportedAndRunNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QFETCH(QByteArray, content);
    ConsoleRig rig;
    QVERIFY(rig.started);
    const QString path = rig.basePath("scripts/" + name);
    const QByteArray local = QFile::encodeName(path);
    if (name == QLatin1String("dir.txt"))
        QVERIFY(QDir().mkpath(path));
    if (name == QLatin1String("fifo.txt"))
        QCOMPARE(::mkfifo(local.constData(), 0600), 0);
    if (!content.isNull())
        QVERIFY(QFile::rename(rig.writeScript(content), path));
    if (name == QLatin1String("large.txt"))
        QCOMPARE(::truncate(QFile::encodeName(rig.writeScript("q\n")).constData(), 65 << 20), 0);
    if (name == QLatin1String("large.txt"))
        QVERIFY(QFile::rename(rig.basePath("scripts/test.txt"), path));
    if (name == QLatin1String("locked.txt")) {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        rig.writeScript("stats\n");
        QVERIFY(QFile::rename(rig.basePath("scripts/test.txt"), path));
        QCOMPARE(::chmod(local.constData(), 0), 0);
    }
    rig.mark();
    rig.runScript(path);
    QTRY_VERIFY(rig.idle());
    const QString text = QStringLiteral("OPEN_SCRIPT_FAILED %1 %2").arg(path, reason);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{text});
    QTRY_COMPARE(rig.log(), QStringList{text});
    QCOMPARE(rig.quits, 0);
}

void TestUiConsole::modesRunUntilCancelled_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("command");
    QTest::newRow("Monitor, port B") << false << "Monitor Port B";
    QTest::newRow("repeater action") << true << "Repeater Port A";
}

void TestUiConsole::modesRunUntilCancelled()
{
    QFETCH(bool, fromMenu);
    QFETCH(QString, command);
    ConsoleRig rig;
    QVERIFY(rig.started);
    rig.mark();
    rig.child<QRadioButton>("Monitor")->setChecked(true);
    rig.child<QRadioButton>("PortB")->setChecked(true);
    if (fromMenu)
        rig.window().findChild<QAction *>(QStringLiteral("Repeater"))->trigger();
    else
        rig.click("MonitorStartButton");
    QCOMPARE(rig.child<QTabWidget>("TvDiagDataTab")->currentWidget()->objectName(),
             QString::fromLatin1(fromMenu ? "MonTab" : "AdapterTab"));
    QCOMPARE(rig.commandsStarted(), QStringList{"COMMAND_STARTED " + command});
    auto *table = rig.child<QTableWidget>("StateTable");
    QTRY_VERIFY(table->rowCount() == 5 && table->item(4, 1));
    QCOMPARE(table->item(0, 1)->text(), command.section(QLatin1Char(' '), 0, 0));
    QCOMPARE(table->item(1, 1)->text(), QString::fromLatin1(fromMenu ? "LINK_UP" : "LINK_DOWN"));
    auto *start = rig.child<QPushButton>("MonitorStartButton");
    QVERIFY(!start->isEnabled());
    rig.click("MonitorCancelButton");
    QTRY_VERIFY(rig.idle());
    // The last table stays to be read, and its counts are logged.
    QCOMPARE(table->rowCount(), 5);
    QStringList counts;
    for (int r = 0; r < 5; ++r)
        counts << table->item(r, 0)->text() + QLatin1Char(' ') + table->item(r, 1)->text();
    QCOMPARE(rig.log().mid(rig.log().size() - 2),
             QStringList({"COMMAND_CANCELLED " + command,
                          "MODE_FINAL_COUNTS " + counts.join(QStringLiteral(", "))}));
    QVERIFY(start->isEnabled() && !rig.child<QPushButton>("MonitorCancelButton")->isEnabled());
    // Until the next start.
    start->click();
    QCOMPARE(table->rowCount(), 0);
    rig.click("MonitorCancelButton");
    QTRY_VERIFY(rig.idle());
}

QTEST_MAIN(TestUiConsole)
#include "test_ui_console.moc"
