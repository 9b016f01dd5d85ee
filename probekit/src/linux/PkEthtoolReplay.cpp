#include "PkEthtoolReplay.h"
#include "PkEthtoolReply.h"
#include "PkFileReader.h"
#include "PkLog.h"
#include "PkSysfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>

#include <linux/ethtool.h>

namespace {

// A name that stays inside the capture: no separator, no "." or "..".
bool safeName(const QByteArray &name)
{
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    for (const char c : name)
        if (c == '/' || quint8(c) < 0x21 || quint8(c) > 0x7E)
            return false;
    return true;
}

std::atomic<bool> asRoot {false};

} // namespace

void PkEthtoolReplay::setPrivileged(bool privileged)
{
    asRoot = privileged;
}

bool PkEthtoolReplay::privileged()
{
    return asRoot;
}

QString PkEthtoolReplay::directory()
{
    return QFile::decodeName(qgetenv("PROBEKIT_REPLAY"));
}

int PkEthtoolReplay::recordedError(const QString &path, const QByteArray &what)
{
    QByteArray text, why;
    if (PkFileReader::readAll(path, MaxErrnoBytes, &text, &why) != PkFileReader::Read) {
        PkLog::line("Capture " + QFile::encodeName(path) + " refused: " + why);
        return EIO;
    }
    bool ok = false;
    const int error = text.trimmed().toInt(&ok);
    if (!ok || error < 1 || error > MaxErrno) {
        PkLog::line("Capture " + QFile::encodeName(path) + " refused: \"" + text.trimmed().left(MaxErrnoBytes)
                    + "\" is not an error number 1.." + QByteArray::number(MaxErrno) + " for " + what);
        return EIO;
    }
    return error;
}

// The kernel blinks for the seconds asked, or until a signal comes; a
// capture cannot blink, but the wait is kept so that the locate thread
// behaves as it does on a real adapter.
int PkEthtoolReplay::identify(void *request)
{
    ethtool_value value;
    std::memcpy(&value, request, sizeof value);
    timespec wait {time_t(qMin(value.data, MaxIdentifySeconds)), 0};
    return nanosleep(&wait, nullptr) == 0 ? 0 : errno;
}

int PkEthtoolReplay::answer(const QString &directory, const QByteArray &interface, void *request)
{
    if (!safeName(interface))
        return ENODEV;
    const QString dir = directory + QStringLiteral("/ethtool/") + QFile::decodeName(interface);
    if (!QFileInfo(dir).isDir())
        return ENODEV;
    const QByteArray name = PkEthtoolReply::fileName(request);
    if (name.isEmpty())
        return EOPNOTSUPP;
    const QString path = dir + QLatin1Char('/') + QString::fromLatin1(name);
    for (const QString &file : {path, path + QStringLiteral(".errno")}) {
        // A link in the capture may lead anywhere: only what lies in it is read.
        if (QFileInfo::exists(file) && !PkSysfs::within(directory, file)) {
            PkLog::line("Capture " + QFile::encodeName(file) + " refused: it leads outside the capture");
            return EPROTO;
        }
    }
    if (QFileInfo::exists(path + QStringLiteral(".errno"))) {
        const int error = recordedError(path + QStringLiteral(".errno"), name);
        if (!(privileged() && (error == EPERM || error == EACCES)))
            return error;
    }
    if (!QFileInfo::exists(path))
        return EOPNOTSUPP;
    uint32_t command = 0;
    std::memcpy(&command, request, sizeof command);
    QByteArray recording, why;
    if (PkFileReader::readAll(path, qint64(PkEthtoolReply::maxRecording(command)), &recording, &why)
        != PkFileReader::Read) {
        PkLog::line("Capture " + QFile::encodeName(path) + " refused: " + why);
        return EPROTO;
    }
    if (const int error = PkEthtoolReply::fill(recording, request, &why)) {
        PkLog::line("Capture " + QFile::encodeName(path) + " refused: " + why);
        return error;
    }
    return command == ETHTOOL_PHYS_ID ? identify(request) : 0;
}
