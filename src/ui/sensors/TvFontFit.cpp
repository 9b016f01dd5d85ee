#include "TvFontFit.h"

#include <QFontMetrics>
#include <QLabel>

int TvFontFit::fit(QLabel *label, const QString &text, const Limits &limits, bool apply)
{
    QFont font = label->font();
    const double maxWidth = limits.factor * label->width();
    const double maxHeight = limits.factor * label->height();
    int found = limits.noneFits;
    for (int size = limits.start; size >= limits.last; --size) {
        font.setPointSize(size);
        const QSize needed = QFontMetrics(font).size(Qt::TextSingleLine, text);
        if (needed.width() <= maxWidth && needed.height() <= maxHeight) {
            found = size;
            break;
        }
    }
    if (apply)
        label->setFont(font);
    return found;
}
