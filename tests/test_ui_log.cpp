// The log in the main window: its lines, saving to log files, viewing a log
// file, and the guards for unsaved lines and running tests when the list is
// renewed, the window closed or the program left.
#include "TvScriptedDialogs.h"
#include "TvTestMachine.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "text/TvCoreEvent.h"
#include "engine/TvLogModel.h"
#include "engine/TvWorkerThread.h"
#include "text/TvCoreCallbacks.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvTestListItem.h"
#include "ui/TvTestProgress.h"

#include <probekit.h>

#include <QCloseEvent>
#include <QDir>
#include <QJsonArray>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

namespace {

const QString Separator = QLatin1Char('\n') + QString(43, QLatin1Char('=')) + QLatin1Char('\n');

using Dialogs = TvScriptedDialogs;

class ProbedWindow : public TvDiagMainWindow
{
public:
    using TvDiagMainWindow::TvDiagMainWindow;
    bool isRunning() const { return running; }
    void setScriptRunning(bool on) { scriptRunning = on; }
    int quits = 0;

protected:
    void quitApplication() override { ++quits; }
};

// A base directory with a log directory "logs" and extension "log", one
// adapter with "Register test" (rows 101, 102), and a window driving a real
// worker thread.
class Rig
{
public:
    explicit Rig(const QJsonObject &behaviours = QJsonObject())
    {
        TvProgram::reset();
        QDir().mkpath(base.filePath(QStringLiteral("logs")));
        CAdapterInfo &info = CAdapterInfo::instance();
        info.clear();
        info.name = QStringLiteral("Test Diagnostics");
        info.basepath = base.path();
        info.logpath = QStringLiteral("logs");
        info.log_ext = QStringLiteral("log");
        info.vendorIds = {PciIdEntry{0xABCD, 0}};
        CAdapterEntry entry;
        entry.id = QStringLiteral("ABCD:0102:ABCD:0001");
        entry.name = QStringLiteral("Orlin Dual");
        entry.testCaseIds = {1};
        info.adapters.insert(entry.id, entry);
        CTestCase t;
        t.testname = QStringLiteral("Register test");
        t.menuentry = QStringLiteral("&Register test");
        t.allow_loop = 1;
        t.subtests = {{QStringLiteral("Step 101"), QString(), 101},
                      {QStringLiteral("Step 102"), QString(), 102}};
        info.testCases.insert(1, t);

        machine.adapters = {TvTestMachine::adapter(2, 1, 2)};
        machine.tests = behaviours;
        machine.install();
        started = CoreInit() == 0;
        window = std::make_unique<ProbedWindow>();
        worker = std::make_unique<TvWorkerThread>();
        window->setWorker(worker.get());
        worker->start(window.get());
        auto *list = window->findChild<QTreeWidget *>(QStringLiteral("TestCasesListView"));
        list->setCurrentItem(list->topLevelItem(0));
    }

    ~Rig()
    {
        worker->setReceiver(nullptr);
        TvCoreCallbacks::setReceiver(nullptr);
        worker->stop();
        window.reset();
        worker.reset();
        CoreDeinit();
        CAdapterInfo::instance().clear();
        TvProgram::reset();
    }

    QString logFile(const QString &name) const { return base.filePath(QStringLiteral("logs/") + name); }
    static QString &chosenName() { return CAdapterInfo::instance().logFileName; }
    TvLogModel *lines() const { return window->logModel(); }
    QStringList texts(int from = 0) const
    {
        QStringList all;
        for (int i = from; i < lines()->count(); ++i)
            all.append(lines()->line(i).mid(25));
        return all;
    }
    // Runs the slot to its end; the rows to run are ticked.
    void runSlot(const QList<int> &ticked)
    {
        for (int k = 0; k < TvDiagMainWindow::RowCount; ++k)
            window->testRow(k)->setChecked(ticked.contains(k));
        window->findChild<QPushButton *>(QStringLiteral("StartTestButton"))->click();
    }
    void coreText(const QString &text) const
    {
        auto *event = new TvCoreEvent(TvCoreEvent::LogText);
        event->text = text;
        QCoreApplication::postEvent(window.get(), event);
        QCoreApplication::processEvents();
    }
    bool close() const
    {
        QCloseEvent event;
        QApplication::sendEvent(window.get(), &event);
        return event.isAccepted();
    }

    QTemporaryDir base;
    TvTestMachine machine;
    Dialogs dialogs;
    bool started = false;
    std::unique_ptr<ProbedWindow> window;
    std::unique_ptr<TvWorkerThread> worker;
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
    void linesAreStampedFlattenedAndFollowed();
    void savesAppendOnlyTheNewLines();
    void existingFilesAreAskedAbout();
    void failedSavesKeepTheLinesUnsaved();
    void unsavedLinesGuardNewCloseAndExit();
    void viewedLinesStayAndNewOnesFollow();
    void closingWhileATestRunsAsks();
};

void TestUiLog::linesAreStampedFlattenedAndFollowed()
{
    Rig rig;
    QVERIFY(rig.started);
    // Until the first test start, texts of the core are dropped.
    const int before = rig.lines()->count();
    rig.coreText(QStringLiteral("early"));
    QCOMPARE(rig.lines()->count(), before);

    rig.runSlot({});
    rig.coreText(QStringLiteral("a\tb\nc"));
    const QRegularExpression stamped(
        QStringLiteral("^[A-Z][a-z]{2} [A-Z][a-z]{2} [ \\d]\\d \\d\\d:\\d\\d:\\d\\d \\d{4} a   b c$"));
    const QString last = rig.lines()->line(rig.lines()->count() - 1);
    QVERIFY2(stamped.match(last).hasMatch(), qPrintable(last));

    // A burst reaches the view in one insertion and the view follows it.
    auto *view = rig.window->findChild<QListView *>(QStringLiteral("LogfileListBox"));
    QTRY_COMPARE(rig.lines()->rowCount(), rig.lines()->count());
    QSignalSpy inserted(rig.lines(), &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 20000; ++i)
        rig.window->addLogLine(QStringLiteral("line %1").arg(i));
    QTRY_COMPARE(rig.lines()->rowCount(), rig.lines()->count());
    QCOMPARE(inserted.count(), 1);
    const QScrollBar *bar = view->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(view->uniformItemSizes());
}

void TestUiLog::savesAppendOnlyTheNewLines()
{
    Rig rig;
    QVERIFY(rig.started);
    rig.runSlot({});
    const QStringList first = rig.texts();

    // No name yet: one is asked for, in the log directory.
    rig.dialogs.answerFile(rig.logFile(QStringLiteral("first")));
    rig.window->fileSave();
    QCOMPARE(rig.dialogs.asked.size(), 1);
    const TvScriptedDialogs::Asked asked = rig.dialogs.asked.first();
    QCOMPARE(asked.kind, TvScriptedDialogs::Asked::SaveFile);
    QCOMPARE(asked.caption, QStringLiteral("CHOOSE_LOGFILE_NAME"));
    QCOMPARE(asked.filter, QStringLiteral("LOGFILE_FILTER log"));
    QCOMPARE(QDir(asked.directory), QDir(rig.logFile(QString())));
    // The directory's name holds the extension; only the file's name counts.
    const QString file = rig.logFile(QStringLiteral("first.log"));
    QCOMPARE(Rig::chosenName(), file);
    QCOMPARE(blocks(file), QList<QStringList>({first}));

    // Nothing new: nothing written.
    rig.dialogs.asked.clear();
    rig.window->fileSave();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"LOGFILE_UNCHANGED"}));
    QCOMPARE(rig.dialogs.asked.first().buttonTexts, QStringList({"OK_TEXT"}));
    QCOMPARE(blocks(file).size(), 1);

    // Three new lines make a second block of their own.
    const int saved = rig.lines()->count();
    rig.runSlot({});
    rig.coreText(QStringLiteral("third"));
    rig.window->fileSave();
    QCOMPARE(blocks(file), QList<QStringList>({first, rig.texts(saved)}));
    QCOMPARE(rig.texts(saved).size(), 3);

    // A name that holds the extension anywhere keeps it as it is.
    rig.coreText(QStringLiteral("fourth"));
    rig.dialogs.answerFile(rig.logFile(QStringLiteral("catalog.txt")));
    rig.window->fileSaveAs();
    QCOMPARE(Rig::chosenName(), rig.logFile(QStringLiteral("catalog.txt")));
    QCOMPARE(blocks(Rig::chosenName()), QList<QStringList>({{"fourth"}}));
}

void TestUiLog::existingFilesAreAskedAbout()
{
    Rig rig;
    QVERIFY(rig.started);
    rig.runSlot({});
    const QString a = rig.logFile(QStringLiteral("a.log"));
    const QString b = rig.logFile(QStringLiteral("b.log"));
    write(a, "old a\n");
    write(b, "old b\n");

    rig.dialogs.answerFile(a);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerFile(b);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.window->fileSaveAs();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"FILE_EXISTS", "FILE_EXISTS"}));
    QCOMPARE(rig.dialogs.asked.at(1).icon, TvDialogSeam::Warning);
    QCOMPARE(rig.dialogs.asked.at(1).buttons,
             QList<int>({TvDialogSeam::Yes, TvDialogSeam::No, TvDialogSeam::Cancel}));
    QCOMPARE(contents(a), QByteArray("old a\n"));
    QVERIFY(contents(b).startsWith("old b\n\nSAVE_LOG_FILE "));
    QVERIFY(contents(b).endsWith(Separator.toUtf8()));

    // Cancel forgets the name and writes nothing.
    rig.coreText(QStringLiteral("more"));
    rig.dialogs.answerFile(a);
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    rig.window->fileSaveAs();
    QVERIFY(Rig::chosenName().isNull());
    QCOMPARE(contents(a), QByteArray("old a\n"));
}

void TestUiLog::failedSavesKeepTheLinesUnsaved()
{
    Rig rig;
    QVERIFY(rig.started);
    rig.runSlot({});
    const QStringList all = rig.texts();

    // The disk is full: the block fails part-way.
    Rig::chosenName() = QStringLiteral("/dev/full");
    rig.window->fileSave();
    const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"LOGFILE_SAVE_FAILED /dev/full " + full}));
    QCOMPARE(rig.dialogs.asked.first().icon, TvDialogSeam::Critical);
    QCOMPARE(rig.dialogs.asked.first().buttonTexts, QStringList({"CANCEL_TEXT"}));

    // The file cannot be opened at all.
    rig.dialogs.asked.clear();
    const QString nowhere = rig.logFile(QStringLiteral("missing/x.log"));
    Rig::chosenName() = nowhere;
    rig.window->fileSave();
    const QString missing = QString::fromLocal8Bit(std::strerror(ENOENT));
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList({"OPEN_LOGFILE_FAILED " + nowhere + ' ' + missing,
                          "LOGFILE_SAVE_FAILED " + nowhere + ' ' + missing}));

    // Nothing was given up: the next good save writes every line.
    Rig::chosenName() = rig.logFile(QStringLiteral("good.log"));
    rig.window->fileSave();
    QCOMPARE(blocks(Rig::chosenName()), QList<QStringList>({all}));
}

void TestUiLog::unsavedLinesGuardNewCloseAndExit()
{
    Rig rig;
    QVERIFY(rig.started);
    rig.runSlot({});

    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    QVERIFY(!rig.close());
    QCOMPARE(rig.dialogs.asked.first().buttons,
             QList<int>({TvDialogSeam::Yes, TvDialogSeam::No, TvDialogSeam::Cancel}));
    // Yes, but the save fails: the user chooses whether to go on.
    Rig::chosenName() = QStringLiteral("/dev/full");
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    QVERIFY(!rig.close());
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    QVERIFY(rig.close());
    const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList({"LOGFILE_UNSAVED", "LOGFILE_UNSAVED",
                          "LOGFILE_CHANGES_SAVE_FAILED /dev/full " + full, "LOGFILE_UNSAVED",
                          "LOGFILE_CHANGES_SAVE_FAILED /dev/full " + full}));

    // Leaving: Cancel stays, No leaves; a script leaves without asking,
    // and so does the exit event it posts.
    rig.dialogs.asked.clear();
    rig.dialogs.answerMessage(TvDialogSeam::Cancel);
    rig.window->fileExit();
    QCOMPARE(rig.window->quits, 0);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.window->fileExit();
    QCOMPARE(rig.window->quits, 1);
    rig.window->setScriptRunning(true);
    QCoreApplication::postEvent(rig.window.get(), new TvCoreEvent(TvCoreEvent::Exit));
    QTRY_COMPARE(rig.window->quits, 2);
    QCOMPARE(rig.dialogs.messageTexts().size(), 2);
    rig.window->setScriptRunning(false);

    // A line that arrives while the new-list question is open stays.
    rig.dialogs.whileOpen = [&](const QString &text) {
        if (text == QLatin1String("LOGFILE_UNSAVED"))
            rig.coreText(QStringLiteral("late"));
    };
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.window->fileNew();
    QCOMPARE(rig.texts(), QStringList({"late"}));
    QVERIFY(Rig::chosenName().isNull());
    rig.dialogs.answerFile(rig.logFile(QStringLiteral("new")));
    rig.window->fileSave();
    QCOMPARE(blocks(rig.logFile(QStringLiteral("new.log"))), QList<QStringList>({{"late"}}));
}

void TestUiLog::viewedLinesStayAndNewOnesFollow()
{
    Rig rig;
    QVERIFY(rig.started);
    rig.runSlot({});
    rig.dialogs.answerFile(rig.logFile(QStringLiteral("saved")));
    rig.window->fileSave();
    const QString old = rig.logFile(QStringLiteral("old.log"));
    write(old, "one\n\ttwo\nthree");

    rig.dialogs.asked.clear();
    rig.dialogs.answerFile(old);
    rig.window->fileViewLogSlot();
    QCOMPARE(rig.dialogs.asked.first().kind, TvScriptedDialogs::Asked::OpenFile);
    QCOMPARE(rig.dialogs.asked.first().filter, QStringLiteral("LOGFILE_FILTER log"));
    QStringList shown;
    for (int i = 0; i < rig.lines()->count(); ++i)
        shown.append(rig.lines()->line(i));
    QCOMPARE(shown, QStringList({"one", "\ttwo", "three"}));
    auto *tabs = rig.window->findChild<QTabWidget *>(QStringLiteral("TvDiagDataTab"));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("LogfileTab"));
    rig.coreText(QStringLiteral("while viewing"));
    QCOMPARE(rig.lines()->count(), 3);

    // A test start logs again, after the viewed lines; a save writes what
    // the list holds now.
    rig.runSlot({});
    QCOMPARE(rig.lines()->count(), 5);
    QCOMPARE(rig.texts(3).first(), QStringLiteral("TEST_SLOT_STARTED Register test"));
    rig.window->fileSave();
    const QList<QStringList> saved = blocks(rig.logFile(QStringLiteral("saved.log")));
    QCOMPARE(saved.size(), 2);
    QCOMPARE(saved.last().size(), 5);
    QCOMPARE(saved.last().last(), rig.texts(4).first());

    // A file that cannot be read leaves the list empty.
    rig.dialogs.asked.clear();
    rig.dialogs.answerFile(rig.logFile(QStringLiteral("gone.log")));
    rig.window->fileViewLogSlot();
    QCOMPARE(rig.dialogs.messageTexts().size(), 1);
    QVERIFY(rig.dialogs.messageTexts().first().startsWith(QStringLiteral("OPEN_LOGFILE_FAILED ")));
    QCOMPARE(rig.dialogs.asked.last().icon, TvDialogSeam::Critical);
    QCOMPARE(rig.lines()->count(), 0);
}

void TestUiLog::closingWhileATestRunsAsks()
{
    const QJsonObject asking{{QStringLiteral("ask"),
                              QJsonObject{{QStringLiteral("message"), 12},
                                          {QStringLiteral("buttons"), QJsonArray{3, 4, 0}}}}};
    Rig rig({{"101", QJsonObject{{QStringLiteral("steps"), QJsonArray{asking}}}}});
    QVERIFY(rig.started);
    QList<bool> closed;
    rig.dialogs.whileOpen = [&](const QString &text) {
        if (text == QLatin1String("IS_LINK_LED_ON"))
            closed << rig.close();
    };

    // No: the window stays and the test goes on to pass.
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.runSlot({0});
    QTRY_VERIFY(!rig.window->isRunning());
    QCOMPARE(closed, QList<bool>({false}));
    QCOMPARE(rig.window->testRow(0)->resultText(), QStringLiteral("TEST_CASE_PASSED"));

    // Yes: the test is cancelled and the window may close.
    rig.dialogs.asked.clear();
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    rig.runSlot({0, 1});
    QTRY_VERIFY(!rig.window->isRunning());
    QCOMPARE(closed, QList<bool>({false, true}));
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList({"TEST_STILL_RUNNING", "LOGFILE_UNSAVED", "IS_LINK_LED_ON"}));
    QCOMPARE(rig.window->testRow(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QVERIFY(rig.window->testRow(1)->resultText().isEmpty());
}

QTEST_MAIN(TestUiLog)
#include "test_ui_log.moc"
