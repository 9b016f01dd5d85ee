// Headless runs: many adapters at once against one alone, and the start of
// a headless run against the console listing.
//
//   build/run/batch_fleet [adapters] [runs]     (default 16 adapters, 3 runs)
//
// A simulated machine of `adapters` copies of one adapter model is written
// to a temporary directory (its own state and lock directories too). The
// test case is the memory test twice over (--loops 2): about 5 s of waiting
// on the adapter at the normal time scale, so that the children's work can
// overlap. Measured, best of the runs each:
// - one adapter alone (`--adapter`) against every adapter at once
//   (`--all-adapters`, a child process each): wall time, goal <= 1.2x;
// - the largest resident set of one process, from wait4() (with all
//   adapters, the largest of the parent and its children);
// - start-up: `--run 1` of one adapter at time scale 0 (start, three
//   sub-tests that take no time, record and log written) against `-l`
//   (start, listing): the difference is what a headless run adds.

#include "BenchTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

struct Outcome {
    double seconds = -1;
    double maxRssMb = 0;
    int status = -1;
};

// Runs nicdiag from the run directory with stdout and stderr discarded.
Outcome runProgram(const QStringList &arguments)
{
    QList<QByteArray> bytes = {QByteArrayLiteral("./nicdiag")};
    for (const QString &argument : arguments)
        bytes.append(argument.toLocal8Bit());
    QVector<char *> argv;
    for (QByteArray &b : bytes)
        argv.append(b.data());
    argv.append(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Outcome outcome;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, "./nicdiag", &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage = {};
        if (wait4(pid, &status, 0, &usage) == pid) {
            outcome.seconds = clock.nsecsElapsed() / 1e9;
            outcome.maxRssMb = usage.ru_maxrss / 1024.0;
            outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return outcome;
}

Outcome bestOf(int runs, const QStringList &arguments)
{
    Outcome best;
    for (int run = 0; run < runs; ++run) {
        const Outcome o = runProgram(arguments);
        if (o.seconds >= 0 && (best.seconds < 0 || o.seconds < best.seconds))
            best = o;
        best.maxRssMb = std::max(best.maxRssMb, o.maxRssMb);
    }
    return best;
}

// Copies of the shipped machine's second adapter, on buses 10, 11, ...
bool writeMachine(const QString &path, int count)
{
    QFile shipped(QStringLiteral("machine.json"));
    if (!shipped.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject model = QJsonDocument::fromJson(shipped.readAll()).object()[QStringLiteral("adapters")].toArray().at(1).toObject();
    QJsonArray adapters;
    for (int i = 0; i < count; ++i) {
        QJsonObject a = model;
        a[QStringLiteral("bus")] = 10 + i;
        QJsonObject vpd = a[QStringLiteral("vpd")].toObject();
        vpd[QStringLiteral("SN")] = QStringLiteral("BENCH%1").arg(i, 4, 10, QLatin1Char('0'));
        a[QStringLiteral("vpd")] = vpd;
        adapters.append(a);
    }
    QFile out(path);
    return out.open(QIODevice::WriteOnly)
           && out.write(QJsonDocument(QJsonObject{{QStringLiteral("adapters"), adapters}}).toJson()) > 0;
}

QString text(double value, const char *unit, int precision = 2)
{
    return QStringLiteral("%1 %2").arg(value, 0, 'f', precision).arg(QLatin1String(unit));
}

void row(const char *measure, const QString &value, const QString &floor, double ratio, const char *goal)
{
    BenchTable::row("batch_fleet", measure, value.toUtf8().constData(), floor.toUtf8().constData(), ratio, goal);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int adapters = argc > 1 ? std::max(2, std::atoi(argv[1])) : 16;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    QTemporaryDir dir;
    const QString machine = dir.filePath(QStringLiteral("machine.json"));
    if (!dir.isValid() || !writeMachine(machine, adapters) || !QDir().mkpath(dir.filePath(QStringLiteral("locks")))) {
        std::fprintf(stderr, "batch_fleet: cannot write the machine (run it from build/run)\n");
        return 1;
    }
    qputenv("PROBEKIT_MACHINE", QFile::encodeName(machine));
    qputenv("PROBEKIT_STATE_DIR", QFile::encodeName(dir.path()));
    qputenv("PROBEKIT_LOCK_DIR", QFile::encodeName(dir.filePath(QStringLiteral("locks"))));
    const QStringList common = {QStringLiteral("--quiet"), QStringLiteral("--records"), dir.filePath(QStringLiteral("runs"))};
    qputenv("PROBEKIT_TIME_SCALE", "1");
    const QStringList memory = QStringList{QStringLiteral("--run"), QStringLiteral("2"), QStringLiteral("--loops"), QStringLiteral("2")} + common;
    const Outcome one = bestOf(runs, memory + QStringList{QStringLiteral("--adapter"), QStringLiteral("10:0")});
    const Outcome all = bestOf(runs, memory + QStringList{QStringLiteral("--all-adapters")});
    qputenv("PROBEKIT_TIME_SCALE", "0");
    const Outcome batch = bestOf(runs * 3, QStringList{QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--adapter"), QStringLiteral("10:0")} + common);
    const Outcome listing = bestOf(runs * 3, {QStringLiteral("-l")});
    std::fprintf(stderr, "one adapter: %.2f s (status %d, %.1f MB); %d adapters: %.2f s (status %d, largest process %.1f MB)\n"
                         "headless start-up: %.1f ms (status %d); -l: %.1f ms; overhead %.1f ms\n",
                 one.seconds, one.status, one.maxRssMb, adapters, all.seconds, all.status, all.maxRssMb,
                 batch.seconds * 1e3, batch.status, listing.seconds * 1e3, (batch.seconds - listing.seconds) * 1e3);
    if (one.status != 0 || all.status != 0 || batch.status != 0 || listing.status != 0)
        return 1;
    const QByteArray measure = QStringLiteral("%1 adapters at once vs one: wall").arg(adapters).toUtf8();
    row(measure.constData(), text(all.seconds, "s"), text(one.seconds, "s"), all.seconds / one.seconds, "<= 1.2x");
    row("max RSS of one process, all vs one", text(all.maxRssMb, "MB", 1), text(one.maxRssMb, "MB", 1),
        all.maxRssMb / one.maxRssMb, "no growth per child");
    row("headless start-up (--run 1, time scale 0) vs -l", text(batch.seconds * 1e3, "ms", 1),
        text(listing.seconds * 1e3, "ms", 1), batch.seconds / listing.seconds, "overhead stated");
    return all.seconds <= 1.2 * one.seconds ? 0 : 1;
}
