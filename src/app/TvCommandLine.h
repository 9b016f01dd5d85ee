#pragma once
#include <QString>

// The options of one start, parsed with GNU getopt.
class TvCommandLine
{
public:
    static constexpr const char *OptionString = "anlxmc:b:d:o:I:T:C:L:?";

    static TvCommandLine parse(int argc, char *argv[]);

    QString configPath = QStringLiteral("./config.xml");
    QString adapterInfoPath = QStringLiteral("./adapterinfofile.xml");
    QString testInfoPath = QStringLiteral("./testinfofile.xml");
    QString languageCode;
    int bus = -1;
    int device = -1;
    bool list = false;
    bool modeFlag = false;
    bool usage = false;
};
