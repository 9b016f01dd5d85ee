#include "TvStartup.h"
#include "TvCommandLine.h"
#include "text/TvProgram.h"
#include "core/TvAdapterListing.h"
#include "description/CAdapterInfo.h"
#include "engine/TvScriptThread.h"
#include "engine/TvWorkerThread.h"
#include "platform/TvPlatform.h"
#include "text/TvLanguageTable.h"
#include "text/TvText.h"
#include "ui/TvDiagMainWindow.h"
#include "text/TvDialogSeam.h"
#include "ui/TvQtDialogs.h"
#include "ui/TvSplash.h"

#include <QApplication>
#include <QFile>
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
    std::unique_ptr<QApplication> ownApplication;
    std::unique_ptr<QTranslator> qtTranslator;
    std::unique_ptr<QTranslator> diagTranslator;

    ~StartupState()
    {
        // Translators go before the application object that holds them.
        if (QCoreApplication::instance()) {
            if (diagTranslator)
                QCoreApplication::removeTranslator(diagTranslator.get());
            if (qtTranslator)
                QCoreApplication::removeTranslator(qtTranslator.get());
        }
        diagTranslator.reset();
        qtTranslator.reset();
        ownApplication.reset();
    }
};

std::unique_ptr<QTranslator> installTranslator(const QString &name)
{
    auto translator = std::make_unique<QTranslator>();
    // A missing file leaves the translator empty; texts then show as keys.
    translator->load(name, QStringLiteral("."));
    QCoreApplication::installTranslator(translator.get());
    return translator;
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

bool readDescriptionFiles(int *status)
{
    CAdapterInfo &store = CAdapterInfo::instance();
    if (!store.readConfigFile(TvProgram::configPath())) {
        *status = failAfterInit("PARSE_CONFIG_FAILED");
        return false;
    }
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
        if (!QFile::exists(prefix + code + QStringLiteral(".qm")))
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
    TvPlatform::writeConsole(noGuiText("TEST_OPTIONS_HELP"));
    TvPlatform::writeConsole(dashes);
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_3"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_8"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_9"));
    TvPlatform::writeConsole(noGuiText("CMD_LINE_PARA_10"));
}

void TvStartup::showFatalError(const QString &text)
{
    TvDialogSeam::current().message(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(),
                                    text, TvDialogSeam::Ok);
    const QByteArray bytes = text.toLocal8Bit();
    std::fflush(stdout);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

int TvStartup::run(int argc, char *argv[])
{
    static TvQtDialogs realDialogs;
    TvDialogSeam::setDefault(&realDialogs);
    TvProgram::reset();
    CAdapterInfo::instance().clear();
    TvProgram::bannerText();

    const TvCommandLine options = TvCommandLine::parse(argc, argv);
    TvProgram::setConfigPath(options.configPath);
    TvProgram::setAdapterInfoPath(options.adapterInfoPath);
    TvProgram::setTestInfoPath(options.testInfoPath);
    TvProgram::setLanguageCode(options.languageCode);
    TvProgram::setPreselection(options.bus, options.device);
    TvProgram::runSettings()[1] = options.modeFlag ? 1 : 0;
    TvProgram::readAdvancedModeFromEnvironment();

    StartupState state;
    if (!QCoreApplication::instance())
        state.ownApplication = std::make_unique<QApplication>(argc, argv);

    const QString qtName = translationFileName(QStringLiteral("qt_"));
    const QString diagName = translationFileName(QStringLiteral("diag_"));
    state.qtTranslator = installTranslator(qtName);
    state.diagTranslator = installTranslator(diagName);

    if (options.usage) {
        printUsage();
        TvProgram::setLanguageCode(QString());
        return 0;
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
    int status = 0;
    if (!readDescriptionFiles(&status))
        return status;

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
    QApplication::setStyle(QStringLiteral("Windows"));

    std::unique_ptr<TvWorkerThread> worker(new (std::nothrow) TvWorkerThread());
    if (!worker)
        return failAfterInit("START_WORKER_THREAD_FAILED");
    std::unique_ptr<TvScriptThread> scriptThread(new (std::nothrow) TvScriptThread());
    if (!scriptThread)
        return failAfterInit("START_SCRIPT_THREAD_FAILED");
    window->setWorker(worker.get());

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
