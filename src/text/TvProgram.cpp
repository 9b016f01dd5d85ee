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

QString formatBanner(const QString &product)
{
    // The banner lived in a 256-byte buffer: keep the whole text, in UTF-8,
    // within 255 bytes by cutting the product name.
    const QString suffix = QStringLiteral(" ") + TvProgram::versionText();
    QString name = product;
    while (!name.isEmpty() && (name + suffix).toUtf8().size() > 255)
        name.chop(1);
    return name + suffix;
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
