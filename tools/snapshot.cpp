// snapshot <machine.json> <outdir>
//
// Builds the main window in-process over a simulated machine, as the program
// would from the run directory (the description files are read from the
// current directory), and saves a picture of every tab, of the about box, of
// the help browser and of the connectivity test's dialog into outdir. Runs headless: without a platform chosen
// it uses the offscreen one.
#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "ui/TvDiagHelpDlgImpl.h"
#include "ui/TvDiagMainWindow.h"
#include "text/TvDialogSeam.h"
#include "ui/TvSplash.h"
#include "ui/connectivity/ConTestDlgImpl.h"
#include "ui/general/TvGeneralPage.h"
#include "ui/tests/TvTestListItem.h"
#include "ui/tests/TvTestPage.h"

#include <probekit.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <cstdio>

namespace {

// Nobody is there to answer: every box is written to standard error and
// answered with its first button, every file dialog is cancelled.
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
        return QString();
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    int execDialog(QDialog *) override { return QDialog::Accepted; }
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

bool readDescriptions()
{
    CAdapterInfo &info = CAdapterInfo::instance();
    const QString language = QStringLiteral("en");
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

int snapshot(const QDir &outdir)
{
    TvDiagMainWindow window;
    if (window.constructionFailed())
        return 1;
    window.show();
    showFirstTestCase(window);
    bool ok = true;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("TvDiagDataTab"));
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        if (tabs->widget(i) == window.general())
            showRefreshedGeneralTab(window);
        ok = save(&window, outdir, QStringLiteral("tab-") + tabs->widget(i)->objectName()) && ok;
    }
    TvSplash about(true);
    ok = save(&about, outdir, QStringLiteral("about")) && ok;
    TvDiagHelpDlgImpl help(&window);
    help.show();
    ok = save(&help, outdir, QStringLiteral("help")) && ok;
    ConTestDlgImpl connectivity(&window);
    connectivity.fill({"127", "0", "0", "1"}, {"255", "0", "0", "0"}, QStringLiteral("127.0.0.2"));
    connectivity.show();
    ok = save(&connectivity, outdir, QStringLiteral("connectivity")) && ok;
    return ok ? 0 : 1;
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

    QApplication app(argc, argv);
    QTranslator english;
    english.load(QStringLiteral("diag_en"), QStringLiteral("."));
    QCoreApplication::installTranslator(&english);
    ConsoleDialogs dialogs;
    TvDialogSeam::install(&dialogs);
    TvProgram::readAdvancedModeFromEnvironment();

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
    const int status = snapshot(outdir);
    CoreDeinit();
    TvDialogSeam::install(nullptr);
    return status;
}
