// Start-up as a user meets it: options, usage text, exit codes, the console
// listing and the failure paths. Most cases run the built binary, because
// exit codes and the split between stdout and stderr are what a caller sees.
#include "TvScriptedDialogs.h"
#include "TvTestMachine.h"
#include "text/TvProgram.h"
#include "app/TvStartup.h"
#include "description/CAdapterInfo.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

// Captures what the process writes to a file descriptor while in scope.
class CapturedFd
{
public:
    explicit CapturedFd(int fd) : fd(fd)
    {
        std::fflush(nullptr);
        saved = dup(fd);
        const QByteArray path = dir.filePath(QStringLiteral("captured")).toLocal8Bit();
        const int file = open(path.constData(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        dup2(file, fd);
        close(file);
    }
    ~CapturedFd() { restore(); }
    QByteArray text()
    {
        restore();
        QFile file(dir.filePath(QStringLiteral("captured")));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private:
    void restore()
    {
        if (saved < 0)
            return;
        std::fflush(nullptr);
        dup2(saved, fd);
        close(saved);
        saved = -1;
    }
    QTemporaryDir dir;
    int fd;
    int saved = -1;
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir files;
    TvTestMachine machine;

    enum Screen { Offscreen, NoDisplay, UnreachableDisplay };

    RunResult runProgram(const QStringList &arguments, const QByteArray &fault = QByteArray(),
                         const QByteArray &locale = "C.UTF-8", Screen screen = Offscreen,
                         const QString &directory = QStringLiteral(NICDIAG_RUN_DIR))
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (screen == Offscreen)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (screen == UnreachableDisplay)
            env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        env.remove(QStringLiteral("PROBEKIT_FAULT"));
        if (!fault.isEmpty())
            env.insert(QStringLiteral("PROBEKIT_FAULT"), QString::fromLatin1(fault));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(directory);
        process.start(QStringLiteral(NICDIAG_RUN_DIR "/nicdiag"), arguments);
        RunResult result;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    static int runInProcess(QList<QByteArray> arguments)
    {
        QVector<char *> argv;
        for (QByteArray &argument : arguments)
            argv.append(argument.data());
        argv.append(nullptr);
        return TvStartup::run(argv.size() - 1, argv.data());
    }

    QStringList descriptionArguments() const
    {
        return {QStringLiteral("-C"), files.filePath(QStringLiteral("config.xml")),
                QStringLiteral("-I"), files.filePath(QStringLiteral("adapters.xml")),
                QStringLiteral("-T"), files.filePath(QStringLiteral("tests.xml"))};
    }

private slots:
    void initTestCase()
    {
        // The window remembers its place: here, not in the user's settings.
        const QString settings = files.filePath(QStringLiteral("settings"));
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, settings);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings));
        writeFile(files.filePath(QStringLiteral("config.xml")),
                  "<configfile version=\"1.0\"><configuration>"
                  "<name>Bench Rig</name><basepath>.</basepath>"
                  "<vendor_entry id=\"1A5E\"/>"
                  "</configuration></configfile>");
        writeFile(files.filePath(QStringLiteral("adapters.xml")),
                  "<adapterinfofile version=\"1.0\">"
                  "<adapter><id>1a5e:4320:1a5e:0001</id><name>Described Single Port</name>"
                  "<testcases>1</testcases></adapter>"
                  "</adapterinfofile>");
        writeFile(files.filePath(QStringLiteral("tests.xml")),
                  "<testinfo version=\"1.0\"><testcases lang=\"en\">"
                  "<testcase id=\"1\"><testname>Register test</testname><test_base>100</test_base>"
                  "<subtestcase id=\"1\"><label>Registers</label></subtestcase></testcase>"
                  "</testcases></testinfo>");

        QJsonObject named = TvTestMachine::adapter(2, 1, 3, QStringLiteral("4322"), QStringLiteral("0002"));
        named[QStringLiteral("vpd")] = QJsonObject{{QStringLiteral("Name"), QStringLiteral("Orlin Dual")}};
        QJsonObject onboard = TvTestMachine::adapter(3, 0, -1, QStringLiteral("4320"), QStringLiteral("0001"));
        QJsonObject longName = TvTestMachine::adapter(12, 10, 11, QStringLiteral("4322"), QStringLiteral("0002"));
        longName[QStringLiteral("vpd")] = QJsonObject{{QStringLiteral("Name"), QString(70, QLatin1Char('N'))}};
        QJsonObject foreign = TvTestMachine::adapter(5, 0, 5, QStringLiteral("0A01"));
        foreign[QStringLiteral("vendorId")] = QStringLiteral("1B2C");
        for (QJsonObject *a : {&named, &onboard, &longName, &foreign})
            (*a)[QStringLiteral("vendorId")] = a == &foreign ? QStringLiteral("1B2C") : QStringLiteral("1A5E");
        for (QJsonObject *a : {&named, &onboard, &longName, &foreign})
            (*a)[QStringLiteral("subsystemVendorId")] = (*a)[QStringLiteral("vendorId")];
        machine.adapters = {named, onboard, longName, foreign};
        machine.install();
    }

    void usageForEveryHelpOption()
    {
        const QList<QStringList> starts = {
            {QStringLiteral("-?")}, {QStringLiteral("-x")}, {QStringLiteral("-a")},
            {QStringLiteral("-n")}, {QStringLiteral("-c"), QStringLiteral("1")},
            {QStringLiteral("-o"), QStringLiteral("out")}, {QStringLiteral("-z")},
            {QStringLiteral("-C")}};
        for (const QStringList &arguments : starts) {
            // A core that cannot start proves that usage never reaches it.
            const RunResult result = runProgram(arguments, "CoreInit=3");
            QCOMPARE(result.exitCode, 0);
            QVERIFY2(result.out.startsWith("Usage: nicdiag [options]\n"), result.out.constData());
            QVERIFY(result.out.contains("  -l "));
            QVERIFY(result.out.contains(QByteArray(53, '-') + "\n"));
            QVERIFY(!result.out.contains("CMD_LINE_PARA"));
        }
        QVERIFY(runProgram({QStringLiteral("-z")}).err.contains("invalid option"));
        QVERIFY(runProgram({QStringLiteral("-C")}).err.contains("requires an argument"));
    }

    void usageFollowsTheLanguageOption()
    {
        const RunResult german = runProgram({QStringLiteral("-L"), QStringLiteral("de"), QStringLiteral("-?")});
        QCOMPARE(german.exitCode, 0);
        QVERIFY(german.out.startsWith("Aufruf: nicdiag"));
        const RunResult fromLocale = runProgram({QStringLiteral("-?")}, QByteArray(), "de_CH.UTF-8");
        QVERIFY(fromLocale.out.startsWith("Aufruf: nicdiag"));
    }

    void consoleWorkNeedsNoDisplay()
    {
        const RunResult usage = runProgram({QStringLiteral("-?")}, QByteArray(), "C.UTF-8", NoDisplay);
        QCOMPARE(usage.exitCode, 0);
        QVERIFY(usage.out.startsWith("Usage: nicdiag [options]\n"));
        const RunResult listing = runProgram(QStringList{QStringLiteral("-l")} + descriptionArguments(),
                                             QByteArray(), "C.UTF-8", NoDisplay);
        QCOMPARE(listing.exitCode, 0);
        QVERIFY(listing.out.contains("Orlin Dual"));
        QCOMPARE(listing.err, QByteArray());
    }

    void windowWithoutDisplaySaysSoOnce()
    {
        const QByteArray line = "There is no display for the window (DISPLAY and WAYLAND_DISPLAY are not set); "
                                "start it on a virtual one with: xvfb-run nicdiag\n";
        const RunResult plain = runProgram(descriptionArguments(), QByteArray(), "C.UTF-8", NoDisplay);
        QCOMPARE(plain.exitCode, 255);
        QCOMPARE(plain.err, line);
        // The core is de-initialised on this way out too, and only once.
        const RunResult deinit = runProgram(descriptionArguments(), "CoreDeinit=8", "C.UTF-8", NoDisplay);
        QCOMPARE(deinit.exitCode, 255);
        QCOMPARE(deinit.err, line + "The core library could not be de-initialised.\n");
        // A display that is named but not there (a stale DISPLAY over ssh).
        const RunResult stale = runProgram(descriptionArguments(), QByteArray(), "C.UTF-8", UnreachableDisplay);
        QCOMPARE(stale.exitCode, 255);
        QVERIFY(stale.err.endsWith("The display for the window cannot be reached (check DISPLAY or "
                                   "WAYLAND_DISPLAY); start it on a virtual one with: xvfb-run nicdiag\n"));
    }

    void languageWithoutCatalogueFallsBackToEnglish()
    {
        const QByteArray line = "There are no texts in the language fr; the texts are shown in English.\n";
        const RunResult fromLocale = runProgram({QStringLiteral("-?")}, QByteArray(), "fr_FR.UTF-8");
        const RunResult fromOption = runProgram({QStringLiteral("-L"), QStringLiteral("fr"), QStringLiteral("-?")});
        for (const RunResult &result : {fromLocale, fromOption}) {
            QCOMPARE(result.exitCode, 0);
            QVERIFY2(result.out.startsWith("Usage: nicdiag [options]\n"), result.out.constData());
            QCOMPARE(result.err, line);
        }
    }

    void startsFromAnotherDirectory()
    {
        const QString elsewhere = files.path();
        const RunResult usage = runProgram({QStringLiteral("-?")}, QByteArray(), "C.UTF-8", Offscreen, elsewhere);
        QCOMPARE(usage.exitCode, 0);
        QVERIFY2(usage.out.startsWith("Usage: nicdiag [options]\n"), usage.out.constData());
        QVERIFY(!usage.out.contains("CMD_LINE_PARA"));
        // The shipped description files are found beside the program.
        const RunResult listing = runProgram({QStringLiteral("-l")}, QByteArray(), "C.UTF-8", Offscreen, elsewhere);
        QCOMPARE(listing.exitCode, 0);
        QVERIFY2(listing.out.contains("Orlin Dual"), listing.err.constData());

        // A relative base directory names a place in the data directory,
        // not in the current one.
        const QString saved = QDir::currentPath();
        QDir::setCurrent(elsewhere);
        QList<QByteArray> arguments{"nicdiag", "-l"};
        for (const QString &argument : descriptionArguments())
            arguments.append(argument.toLocal8Bit());
        int status = -1;
        {
            CapturedFd out(1);
            status = runInProcess(arguments);
        }
        const bool imageFound = QFile::exists(CAdapterInfo::instance().basePathOf(QStringLiteral("images/passed.png")));
        QDir::setCurrent(saved);
        QCOMPARE(status, 0);
        QVERIFY(imageFound);
    }

    void listingByteForByte()
    {
        const RunResult result = runProgram(QStringList{QStringLiteral("-l")} + descriptionArguments());
        QCOMPARE(result.exitCode, 0);
        const QByteArray expected =
            "\nInstalled Orlin adapters:\n"
            "\t\t\t\t\t\t\t        Slot Bus Dev.Num\n"
            + QByteArray("Orlin Dual").leftJustified(63, ' ') + " 3    2   1 \n"
            + QByteArray("Described Single Port").leftJustified(63, ' ') + " NA   3   0 \n"
            + QByteArray(63, 'N') + " 11   12  10\n";
        QCOMPARE(result.out, expected);
    }

    void listingWithModeFlagIsTheSame()
    {
        const QStringList arguments = QStringList{QStringLiteral("-l")} + descriptionArguments();
        QCOMPARE(runProgram(arguments + QStringList{QStringLiteral("-m")}).out, runProgram(arguments).out);
    }

    void listingWithoutAdapterTable()
    {
        const RunResult result = runProgram(QStringList{QStringLiteral("-l")} + descriptionArguments(),
                                            "AdapterEnumerate=10");
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("\nThe list of adapters could not be read from the core library.\n"));
    }

    void listingWithVendorReadAsZeroSaysWhy()
    {
        // The entry's pair (0, 0) ends the list given to the core: no adapter
        // is listed, and standard error says which entry is to blame.
        const QString config = files.filePath(QStringLiteral("zero-vendor.xml"));
        writeFile(config, "<configfile version=\"1.0\"><configuration><vendor_entry id=\"0x1A5E\"/>"
                          "</configuration></configfile>");
        QStringList arguments = QStringList{QStringLiteral("-l")} + descriptionArguments();
        arguments[2] = config;
        const RunResult result = runProgram(arguments);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("\nInstalled Orlin adapters:\n\t\t\t\t\t\t\t        Slot Bus Dev.Num\n"));
        QVERIFY2(result.err.contains(config.toUtf8() + ", line 1: the vendor ID \"0x1A5E\""),
                 result.err.constData());
        // An empty listing says why it may be empty and what to pass.
        QVERIFY2(result.err.contains("No adapter of the vendor IDs 0000 (from " + config.toUtf8() + ") was found.")
                     && result.err.contains("PROBEKIT_BACKEND=linux")
                     && result.err.contains("-C " NICDIAG_RUN_DIR "/linux/config.xml"),
                 result.err.constData());
        // A listing with adapters needs no hint.
        QVERIFY(!runProgram(QStringList{QStringLiteral("-l")} + descriptionArguments()).err.contains("PROBEKIT_BACKEND"));
    }

    void coreFailuresEndWithMinusOne()
    {
        const QStringList arguments = QStringList{QStringLiteral("-l")} + descriptionArguments();
        const RunResult init = runProgram(arguments, "CoreInit=8");
        QCOMPARE(init.exitCode, 255);
        QCOMPARE(init.err.count("could not be initialised"), 1);
        QVERIFY(!init.err.contains("de-initialised"));

        const RunResult deinit = runProgram(arguments, "CoreDeinit=8");
        QCOMPARE(deinit.exitCode, 255);
        QVERIFY(deinit.out.contains("Installed Orlin adapters"));
        QVERIFY(deinit.err.contains("could not be de-initialised"));

        const RunResult missing = runProgram({QStringLiteral("-l"), QStringLiteral("-C"), QStringLiteral("/nonexistent/config.xml")},
                                             "CoreDeinit=8");
        QCOMPARE(missing.exitCode, 255);
        QVERIFY(missing.err.contains("The configuration file could not be read.\n"));
        // The core is still de-initialised after the reader's failure.
        QVERIFY(missing.err.contains("could not be de-initialised"));
    }

    void missingConfigurationAnsweredThroughTheSeam()
    {
        TvScriptedDialogs dialogs;
        QByteArray arg0 = "nicdiag", arg1 = "-C", arg2 = "/nonexistent/config.xml", arg3 = "-l";
        char *argv[] = {arg0.data(), arg1.data(), arg2.data(), arg3.data(), nullptr};
        CapturedFd err(2);
        const int status = TvStartup::run(4, argv);
        const QByteArray errText = err.text();
        QCOMPARE(status, -1);
        QCOMPARE(dialogs.asked.size(), 2);
        // Before the configuration is read the banner carries the built-in name.
        QCOMPARE(dialogs.asked[0].caption, QStringLiteral("Orlin Diagnostics v7.12"));
        QVERIFY(dialogs.asked[0].text.contains(QStringLiteral("/nonexistent/config.xml")));
        QCOMPARE(dialogs.asked[0].icon, TvDialogSeam::Critical);
        QCOMPARE(dialogs.asked[1].text, QStringLiteral("The configuration file could not be read.\n"));
        QCOMPARE(errText, QByteArray("The configuration file could not be read.\n"));
        QVERIFY(!TvProgram::languageCode().size());
    }

    void bannerCarriesTheConfiguredName()
    {
        TvScriptedDialogs dialogs;
        QByteArray a0 = "nicdiag", a1 = "-C", a2 = files.filePath(QStringLiteral("config.xml")).toLocal8Bit(),
                   a3 = "-I", a4 = "/nonexistent/adapters.xml", a5 = "-l";
        char *argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), a4.data(), a5.data(), nullptr};
        CapturedFd err(2);
        QCOMPARE(TvStartup::run(6, argv), -1);
        QVERIFY(err.text().contains("adapter information file"));
        QVERIFY(!dialogs.asked.isEmpty());
        QCOMPARE(dialogs.asked.first().caption, QStringLiteral("Bench Rig v7.12"));
    }

    void windowRunEndsWithTheEventLoop()
    {
        TvScriptedDialogs dialogs;
        // Selecting the first adapter logs three lines; the close asks
        // whether to save them: No.
        dialogs.answerMessage(TvDialogSeam::No);
        bool sawWindow = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (widget->inherits("TvDiagMainWindow") && widget->isVisible())
                    sawWindow = true;
            }
            if (sawWindow)
                QApplication::closeAllWindows();
        });
        closer.start(20);
        QCOMPARE(runInProcess({"nicdiag"}), 0);
        QVERIFY(sawWindow);
        QCOMPARE(dialogs.asked.size(), 1);
        QVERIFY(dialogs.asked.first().text.contains(QStringLiteral("not been saved")));

        qputenv("PROBEKIT_FAULT", "CoreDeinit=8");
        dialogs.answerMessage(TvDialogSeam::No);
        sawWindow = false;
        CapturedFd err(2);
        QCOMPARE(runInProcess({"nicdiag"}), -1);
        qunsetenv("PROBEKIT_FAULT");
        QVERIFY(err.text().contains("could not be de-initialised"));
    }

    void qtsOwnTextsFollowTheLanguage()
    {
        // The file dialog's and the message boxes' own texts, as the
        // running window's translators give them.
        TvScriptedDialogs dialogs;
        dialogs.answerMessage(TvDialogSeam::No);
        QStringList seen;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (!widget->inherits("TvDiagMainWindow") || !widget->isVisible() || !seen.isEmpty())
                    continue;
                seen << QCoreApplication::translate("QPlatformTheme", "&Yes")
                     << QCoreApplication::translate("QPlatformTheme", "Cancel")
                     << QCoreApplication::translate("QFileDialog", "Look in:");
                QApplication::closeAllWindows();
            }
        });
        closer.start(20);
        QCOMPARE(runInProcess({"nicdiag", "-L", "de"}), 0);
        QCOMPARE(seen, QStringList({"&Ja", "Abbrechen", "Suchen in:"}));
        // Gone with the run.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
        TvProgram::reset();
    }

    void failedWindowConstructionEndsWithMinusOne()
    {
        TvScriptedDialogs dialogs;
        qputenv("PROBEKIT_FAULT", "AdapterEnumerate=10,CoreDeinit=8");
        CapturedFd err(2);
        const int status = runInProcess({"nicdiag"});
        qunsetenv("PROBEKIT_FAULT");
        QCOMPARE(status, -1);
        QVERIFY(!dialogs.asked.isEmpty());
        // Its own message, then the core is still de-initialised.
        QVERIFY(err.text().contains("could not be de-initialised"));
        for (QWidget *widget : QApplication::topLevelWidgets())
            QVERIFY(!widget->inherits("TvDiagMainWindow"));
    }

    void languageCodeChoice()
    {
        TvProgram::reset();
        TvProgram::setLanguageCode(QStringLiteral("de"));
        QCOMPARE(TvStartup::translationFileName(QStringLiteral("qt_")), QStringLiteral("qt_de"));
        QCOMPARE(TvStartup::translationFileName(QStringLiteral("diag_")), QStringLiteral("diag_de"));

        qputenv("LC_ALL", "de_DE.UTF-8");
        TvProgram::reset();
        // No qt_de_de.qm in the run directory: the region is dropped.
        QCOMPARE(TvStartup::translationFileName(QStringLiteral("qt_")), QStringLiteral("qt_de"));
        QCOMPARE(TvProgram::languageCode(), QStringLiteral("de"));

        qputenv("LC_ALL", "C");
        TvProgram::reset();
        QCOMPARE(TvStartup::translationFileName(QStringLiteral("diag_")), QStringLiteral("diag_en"));
        qputenv("LC_ALL", "C.UTF-8");
        TvProgram::reset();
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
