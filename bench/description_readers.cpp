// How fast the description readers are, and what the worst files cost.
//
//   build/run/description_readers [N]
//
// Speed: an adapter information file of N adapters (default 20,000, each
// with name, pixmap and two number lists, and a misc block of the language,
// so it is read in one pass) is read by the adapter reader and, as the
// floor, by a loop that only pulls every token from the same stream reader.
// Best of 15 runs each, taken by turns, in CPU time of the thread; the
// ratio of the two is what the reader's own work costs.
//
// Worst files: each is read once by a fresh process of this program, which
// reports the seconds spent and its peak resident memory. 50 MB files are
// refused by size at once; the others are just under the size limit and
// shaped to cost the most per byte (two passes when no misc block carries
// the language, one long number list, many small records).

#include "BenchTable.h"

#include "description/CAdapterInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPair>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

enum Kind { Config, Adapters, Tests };

// The peak resident memory of this process image, in KB. (getrusage's
// maximum would carry over the parent's peak across exec.)
long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray adapterFile(int count, bool miscBlock)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<adapterinfofile version=\"1.0\">\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i, 16).toUpper().rightJustified(4, '0');
        xml += "<adapter>\n<id>1a5e:" + n + ":1a5e:0001</id>\n"
               "<name>Orlin Gigabit Adapter " + n + "</name>\n"
               "<pixmap>images/generic.bmp</pixmap>\n"
               "<miscconfig>1, 2, 3</miscconfig>\n<testcases>1,2,3,4,5</testcases>\n"
               "</adapter>\n";
    }
    if (miscBlock)
        xml += "  <miscconfiginfo lang=\"en\">\n    <misc_conf id=\"1\"><type>0</type><unit>V</unit>"
               "<label>Label</label></misc_conf>\n  </miscconfiginfo>\n";
    return xml + "</adapterinfofile>\n";
}

// Repeats `unit` between head and tail until the file nearly reaches `bytes`.
QByteArray filled(const QByteArray &head, const QByteArray &unit, const QByteArray &tail, qint64 bytes)
{
    const qint64 count = (bytes - head.size() - tail.size()) / unit.size();
    return head + unit.repeated(int(count)) + tail;
}

// Milliseconds of CPU time this thread has used: other work on a shared
// machine does not stretch it, as it stretches the wall clock.
double threadCpuMs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Best times of the two, run by turns so that a busy machine slows both alike.
QPair<double, double> bestOfEach(int runs, const std::function<void()> &first,
                                 const std::function<void()> &second)
{
    QPair<double, double> best(1e9, 1e9);
    for (int i = 0; i < runs; ++i) {
        double start = threadCpuMs();
        first();
        best.first = qMin(best.first, threadCpuMs() - start);
        start = threadCpuMs();
        second();
        best.second = qMin(best.second, threadCpuMs() - start);
    }
    return best;
}

void emptyStreamLoop(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader reader(&file);
    while (!reader.atEnd())
        reader.readNext();
}

void speed(const QString &dir, int count)
{
    const QString path = dir + QStringLiteral("/speed.xml");
    writeFile(path, adapterFile(count, true));
    // The stores outlive the timing: freeing them is no part of reading.
    std::vector<std::unique_ptr<CAdapterInfo>> stores;
    const QPair<double, double> best = bestOfEach(
        15, [&] { emptyStreamLoop(path); },
        [&] {
            stores.push_back(std::make_unique<CAdapterInfo>());
            stores.back()->readAdapterInfoFile(path, QStringLiteral("en"));
        });
    const double floor = best.first;
    const double reader = best.second;
    std::printf("adapter file, %d adapters, %.1f MB\n", count, QFile(path).size() / 1e6);
    std::printf("  empty stream loop (floor)  %8.1f ms CPU\n", floor);
    std::printf("  adapter reader             %8.1f ms CPU\n", reader);
    std::printf("  ratio                      %8.2f   (goal <= 1.5)\n\n", reader / floor);
    const QByteArray measure = "adapter reader, " + QByteArray::number(count) + " adapters (CPU)";
    BenchTable::row("description_readers", measure.constData(),
                    (QByteArray::number(reader, 'f', 1) + " ms").constData(),
                    (QByteArray::number(floor, 'f', 1) + " ms").constData(), reader / floor, "<= 1.5x");
}

// The child: reads one file into a fresh store and reports.
int readOne(Kind kind, const QString &path)
{
    const long before = peakResidentKb();
    QElapsedTimer timer;
    timer.start();
    CAdapterInfo store;
    bool read = false;
    if (kind == Config)
        read = store.readConfigFile(path);
    else if (kind == Adapters)
        read = store.readAdapterInfoFile(path, QStringLiteral("de"));
    else
        read = store.readTestInfoFile(path, QStringLiteral("de"));
    std::printf("%s %.3f %ld %ld\n", read ? "read" : "refused", timer.nsecsElapsed() / 1e9, before,
                peakResidentKb());
    return 0;
}

struct WorstCase {
    const char *what;
    Kind kind;
    QByteArray bytes;
};

QList<WorstCase> worstCases()
{
    const qint64 limit = CAdapterInfo::MaxFileBytes - 64;
    const qint64 fifty = 50 * 1000 * 1000;
    const QByteArray aifHead = "<adapterinfofile version=\"1.0\"><adapter><id>K</id><testcases>";
    const QByteArray aifTail = "0</testcases></adapter></adapterinfofile>";
    const QByteArray tifHead = "<testinfo version=\"1.0\"><testcases lang=\"en\">";
    const QByteArray tifCase = "<testcase id=\"1\"><test_base>100</test_base>"
                               "<subtestcase id=\"1\"><label>L</label></subtestcase></testcase>";
    const QByteArray tifTail = "</testcases></testinfo>";
    return {
        {"50 MB adapter file", Adapters, filled(aifHead, "1,", aifTail, fifty)},
        {"50 MB test file", Tests, filled(tifHead, tifCase, tifTail, fifty)},
        {"adapters, read twice", Adapters, filled("<adapterinfofile version=\"1.0\">",
                                                  "<adapter><id>K</id><name>N</name></adapter>",
                                                  "</adapterinfofile>", limit)},
        {"one testcases list, read twice", Adapters, filled(aifHead, "1,", aifTail, limit)},
        {"many testcases in one adapter", Adapters,
         filled("<adapterinfofile version=\"1.0\"><adapter><id>K</id>", "<testcases>1</testcases>",
                "</adapter></adapterinfofile>", limit)},
        {"one long name, read twice", Adapters,
         filled("<adapterinfofile version=\"1.0\"><adapter><id>K</id><name>", "N",
                "</name></adapter></adapterinfofile>", limit)},
        {"test cases, read twice", Tests, filled(tifHead, tifCase, tifTail, limit)},
        {"one vendor_entry device list", Config,
         filled("<configfile version=\"1.0\"><configuration><vendor_entry id=\"1A5E\">", "1,",
                "1</vendor_entry></configuration></configfile>", limit)},
        {"vendor entries, each warned", Config,
         filled("<configfile version=\"1.0\"><configuration>", "<vendor_entry/>\n",
                "</configuration></configfile>", limit)},
    };
}

void worstFiles(const QString &dir)
{
    std::printf("worst files (each read by a fresh process)   goal: < 5 s, < 100 MB resident\n");
    std::printf("  %-32s %7s %8s %8s %10s %10s\n", "file", "MB", "result", "seconds", "start MB",
                "peak MB");
    double slowest = 0, largest = 0;
    for (const WorstCase &c : worstCases()) {
        const QString path = dir + QStringLiteral("/worst.xml");
        writeFile(path, c.bytes);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--read"), QString::number(c.kind), path});
        child.waitForFinished(-1);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 4) {
            std::printf("  %-32s failed\n", c.what);
            continue;
        }
        std::printf("  %-32s %7.1f %8s %8s %10.1f %10.1f\n", c.what, c.bytes.size() / 1e6,
                    fields[0].constData(), fields[1].constData(), fields[2].toLong() / 1024.0,
                    fields[3].toLong() / 1024.0);
        slowest = qMax(slowest, fields[1].toDouble());
        largest = qMax(largest, fields[3].toLong() / 1024.0);
    }
    BenchTable::row("description_readers", "worst file: seconds",
                    (QByteArray::number(slowest, 'f', 3) + " s").constData(), "-", -1, "< 5 s");
    BenchTable::row("description_readers", "worst file: peak resident",
                    (QByteArray::number(largest, 'f', 1) + " MB").constData(), "-", -1, "< 100 MB");
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--read") == 0)
        return readOne(Kind(std::atoi(argv[2])), QString::fromLocal8Bit(argv[3]));
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir dir;
    speed(dir.path(), count > 0 ? count : 20000);
    worstFiles(dir.path());
    return 0;
}
