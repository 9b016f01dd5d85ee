#pragma once
#include <QString>

class TvCommandLine;

// The program's entry: options, translators, core library, description
// files, then the console listing or the main window and its threads.
// run() may be called in-process (tests); it then uses the application
// object that already exists.
class TvStartup
{
public:
    static int run(int argc, char *argv[]);

    // "qt_" or "diag_" followed by the language code; the first call
    // without -L chooses the code from the user's locale and the
    // catalogues in the program's data directory.
    static QString translationFileName(const QString &prefix);
    static void printUsage();
    // Critical box (banner caption, OK), then the text unchanged on stderr.
    static void showFatalError(const QString &text);

private:
    static int runWithCore(const TvCommandLine &options);
    static int runWindow();
};
