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

const char *const Source = NICDIAG_SOURCE_DIR "/tests/captures/virtio-net";

bool copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString target = to + QLatin1Char('/') + info.fileName();
        if (info.isSymLink()) {
            // As it stands, relative: a link the capture holds stays inside it.
            char link[4096];
            const ssize_t n = ::readlink(QFile::encodeName(path).constData(), link, sizeof link - 1);
            if (n < 0 || ::symlink(QByteArray(link, int(n)).constData(), QFile::encodeName(target).constData()) != 0)
                return false;
        } else if (info.isDir()) {
            if (!copyTree(path, target))
                return false;
        } else if (!QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

// FUNCTIONS functions at 0000:<bus>:00.<0|1>, interface net<n> each.
bool makeCapture(const QString &root, int functions)
{
    const QString device = QStringLiteral("/sys/bus/pci/devices/0000:00:03.0");
    for (int n = 0; n < functions; ++n) {
        const QString address = QStringLiteral("0000:%1:00.%2").arg(n / 2 + 1, 2, 16, QLatin1Char('0')).arg(n % 2);
        const QString dir = root + QStringLiteral("/sys/bus/pci/devices/") + address;
        const QString name = QStringLiteral("net%1").arg(n);
        if (!copyTree(QLatin1String(Source) + device, dir)
            || !QDir(dir + QStringLiteral("/virtio2/net")).rename(QStringLiteral("eth0"), name)
            || !copyTree(QLatin1String(Source) + QStringLiteral("/ethtool/eth0"), root + QStringLiteral("/ethtool/") + name))
            return false;
    }
    return true;
}

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
    if (!capture.isValid() || !makeCapture(capture.path(), functions)) {
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
