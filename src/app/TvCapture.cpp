#include "TvCapture.h"

#include "platform/TvPlatform.h"
#include "text/TvControlText.h"
#include "text/TvProgram.h"

#include <probekit.h>

#include <QDir>

#include <cstdarg>
#include <cstdio>

namespace {

// Every text the core sends while it captures is one line on the terminal.
int printLine(const char *format, ...)
{
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    const QString line = TvControlText::terminalLine(QString::fromUtf8(text).trimmed());
    if (!line.isEmpty())
        TvPlatform::writeConsole(line + QLatin1Char('\n'));
    return 0;
}

int noCell(int, int, int) { return 0; }
int noFormattedCell(int, int, const char *, ...) { return 0; }
int noProgress(int) { return 0; }
// A capture asks nothing; were it to, nobody is there to answer Yes: the
// safe answer, No or else Cancel, is taken.
int answerSafely(int, int button0, int button1, int button2)
{
    for (const int safe : {4, 2}) {
        if (button0 == safe || button1 == safe || button2 == safe)
            return safe;
    }
    return 0;
}

} // namespace

int TvCapture::run(const QString &directory)
{
    const CoreCallbacks callbacks = {printLine, printLine, printLine, noCell, noFormattedCell, noProgress,
                                     answerSafely};
    const QByteArray command = "capture " + QFile::encodeName(QDir(directory).absolutePath());
    return CommandRun(command.constData(), TvProgram::runSettings(), &callbacks) == 0 ? 0 : 1;
}
