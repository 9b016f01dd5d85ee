#include "TvPrintable.h"

QString TvPrintable::line(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const QChar::Category category = c.category();
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')
            || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
        else if (category == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    return result;
}
