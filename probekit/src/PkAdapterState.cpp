#include "PkAdapterState.h"
#include "PkVpd.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

void PkAdapterState::load(const QString &stateDir, const PkAdapterModel &model)
{
    *this = PkAdapterState();
    m_file = stateDir + QLatin1Char('/') + model.key() + QStringLiteral(".json");
    for (auto it = model.vpd.begin(); it != model.vpd.end(); ++it)
        (PkVpd::isWritable(it.key()) ? m_writable : m_readOnly).insert(it.key(), it.value());
    m_flash = factoryImage(model.flashSize, model.key());

    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value(QStringLiteral("vpd")).isObject()) {
        m_vpdStored = true;
        m_writable.clear();
        const QJsonObject vpd = root.value(QStringLiteral("vpd")).toObject();
        for (auto it = vpd.begin(); it != vpd.end(); ++it)
            m_writable.insert(it.key(), QByteArray::fromBase64(it.value().toString().toLatin1()));
    }
    if (root.value(QStringLiteral("flash")).isString()) {
        const QByteArray stored =
            QByteArray::fromBase64(root.value(QStringLiteral("flash")).toString().toLatin1());
        // A flash of another size (the machine file changed) starts afresh.
        if (stored.size() == m_flash.size()) {
            m_flash = stored;
            m_flashStored = true;
        }
    }
}

bool PkAdapterState::save() const
{
    QJsonObject root;
    if (m_vpdStored) {
        QJsonObject vpd;
        // Values are bytes, not text: base64 keeps every byte as written.
        for (auto it = m_writable.begin(); it != m_writable.end(); ++it)
            vpd.insert(it.key(), QString::fromLatin1(it.value().toBase64()));
        root.insert(QStringLiteral("vpd"), vpd);
    }
    if (m_flashStored)
        root.insert(QStringLiteral("flash"), QString::fromLatin1(m_flash.toBase64()));
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return file.commit();
}

QMap<QString, QByteArray> PkAdapterState::vpd() const
{
    QMap<QString, QByteArray> all = m_readOnly;
    for (auto it = m_writable.begin(); it != m_writable.end(); ++it)
        all.insert(it.key(), it.value());
    return all;
}

int PkAdapterState::writeKeyword(const QString &keyword, const QByteArray &value)
{
    if (!PkVpd::isWritable(keyword))
        return 15;
    if (value.size() > PkVpd::MaxValue)
        return 18;
    const QMap<QString, QByteArray> before = m_writable;
    const bool storedBefore = m_vpdStored;
    m_writable.insert(keyword, value);
    m_vpdStored = true;
    if (save())
        return 0;
    m_writable = before;
    m_vpdStored = storedBefore;
    return 22;
}

int PkAdapterState::deleteKeyword(const QString &keyword)
{
    if (!PkVpd::isWritable(keyword))
        return 15;
    if (!m_writable.contains(keyword))
        return 19;
    const QMap<QString, QByteArray> before = m_writable;
    const bool storedBefore = m_vpdStored;
    m_writable.remove(keyword);
    m_vpdStored = true;
    if (save())
        return 0;
    m_writable = before;
    m_vpdStored = storedBefore;
    return 22;
}

bool PkAdapterState::setFlash(const QByteArray &contents)
{
    const QByteArray before = m_flash;
    const bool storedBefore = m_flashStored;
    m_flash = contents;
    m_flashStored = true;
    if (save())
        return true;
    m_flash = before;
    m_flashStored = storedBefore;
    return false;
}

QByteArray PkAdapterState::factoryImage(quint32 size, const QString &adapterKey)
{
    // A boot image in the first quarter, the rest blank as erased flash is.
    QByteArray image(static_cast<int>(size), '\xFF');
    QByteArray block = QCryptographicHash::hash(adapterKey.toUtf8(), QCryptographicHash::Sha256);
    const int used = static_cast<int>(size / 4);
    for (int at = 0; at < used; at += block.size()) {
        block = QCryptographicHash::hash(block, QCryptographicHash::Sha256);
        image.replace(at, qMin(block.size(), used - at), block.left(used - at));
    }
    if (size >= 2) {
        image[0] = '\x55';
        image[1] = '\xAA';
    }
    return image;
}
