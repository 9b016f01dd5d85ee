// The log: the log book on its own (its lines, saving to log files, viewing
// a log file, the guard for unsaved lines), and in the window (logging from
// the first test start, the guards when the window is closed or the program
// left).
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "text/TvCoreEvent.h"
#include "ui/TvAsk.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestProgress.h"
#include "ui/testpage/TvTestRun.h"
#include "ui/console/TvConsolePage.h"
#include "ui/log/TvLogBook.h"
#include "ui/log/TvLogPage.h"
#include "ui/log/TvLogView.h"

#include <QAction>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

const QString Separator = QLatin1Char('\n') + QString(43, QLatin1Char('=')) + QLatin1Char('\n');

// A log book of its own, logging, over the rig's log directory "logs".
class Book : public TvUiRig
{
public:
    Book() { book.setLoggingOn(true); }

    QString logFile(const QString &name) const { return basePath(QStringLiteral("logs/") + name); }
    static QString &chosenName() { return CAdapterInfo::instance().logFileName; }
    void add(const QStringList &texts)
    {
        for (const QString &text : texts)
            book.addLogLine(text);
    }
    QStringList texts() const { return TvUiRig::texts(book.model()); }
};

// One adapter with "Register test" (rows 101, 102), shown, in a window that
// drives a real worker thread; the window's wish to end the program is
// counted instead of granted.
class WindowRig : public TvUiRig
{
public:
    explicit WindowRig(const QJsonObject &behaviours = QJsonObject())
    {
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {1});
        CAdapterInfo::instance().testCases.insert(1, testCase(QStringLiteral("Register test"), {101, 102}));
        machine.tests = behaviours;
        started = startCore();
        QObject::disconnect(&windowWithWorker(), &TvDiagMainWindow::quitRequested, nullptr, nullptr);
        QObject::connect(&window(), &TvDiagMainWindow::quitRequested, [this] { ++quits; });
        pick(1);
    }

    // Starts the slot; the rows to run are ticked.
    void runSlot(const QList<int> &ticked)
    {
        tickOnly(ticked);
        click("StartTestButton");
    }
    void coreText(const QString &text)
    {
        auto *event = new TvCoreEvent(TvCoreEvent::LogText);
        event->text = text;
        QCoreApplication::postEvent(&window(), event);
        QCoreApplication::processEvents();
    }

    bool started = false;
    int quits = 0;
};

QByteArray contents(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void write(const QString &name, const QByteArray &data)
{
    QFile file(name);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
}

// The lines of each block of a log file, without heading and separator.
QList<QStringList> blocks(const QString &name)
{
    QList<QStringList> found;
    const QString text = QString::fromUtf8(contents(name));
    for (QString block : text.split(Separator, Qt::SkipEmptyParts)) {
        const int body = block.indexOf(QStringLiteral("\n\n"));
        if (!block.startsWith(QStringLiteral("\nSAVE_LOG_FILE ")) || body < 0)
            return {};
        QStringList lines = block.mid(body + 2).split(QLatin1Char('\n'));
        lines.removeLast();
        for (QString &line : lines)
            line = line.mid(25);
        found.append(lines);
    }
    return found;
}

} // namespace

class TestUiLog : public QObject
{
    Q_OBJECT

private slots:
    void linesAreStampedAndFlattened();
    void savesAppendOnlyTheNewLines();
    void existingFilesAreAskedAbout();
    void failedSavesKeepTheLinesUnsaved();
    void unsavedLinesAreGuarded();
    void viewedLinesStayAndNewOnesFollow();
    void theWindowLogsFromTheFirstStart();
    void readerWarningsOpenTheWindowsLog();
    void closingAndLeavingGuardTheLog();
    void closingWhileATestRunsAsks();
};

void TestUiLog::linesAreStampedAndFlattened()
{
    Book b;
    b.book.setLoggingOn(false);
    QCOMPARE(b.book.addLogLine(QStringLiteral("off")), 1);
    QCOMPARE(b.book.model()->count(), 0);
    QVERIFY(!b.book.logUnsaved());

    // A forced line is written and logging stays as it was.
    b.book.addForcedLine(QStringLiteral("a\tb\nc"));
    QVERIFY(!b.book.loggingOn());
    QVERIFY(b.book.logUnsaved());
    const QRegularExpression stamped(
        QStringLiteral("^[A-Z][a-z]{2} [A-Z][a-z]{2} [ \\d]\\d \\d\\d:\\d\\d:\\d\\d \\d{4} a   b c$"));
    QVERIFY2(stamped.match(b.book.model()->line(0)).hasMatch(), qPrintable(b.book.model()->line(0)));
}

void TestUiLog::savesAppendOnlyTheNewLines()
{
    Book b;
    b.add({"one", "two"});

    // No name yet: one is asked for, in the log directory.
    b.dialogs.answerFile(b.logFile(QStringLiteral("first")));
    b.book.fileSave();
    QCOMPARE(b.dialogs.asked.size(), 1);
    const TvScriptedDialogs::Asked asked = b.dialogs.asked.first();
    QCOMPARE(asked.kind, TvScriptedDialogs::Asked::SaveFile);
    QCOMPARE(asked.caption, QStringLiteral("CHOOSE_LOGFILE_NAME"));
    QCOMPARE(asked.filter, QStringLiteral("LOGFILE_FILTER log"));
    QCOMPARE(QDir(asked.directory), QDir(b.logFile(QString())));
    // The directory's name holds the extension; only the file's name counts.
    const QString file = b.logFile(QStringLiteral("first.log"));
    QCOMPARE(Book::chosenName(), file);
    QCOMPARE(blocks(file), QList<QStringList>({{"one", "two"}}));
    QCOMPARE(b.book.savedLineCount(), 2);

    // Nothing new: nothing written.
    b.dialogs.asked.clear();
    b.book.fileSave();
    QCOMPARE(b.dialogs.messageTexts(), QStringList({"LOGFILE_UNCHANGED"}));
    QCOMPARE(b.dialogs.asked.first().buttonTexts, QStringList({"OK_TEXT"}));
    QCOMPARE(blocks(file).size(), 1);

    // Three new lines make a second block of their own.
    b.add({"three", "four", "five"});
    b.book.fileSave();
    QCOMPARE(blocks(file), QList<QStringList>({{"one", "two"}, {"three", "four", "five"}}));

    // A name that holds the extension's letters, but not at its end after
    // a dot, gets the extension with its dot.
    b.add({"six"});
    b.dialogs.answerFile(b.logFile(QStringLiteral("A-log")));
    b.book.fileSaveAs();
    QCOMPARE(Book::chosenName(), b.logFile(QStringLiteral("A-log.log")));
    QCOMPARE(blocks(Book::chosenName()), QList<QStringList>({{"six"}}));
}

void TestUiLog::existingFilesAreAskedAbout()
{
    Book b;
    b.add({"new"});
    const QString a = b.logFile(QStringLiteral("a.log"));
    const QString other = b.logFile(QStringLiteral("b.log"));
    write(a, "old a\n");
    write(other, "old b\n");

    b.dialogs.answerFile(a);
    b.dialogs.answerMessage(TvDialogSeam::No);
    b.dialogs.answerFile(other);
    b.dialogs.answerMessage(TvDialogSeam::Yes);
    b.book.fileSaveAs();
    QCOMPARE(b.dialogs.messageTexts(), QStringList({"FILE_EXISTS", "FILE_EXISTS"}));
    QCOMPARE(b.dialogs.asked.at(1).icon, TvDialogSeam::Warning);
    QCOMPARE(b.dialogs.asked.at(1).buttons,
             QList<int>({TvDialogSeam::Yes, TvDialogSeam::No, TvDialogSeam::Cancel}));
    QCOMPARE(contents(a), QByteArray("old a\n"));
    QVERIFY(contents(other).startsWith("old b\n\nSAVE_LOG_FILE "));
    QVERIFY(contents(other).endsWith(Separator.toUtf8()));

    // Cancel forgets the name and writes nothing.
    b.add({"more"});
    b.dialogs.answerFile(a);
    b.dialogs.answerMessage(TvDialogSeam::Cancel);
    b.book.fileSaveAs();
    QVERIFY(Book::chosenName().isNull());
    QCOMPARE(contents(a), QByteArray("old a\n"));
}

void TestUiLog::failedSavesKeepTheLinesUnsaved()
{
    Book b;
    b.add({"one", "two"});

    // The disk is full: the block fails part-way.
    Book::chosenName() = QStringLiteral("/dev/full");
    b.book.fileSave();
    const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
    QCOMPARE(b.dialogs.messageTexts(), QStringList({"LOGFILE_SAVE_FAILED /dev/full " + full}));
    QCOMPARE(b.dialogs.asked.first().icon, TvDialogSeam::Critical);
    QCOMPARE(b.dialogs.asked.first().buttonTexts, QStringList({"CANCEL_TEXT"}));

    // The file cannot be opened at all.
    b.dialogs.asked.clear();
    const QString nowhere = b.logFile(QStringLiteral("missing/x.log"));
    Book::chosenName() = nowhere;
    b.book.fileSave();
    const QString missing = QString::fromLocal8Bit(std::strerror(ENOENT));
    QCOMPARE(b.dialogs.messageTexts(),
             QStringList({"OPEN_LOGFILE_FAILED " + nowhere + ' ' + missing,
                          "LOGFILE_SAVE_FAILED " + nowhere + ' ' + missing}));

    // Nothing was given up: the next good save writes every line.
    Book::chosenName() = b.logFile(QStringLiteral("good.log"));
    b.book.fileSave();
    QCOMPARE(blocks(Book::chosenName()), QList<QStringList>({{"one", "two"}}));
}

void TestUiLog::unsavedLinesAreGuarded()
{
    Book b;
    b.add({"one"});
    // Cancel stops; Yes with a failing save asks again whether to go on.
    b.dialogs.answerMessage(TvDialogSeam::Cancel);
    QVERIFY(!b.book.confirmIfUnsaved());
    QCOMPARE(b.dialogs.asked.first().buttons,
             QList<int>({TvDialogSeam::Yes, TvDialogSeam::No, TvDialogSeam::Cancel}));
    Book::chosenName() = QStringLiteral("/dev/full");
    for (int goOn : {TvDialogSeam::Cancel, TvDialogSeam::Yes}) {
        b.dialogs.answerMessage(TvDialogSeam::Yes);
        b.dialogs.answerMessage(goOn);
        QCOMPARE(b.book.confirmIfUnsaved(), goOn == TvDialogSeam::Yes);
    }
    const QString failed =
        "LOGFILE_CHANGES_SAVE_FAILED /dev/full " + QString::fromLocal8Bit(std::strerror(ENOSPC));
    QCOMPARE(b.dialogs.messageTexts(), QStringList({"LOGFILE_UNSAVED", "LOGFILE_UNSAVED", failed,
                                                    "LOGFILE_UNSAVED", failed}));

    // A line that arrives while the new-list question is open stays.
    b.dialogs.whileOpen = [&](const QString &text) {
        if (text == QLatin1String("LOGFILE_UNSAVED"))
            b.add({"late"});
    };
    b.dialogs.answerMessage(TvDialogSeam::No);
    b.book.fileNew();
    QCOMPARE(b.texts(), QStringList({"late"}));
    QVERIFY(Book::chosenName().isNull());
    b.dialogs.answerFile(b.logFile(QStringLiteral("new")));
    b.book.fileSave();
    QCOMPARE(blocks(b.logFile(QStringLiteral("new.log"))), QList<QStringList>({{"late"}}));
    // Yes with a save that succeeds goes on, the lines saved.
    b.dialogs.whileOpen = nullptr;
    b.add({"last"});
    b.dialogs.answerMessage(TvDialogSeam::Yes);
    QVERIFY(b.book.confirmIfUnsaved());
    QCOMPARE(blocks(Book::chosenName()), QList<QStringList>({{"late"}, {"last"}}));
    QVERIFY(!b.book.logUnsaved());
}

void TestUiLog::viewedLinesStayAndNewOnesFollow()
{
    Book b;
    b.add({"one", "two"});
    b.dialogs.answerFile(b.logFile(QStringLiteral("saved")));
    b.book.fileSave();
    const QString old = b.logFile(QStringLiteral("old.log"));
    // A viewed file may come from anywhere: its control characters are
    // neutralised as the program's own lines are, so a save cannot carry
    // an escape sequence into a new log.
    write(old, "one\n\ttwo\n\x1b[2Jthree\r\n");

    b.dialogs.asked.clear();
    b.dialogs.answerFile(old);
    QSignalSpy shown(&b.book, &TvLogBook::logFileShown);
    TvLogPage page(&b.book);
    auto *caption = page.findChild<QLabel *>(QStringLiteral("LogViewLabel"));
    QVERIFY(caption->isHidden());
    b.book.fileViewLogSlot();
    // The view names the file it shows.
    QVERIFY(!caption->isHidden());
    QCOMPARE(caption->text(), "LOG_VIEW_OF " + old);
    QVERIFY(caption->font().bold());
    QCOMPARE(b.dialogs.asked.first().kind, TvScriptedDialogs::Asked::OpenFile);
    QCOMPARE(b.dialogs.asked.first().filter, QStringLiteral("LOGFILE_FILTER log"));
    QCOMPARE(b.book.model()->linesFrom(0), QStringList({"one", " two", "?[2Jthree"}));
    QCOMPARE(shown.count(), 1);
    QVERIFY(!b.book.loggingOn());

    // Logging again, new lines follow the viewed ones; a save writes what
    // the list holds now.
    b.book.setLoggingOn(true);
    b.add({"four", "five"});
    // And says where the live lines begin.
    QCOMPARE(caption->text(), "LOG_VIEW_THEN_LIVE " + old + " 4");
    // Shown, every line is drawn in its own row, the last one too, and the
    // horizontal bar steps by a character.
    auto *view = page.findChild<TvLogView *>(QStringLiteral("LogfileListBox"));
    page.resize(400, 300);
    page.show();
    b.book.model()->flush();
    const QImage shot = view->viewport()->grab().toImage();
    const int h = view->lineHeight();
    QImage blank(shot.width(), h, shot.format());
    blank.fill(view->palette().color(QPalette::Base));
    for (int row = 0; row < 5; ++row)
        QVERIFY2(shot.copy(0, row * h, shot.width(), h) != blank, qPrintable(QString::number(row)));
    QCOMPARE(view->horizontalScrollBar()->singleStep(), view->fontMetrics().averageCharWidth());
    b.book.fileSave();
    const QList<QStringList> saved = blocks(b.logFile(QStringLiteral("saved.log")));
    QCOMPARE(saved.size(), 2);
    QCOMPARE(saved.last().size(), 5);
    QCOMPARE(saved.last().last(), QStringLiteral("five"));

    // A file that cannot be read leaves the list empty.
    b.dialogs.asked.clear();
    b.dialogs.answerFile(b.logFile(QStringLiteral("gone.log")));
    b.book.fileViewLogSlot();
    QCOMPARE(b.dialogs.messageTexts().size(), 1);
    QVERIFY(b.dialogs.messageTexts().first().startsWith(QStringLiteral("OPEN_LOGFILE_FAILED ")));
    QCOMPARE(b.dialogs.asked.last().icon, TvDialogSeam::Critical);
    QCOMPARE(b.book.model()->count(), 0);
    QCOMPARE(shown.count(), 1);
    QVERIFY(caption->isHidden());

    // A FIFO is refused at once instead of stalling the window, and a file
    // larger than the view holds (64 MiB) before it is read.
    const QString fifo = b.logFile(QStringLiteral("fifo.log"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile huge(b.logFile(QStringLiteral("huge.log")));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024 + 1));
    huge.close();
    // A file dialog given up says nothing.
    b.dialogs.asked.clear();
    for (const QString &name : {fifo, huge.fileName(), QString()}) {
        b.dialogs.answerFile(name);
        b.book.fileViewLogSlot();
    }
    QCOMPARE(b.dialogs.messageTexts(), QStringList({"OPEN_LOGFILE_FAILED " + fifo + " NOT_A_REGULAR_FILE",
                                                    "OPEN_LOGFILE_FAILED " + huge.fileName() + " LOG_TOO_LARGE_TO_VIEW 64"}));
    QCOMPARE(shown.count(), 1);

    // The horizontal range grows with the widest line shown, not with one
    // scrolled past unseen, even when only a strip is painted again.
    b.book.setLoggingOn(true);
    QCoreApplication::processEvents(); // the hidden caption's room goes to the view
    b.add({QString(300, QLatin1Char('w'))});
    for (int i = 0; i < view->viewport()->height() / h + 2; ++i)
        b.add({QStringLiteral("short")});
    QTRY_COMPARE(view->firstVisibleRow(), 3);
    view->viewport()->repaint(0, 3 * h, view->viewport()->width(), h);
    QCoreApplication::processEvents();
    QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
    QTest::keyClick(view, Qt::Key_Home);
    QTRY_VERIFY(view->horizontalScrollBar()->maximum() > 0);
}

void TestUiLog::theWindowLogsFromTheFirstStart()
{
    WindowRig rig;
    QVERIFY(rig.started);
    // Until the first test start, texts of the core are dropped.
    rig.mark();
    rig.coreText(QStringLiteral("early"));
    QVERIFY(rig.log().isEmpty());
    rig.runSlot({});
    rig.coreText(QStringLiteral("late"));
    QCOMPARE(rig.log().last(), QStringLiteral("late"));

    // Viewing a file stops logging and shows the log tab.
    const QString old = rig.basePath(QStringLiteral("logs/old.log"));
    write(old, "viewed\n");
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerFile(old);
    rig.child<QAction>("fileCurrLog")->trigger();
    QCOMPARE(rig.child<QTabWidget>("TvDiagDataTab")->currentWidget()->objectName(),
             QStringLiteral("LogfileTab"));
    rig.coreText(QStringLiteral("while viewing"));
    QCOMPARE(rig.logModel()->linesFrom(0), QStringList({"viewed"}));
}

void TestUiLog::readerWarningsOpenTheWindowsLog()
{
    TvUiRig rig;
    rig.describeAdapter(TvUiRig::DualKey, QStringLiteral("Orlin Dual"), {});
    const QStringList warnings{QStringLiteral("config.xml:3: vendor entry read as 0"),
                               QStringLiteral("testinfofile.xml:9: sub-test left out")};
    CAdapterInfo::instance().warnings = warnings;
    QVERIFY(rig.startCore());
    rig.window();
    rig.window().log()->addReaderWarnings();
    const QStringList logged = TvUiRig::texts(rig.logModel());
    QCOMPARE(logged.mid(0, 2), warnings);
    QCOMPARE(logged.count(warnings.first()), 1);
}

void TestUiLog::closingAndLeavingGuardTheLog()
{
    WindowRig rig;
    QVERIFY(rig.started);
    rig.runSlot({});
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    QVERIFY(!rig.closeWindow());
    rig.dialogs.answerMessage(TvDialogSeam::No);
    QVERIFY(rig.closeWindow());

    // Leaving: Cancel stays, No leaves; a script leaves without asking,
    // and so does the exit event it posts.
    rig.dialogs.asked.clear();
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    rig.window().fileExit();
    QCOMPARE(rig.quits, 0);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.window().fileExit();
    QCOMPARE(rig.quits, 1);
    rig.window().console()->setScriptRunning(true);
    QCoreApplication::postEvent(&rig.window(), new TvCoreEvent(TvCoreEvent::Exit));
    QTRY_COMPARE(rig.quits, 2);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"LOGFILE_UNSAVED", "LOGFILE_UNSAVED"}));
}

void TestUiLog::closingWhileATestRunsAsks()
{
    const QJsonObject asking{{QStringLiteral("ask"),
                              QJsonObject{{QStringLiteral("message"), 12},
                                          {QStringLiteral("buttons"), QJsonArray{3, 4, 0}}}}};
    WindowRig rig({{"101", QJsonObject{{QStringLiteral("steps"), QJsonArray{asking}}}}});
    QVERIFY(rig.started);
    QList<bool> closed;
    rig.dialogs.whileOpen = [&](const QString &text) {
        if (text == QLatin1String("IS_LINK_LED_ON"))
            closed << rig.closeWindow();
    };

    // No: the window stays and the test goes on to pass.
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.runSlot({0});
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(closed, QList<bool>({false}));
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_PASSED"));

    // Yes: the test is cancelled and the window may close.
    rig.dialogs.asked.clear();
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.runSlot({0, 1});
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(closed, QList<bool>({false, true}));
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList({"TEST_STILL_RUNNING", "LOGFILE_UNSAVED", "IS_LINK_LED_ON"}));
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QVERIFY(rig.row(1)->resultText().isEmpty());
}

QTEST_MAIN(TestUiLog)
#include "test_ui_log.moc"
