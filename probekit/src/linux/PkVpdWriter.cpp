#include "PkVpdWriter.h"
#include "PkFileWriter.h"
#include "PkHelperClient.h"
#include "PkEnvironment.h"
#include "PkSysfs.h"
#include "PkVpd.h"
#include "PkVpdImage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Yes = 3;
constexpr int No = 4;
constexpr int InvalidKeyword = 15;
constexpr int VpdFatalError = 17;
constexpr int VpdBufferOverflow = 18;
constexpr int KeywordNotFound = 19;
constexpr int VpdFull = 21;
constexpr int WriteKeywordFailed = 22;
constexpr int MaxVpdBytes = 32768;

const uint8_t *data(const QByteArray &bytes)
{
    return reinterpret_cast<const uint8_t *>(bytes.constData());
}

} // namespace

int PkVpdWriter::write(const QString &keyword, const QByteArray *value) const
{
    const PkLinuxCore::Snapshot current = m_core.snapshot();
    if (!current.valid)
        return 11;
    if (!PkVpd::isWritable(keyword))
        return InvalidKeyword;
    if (value && value->size() > PkVpd::MaxValue)
        return VpdBufferOverflow;
    const QByteArray why = refusal(current);
    if (!why.isEmpty())
        return simulate(keyword, value, why);
    std::vector<uint8_t> before, after;
    int status = 0;
    if (!compose(current, keyword, value, &before, &after, &status))
        return status;
    if (!confirmed(current, keyword, value))
        return simulate(keyword, value, "the operator did not confirm");
    if (!backup(current, before))
        return simulate(keyword, value, "no backup of the VPD could be written to the state directory");
    status = writeCard(current, keyword, value, before, after);
    m_core.reloadVpd();
    return status;
}

QByteArray PkVpdWriter::refusal(const PkLinuxCore::Snapshot &current) const
{
    const QByteArray address = current.adapter.ports.first().address.toLatin1();
    if (qgetenv("PROBEKIT_ALLOW_WRITE").trimmed().toLower() != address.toLower())
        return "PROBEKIT_ALLOW_WRITE does not name " + address;
    if (!m_modeFlags || !m_modeFlags[0])
        return "the program is not in advanced mode";
    if (current.adapter.ports.first().vpdPath.isEmpty())
        return "the adapter has no VPD";
    return QByteArray();
}

int PkVpdWriter::simulate(const QString &keyword, const QByteArray *value, const QByteArray &why) const
{
    const int status = m_core.shadowWrite(keyword, value);
    if (status == 0)
        m_reporter.log("VPD " + keyword.toLatin1() + (value ? " written" : " deleted")
                       + " in the shadow state only (simulated): " + why);
    return status;
}

// The image as the card holds it now, read afresh, and as it will hold it.
bool PkVpdWriter::compose(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value,
                          std::vector<uint8_t> *before, std::vector<uint8_t> *after, int *status) const
{
    QString error;
    std::optional<QByteArray> image = PkSysfs::bytes(current.adapter.ports.first().vpdPath, MaxVpdBytes, &error);
    QByteArray helped;
    if (!image && ::geteuid() != 0 && PkHelperClient::wanted()) {
        if (PkHelperClient::instance().vpdRead(current.adapter.ports.first().address, &helped, EACCES) == 0)
            image = helped;
        else
            error += QStringLiteral("; ") + QString::fromLocal8Bit(PkHelperClient::refusal());
    }
    if (!image) {
        m_reporter.log("VPD not written: the VPD cannot be read (" + error.toLocal8Bit() + ")");
        *status = WriteKeywordFailed;
        return false;
    }
    before->assign(data(*image), data(*image) + image->size());
    const PkVpdImage parsed = PkVpdImage::parse(before->data(), before->size());
    const std::string name = keyword.toStdString();
    const std::string text = value ? value->toStdString() : std::string();
    std::string why;
    if (parsed.rewriteWritable(*before, name, value ? &text : nullptr, after, &why))
        return true;
    m_reporter.log("VPD not written: " + QByteArray::fromStdString(why));
    const PkVpdImage::Keyword *found = parsed.find(name);
    *status = !value && !found ? KeywordNotFound : found && !found->writable ? InvalidKeyword
            : parsed.writableLength == 0 ? InvalidKeyword : VpdFull;
    return false;
}

bool PkVpdWriter::confirmed(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value) const
{
    const QByteArray what = value ? "write " + keyword.toLatin1() + " = \"" + *value + "\" into"
                                  : "delete " + keyword.toLatin1() + " from";
    m_reporter.stamped("About to " + what + " the VPD of the adapter " + PkLinuxCore::name(current.adapter));
    // Nobody to ask is a No.
    return m_reporter.ask(ConfirmWrite, Yes, No, 0, No) == Yes;
}

bool PkVpdWriter::backup(const PkLinuxCore::Snapshot &current, const std::vector<uint8_t> &image) const
{
    const QString dir = PkLinuxCore::stateDir();
    const QString path = dir + QLatin1Char('/') + current.adapter.model.key() + QStringLiteral("-vpd-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QStringLiteral(".bin");
    QByteArray why;
    const bool written = PkFileWriter::replace(
        path, QByteArray(reinterpret_cast<const char *>(image.data()), int(image.size())), &why);
    m_reporter.log(written ? "VPD backup: " + QFile::encodeName(path)
                           : "VPD backup not written to " + QFile::encodeName(path) + ": " + why);
    return written;
}

// Only the bytes that change are written, in place; the file is never
// created or cut.
int PkVpdWriter::writeCard(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value,
                           const std::vector<uint8_t> &before, const std::vector<uint8_t> &after) const
{
    const QString path = current.adapter.ports.first().vpdPath;
    size_t first = 0, last = after.size();
    while (first < after.size() && after[first] == before[first])
        ++first;
    while (last > first && after[last - 1] == before[last - 1])
        --last;
    if (first == last)
        return 0;
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    const ssize_t written = fd < 0 ? -1 : ::pwrite(fd, after.data() + first, last - first, off_t(first));
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    // Only root may write a card's VPD: the privileged helper writes it,
    // checking keyword, value and guard again on the card as it stands.
    if (fd < 0 && (error == EACCES || error == EPERM) && PkHelperClient::wanted())
        return helperWrite(current, keyword, value, error);
    if (written != ssize_t(last - first)) {
        m_reporter.log("VPD write failed: " + QByteArray(std::strerror(error)));
        return WriteKeywordFailed;
    }
    const std::optional<QByteArray> back = PkSysfs::bytes(path, qint64(after.size()));
    if (!back || back->size() < qint64(last) || std::memcmp(back->constData() + first, after.data() + first, last - first) != 0) {
        m_reporter.log(QByteArrayLiteral("VPD written, but reading it back gives other bytes"));
        return VpdFatalError;
    }
    m_reporter.log("VPD written and read back: bytes " + QByteArray::number(qulonglong(first)) + " to "
                   + QByteArray::number(qulonglong(last - 1)));
    return 0;
}

int PkVpdWriter::helperWrite(const PkLinuxCore::Snapshot &current, const QString &keyword, const QByteArray *value,
                             int denied) const
{
    PkHelperClient &helper = PkHelperClient::instance();
    if (helper.vpdWrite(current.adapter.ports.first().address, keyword.toLatin1(), value,
                        qgetenv("PROBEKIT_ALLOW_WRITE").trimmed(), denied)) {
        m_reporter.log("VPD not written by the privileged helper: " + PkHelperClient::refusal());
        return WriteKeywordFailed;
    }
    m_reporter.log(QByteArrayLiteral("VPD written by the privileged helper and read back"));
    return 0;
}
