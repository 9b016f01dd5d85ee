#include "TvCommandLine.h"

#include <cstdlib>
#include <getopt.h>
#include <unistd.h>

namespace {

// Long options carry values past any single letter.
enum LongOption { Capture = 0x100 };

const struct option LongOptions[] = {
    {"capture", required_argument, nullptr, Capture},
    {nullptr, 0, nullptr, 0},
};

} // namespace

TvCommandLine TvCommandLine::parse(int argc, char *argv[])
{
    TvCommandLine options;
    // 0 makes glibc start afresh, also when a test parses several times.
    optind = 0;
    int option;
    while ((option = getopt_long(argc, argv, OptionString, LongOptions, nullptr)) != -1) {
        switch (option) {
        case 'C': options.configPath = QString::fromLocal8Bit(optarg); break;
        case 'I': options.adapterInfoPath = QString::fromLocal8Bit(optarg); break;
        case 'T': options.testInfoPath = QString::fromLocal8Bit(optarg); break;
        case 'L': options.languageCode = QString::fromLocal8Bit(optarg); break;
        case 'b': options.bus = std::atoi(optarg); break;
        case 'd': options.device = std::atoi(optarg); break;
        case 'l': options.list = true; break;
        case 'm': options.modeFlag = true; break;
        case Capture: options.captureDir = QString::fromLocal8Bit(optarg); break;
        default: options.usage = true; break;   // -a -n -x -c -o -?, unknown, missing argument
        }
    }
    return options;
}
