#include "PkAdapterState.h"
#include "PkVpd.h"

#include "PkFileReader.h"
#include "PkFileWriter.h"
#include "PkLog.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Stored values are base64; anything else in their place is damage.
bool decodeBase64(const QJsonValue &value, QByteArray *out)
{
    if (!value.isString())
        return false;
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    *out = decoded.decoded;
    return decoded.decodingStatus == QByteArray::Base64DecodingStatus::Ok;
}

} // namespace

qint64 PkAdapterState::fileLimit(quint32 flashSize)
{
    // The flash in base64, and room for the VPD and the layout.
    return (qint64(flashSize) + 2) / 3 * 4 + 1024 * 1024;
}

void PkAdapterState::load(const QString &stateDir, const PkAdapterModel &model)
{
    *this = PkAdapterState();
    m_file = stateDir + QLatin1Char('/') + model.key() + QStringLiteral(".json");
    for (auto it = model.vpd.begin(); it != model.vpd.end(); ++it)
        (PkVpd::isWritable(it.key()) ? m_writable : m_readOnly).insert(it.key(), it.value());
    m_flash = factoryImage(model.flashSize, model.key());

    // Only the holder of the adapter writes its state: what a killed write
    // left behind is nobody's.
    PkFileWriter::removeStale(m_file);
    QByteArray text, why;
    switch (PkFileReader::readAll(m_file, fileLimit(model.flashSize), &text, &why)) {
    case PkFileReader::Missing:
        return;
    case PkFileReader::Read:
        if (takeStored(text, &why))
            return;
        break;
    case PkFileReader::Refused:
        break;
    }
    setAside(why);
}

bool PkAdapterState::takeStored(const QByteArray &text, QByteArray *why)
{
    if (text.isEmpty()) {
        *why = "the file is empty";
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        *why = "not JSON: " + error.errorString().toUtf8() + " at byte " + QByteArray::number(error.offset);
        return false;
    }
    const QJsonObject root = document.object();
    const QJsonValue vpd = root.value(QStringLiteral("vpd"));
    const QJsonValue flash = root.value(QStringLiteral("flash"));
    if (!document.isObject() || (vpd.isUndefined() && flash.isUndefined())) {
        *why = "not an adapter state (neither \"vpd\" nor \"flash\")";
        return false;
    }
    const PkAdapterState before = *this;
    if ((vpd.isUndefined() || takeVpd(vpd, why)) && (flash.isUndefined() || takeFlash(flash, why)))
        return true;
    *this = before;
    return false;
}

bool PkAdapterState::takeVpd(const QJsonValue &value, QByteArray *why)
{
    if (!value.isObject()) {
        *why = "\"vpd\" is not an object";
        return false;
    }
    QMap<QString, QByteArray> writable;
    const QJsonObject vpd = value.toObject();
    for (auto it = vpd.begin(); it != vpd.end(); ++it) {
        QByteArray data;
        if (!PkVpd::isWritable(it.key()) || !decodeBase64(it.value(), &data)
            || data.size() > PkVpd::MaxValue) {
            *why = "the VPD keyword \"" + it.key().toUtf8() + "\" is not a stored writable keyword";
            return false;
        }
        writable.insert(it.key(), data);
    }
    m_writable = writable;
    m_vpdStored = true;
    return true;
}

bool PkAdapterState::takeFlash(const QJsonValue &value, QByteArray *why)
{
    QByteArray stored;
    if (!decodeBase64(value, &stored)) {
        *why = "\"flash\" is not base64";
        return false;
    }
    // A flash of another size belongs to another adapter, or to the machine
    // file before it changed: kept aside, not taken.
    if (stored.size() != m_flash.size()) {
        *why = "\"flash\" holds " + QByteArray::number(stored.size()) + " bytes, the PROM "
            + QByteArray::number(m_flash.size());
        return false;
    }
    m_flash = stored;
    m_flashStored = true;
    return true;
}

void PkAdapterState::setAside(const QByteArray &why)
{
    const QString aside = m_file + QStringLiteral(".corrupt-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QByteArray name = QFile::encodeName(m_file);
    QByteArray line = "adapter state " + name + " refused: " + why + "; ";
    if (::rename(name.constData(), QFile::encodeName(aside).constData()) == 0) {
        line += "kept as " + QFile::encodeName(QFileInfo(aside).fileName());
    } else {
        // Never overwritten: what it holds may be all there is of the edits.
        m_keepOff = true;
        line += "it could not be moved aside (" + QByteArray(std::strerror(errno))
            + "), so nothing written to this adapter is kept";
    }
    m_notice = line + "; the adapter starts from its factory contents";
    PkLog::line(m_notice);
}

QByteArray PkAdapterState::takeNotice()
{
    QByteArray notice;
    notice.swap(m_notice);
    return notice;
}

bool PkAdapterState::save() const
{
    if (m_keepOff) {
        m_saveFailure = "the refused state file " + QFile::encodeName(m_file) + " is still in the way";
        PkLog::line("adapter state not saved: " + m_saveFailure);
        return false;
    }
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
    QByteArray why;
    if (PkFileWriter::replace(m_file, QJsonDocument(root).toJson(QJsonDocument::Indented), &why)) {
        m_saveFailure.clear();
        return true;
    }
    m_saveFailure = why;
    PkLog::line("adapter state not saved to " + QFile::encodeName(m_file) + ": " + why
                + "; the file keeps what it held before");
    return false;
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
    return changeWritable([&] { m_writable.insert(keyword, value); });
}

int PkAdapterState::deleteKeyword(const QString &keyword)
{
    if (!PkVpd::isWritable(keyword))
        return 15;
    if (!m_writable.contains(keyword))
        return 19;
    return changeWritable([&] { m_writable.remove(keyword); });
}

// A change that could not be saved is taken back whole: the state in
// memory never says more than the file.
int PkAdapterState::changeWritable(const std::function<void()> &change)
{
    const QMap<QString, QByteArray> before = m_writable;
    const bool storedBefore = m_vpdStored;
    change();
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
