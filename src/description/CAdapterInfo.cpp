#include "CAdapterInfo.h"
#include "AdapterInfoParser.h"
#include "ConfigParser.h"
#include "TestInfoParser.h"

#include "text/TvProgram.h"
#include "text/TvText.h"
#include "text/TvDialogSeam.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlInputSource>
#include <QXmlSimpleReader>

namespace {

const char *const Context = "CAdapterInfo";

// 0 when something exists at path, else the error number that says why not.
int missingFileError(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return 0;
    return errno;
}

// The message key names the file kind and takes the path and the system's
// text for the error.
void reportOpenError(const QString &path, const char *key, int error)
{
    const QString text = TvText::translate(Context, key)
                             .arg(path, QString::fromLocal8Bit(std::strerror(error)));
    TvDialogSeam::current().message(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(),
                                    text, TvDialogSeam::Ok);
}

// Opens a description file for reading. Something that exists but cannot be
// read (a directory, no permission) is as fatal as a missing file: reading
// on with an empty store would list foreign adapters under empty names.
bool openDescription(QFile &file, const char *key)
{
    const QString path = file.fileName();
    int error = missingFileError(path);
    if (error == 0) {
        struct stat info;
        if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            error = EISDIR;
        else if (file.open(QIODevice::ReadOnly))
            return true;
        else
            error = errno ? errno : EACCES;
    }
    reportOpenError(path, key, error);
    return false;
}

// The result is not looked at by the callers: whatever was stored before a
// parse error or a refused version stays.
void parseFrom(QFile &file, QXmlDefaultHandler *handler)
{
    file.seek(0);
    QXmlInputSource source(&file);
    QXmlSimpleReader reader;
    reader.setContentHandler(handler);
    reader.parse(&source);
}

// Reads a file that has one block per language. When no block carried the
// selected language, the whole file is read again for English; entries of
// the second pass hide those of the first.
template <typename Parser>
void parseForLanguage(CAdapterInfo *store, QFile &file, const QString &languageCode)
{
    bool found = false;
    {
        Parser parser(store, languageCode);
        parseFrom(file, &parser);
        found = parser.languageBlockFound();
    }
    if (!found) {
        Parser fallback(store, QStringLiteral("en"));
        parseFrom(file, &fallback);
    }
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
    vendorIds.clear();
    logFileName = QString();
}

bool CAdapterInfo::readConfigFile(const QString &path)
{
    QFile file(path);
    if (!openDescription(file, "CONFIG_OPEN_FAILED %1 %2"))
        return false;
    ConfigParser parser(this);
    parseFrom(file, &parser);
    return true;
}

bool CAdapterInfo::readAdapterInfoFile(const QString &path, const QString &languageCode)
{
    QFile file(path);
    if (!openDescription(file, "AIF_OPEN_FAILED %1 %2"))
        return false;
    parseForLanguage<AdapterInfoParser>(this, file, languageCode);
    return true;
}

bool CAdapterInfo::readTestInfoFile(const QString &path, const QString &languageCode)
{
    QFile file(path);
    if (!openDescription(file, "TIF_OPEN_FAILED %1 %2"))
        return false;
    parseForLanguage<TestInfoParser>(this, file, languageCode);
    return true;
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

QT_WARNING_POP
