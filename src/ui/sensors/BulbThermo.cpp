#include "BulbThermo.h"

#include <qwt_scale_draw.h>
#include <qwt_scale_map.h>

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int PipeWidth = 6;
constexpr int BarWidth = 3;
constexpr int BarGap = 3;
constexpr int BulbRim = 2;
// Room below the pipe for the bulb, and between the scale and the pipe for
// the scale bar.
constexpr int BulbRoom = 12;
constexpr int ScaleSpacing = BarGap + BarWidth + 2;
constexpr int SixteenthsOfADegree = 16;

int bulbDiameter(int pipeWidth)
{
    return 2 * pipeWidth + 2 * BulbRim + 2;
}

} // namespace

BulbThermo::BulbThermo(QWidget *parent) : QwtThermo(parent)
{
    setPipeWidth(PipeWidth);
    // The bulb reaches past the pipe's border on both sides, and the pipe
    // stands at the right edge: room on the right keeps the bulb whole.
    const int overhang = (bulbDiameter(pipeWidth()) - pipeWidth()) / 2 - borderWidth();
    setContentsMargins(0, 0, std::max(overhang, 0), BulbRoom);
    setSpacing(ScaleSpacing);
}

QRect BulbThermo::bulbRect() const
{
    const QRect pipe = pipeRect();
    const int diameter = bulbDiameter(pipeWidth());
    QRect bulb(0, 0, diameter, diameter);
    // The bulb overlaps the pipe's lower end, so that the liquid runs on.
    bulb.moveCenter(QPoint(pipe.center().x(), pipe.bottom() + diameter / 2 - 1));
    return bulb;
}

QRect BulbThermo::barRect() const
{
    const QRect pipe = pipeRect();
    return QRect(pipe.left() - borderWidth() - BarGap - BarWidth, pipe.top(), BarWidth,
                 pipe.height());
}

bool BulbThermo::rowOf(double value, int *row) const
{
    const double min = lowerBound();
    const double max = upperBound();
    if (!std::isfinite(min) || !std::isfinite(max) || !std::isfinite(value) || max == min)
        return false;
    const QRect pipe = pipeRect();
    const double clamped = std::clamp(value, std::min(min, max), std::max(min, max));
    const double position = scaleDraw()->scaleMap().transform(clamped);
    if (!std::isfinite(position))
        return false;
    *row = std::clamp(int(std::lround(position)), pipe.top(), pipe.bottom());
    return true;
}

void BulbThermo::drawLiquid(QPainter *painter, const QRect &pipe) const
{
    painter->save();
    painter->setPen(Qt::NoPen);
    int valueRow = 0;
    if (rowOf(value(), &valueRow)) {
        painter->fillRect(QRect(QPoint(pipe.left(), valueRow), pipe.bottomRight()), fillBrush());
        int alarmRow = 0;
        if (alarmEnabled() && value() > alarmLevel() && rowOf(alarmLevel(), &alarmRow)
            && alarmRow > valueRow)
            painter->fillRect(QRect(pipe.left(), valueRow, pipe.width(), alarmRow - valueRow),
                              alarmBrush());
    }
    drawBar(painter, pipe);
    drawBulb(painter);
    painter->restore();
}

void BulbThermo::drawBar(QPainter *painter, const QRect &pipe) const
{
    const QRect bar = barRect();
    int alarmRow = pipe.top();
    if (!alarmEnabled() || !rowOf(alarmLevel(), &alarmRow))
        alarmRow = pipe.top();
    painter->fillRect(QRect(bar.left(), bar.top(), bar.width(), alarmRow - bar.top()),
                      alarmBrush());
    painter->fillRect(QRect(bar.left(), alarmRow, bar.width(), bar.bottom() + 1 - alarmRow),
                      fillBrush());
}

void BulbThermo::drawBulb(QPainter *painter) const
{
    const QRect bulb = bulbRect();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(fillBrush());
    painter->drawEllipse(bulb);
    painter->setBrush(Qt::NoBrush);
    // Light from the upper left, as on the pipe's shaded border.
    const QRect rim = bulb.adjusted(BulbRim / 2, BulbRim / 2, -BulbRim / 2, -BulbRim / 2);
    painter->setPen(QPen(palette().color(QPalette::Dark), BulbRim));
    painter->drawArc(rim, 45 * SixteenthsOfADegree, -180 * SixteenthsOfADegree);
    painter->setPen(QPen(palette().color(QPalette::Light), BulbRim));
    painter->drawArc(rim, 45 * SixteenthsOfADegree, 180 * SixteenthsOfADegree);
}
