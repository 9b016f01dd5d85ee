#pragma once
#include "batch/TvBatchSettings.h"

#include <QString>

// The options of one start, parsed with GNU getopt_long: the single-letter
// options and the long ones beside them.
class TvCommandLine
{
public:
    static constexpr const char *OptionString = "anlxmc:b:d:o:I:T:C:L:?";

    static TvCommandLine parse(int argc, char *argv[]);

    // Empty when not given: the start-up then takes the file of that name
    // from the program's data directory. A given path is used as it stands,
    // so a relative one is relative to the current directory.
    QString configPath;
    QString adapterInfoPath;
    QString testInfoPath;
    QString languageCode;
    // --capture <directory>: write a capture of the adapters and end.
    QString captureDir;
    // --run and the options of a headless run.
    TvBatchSettings batch;
    int bus = -1;
    int device = -1;
    bool list = false;
    bool modeFlag = false;
    bool usage = false;
};
