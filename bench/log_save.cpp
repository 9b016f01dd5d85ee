// What saving the log costs, against writing the same bytes plainly.
//
//   build/run/log_save [N]
//
// A log list of N stamped lines (default 1,000,000, as the log book stamps
// them) is saved into a fresh file by the program's own save
// (TvLogFile::appendBlock over the log book's TvLogModel). The floor writes
// the very bytes of such a block, prepared in memory beforehand, with one
// fwrite into a fresh file, flushed, synced (a save is reported only once
// its bytes are on the disk) and closed likewise. Best of 7 runs
// each, by turns, in wall time (writing is mostly the kernel's work).
// Reported: both times and their ratio (goal: at most 1.5), and the memory
// the save holds beyond the list while it runs (its peak resident set less
// the resident set before; goal: no copy of the log, so a few MB at most).
// The saved file is compared with the floor's bytes.

#include "BenchTable.h"

#include "engine/TvLogFile.h"
#include "engine/TvLogModel.h"
#include "text/TvText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr std::time_t SaveTime = 1700000000;

// The resident and peak resident memory in KB; writing 5 to clear_refs
// starts a new peak.
long statusKb(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ':';
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::atol(line.c_str() + prefix.size());
    }
    return 0;
}

bool resetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear);
}

QByteArray plainBlock(const TvLogModel &lines)
{
    QByteArray block = "\n" + TvText::translate("TvDiagMainWindow", "SAVE_LOG_FILE %1")
                                  .arg(TvLogFile::ctimeText(SaveTime)).toUtf8() + "\n";
    for (int row = 0; row < lines.count(); ++row)
        block += lines.line(row).toUtf8() + '\n';
    return block + '\n' + QByteArray(TvLogFile::SeparatorLength, '=') + '\n';
}

double plainWriteMs(const QString &path, const QByteArray &bytes)
{
    QFile::remove(path);
    QElapsedTimer clock;
    clock.start();
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "a");
    const bool written = file && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size())
                         && std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    if (!file || std::fclose(file) != 0 || !written)
        qFatal("plain write failed");
    return clock.nsecsElapsed() / 1e6;
}

double saveMs(const QString &path, const TvLogModel &lines)
{
    QFile::remove(path);
    QString error;
    QElapsedTimer clock;
    clock.start();
    if (TvLogFile::appendBlock(path, lines, 0, &error, SaveTime) != TvLogFile::Saved)
        qFatal("save failed: %s", qPrintable(error));
    return clock.nsecsElapsed() / 1e6;
}

// The memory one save holds beyond what the process held before it.
double savePeakMb(const QString &path, const TvLogModel &lines)
{
    QFile::remove(path);
    const long before = statusKb("VmRSS");
    if (!resetPeak())
        return -1;
    saveMs(path, lines);
    return (statusKb("VmHWM") - before) / 1024.0;
}

QByteArray text(double value, const char *unit)
{
    return QByteArray::number(value, 'f', 1) + ' ' + unit;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: log_save [number of lines]\n");
        return 2;
    }
    TvLogModel lines;
    for (int i = 0; i < count; ++i)
        lines.appendLine(TvLogFile::stampedLine(
            QStringLiteral("Test %1: loopback frame %2 of 1000 sent and received   ok").arg(i % 97).arg(i % 1000),
            SaveTime + i / 1000));
    const QByteArray bytes = plainBlock(lines);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.log"));
    const QString plain = dir.filePath(QStringLiteral("plain.log"));

    double best = 1e9, floor = 1e9;
    for (int run = 0; run < 7; ++run) {
        floor = qMin(floor, plainWriteMs(plain, bytes));
        best = qMin(best, saveMs(saved, lines));
    }
    const double peak = savePeakMb(saved, lines);
    QFile file(saved);
    const bool same = file.open(QIODevice::ReadOnly) && file.readAll() == bytes;

    std::printf("log save, %d lines, %.1f MB\n", count, bytes.size() / 1e6);
    std::printf("  plain fwrite (floor)  %8.1f ms\n", floor);
    std::printf("  log save              %8.1f ms   ratio %.2f (goal <= 1.5)\n", best, best / floor);
    std::printf("  held while saving     %8.1f MB   (log list itself: %.1f MB)\n", peak,
                bytes.size() / 1e6);
    std::printf("  saved bytes %s the floor's\n", same ? "equal" : "DIFFER FROM");
    const QByteArray measure = "save " + QByteArray::number(count) + " lines: time";
    BenchTable::row("log_save", measure.constData(), text(best, "ms").constData(),
                    text(floor, "ms").constData(), best / floor, "<= 1.5x");
    BenchTable::row("log_save", "memory held while saving", text(peak, "MB").constData(), "-", -1,
                    "no copy of the log");
    return same ? 0 : 1;
}
