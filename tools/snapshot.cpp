// snapshot <machine.json> <outdir>
//
// Builds the main window in-process over a simulated machine, as the program
// would from the run directory (the description files are read from the
// current directory), runs its first test case, and saves a picture of every
// tab, of the about box, of the help browser and of the dialogs of the
// connectivity test, the VPD view and a flash PROM save in progress into
// outdir; then builds the window again in advanced mode for the tabs that
// only that mode has, and once more in German for its test tab and help
// browser (de-tab-TestTab, de-help). Runs headless: without a platform
// chosen it uses the offscreen one. `ninja -C build screenshots` runs it
// into docs/screenshots.
#include "description/CAdapterInfo.h"
#include "records/TvRunRecordWriter.h"
#include "engine/TvWorkerThread.h"
#include "text/TvDialogSeam.h"
#include "text/TvProgram.h"
#include "ui/TvDiagHelpDlgImpl.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvSplash.h"
#include "ui/connectivity/ConTestDlgImpl.h"
#include "ui/console/TvConsolePage.h"
#include "ui/general/TvGeneralPage.h"
#include "ui/records/TvRunRecorder.h"
#include "ui/testpage/TvTestListItem.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestRun.h"

#include <probekit.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <cstdio>
#include <utility>

namespace {

bool save(QWidget *widget, const QDir &outdir, const QString &name);

// Nobody is there to answer: every box is written to standard error and
// answered with its first button; a save dialog takes the name set for it
// (none: cancelled), an open dialog is cancelled, and a modal dialog is
// pictured under the name set for it, then accepted.
class ConsoleDialogs : public TvDialogSeam
{
public:
    int messageBox(QWidget *, Icon, const QString &caption, const QString &text,
                   const QList<ButtonSpec> &buttons) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
        return buttons.isEmpty() ? Ok : buttons.first().code;
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return std::exchange(saveName, QString());
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    int execDialog(QDialog *dialog) override
    {
        if (!pictureName.isEmpty()) {
            dialog->show();
            ok = save(dialog, outdir, std::exchange(pictureName, QString())) && ok;
        }
        return QDialog::Accepted;
    }

    QDir outdir;
    QString saveName;
    QString pictureName;
    bool ok = true;
};

void settle()
{
    // Layouts, fonts and pictures are applied by posted events.
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget *widget, const QDir &outdir, const QString &name)
{
    settle();
    const QString path = outdir.filePath(name + QStringLiteral(".png"));
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool readDescriptions(const QString &language = QStringLiteral("en"))
{
    CAdapterInfo &info = CAdapterInfo::instance();
    info.clear();
    if (!info.readConfigFile(TvProgram::configPath()))
        return false;
    TvProgram::setBannerProduct(info.name);
    return info.readAdapterInfoFile(TvProgram::adapterInfoPath(), language)
        && info.readTestInfoFile(TvProgram::testInfoPath(), language);
}

// Shows the first real test case rather than the all-tests entry, so that
// the test tab has rows in its picture.
void showFirstTestCase(TvDiagMainWindow &window)
{
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("TestCasesListView"));
    for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
        auto *item = static_cast<TvTestListItem *>(list->topLevelItem(i));
        if (item->testCaseNumber() < TvTestPage::ConnectivityNumber) {
            list->setCurrentItem(item);
            return;
        }
    }
}

// The address, the link and the activity come with the once-a-second
// refresh, activity only from its second look.
void showRefreshedGeneralTab(TvDiagMainWindow &window)
{
    window.generalInfoTimerExpired();
    settle();
    window.generalInfoTimerExpired();
}

// The console with the list of its commands, as "?" prints it.
void showConsoleHelp(TvDiagMainWindow &window)
{
    auto *input = window.console()->findChild<QLineEdit *>(QStringLiteral("AdvancedLineEdit"));
    if (!input)
        return;
    input->setText(QStringLiteral("?"));
    emit input->returnPressed();
    settle();
}

// Runs the shown test case on a worker of its own, so that the test and
// log tabs show a run, and waits until its run record is written.
bool runShownTestCase(TvDiagMainWindow &window, TvWorkerThread &worker)
{
    window.setWorker(&worker);
    worker.start(&window);
    QObject::connect(window.records()->writer(), &TvRunRecordWriter::written,
                     [](const QString &path) { std::printf("run record %s\n", qPrintable(path)); });
    window.StartTestSlot();
    QElapsedTimer clock;
    clock.start();
    while (window.run()->isRunning() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    window.records()->writer()->waitForDone();
    QCoreApplication::processEvents();
    return !window.run()->isRunning();
}

// Saves the flash PROM into the scratch directory at the core's own pace
// and pictures the progress dialog on its way.
bool pictureFlashSave(TvDiagMainWindow &window, ConsoleDialogs &dialogs, const QString &image)
{
    qputenv("PROBEKIT_TIME_SCALE", "1");
    dialogs.saveName = image;
    bool taken = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *progress = window.findChild<QProgressDialog *>();
        if (taken || !progress || !progress->isVisible() || progress->value() < 40)
            return;
        taken = true;
        dialogs.ok = save(progress, dialogs.outdir, QStringLiteral("flash-progress")) && dialogs.ok;
    });
    poll.start(20);
    window.flashSaveSlot();
    qputenv("PROBEKIT_TIME_SCALE", "0");
    if (!taken)
        std::fprintf(stderr, "the flash PROM's progress dialog was not seen\n");
    return taken;
}

// Every tab of the window whose picture is not among `taken` yet.
bool pictureTabs(TvDiagMainWindow &window, const QDir &outdir, QSet<QString> *taken)
{
    bool ok = true;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("TvDiagDataTab"));
    for (int i = 0; i < tabs->count(); ++i) {
        const QString name = QStringLiteral("tab-") + tabs->widget(i)->objectName();
        if (taken->contains(name))
            continue;
        tabs->setCurrentIndex(i);
        if (tabs->widget(i) == window.general())
            showRefreshedGeneralTab(window);
        if (tabs->widget(i) == window.console())
            showConsoleHelp(window);
        ok = save(&window, outdir, name) && ok;
        taken->insert(name);
    }
    return ok;
}

bool pictureDialogs(TvDiagMainWindow &window, ConsoleDialogs &dialogs, const QString &scratch)
{
    bool ok = true;
    TvSplash about(true);
    ok = save(&about, dialogs.outdir, QStringLiteral("about")) && ok;
    TvDiagHelpDlgImpl help(&window);
    help.show();
    ok = save(&help, dialogs.outdir, QStringLiteral("help")) && ok;
    ConTestDlgImpl connectivity(&window);
    connectivity.fill({"127", "0", "0", "1"}, {"255", "0", "0", "0"}, QStringLiteral("127.0.0.2"));
    connectivity.show();
    ok = save(&connectivity, dialogs.outdir, QStringLiteral("connectivity")) && ok;
    dialogs.pictureName = QStringLiteral("vpd");
    window.vpdviewSlot();
    ok = dialogs.pictureName.isEmpty() && ok;
    return pictureFlashSave(window, dialogs, QDir(scratch).filePath(QStringLiteral("prom.bin")))
           && ok;
}

bool snapshot(ConsoleDialogs &dialogs, const QString &scratch, QSet<QString> *taken)
{
    TvWorkerThread worker;
    TvDiagMainWindow window;
    if (window.constructionFailed())
        return false;
    window.show();
    showFirstTestCase(window);
    bool ok = TvProgram::advancedMode() || runShownTestCase(window, worker);
    ok = pictureTabs(window, dialogs.outdir, taken) && ok;
    if (!TvProgram::advancedMode())
        ok = pictureDialogs(window, dialogs, scratch) && ok;
    return ok;
}

// The test tab with the first test case's rows, and the help browser, as a
// German user sees them.
bool snapshotGerman(const QDir &outdir)
{
    TvDiagMainWindow window;
    if (window.constructionFailed())
        return false;
    window.show();
    showFirstTestCase(window);
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("TvDiagDataTab"));
    tabs->setCurrentIndex(1);
    bool ok = save(&window, outdir, QStringLiteral("de-tab-TestTab"));
    TvDiagHelpDlgImpl help(&window);
    help.show();
    return save(&help, outdir, QStringLiteral("de-help")) && ok;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <machine.json> <outdir>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PROBEKIT_MACHINE", QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath().toLocal8Bit());
    // Private adapter locks and state: a program running beside the snapshot
    // neither blocks it nor is changed by it.
    QTemporaryDir scratch;
    qputenv("PROBEKIT_LOCK_DIR", scratch.filePath(QStringLiteral("locks")).toLocal8Bit());
    qputenv("PROBEKIT_STATE_DIR", scratch.filePath(QStringLiteral("state")).toLocal8Bit());
    QDir().mkpath(scratch.filePath(QStringLiteral("locks")));
    QDir().mkpath(scratch.filePath(QStringLiteral("state")));
    // The window's remembered size is not the pictures' business.
    qputenv("XDG_CONFIG_HOME", scratch.filePath(QStringLiteral("config")).toLocal8Bit());

    QApplication app(argc, argv);
    QTranslator english;
    english.load(QStringLiteral("diag_en"), QStringLiteral("."));
    QCoreApplication::installTranslator(&english);
    ConsoleDialogs dialogs;
    TvDialogSeam::install(&dialogs);
    // Tests run at once; the flash save takes its time for its picture.
    qputenv("PROBEKIT_TIME_SCALE", "0");

    const QDir outdir(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(outdir.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[2]);
        return 1;
    }
    if (!readDescriptions()) {
        std::fprintf(stderr, "the description files of the current directory cannot be read\n");
        return 1;
    }
    if (CoreInit() != 0) {
        std::fprintf(stderr, "the core library does not start\n");
        return 1;
    }
    dialogs.outdir = outdir;
    // The tabs of both modes: the advanced mode's own ones come second.
    QSet<QString> taken;
    bool ok = snapshot(dialogs, scratch.path(), &taken);
    // A fresh core session frees the adapter that the first window held.
    CoreDeinit();
    TvProgram::runSettings()[0] = 1;
    ok = CoreInit() == 0 && snapshot(dialogs, scratch.path(), &taken) && ok && dialogs.ok;
    CoreDeinit();
    // German, with Qt's own texts.
    TvProgram::runSettings()[0] = 0;
    QCoreApplication::removeTranslator(&english);
    QTranslator german, qtGerman;
    german.load(QStringLiteral("diag_de"), QStringLiteral("."));
    qtGerman.load(QStringLiteral("qtbase_de"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    QCoreApplication::installTranslator(&qtGerman);
    QCoreApplication::installTranslator(&german);
    TvProgram::setLanguageCode(QStringLiteral("de"));
    ok = readDescriptions(QStringLiteral("de")) && CoreInit() == 0 && snapshotGerman(outdir) && ok;
    const int status = ok ? 0 : 1;
    CoreDeinit();
    TvDialogSeam::install(nullptr);
    return status;
}
