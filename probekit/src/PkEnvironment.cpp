#include "PkEnvironment.h"

#include <QDir>

#include <unistd.h>

QString PkEnvironment::fromEnv(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

QString PkEnvironment::machinePath()
{
    const QString path = fromEnv("PROBEKIT_MACHINE");
    return path.isEmpty() ? QStringLiteral("./machine.json") : path;
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
    return ok && scale >= 0.0 ? scale : 1.0;
}

QByteArray PkEnvironment::faultText()
{
    return qgetenv("PROBEKIT_FAULT");
}
