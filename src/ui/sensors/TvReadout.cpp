#include "TvReadout.h"

TvReadout::TvReadout(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("Output"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    // A box around the reading, not a column as high as its row.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TvReadout::showInside(bool inside)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, inside ? QColor(0, 255, 0) : QColor(255, 0, 0));
    setPalette(p);
}
