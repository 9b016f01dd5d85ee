#include "CAdapterInfo.h"
#include "AdapterInfoParser.h"
#include "ConfigParser.h"
#include "TestInfoParser.h"
#include "TvPrintable.h"

#include "text/TvProgram.h"
#include "text/TvText.h"
#include "text/TvDialogSeam.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why the file open at fd cannot be read as a description; empty when it can.
// Only a regular file is read: a FIFO would block start-up in open() (hence
// O_NONBLOCK there), and a device may never end.
QString refusalReason(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return systemReason(errno);
    if (S_ISDIR(info.st_mode))
        return systemReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return TvText::translate(Context, "NOT_A_REGULAR_FILE");
    if (info.st_size > CAdapterInfo::MaxFileBytes)
        return TvText::translate(Context, "FILE_TOO_LARGE %1")
            .arg(CAdapterInfo::MaxFileBytes / (1024 * 1024));
    return QString();
}

// Opens a description file for reading. Something that exists but cannot be
// read is as fatal as a missing file: reading on with an empty store would
// list foreign adapters under empty names.
bool openDescription(QFile &file, const QString &path, const char *key)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reportOpenError(path, key, systemReason(errno));
        return false;
    }
    const QString reason = refusalReason(fd);
    if (reason.isEmpty() && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    reportOpenError(path, key, reason.isEmpty() ? file.errorString() : reason);
    return false;
}

// False when the file was refused. Otherwise the result is not looked at by
// the callers: whatever was stored before a parse error or a refused
// version stays.
bool parseFrom(QFile &file, const QString &path, DescriptionParser *parser)
{
    file.seek(0);
    return parser->parse(&file, path);
}

// Reads a file that has one block per language. When no block carried the
// selected language, the whole file is read again for English; entries of
// the second pass hide those of the first.
template <typename Parser>
bool parseForLanguage(CAdapterInfo *store, QFile &file, const QString &path,
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

