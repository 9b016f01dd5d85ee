#pragma once
#include <QString>
#include <QtGlobal>

// The program-wide start-up settings. Only the entry point writes them
// (tests may set them to build a window in-process); every other part reads.
class TvProgram
{
public:
    // "<product> v7.12"; the caption of the main window and of every box.
    static QString bannerText();
    // Rewrites the banner with another product name (cut to fit 255 bytes).
    static void setBannerProduct(const QString &productName);
    static constexpr int VersionMajor = 7;
    static constexpr int VersionMinor = 12;
    // "v7.12"
    static QString versionText();
    static const char *builtInProductName() { return "Orlin Diagnostics"; }

    // Two bytes whose address goes with every TestRun and CommandRun:
    // byte 0 the advanced-mode flag, byte 1 the -m mode flag.
    static quint8 *runSettings();
    static bool advancedMode() { return runSettings()[0] != 0; }
    // Reads NICDIAG_ADVANCED once at start-up ("1" switches it on).
    static void readAdvancedModeFromEnvironment();

    static QString languageCode();
    static void setLanguageCode(const QString &code);

    // -b and -d; -1 when not given.
    static int preselectBus();
    static int preselectDevice();
    static void setPreselection(int bus, int device);

    static QString configPath();
    static QString adapterInfoPath();
    static QString testInfoPath();
    static void setConfigPath(const QString &path);
    static void setAdapterInfoPath(const QString &path);
    static void setTestInfoPath(const QString &path);

    // Back to the start values (tests).
    static void reset();
};
