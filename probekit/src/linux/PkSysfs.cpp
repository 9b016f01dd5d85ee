#include "PkSysfs.h"
#include "PkFileReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString PkSysfs::root()
{
    // A capture mirrors the paths below the root in its sys/ directory.
    const QByteArray replay = qgetenv("PROBEKIT_REPLAY");
    if (!replay.isEmpty())
        return QFile::decodeName(replay) + QStringLiteral("/sys");
    const QByteArray configured = qgetenv("PROBEKIT_SYSFS_ROOT");
    return configured.isEmpty() ? QStringLiteral("/sys") : QFile::decodeName(configured);
}

bool PkSysfs::within(const QString &root, const QString &path)
{
    // The root's real place, found once for each root a thread asks about.
    thread_local QString lastRoot, base;
    if (root != lastRoot) {
        lastRoot = root;
        base = QFileInfo(root).canonicalFilePath();
    }
    const QString target = QFileInfo(path).canonicalFilePath();
    return !base.isEmpty() && target.startsWith(base + QLatin1Char('/'));
}

std::optional<QByteArray> PkSysfs::bytes(const QString &path, qint64 maxBytes, QString *error)
{
    // sysfs files report a size they do not have: read up to the most
    // wanted, do not ask. A tree of test files may hold a FIFO: not waited on.
    QByteArray data, why;
    // A capture's link may lead anywhere: only what lies in it is read.
    if (!qEnvironmentVariableIsEmpty("PROBEKIT_REPLAY") && PkSysfs::exists(path) && !within(root(), path)) {
        if (error)
            *error = QStringLiteral("it leads outside the capture");
        return std::nullopt;
    }
    if (PkFileReader::readHead(path, maxBytes, &data, &why) != PkFileReader::Read) {
        if (error)
            *error = QString::fromLocal8Bit(why);
        return std::nullopt;
    }
    return data;
}

std::optional<QByteArray> PkSysfs::text(const QString &path, QString *error, qint64 maxBytes)
{
    std::optional<QByteArray> data = bytes(path, maxBytes, error);
    if (data && data->endsWith('\n'))
        data->chop(1);
    return data;
}

std::optional<quint64> PkSysfs::hex(const QString &path)
{
    const std::optional<QByteArray> value = text(path);
    if (!value)
        return std::nullopt;
    QByteArray digits = value->trimmed();
    if (digits.startsWith("0x") || digits.startsWith("0X"))
        digits = digits.mid(2);
    bool ok = false;
    const quint64 number = digits.toULongLong(&ok, 16);
    if (!ok || digits.isEmpty())
        return std::nullopt;
    return number;
}

std::optional<qint64> PkSysfs::decimal(const QString &path)
{
    const std::optional<QByteArray> value = text(path);
    if (!value)
        return std::nullopt;
    bool ok = false;
    const qint64 number = value->trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return number;
}

bool PkSysfs::exists(const QString &path)
{
    return QFileInfo::exists(path);
}

QStringList PkSysfs::entries(const QString &dir, const QString &pattern)
{
    QDir directory(dir);
    if (!pattern.isEmpty())
        directory.setNameFilters({pattern});
    return directory.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString PkSysfs::linkName(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return QString();
    return QFileInfo(info.symLinkTarget()).fileName();
}
