// How long the program takes to a painted, idle main window, against a bare
// window.
//
//   build/run/startup [runs]          (default 7; offscreen unless
//                                      QT_QPA_PLATFORM says otherwise)
//
// Each run starts a fresh process of this program, by turns:
// - program: the program's own start-up (TvStartup::run, no options, the
//   shipped description files and simulated machine of the run directory);
// - floor: a bare QApplication with a QMainWindow holding six empty tabs.
// A process is ready when its main window has been painted and its event
// loop is about to wait for the first time after that; it then says so and
// ends at once. Measured in the parent: from starting the process to that
// word, so loading the libraries counts. Best of the runs each; the ratio
// of the two (goal: at most 1.5).
//
// `startup --child bare [--stay]` is the floor's window alone; with --stay
// it stays open (the idle benchmark watches it).

#include "BenchTable.h"

#include "app/TvStartup.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

bool reportWhenIdle = false;

// Watches for the first paint of a main window, then for the event loop's
// first wait after it: the window stands painted and nothing is left to do.
class ReadyProbe : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!painted && event->type() == QEvent::Paint && watched->isWidgetType()
            && qobject_cast<QMainWindow *>(static_cast<QWidget *>(watched)->window())) {
            painted = true;
            connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                    &ReadyProbe::idle);
        }
        return false;
    }

private:
    void idle()
    {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        // Leaving is no part of starting.
        _exit(0);
    }
    bool painted = false;
};

void installProbe()
{
    if (reportWhenIdle)
        QCoreApplication::instance()->installEventFilter(new ReadyProbe);
}
Q_COREAPP_STARTUP_FUNCTION(installProbe)

int bareWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *tabs = new QTabWidget;
    for (const char *name : {"Adapters", "Tests", "Configuration", "Sensors", "Log", "General"})
        tabs->addTab(new QWidget, QString::fromLatin1(name));
    window.setCentralWidget(tabs);
    window.resize(630, 450);
    window.show();
    return app.exec();
}

// Milliseconds from starting the child to its "ready"; -1 when it failed.
double timeToReady(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    while (child.waitForReadyRead(30000)) {
        if (child.readAll().contains("ready")) {
            const double ms = clock.nsecsElapsed() / 1e6;
            child.waitForFinished();
            return ms;
        }
    }
    child.kill();
    child.waitForFinished();
    return -1;
}

int measure(int runs)
{
    // The simulated adapters are locked while a window has them: each child
    // gets a lock and state directory of its own run, not the user's.
    QTemporaryDir state;
    qputenv("PROBEKIT_LOCK_DIR", QFile::encodeName(state.filePath(QStringLiteral("locks"))));
    qputenv("PROBEKIT_STATE_DIR", QFile::encodeName(state.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    double program = 1e9, floor = 1e9;
    for (int run = 0; run < runs; ++run) {
        const double p = timeToReady({QStringLiteral("--child"), QStringLiteral("program")});
        const double f = timeToReady({QStringLiteral("--child"), QStringLiteral("bare")});
        if (p < 0 || f < 0) {
            std::fprintf(stderr, "a child did not get ready\n");
            return 1;
        }
        program = qMin(program, p);
        floor = qMin(floor, f);
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::printf("start-up to a painted, idle main window (%s), best of %d\n", platform.constData(), runs);
    std::printf("  bare window, six tabs (floor) %8.1f ms\n", floor);
    std::printf("  the program                   %8.1f ms   ratio %.2f (goal <= 1.5)\n", program,
                program / floor);
    const QByteArray measure = "start-up, " + platform;
    BenchTable::row("startup", measure.constData(), (QByteArray::number(program, 'f', 1) + " ms").constData(),
                    (QByteArray::number(floor, 'f', 1) + " ms").constData(), program / floor, "<= 1.5x");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        const bool stay = argc >= 4 && std::strcmp(argv[3], "--stay") == 0;
        reportWhenIdle = !stay;
        // The program's start-up sees no options of this benchmark.
        int childArgc = 1;
        if (std::strcmp(argv[2], "bare") == 0)
            return bareWindow(childArgc, argv);
        return TvStartup::run(childArgc, argv);
    }
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    return measure(runs > 0 ? runs : 7);
}
