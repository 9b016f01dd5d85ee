// What the program costs while its window stands idle, against a bare
// window.
//
//   build/run/idle [seconds]          (default 60; offscreen unless
//                                      QT_QPA_PLATFORM says otherwise)
//
// Starts the program (nicdiag of the run directory, no options, the shipped
// simulated machine) and the bare window of the start-up benchmark
// (`startup --child bare --stay`: a QMainWindow with six empty tabs) side by
// side, lets both settle (the splash screen goes after 3 s), then watches
// both for the given time. Reported for each: the CPU time used (user and
// system, all threads) as a share of one core, and the wake-ups per
// second: the times one of its threads went to sleep of its own accord
// (voluntary context switches), each thread named. The worker's poll of the
// job queue every 50 ms accounts for 20 a second; nothing else of the
// program should wake it while idle.

#include "BenchTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr int SettleMs = 5000;

struct ThreadUse {
    QString name;
    double cpuSeconds = 0;
    long wakeUps = 0;
};

QByteArray readProc(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Per thread of the process: its name, CPU time so far, voluntary switches.
QMap<QString, ThreadUse> sample(qint64 pid)
{
    QMap<QString, ThreadUse> threads;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    const double tick = double(sysconf(_SC_CLK_TCK));
    for (const QString &tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        ThreadUse use;
        const QByteArray stat = readProc(tasks + QLatin1Char('/') + tid + QStringLiteral("/stat"));
        // The name stands in parentheses and may hold blanks.
        const int open = stat.indexOf('('), close = stat.lastIndexOf(')');
        if (open < 0 || close < 0)
            continue;
        use.name = QString::fromUtf8(stat.mid(open + 1, close - open - 1));
        const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
        if (fields.size() < 13)
            continue;
        // Fields 14 and 15 of stat (utime, stime), counted from the state.
        use.cpuSeconds = (fields[11].toLongLong() + fields[12].toLongLong()) / tick;
        const QByteArray status = readProc(tasks + QLatin1Char('/') + tid + QStringLiteral("/status"));
        const int at = status.indexOf("voluntary_ctxt_switches:");
        if (at >= 0 && (at == 0 || status[at - 1] == '\n'))
            use.wakeUps = status.mid(at + 24, status.indexOf('\n', at) - at - 24).trimmed().toLong();
        threads.insert(tid, use);
    }
    return threads;
}

struct Usage {
    double cpuShare = 0;
    double wakeUpsPerSecond = 0;
    QStringList perThread;
};

Usage difference(const QMap<QString, ThreadUse> &before, const QMap<QString, ThreadUse> &after,
                 double seconds)
{
    Usage usage;
    double cpu = 0;
    long wakeUps = 0;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const ThreadUse start = before.value(it.key(), ThreadUse());
        const long woke = it->wakeUps - start.wakeUps;
        cpu += it->cpuSeconds - start.cpuSeconds;
        wakeUps += woke;
        if (woke > 0)
            usage.perThread.append(QStringLiteral("%1 %2/s").arg(it->name).arg(woke / seconds, 0, 'f', 1));
    }
    usage.cpuShare = cpu / seconds;
    usage.wakeUpsPerSecond = wakeUps / seconds;
    return usage;
}

bool startChild(QProcess &child, const QString &program, const QStringList &arguments)
{
    child.setProgram(program);
    child.setArguments(arguments);
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start();
    return child.waitForStarted();
}

void printUsage(const char *name, const Usage &usage)
{
    std::printf("  %-28s %7.3f %% %10.1f   %s\n", name, usage.cpuShare * 100, usage.wakeUpsPerSecond,
                qPrintable(usage.perThread.join(QStringLiteral(", "))));
}

QByteArray text(double value, int decimals, const char *unit)
{
    return QByteArray::number(value, 'f', decimals) + ' ' + unit;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: idle [seconds]\n");
        return 2;
    }
    QTemporaryDir state;
    qputenv("PROBEKIT_LOCK_DIR", QFile::encodeName(state.filePath(QStringLiteral("locks"))));
    qputenv("PROBEKIT_STATE_DIR", QFile::encodeName(state.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString dir = QCoreApplication::applicationDirPath();
    QProcess program, bare;
    if (!startChild(program, dir + QStringLiteral("/nicdiag"), {})
        || !startChild(bare, dir + QStringLiteral("/startup"), {QStringLiteral("--child"), QStringLiteral("bare"),
                                                                QStringLiteral("--stay")})) {
        std::fprintf(stderr, "cannot start the windows\n");
        return 1;
    }
    QThread::msleep(SettleMs);
    const auto programBefore = sample(program.processId());
    const auto bareBefore = sample(bare.processId());
    QThread::sleep(unsigned(seconds));
    const Usage programUse = difference(programBefore, sample(program.processId()), seconds);
    const Usage bareUse = difference(bareBefore, sample(bare.processId()), seconds);
    const bool bothRan = program.state() == QProcess::Running && bare.state() == QProcess::Running;
    program.kill();
    bare.kill();
    program.waitForFinished();
    bare.waitForFinished();
    if (!bothRan) {
        std::fprintf(stderr, "a window ended early\n");
        return 1;
    }

    std::printf("idle window over %d s (%s)\n", seconds, qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  %-28s %9s %10s   %s\n", "", "CPU", "wake-ups/s", "by thread");
    printUsage("bare window (floor)", bareUse);
    printUsage("the program", programUse);
    BenchTable::row("idle", "CPU of the idle window", text(programUse.cpuShare * 100, 3, "%").constData(),
                    text(bareUse.cpuShare * 100, 3, "%").constData(), -1, "-");
    BenchTable::row("idle", "wake-ups per second", text(programUse.wakeUpsPerSecond, 1, "/s").constData(),
                    text(bareUse.wakeUpsPerSecond, 1, "/s").constData(), -1, "20/s (the worker's poll)");
    return 0;
}
