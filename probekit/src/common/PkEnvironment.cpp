#include "PkEnvironment.h"
#include "PkLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <dlfcn.h>
#include <unistd.h>

namespace {

// The shipped machine file lies beside the library in the build's run
// directory, and in ../share/nicdiag beside the lib/ directory of an
// installed copy; the library finds itself, so neither depends on the
// directory the program was started from.
QString shippedMachinePath()
{
    static const char anchor = 0;
    Dl_info info{};
    if (dladdr(&anchor, &info) != 0 && info.dli_fname) {
        const QDir libraryDir = QFileInfo(QFile::decodeName(info.dli_fname)).absoluteDir();
        for (const char *relative : {"machine.json", "../share/nicdiag/machine.json"}) {
            const QString candidate = QDir::cleanPath(libraryDir.filePath(QLatin1String(relative)));
            if (QFileInfo::exists(candidate))
                return candidate;
        }
    }
    return QStringLiteral("./machine.json");
}

} // namespace

QString PkEnvironment::fromEnv(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

QString PkEnvironment::machinePath()
{
    const QString path = fromEnv("PROBEKIT_MACHINE");
    return path.isEmpty() ? shippedMachinePath() : path;
}

QString PkEnvironment::stateDir()
{
    const QString explicitDir = fromEnv("PROBEKIT_STATE_DIR");
    if (!explicitDir.isEmpty())
        return explicitDir;
    const QString xdg = fromEnv("XDG_STATE_HOME");
    if (!xdg.isEmpty())
        return xdg + QStringLiteral("/probekit");
    QString home = fromEnv("HOME");
    if (home.isEmpty())
        home = QDir::homePath();
    return home + QStringLiteral("/.local/state/probekit");
}

QString PkEnvironment::lockDir()
{
    const QString explicitDir = fromEnv("PROBEKIT_LOCK_DIR");
    if (!explicitDir.isEmpty())
        return explicitDir;
    const QString runtime = fromEnv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/probekit");
    return QStringLiteral("/tmp/probekit-%1").arg(getuid());
}

double PkEnvironment::timeScale()
{
    const QByteArray text = qgetenv("PROBEKIT_TIME_SCALE").trimmed();
    if (text.isEmpty())
        return 1.0;
    bool ok = false;
    const double scale = text.toDouble(&ok);
    // inf or 1e300 would overflow every duration it multiplies.
    if (!ok || !(scale >= 0.0) || std::isinf(scale)) {
        PkLog::line("PROBEKIT_TIME_SCALE=" + text + " is not a number in 0.."
                    + QByteArray::number(MaxTimeScale) + "; 1 is used");
        return 1.0;
    }
    if (scale > MaxTimeScale) {
        PkLog::line("PROBEKIT_TIME_SCALE=" + text + " is above " + QByteArray::number(MaxTimeScale) + "; "
                    + QByteArray::number(MaxTimeScale) + " is used");
        return MaxTimeScale;
    }
    return scale;
}

QByteArray PkEnvironment::faultText()
{
    return qgetenv("PROBEKIT_FAULT");
}
