#include "TvPrintable.h"

#include "text/TvControlText.h"

QString TvPrintable::line(const QString &text)
{
    return TvControlText::terminalLine(text);
}
