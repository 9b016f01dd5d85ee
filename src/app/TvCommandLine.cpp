#include "TvCommandLine.h"

#include <cstdlib>
#include <getopt.h>
#include <unistd.h>

namespace {

// Long options carry values past any single letter.
enum LongOption {
    Capture = 0x100,
    Run,
    Adapter,
    AllAdapters,
    Loops,
    Answer,
    Records,
    Prometheus,
    Quiet,
    BatchChild
};

const struct option LongOptions[] = {
    {"capture", required_argument, nullptr, Capture},
    {"run", required_argument, nullptr, Run},
    {"adapter", required_argument, nullptr, Adapter},
    {"all-adapters", no_argument, nullptr, AllAdapters},
    {"loops", required_argument, nullptr, Loops},
    {"answer", required_argument, nullptr, Answer},
    {"records", required_argument, nullptr, Records},
    {"prometheus", required_argument, nullptr, Prometheus},
    {"quiet", no_argument, nullptr, Quiet},
    // Private: a headless run re-executes the program once per adapter.
    {"batch-child", required_argument, nullptr, BatchChild},
    {nullptr, 0, nullptr, 0},
};

// The value options of a headless run; false for an option of another kind.
bool parseBatchOption(int option, const QString &value, TvBatchSettings &batch)
{
    switch (option) {
    case Run: batch.run = value; break;
    case Records: batch.recordsDir = value; break;
    case Prometheus: batch.prometheusFile = value; break;
    case BatchChild: batch.childReport = value; break;
    case AllAdapters: batch.allAdapters = true; break;
    case Quiet: batch.quiet = true; break;
    case Adapter: {
        TvBatchSettings::Adapter adapter;
        if (TvBatchSettings::parseAdapter(value, &adapter))
            batch.adapters.append(adapter);
        else
            batch.badValues.append({QStringLiteral("--adapter"), value});
        break;
    }
    case Loops:
        if (!TvBatchSettings::parseLoops(value, &batch.loops))
            batch.badValues.append({QStringLiteral("--loops"), value});
        break;
    case Answer:
        if (!TvBatchSettings::parseAnswer(value, &batch.answer))
            batch.badValues.append({QStringLiteral("--answer"), value});
        break;
    default: return false;
    }
    return true;
}

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
        default:
            if (!parseBatchOption(option, QString::fromLocal8Bit(optarg), options.batch))
                options.usage = true;   // -a -n -x -c -o -?, unknown, missing argument
            break;
        }
    }
    const QString *given[] = {&options.configPath, &options.adapterInfoPath, &options.testInfoPath};
    const char *const names[] = {"-C", "-I", "-T"};
    for (int k = 0; k < 3; ++k) {
        if (!given[k]->isEmpty())
            options.batch.descriptionOptions << QLatin1String(names[k]) << *given[k];
    }
    // A headless run names its adapters itself and cannot list or capture.
    if (options.list)
        options.batch.conflicts.append(QStringLiteral("-l"));
    if (!options.captureDir.isEmpty())
        options.batch.conflicts.append(QStringLiteral("--capture"));
    if (options.bus >= 0 || options.device >= 0)
        options.batch.conflicts.append(QStringLiteral("-b/-d"));
    return options;
}
