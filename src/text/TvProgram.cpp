#include "TvProgram.h"

namespace {

struct Settings {
    QString banner;
    quint8 runSettings[2] = {0, 0};
    QString languageCode;
    int bus = -1;
    int device = -1;
    QString configPath = QStringLiteral("./config.xml");
    QString adapterInfoPath = QStringLiteral("./adapterinfofile.xml");
    QString testInfoPath = QStringLiteral("./testinfofile.xml");
};

Settings &settings()
{
    static Settings s;
    return s;
}

// UTF-8 bytes of the character that starts at text[0]; *units receives its
// UTF-16 length. The encoder writes a lone surrogate as "?". The text ends
// in a zero, which is no low surrogate: text[1] may always be read.
int utf8Bytes(const ushort *text, int *units)
{
    const ushort u = text[0];
    *units = 1;
    if (QChar::isHighSurrogate(u) && QChar::isLowSurrogate(text[1])) {
        *units = 2;
        return 4;
    }
    return u < 0x80 || QChar::isSurrogate(u) ? 1 : u < 0x800 ? 2 : 3;
}

QString formatBanner(const QString &product)
{
    // The banner lived in a 256-byte buffer: keep the whole text, in UTF-8,
    // within 255 bytes by cutting the product name at a character boundary.
    const QString suffix = QStringLiteral(" ") + TvProgram::versionText();
    const int budget = 255 - suffix.toUtf8().size();
    const ushort *text = product.utf16();
    int bytes = 0;
    int i = 0;
    while (i < product.size()) {
        int units = 0;
        bytes += utf8Bytes(text + i, &units);
        if (bytes > budget)
            break;
        i += units;
    }
    return product.left(i) + suffix;
}

} // namespace

QString TvProgram::bannerText()
{
    if (settings().banner.isEmpty())
        settings().banner = formatBanner(QString::fromLatin1(builtInProductName()));
    return settings().banner;
}

void TvProgram::setBannerProduct(const QString &productName)
{
    settings().banner = formatBanner(productName);
}

QString TvProgram::versionText()
{
    return QString::asprintf("v%d.%2.02d", VersionMajor, VersionMinor);
}

quint8 *TvProgram::runSettings()
{
    return settings().runSettings;
}

void TvProgram::readAdvancedModeFromEnvironment()
{
    runSettings()[0] = qgetenv("NICDIAG_ADVANCED") == "1" ? 1 : 0;
}

QString TvProgram::languageCode() { return settings().languageCode; }
void TvProgram::setLanguageCode(const QString &code) { settings().languageCode = code; }
int TvProgram::preselectBus() { return settings().bus; }
int TvProgram::preselectDevice() { return settings().device; }

void TvProgram::setPreselection(int bus, int device)
{
    settings().bus = bus;
    settings().device = device;
}

QString TvProgram::configPath() { return settings().configPath; }
QString TvProgram::adapterInfoPath() { return settings().adapterInfoPath; }
QString TvProgram::testInfoPath() { return settings().testInfoPath; }
void TvProgram::setConfigPath(const QString &path) { settings().configPath = path; }
void TvProgram::setAdapterInfoPath(const QString &path) { settings().adapterInfoPath = path; }
void TvProgram::setTestInfoPath(const QString &path) { settings().testInfoPath = path; }

void TvProgram::reset()
{
    settings() = Settings();
}
