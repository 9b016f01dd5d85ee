// How long the Linux backend takes to list the adapters of a replayed
// capture, against reading the same capture's files alone.
//
//   build/run/replay_enumeration [FUNCTIONS]
//
// The capture holds FUNCTIONS network functions (default 64): the virtio
// capture of tests/captures copied to that many PCI addresses, two
// functions per device, so that half the adapters are dual-port. The
// measure is one AdapterEnumerate; the floor walks the same directories and
// reads every file of the capture that the listing could read (the sysfs
// files and the driver information of each interface). Best of 25 runs
// each, by turns, in wall time. Goal: at most 1.5 times the floor and under
// 50 ms.

#include "BenchTable.h"
#include "ReplayCapture.h"

#include <probekit.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace {

// The floor: every file below the capture's function directories and its
// driver replies, opened and read.
qint64 readCapture(const QString &root)
{
    qint64 bytes = 0;
    for (const char *part : {"/sys/bus/pci/devices", "/ethtool"}) {
        QDirIterator it(root + QLatin1String(part), QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
    }
    return bytes;
}

int countAdapters()
{
    const AdapterRecord *record = AdapterEnumerate(nullptr);
    int count = 0;
    for (; record && record->vendorId != 0; ++record)
        ++count;
    return count;
}

} // namespace

int main(int argc, char **argv)
{
    const int functions = argc > 1 ? std::max(2, std::atoi(argv[1])) : 64;
    QTemporaryDir capture;
    if (!capture.isValid() || !ReplayCapture::makeCapture(capture.path(), functions)) {
        std::fprintf(stderr, "replay_enumeration: could not build the capture\n");
        return 1;
    }
    qputenv("PROBEKIT_BACKEND", "linux");
    qputenv("PROBEKIT_REPLAY", QFile::encodeName(capture.path()));
    qputenv("PROBEKIT_LOCK_DIR", QFile::encodeName(capture.path() + QStringLiteral("/locks")));
    if (CoreInit() != 0) {
        std::fprintf(stderr, "replay_enumeration: the core did not start on the capture\n");
        return 1;
    }
    const int adapters = countAdapters();
    double best = 1e9, floor = 1e9;
    for (int run = 0; run < 25; ++run) {
        QElapsedTimer timer;
        timer.start();
        countAdapters();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        timer.start();
        readCapture(capture.path());
        floor = std::min(floor, timer.nsecsElapsed() / 1e6);
    }
    CoreDeinit();
    std::fprintf(stderr, "%d functions, %d adapters listed: %.2f ms, floor %.2f ms (ratio %.2f)\n", functions,
                 adapters, best, floor, best / floor);
    char value[32], floorText[32];
    std::snprintf(value, sizeof value, "%.2f ms", best);
    std::snprintf(floorText, sizeof floorText, "%.2f ms", floor);
    BenchTable::row("replay_enumeration", "listing a capture of 64 functions", value, floorText, best / floor,
                    "<= 1.5x and < 50 ms");
    return adapters == functions / 2 ? 0 : 1;
}
