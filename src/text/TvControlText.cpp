#include "TvControlText.h"

namespace {

bool breaksLine(QChar c)
{
    const ushort u = c.unicode();
    return u == '\t' || u == '\n' || u == '\r' || u == 0x2028 || u == 0x2029;
}

bool isControl(QChar c)
{
    const ushort u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

bool reordersTerminal(QChar c)
{
    const ushort u = c.unicode();
    return u == 0x061c || (u >= 0x200b && u <= 0x200f) || (u >= 0x202a && u <= 0x202e)
           || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString TvControlText::line(const QString &text)
{
    return neutralised(text, false);
}

QString TvControlText::terminalLine(const QString &text)
{
    return neutralised(text, true);
}

bool TvControlText::isLine(const QString &text)
{
    for (const QChar c : text) {
        if (isControl(c) || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            return false;
    }
    return true;
}

QString TvControlText::neutralised(const QString &text, bool forTerminal)
{
    QString result = text;
    for (QChar &c : result) {
        if (breaksLine(c))
            c = QLatin1Char(' ');
        else if (isControl(c) || (forTerminal && reordersTerminal(c)))
            c = QLatin1Char('?');
    }
    return result;
}
