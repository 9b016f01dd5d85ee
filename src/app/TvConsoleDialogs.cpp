#include "TvConsoleDialogs.h"

#include <cstdio>

int TvConsoleDialogs::messageBox(QWidget *, Icon, const QString &, const QString &text,
                                 const QList<ButtonSpec> &buttons)
{
    // The caption is the banner, the same on every box: the text alone
    // reads as the program's other error lines do.
    writeError(text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n'));
    return safeAnswer(buttons);
}

QString TvConsoleDialogs::saveFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return QString();
}

QString TvConsoleDialogs::openFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return QString();
}

int TvConsoleDialogs::execDialog(QDialog *)
{
    return 0;   // QDialog::Rejected
}

void TvConsoleDialogs::writeError(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fflush(stdout);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
