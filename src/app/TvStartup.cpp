#include "TvStartup.h"
#include "TvCapture.h"
#include "TvCommandLine.h"
#include "TvConsoleDialogs.h"
#include "TvQtCatalogue.h"
#include "batch/TvBatchMode.h"
#include "text/TvProgram.h"
#include "core/TvAdapterListing.h"
#include "description/CAdapterInfo.h"
#include "engine/TvScriptThread.h"
#include "engine/TvWorkerThread.h"
#include "platform/TvPlatform.h"
#include "platform/TvProcessSignals.h"
#include "text/TvLanguageTable.h"
#include "text/TvText.h"
#include "ui/TvDiagMainWindow.h"
#include "text/TvDialogSeam.h"
#include "ui/TvQtDialogs.h"
#include "ui/TvSplash.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <new>
#include <probekit.h>

namespace {

const char *const NoGui = "NoGUIText";

QString noGuiText(const char *key)
{
    return TvText::translate(NoGui, key);
}

// Everything the entry point holds for one run; destroyed in reverse order
// of creation when run() returns.
struct StartupState {
    std::unique_ptr<QCoreApplication> ownApplication;
    std::unique_ptr<QTranslator> qtTranslator;
    std::unique_ptr<QTranslator> qtBaseTranslator;
    std::unique_ptr<QTranslator> diagTranslator;

    ~StartupState()
    {
        // Translators go before the application object that holds them.
        if (QCoreApplication::instance()) {
            if (diagTranslator)
                QCoreApplication::removeTranslator(diagTranslator.get());
            if (qtBaseTranslator)
                QCoreApplication::removeTranslator(qtBaseTranslator.get());
            if (qtTranslator)
                QCoreApplication::removeTranslator(qtTranslator.get());
        }
        diagTranslator.reset();
        qtBaseTranslator.reset();
        qtTranslator.reset();
        ownApplication.reset();
    }
};

TvConsoleDialogs &consoleDialogs()
{
    static TvConsoleDialogs dialogs;
    return dialogs;
}

// The usage text and the console listing are console work: they need no
// display, and a box would only stand in a script's way. The window gets a
// widget application when there is a display to show it on; without one
// the start goes on as far as the window and says there why it stops.
// Set when no display that was named could be reached.
bool displayUnreachable = false;

std::unique_ptr<QCoreApplication> makeApplication(const TvCommandLine &options, int &argc,
                                                  char *argv[])
{
    displayUnreachable = false;
    if (options.usage || options.list || options.batch.requested() || !TvPlatform::hasDisplay())
        return std::make_unique<QCoreApplication>(argc, argv);
    // A display that is named but cannot be reached (a stale DISPLAY over
    // ssh) would make Qt abort; with a fallback the start reaches the
    // window, which then says why it cannot open.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland;offscreen");
        auto application = std::make_unique<QApplication>(argc, argv);
        qunsetenv("QT_QPA_PLATFORM");
        displayUnreachable = QGuiApplication::platformName() == QLatin1String("offscreen");
        return application;
    }
    return std::make_unique<QApplication>(argc, argv);
}

QApplication *widgetApplication()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance());
}

// Boxes need a screen that somebody looks at; the offscreen and minimal
// platforms have none, and a box there would wait for ever.
bool boxesCanBeShown()
{
    if (!widgetApplication())
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QString dataFile(const QString &given, const char *name)
{
    return given.isEmpty() ? QDir(TvPlatform::dataDirectory()).filePath(QLatin1String(name)) : given;
}

// A relative base directory (the shipped "." above all) names a place in
// the program's data directory, wherever the program was started from; an
// absolute one is taken as it stands.
QString resolvedBasePath(const QString &basepath)
{
    if (QDir::isAbsolutePath(basepath))
        return basepath;
    return QDir::cleanPath(QDir(TvPlatform::dataDirectory()).absoluteFilePath(basepath));
}

std::unique_ptr<QTranslator> loadTranslator(const QString &name)
{
    auto translator = std::make_unique<QTranslator>();
    // A missing "qt_" file leaves the translator empty; that is no error.
    translator->load(name, TvPlatform::dataDirectory());
    return translator;
}

// A language that the table knows but that has no catalogue would show
// every text as its key: English is the better reading, and the user is
// told once which language is missing.
void installTranslators(StartupState &state)
{
    QString qtName = TvStartup::translationFileName(QStringLiteral("qt_"));
    QString diagName = TvStartup::translationFileName(QStringLiteral("diag_"));
    QString missingCode;
    if (!QTranslator().load(diagName, TvPlatform::dataDirectory())) {
        missingCode = TvProgram::languageCode();
        TvProgram::setLanguageCode(QStringLiteral("en"));
        qtName = TvStartup::translationFileName(QStringLiteral("qt_"));
        diagName = TvStartup::translationFileName(QStringLiteral("diag_"));
    }
    state.qtTranslator = loadTranslator(qtName);
    QCoreApplication::installTranslator(state.qtTranslator.get());
    state.qtBaseTranslator = TvQtCatalogue::load(TvProgram::languageCode());
    QCoreApplication::installTranslator(state.qtBaseTranslator.get());
    state.diagTranslator = loadTranslator(diagName);
    QCoreApplication::installTranslator(state.diagTranslator.get());
    if (!missingCode.isEmpty())
        TvConsoleDialogs::writeError(noGuiText("LANGUAGE_NOT_AVAILABLE %1").arg(missingCode));
}

// The de-initialisation step shared by every failure after CoreInit.
// Returns false when the core could not be de-initialised.
bool deinitialiseCore()
{
    if (CoreDeinit() != 0) {
        TvStartup::showFatalError(noGuiText("DE_INIT_CORE_FAILED"));
        return false;
    }
    return true;
}

int failAfterInit(const char *key)
{
    TvStartup::showFatalError(noGuiText(key));
    deinitialiseCore();
    TvProgram::setLanguageCode(QString());
    return -1;
}

// With the Linux backend and no description file named, the core writes
// the description of the adapters present, and the program reads that; the
// shipped files for real hardware remain when it cannot.
void describeLinuxAdapters(const TvCommandLine &options, const QTemporaryDir &dir)
{
    if (qgetenv("PROBEKIT_BACKEND") != "linux" || !options.configPath.isEmpty()
        || !options.adapterInfoPath.isEmpty() || !options.testInfoPath.isEmpty())
        return;
    const QDir shipped(QDir(TvPlatform::dataDirectory()).filePath(QStringLiteral("linux")));
    QDir chosen = shipped;
    if (dir.isValid() && CommandRun(("describe " + dir.path()).toLocal8Bit().constData(), nullptr, nullptr) == 0)
        chosen = QDir(dir.path());
    TvProgram::setConfigPath(chosen.filePath(QStringLiteral("config.xml")));
    TvProgram::setAdapterInfoPath(chosen.filePath(QStringLiteral("adapterinfofile.xml")));
    TvProgram::setTestInfoPath(chosen.filePath(QStringLiteral("testinfofile.xml")));
}

bool readDescriptionFiles(int *status)
{
    CAdapterInfo &store = CAdapterInfo::instance();
    if (!store.readConfigFile(TvProgram::configPath())) {
        *status = failAfterInit("PARSE_CONFIG_FAILED");
        return false;
    }
    store.basepath = resolvedBasePath(store.basepath);
    TvProgram::setBannerProduct(store.name);
    if (!store.readAdapterInfoFile(TvProgram::adapterInfoPath(), TvProgram::languageCode())) {
        *status = failAfterInit("PARSE_AIF_FAILED");
        return false;
    }
    if (!store.readTestInfoFile(TvProgram::testInfoPath(), TvProgram::languageCode())) {
        *status = failAfterInit("PARSE_TIF_FAILED");
        return false;
    }
    return true;
}

} // namespace

QString TvStartup::translationFileName(const QString &prefix)
{
    QString code = TvProgram::languageCode();
    if (code.isEmpty()) {
        code = TvLanguageTable::lookupLanguageCode(TvPlatform::userLocaleId());
        if (!QFile::exists(QDir(TvPlatform::dataDirectory()).filePath(prefix + code + QStringLiteral(".qm"))))
            code.remove(2, 3);
        // A locale the table does not know (C, POSIX) would leave every text
        // as its message key; English is the better reading.
        if (code.isEmpty())
            code = QStringLiteral("en");
        TvProgram::setLanguageCode(code);
    }
    return prefix + code;
}

void TvStartup::printUsage()
{
    const QString dashes = QString(53, QLatin1Char('-')) + QLatin1Char('\n');
    TvPlatform::writeConsole(noGuiText("USAGE"));
    TvPlatform::writeConsole(noGuiText("%1 OPTIONS").arg(QString()));
    TvPlatform::writeConsole(noGuiText("ADAPTER_OPTIONS_HELP"));
    TvPlatform::writeConsole(dashes);
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_1"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_2"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_CAPTURE"));
    TvPlatform::writeConsole(noGuiText("BATCH_OPTIONS_HELP"));
    TvPlatform::writeConsole(dashes);
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_BATCH"));
    TvPlatform::writeConsole(noGuiText("TEST_OPTIONS_HELP"));
    TvPlatform::writeConsole(dashes);
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_3"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_8"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_9"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_10"));
}

void TvStartup::showFatalError(const QString &text)
{
    TvDialogSeam &dialogs = TvDialogSeam::current();
    dialogs.message(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(), text, TvDialogSeam::Ok);
    // A box that could not be shown has gone to standard error already.
    if (&dialogs != &consoleDialogs())
        TvConsoleDialogs::writeError(text);
}

int TvStartup::run(int argc, char *argv[])
{
    TvProcessSignals::ignoreFileSizeLimit();
    TvProgram::reset();
    CAdapterInfo::instance().clear();
    TvProgram::bannerText();

    const TvCommandLine options = TvCommandLine::parse(argc, argv);
    TvProgram::setLanguageCode(options.languageCode);
    TvProgram::setPreselection(options.bus, options.device);
    TvProgram::runSettings()[1] = options.modeFlag ? 1 : 0;
    TvProgram::readAdvancedModeFromEnvironment();

    StartupState state;
    if (!QCoreApplication::instance())
        state.ownApplication = makeApplication(options, argc, argv);
    static TvQtDialogs realDialogs;
    TvDialogSeam::setDefault(boxesCanBeShown() ? static_cast<TvDialogSeam *>(&realDialogs)
                                               : &consoleDialogs());
    // The data directory is known once the application object is.
    TvProgram::setConfigPath(dataFile(options.configPath, "config.xml"));
    TvProgram::setAdapterInfoPath(dataFile(options.adapterInfoPath, "adapterinfofile.xml"));
    TvProgram::setTestInfoPath(dataFile(options.testInfoPath, "testinfofile.xml"));

    installTranslators(state);

    if (options.usage) {
        printUsage();
        TvProgram::setLanguageCode(QString());
        return 0;
    }
    if (options.batch.requested()) {
        const QString wrong = options.batch.check();
        if (!wrong.isEmpty()) {
            TvConsoleDialogs::writeError(wrong + QLatin1Char('\n') + noGuiText("USAGE_HINT"));
            TvProgram::setLanguageCode(QString());
            return TvBatchMode::UsageError;
        }
        // Whatever stops a headless run before its tests is "nothing ran".
        const int status = runWithCore(options);
        return status < 0 ? int(TvBatchMode::NothingRan) : status;
    }
    return runWithCore(options);
}

int TvStartup::runWithCore(const TvCommandLine &options)
{
    char statInfo[200] = {};
    StatGetInfo(statInfo, int(sizeof statInfo));

    if (CoreInit() != 0) {
        showFatalError(noGuiText("INIT_CORE_FAILED"));
        TvProgram::setLanguageCode(QString());
        return -1;
    }
    if (!options.captureDir.isEmpty()) {
        const int captured = TvCapture::run(options.captureDir);
        const bool clean = deinitialiseCore();
        TvProgram::setLanguageCode(QString());
        return clean ? captured : -1;
    }
    int status = 0;
    {
        // The written description is read once, here; it goes with it.
        const QTemporaryDir description;
        describeLinuxAdapters(options, description);
        if (!readDescriptionFiles(&status))
            return status;
    }

    if (options.batch.requested()) {
        const int status = TvBatchMode::run(options.batch);
        const bool clean = deinitialiseCore();
        TvProgram::setLanguageCode(QString());
        return clean ? status : -1;
    }
    if (options.list) {
        TvAdapterListing::listAdapters();
        const bool clean = deinitialiseCore();
        TvProgram::setLanguageCode(QString());
        return clean ? 0 : -1;
    }
    return runWindow();
}

int TvStartup::runWindow()
{
    if (!widgetApplication())
        return failAfterInit("NO_DISPLAY");
    if (displayUnreachable)
        return failAfterInit("DISPLAY_UNREACHABLE");
    // Before the first widget: set later, it would polish every widget of
    // the window a second time.
    QApplication::setStyle(QStringLiteral("Windows"));
    auto splash = std::make_unique<TvSplash>(false);
    std::unique_ptr<TvDiagMainWindow> window(new (std::nothrow) TvDiagMainWindow());
    if (!window)
        return failAfterInit("CREATE_GUI_FAILED");
    if (window->constructionFailed()) {
        // The window has shown its own message already.
        window.reset();
        deinitialiseCore();
        TvProgram::setLanguageCode(QString());
        return -1;
    }

    std::unique_ptr<TvWorkerThread> worker(new (std::nothrow) TvWorkerThread());
    if (!worker)
        return failAfterInit("START_WORKER_THREAD_FAILED");
    std::unique_ptr<TvScriptThread> scriptThread(new (std::nothrow) TvScriptThread());
    if (!scriptThread)
        return failAfterInit("START_SCRIPT_THREAD_FAILED");
    window->setWorker(worker.get());
    window->setScriptThread(scriptThread.get());

    window->show();
    worker->start(window.get());
    int result = QApplication::exec();

    // Nothing may be posted to the window once it is gone.
    worker->setReceiver(nullptr);
    window.reset();
    worker->stop();
    worker.reset();
    scriptThread->wait();
    scriptThread.reset();
    splash.reset();

    if (!deinitialiseCore())
        result = -1;
    TvProgram::setLanguageCode(QString());
    return result;
}
