#include "CAdapterInfo.h"
#include "AdapterInfoParser.h"
#include "ConfigParser.h"
#include "TestInfoParser.h"
#include "TvPrintable.h"

#include "platform/TvPlatform.h"
#include "text/TvProgram.h"
#include "text/TvText.h"
#include "text/TvDialogSeam.h"

#include <QBuffer>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

const char *const Context = "CAdapterInfo";

// The message key names the file kind and takes the path and the reason.
void reportOpenError(const QString &path, const char *key, const QString &reason)
{
    TvDialogSeam::current().message(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(),
                                    TvText::translate(Context, key).arg(path, reason),
                                    TvDialogSeam::Ok);
}

QString tooLargeReason()
{
    return TvText::translate(Context, "FILE_TOO_LARGE %1").arg(CAdapterInfo::MaxFileBytes / (1024 * 1024));
}

// Why the file cannot be read as a description; empty when it can.
QString refusalReason(int fd, qint64 size, int error)
{
    if (fd < 0 && error == TvPlatform::NotRegularFile)
        return TvText::translate(Context, "NOT_A_REGULAR_FILE");
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(error));
    if (size > CAdapterInfo::MaxFileBytes)
        return tooLargeReason();
    return QString();
}

// Opens a description file for reading. Something that exists but cannot be
// read is as fatal as a missing file: reading on with an empty store would
// list foreign adapters under empty names.
bool openDescription(QFile &file, const QString &path, const char *key)
{
    qint64 size = 0;
    int error = 0;
    const int fd = TvPlatform::openRegularFile(path, &size, &error);
    const QString reason = refusalReason(fd, size, error);
    if (reason.isEmpty() && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    if (fd >= 0)
        ::close(fd);
    reportOpenError(path, key, reason.isEmpty() ? file.errorString() : reason);
    return false;
}

// False when the file was refused. Otherwise the result is not looked at by
// the callers: whatever was stored before a parse error or a refused
// version stays.
bool parseFrom(QIODevice &file, const QString &path, DescriptionParser *parser)
{
    file.seek(0);
    return parser->parse(&file, path);
}

// Reads a file that has one block per language. When no block carried the
// selected language, the whole file is read again for English; entries of
// the second pass hide those of the first.
template <typename Parser>
bool parseForLanguage(CAdapterInfo *store, QIODevice &file, const QString &path,
                      const QString &languageCode)
{
    bool found = false;
    {
        Parser parser(store, languageCode);
        if (!parseFrom(file, path, &parser))
            return false;
        found = parser.languageBlockFound();
    }
    if (found)
        return true;
    Parser fallback(store, QStringLiteral("en"));
    return parseFrom(file, path, &fallback);
}

// Contents in memory: what the file checks would refuse by size is refused
// the same way.
bool openContents(QBuffer &buffer, const QByteArray &contents, const QString &path, const char *key)
{
    if (contents.size() > CAdapterInfo::MaxFileBytes) {
        reportOpenError(path, key, tooLargeReason());
        return false;
    }
    buffer.setData(contents);
    return buffer.open(QIODevice::ReadOnly);
}

} // namespace

CAdapterInfo::CAdapterInfo() = default;

CAdapterInfo::~CAdapterInfo() = default;

CAdapterInfo &CAdapterInfo::instance()
{
    static CAdapterInfo store;
    return store;
}

void CAdapterInfo::clear()
{
    adapters.clear();
    miscItems.clear();
    testCases.clear();
    name.clear();
    exename.clear();
    basepath.clear();
    splash_screen.clear();
    logpath.clear();
    log_ext.clear();
    script_path.clear();
    script_ext.clear();
    flash_path.clear();
    flash_ext.clear();
    flash_size = 0;
    help_path.clear();
    help_file.clear();
    pci_conf_path.clear();
    pci_conf_ext.clear();
    poll_interval = 0;
    run_records = 1;
    vendorIds.clear();
    logFileName = QString();
    warnings.clear();
}

void CAdapterInfo::addWarning(const QString &text)
{
    // The English second pass of a file would repeat the first pass's lines,
    // and a hostile file could carry a warning on every line. What a line
    // quotes from the file may hold control characters: it is kept printable.
    const QString line = TvPrintable::line(text);
    if (warnings.size() > MaxWarnings || warnings.contains(line))
        return;
    if (warnings.size() < MaxWarnings)
        warnings.append(line);
    else
        warnings.append(TvText::translate(Context, "MORE_WARNINGS %1").arg(MaxWarnings));
    const QByteArray bytes = warnings.last().toLocal8Bit() + '\n';
    std::fflush(stdout);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool CAdapterInfo::readConfigFile(const QString &path)
{
    QFile file;
    if (!openDescription(file, path, "CONFIG_OPEN_FAILED %1 %2"))
        return false;
    ConfigParser parser(this);
    return parseFrom(file, path, &parser);
}

bool CAdapterInfo::readAdapterInfoFile(const QString &path, const QString &languageCode)
{
    QFile file;
    if (!openDescription(file, path, "AIF_OPEN_FAILED %1 %2"))
        return false;
    return parseForLanguage<AdapterInfoParser>(this, file, path, languageCode);
}

bool CAdapterInfo::readTestInfoFile(const QString &path, const QString &languageCode)
{
    QFile file;
    if (!openDescription(file, path, "TIF_OPEN_FAILED %1 %2"))
        return false;
    return parseForLanguage<TestInfoParser>(this, file, path, languageCode);
}

bool CAdapterInfo::readConfigData(const QByteArray &contents, const QString &path)
{
    QBuffer buffer;
    if (!openContents(buffer, contents, path, "CONFIG_OPEN_FAILED %1 %2"))
        return false;
    ConfigParser parser(this);
    return parseFrom(buffer, path, &parser);
}

bool CAdapterInfo::readAdapterInfoData(const QByteArray &contents, const QString &path,
                                       const QString &languageCode)
{
    QBuffer buffer;
    if (!openContents(buffer, contents, path, "AIF_OPEN_FAILED %1 %2"))
        return false;
    return parseForLanguage<AdapterInfoParser>(this, buffer, path, languageCode);
}

bool CAdapterInfo::readTestInfoData(const QByteArray &contents, const QString &path,
                                    const QString &languageCode)
{
    QBuffer buffer;
    if (!openContents(buffer, contents, path, "TIF_OPEN_FAILED %1 %2"))
        return false;
    return parseForLanguage<TestInfoParser>(this, buffer, path, languageCode);
}

bool CAdapterInfo::hasAdapter(const QString &key) const
{
    return !adapters.isEmpty() && adapters.contains(key);
}

QString CAdapterInfo::adapterName(const QString &key) const
{
    const auto it = adapters.constFind(key);
    return it == adapters.constEnd() ? QString() : it->name;
}

QString CAdapterInfo::adapterPixmap(const QString &key) const
{
    const auto it = adapters.constFind(key);
    return it == adapters.constEnd() ? QString() : it->pixmap;
}

const QList<int> *CAdapterInfo::adapterMiscConfig(const QString &key) const
{
    const auto it = adapters.constFind(key);
    return it == adapters.constEnd() ? nullptr : &it->miscConfigIds;
}

const QList<int> *CAdapterInfo::adapterTestCases(const QString &key) const
{
    const auto it = adapters.constFind(key);
    return it == adapters.constEnd() ? nullptr : &it->testCaseIds;
}

const CMiscConfigItem *CAdapterInfo::miscConfigItem(int number) const
{
    const auto it = miscItems.constFind(number);
    return it == miscItems.constEnd() ? nullptr : &it.value();
}

const CTestCase *CAdapterInfo::testCase(int number) const
{
    const auto it = testCases.constFind(number);
    return it == testCases.constEnd() ? nullptr : &it.value();
}

QString CAdapterInfo::basePathOf(const QString &relative) const
{
    return basepath + QLatin1Char('/') + relative;
}

