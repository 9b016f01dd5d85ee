// What nicdiag-report costs over a large pile of run records, against only
// parsing the same files.
//
//   build/run/run_report [N [M]]
//
// N run records (default 100,000) of a bench with 2,000 adapters are
// written into one directory, as the program files them (indented JSON,
// about 3 KB each, starts spread over a year in no order). The report
// (TvRunReport::run over the directory, the table going to /dev/null)
// is timed against the floor: a loop that lists the same directory and
// parses every file with the same JSON reader (QJsonDocument) and keeps
// nothing. Best of 3 runs each, by turns, in CPU time of the process; the
// goal is at most 1.5 times the floor.
//
// Then the nicdiag-report program itself runs over M records (default
// 10,000) and over the N records, and the peak resident memory of each run
// is read from the kernel (wait4): the goal is that the memory does not
// grow with the number of records (no record, no list of file names, and
// of the rows only one batch is held).

#include "BenchTable.h"

#include "records/TvRunRecord.h"
#include "records/TvRunReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TvRunRecord sampleRecord(int i)
{
    TvRunRecord record;
    record.programName = QStringLiteral("Orlin Diagnostics");
    record.programVersion = QStringLiteral("7.12");
    record.host = QStringLiteral("bench-3");
    record.kind = QStringLiteral("testCase");
    // A start somewhere in the year, in no order (a multiplicative hash).
    const qint64 second = (qint64(i) * 2654435761LL) % (365LL * 24 * 3600);
    record.start = QDateTime::fromSecsSinceEpoch(1767225600 + second, Qt::UTC);
    record.end = record.start.addSecs(40);
    const int adapter = i % 2000;
    record.adapter = {2 + adapter % 8, 1, 2, 0x1A5E, 0x4322, 0x1A5E, 0x0002,
                      adapter % 3 ? QStringLiteral("Orlin GE 4322-T Dual Port Gigabit Ethernet Adapter")
                                  : QStringLiteral("Orlin GE 4320-T Gigabit Ethernet Adapter"),
                      QStringLiteral("OR4222%1").arg(adapter, 4, 10, QLatin1Char('0')),
                      QStringLiteral("GE4322-T")};
    TvRunRecord::TestCase testCase{1, QStringLiteral("Register test"), 1, {}};
    for (int s = 0; s < 6; ++s) {
        const TvRunRecord::Result result = (i + s) % 11 == 0 ? TvRunRecord::Failed : TvRunRecord::Passed;
        testCase.subTests.append({101 + s, QStringLiteral("Step %1").arg(s), true, result,
                                  QStringLiteral("Passed"), QStringLiteral("registers answer"), 100,
                                  record.start.addSecs(s), 1.5});
    }
    record.testCases.append(testCase);
    record.sensors.append({QStringLiteral("Voltage 3.3 V"), 0, 6, 6, 3.29, 3.31, 3.30});
    for (int l = 0; l < 12; ++l)
        record.log.append(QStringLiteral("Tue Dec  8 07:13:58 2026 Test case Step %1 started").arg(l));
    return record;
}

void writeRecords(const QString &directory, int count)
{
    QDir().mkpath(directory);
    for (int i = 0; i < count; ++i) {
        QFile file(QDir(directory).filePath(QStringLiteral("%1.json").arg(i, 6, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly)
            || file.write(QJsonDocument(sampleRecord(i).toJson()).toJson(QJsonDocument::Indented)) <= 0)
            qFatal("cannot write the records");
    }
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double floorSeconds(const QString &directory)
{
    const double start = cpuSeconds();
    QDirIterator entries(directory, {QStringLiteral("*.json")}, QDir::Files);
    int parsed = 0;
    while (entries.hasNext()) {
        QFile file(entries.next());
        if (file.open(QIODevice::ReadOnly) && QJsonDocument::fromJson(file.readAll()).isObject())
            ++parsed;
    }
    if (parsed == 0)
        qFatal("the floor parsed nothing");
    return cpuSeconds() - start;
}

double reportSeconds(const QString &directory)
{
    QFile sink(QStringLiteral("/dev/null"));
    sink.open(QIODevice::WriteOnly);
    QTextStream out(&sink);
    QString errors;
    QTextStream err(&errors);
    const double start = cpuSeconds();
    const int status = TvRunReport::run({directory}, out, err);
    out.flush();
    const double seconds = cpuSeconds() - start;
    if (status != 0)
        qFatal("the report failed: %s", qPrintable(errors));
    return seconds;
}

// Peak resident memory of the nicdiag-report program over `directory`, in MB.
double programPeakMb(const QString &directory)
{
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationDirPath()
                                                 + QStringLiteral("/nicdiag-report"));
    const QByteArray path = QFile::encodeName(directory);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout))
            _exit(127);
        execl(program.constData(), program.constData(), path.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("nicdiag-report failed");
    return usage.ru_maxrss / 1024.0;
}

QByteArray text(double value, const char *unit, int decimals = 2)
{
    return QByteArray::number(value, 'f', decimals) + ' ' + unit;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int small = argc > 2 ? std::atoi(argv[2]) : 10000;
    if (count <= 0 || small <= 0) {
        std::fprintf(stderr, "usage: run_report [records [fewer records]]\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString many = dir.filePath(QStringLiteral("many"));
    const QString few = dir.filePath(QStringLiteral("few"));
    writeRecords(many, count);
    writeRecords(few, small);

    double floor = 1e9, best = 1e9;
    for (int run = 0; run < 3; ++run) {
        floor = qMin(floor, floorSeconds(many));
        best = qMin(best, reportSeconds(many));
    }
    const double fewMb = programPeakMb(few);
    const double manyMb = programPeakMb(many);
    const double bytesPerRecord = (manyMb - fewMb) * 1024 * 1024 / (count - small);

    std::printf("run report, %d records in one directory\n", count);
    std::printf("  parse only (floor)    %8.2f s\n", floor);
    std::printf("  report                %8.2f s   ratio %.2f (goal <= 1.5)\n", best, best / floor);
    std::printf("  nicdiag-report peak resident: %.1f MB at %d records, %.1f MB at %d (%.0f bytes a record)\n",
                fewMb, small, manyMb, count, bytesPerRecord);
    const QByteArray measure = "report of " + QByteArray::number(count) + " records (CPU)";
    BenchTable::row("run_report", measure.constData(), text(best, "s").constData(),
                    text(floor, "s").constData(), best / floor, "<= 1.5x");
    const QByteArray peak = "peak resident, " + QByteArray::number(small) + " / "
                            + QByteArray::number(count) + " records";
    BenchTable::row("run_report", peak.constData(), text(manyMb, "MB", 1).constData(),
                    text(fewMb, "MB", 1).constData(), manyMb / fewMb, "no growth with the records");
    return 0;
}
