#pragma once
// A replay capture of many network functions for the benchmarks: the
// virtio capture of tests/captures copied to as many PCI addresses as
// asked, two functions per device, each with an interface of its own.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <unistd.h>

namespace ReplayCapture {

inline const char *const Source = NICDIAG_SOURCE_DIR "/tests/captures/virtio-net";

inline bool copyTree(const QString &from, const QString &to)
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
inline bool makeCapture(const QString &root, int functions)
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

// The core of this process on the Linux backend, replaying the capture at
// `root`, with its locks and state beside it.
inline void replay(const QString &root)
{
    qputenv("PROBEKIT_BACKEND", "linux");
    qputenv("PROBEKIT_REPLAY", QFile::encodeName(root));
    qputenv("PROBEKIT_LOCK_DIR", QFile::encodeName(root + QStringLiteral("/locks")));
    qputenv("PROBEKIT_STATE_DIR", QFile::encodeName(root + QStringLiteral("/state")));
}

} // namespace ReplayCapture
