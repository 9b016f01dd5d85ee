#include "TvBatchConsole.h"

#include "text/TvDialogSeam.h"
#include "text/TvText.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

QString batchText(const char *key)
{
    return TvText::translate("TvBatch", key);
}

void writeTo(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// One line from standard input, without its line feed; false at its end
// or when a signal broke the read off.
bool readAnswerLine(QByteArray *line)
{
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n <= 0)
            return false;
        if (c == '\n')
            return true;
        line->append(c);
    }
}

} // namespace

TvBatchConsole::TvBatchConsole(bool quiet) : quiet(quiet), bar(!quiet && ::isatty(STDOUT_FILENO))
{
}

void TvBatchConsole::line(const QString &text)
{
    if (quiet)
        return;
    clearBar();
    writeTo(stdout, text + QLatin1Char('\n'));
    drawBar();
}

void TvBatchConsole::error(const QString &text)
{
    clearBar();
    std::fflush(stdout);
    writeTo(stderr, text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n'));
    drawBar();
}

void TvBatchConsole::progress(int doneNow, int totalNow)
{
    done = doneNow;
    total = totalNow;
    drawBar();
}

void TvBatchConsole::finish()
{
    clearBar();
    bar = false;
}

void TvBatchConsole::clearBar()
{
    if (!barShown)
        return;
    writeTo(stdout, QStringLiteral("\r\033[K"));
    barShown = false;
}

void TvBatchConsole::drawBar()
{
    if (!bar || total <= 0)
        return;
    const int filled = qBound(0, done * BarWidth / total, BarWidth);
    const QString text = QStringLiteral("\r[%1%2] %3/%4")
                             .arg(QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('.')))
                             .arg(done)
                             .arg(total);
    writeTo(stdout, text);
    barShown = true;
}

int TvBatchConsole::ask(const QString &question, const int buttons[3])
{
    QStringList names;
    for (int k = 0; k < 3; ++k) {
        if (buttons[k] != TvDialogSeam::NoButton)
            names.append(QStringLiteral("%1 %2").arg(buttons[k]).arg(buttonName(buttons[k])));
    }
    clearBar();
    writeTo(stdout, batchText("BATCH_ASK %1 %2").arg(question, names.join(QStringLiteral(", "))));
    QByteArray line;
    const bool read = readAnswerLine(&line);
    drawBar();
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    for (int k = 0; read && !answer.isEmpty() && k < 3; ++k) {
        const int code = buttons[k];
        if (code != TvDialogSeam::NoButton
            && (answer == QString::number(code) || buttonName(code).toLower().startsWith(answer.left(1))))
            return code;
    }
    return policyAnswer(buttons, false);
}

int TvBatchConsole::policyAnswer(const int buttons[3], bool yes)
{
    const QList<int> order = yes ? QList<int>{TvDialogSeam::Yes, TvDialogSeam::Ok, TvDialogSeam::Retry}
                                 : QList<int>{TvDialogSeam::No, TvDialogSeam::Cancel, TvDialogSeam::Abort,
                                              TvDialogSeam::Ignore, TvDialogSeam::Ok};
    for (const int code : order) {
        if (buttons[0] == code || buttons[1] == code || buttons[2] == code)
            return code;
    }
    return buttons[0];
}

QString TvBatchConsole::buttonName(int code)
{
    static const char *const keys[] = {"BATCH_BUTTON_NONE", "BATCH_BUTTON_OK",    "BATCH_BUTTON_CANCEL",
                                       "BATCH_BUTTON_YES",  "BATCH_BUTTON_NO",    "BATCH_BUTTON_ABORT",
                                       "BATCH_BUTTON_RETRY", "BATCH_BUTTON_IGNORE"};
    return batchText(code >= 0 && code < 8 ? keys[code] : keys[0]);
}
