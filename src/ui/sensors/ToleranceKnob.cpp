#include "ToleranceKnob.h"

#include <qwt_round_scale_draw.h>
#include <qwt_scale_div.h>

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double ScaleStart = 225.0; // the lower bound
constexpr double ScaleSweep = 270.0; // clockwise to the upper bound at -45
constexpr int ArcPenWidth = 6;
constexpr int NeedlePenWidth = 2;
constexpr int SixteenthsOfADegree = 16;
// Between the knob and its scale.
constexpr double ScaleDistance = 4.0;

int sixteenths(double degrees)
{
    return int(std::lround(degrees * SixteenthsOfADegree));
}

} // namespace

ToleranceKnob::ToleranceKnob(QWidget *parent) : QwtKnob(parent)
{
    // A gauge shows the sensor; it is not a control the user turns.
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    // The needle stands where the reading is, not at the nearest step.
    setStepAlignment(false);
}

void ToleranceKnob::setTolerance(double lowerPercent, double upperPercent)
{
    lower = lowerPercent;
    upper = upperPercent;
    faceValid = false;
    update();
}

void ToleranceKnob::setReference(double reference)
{
    referenceValue = reference;
    faceValid = false;
    update();
}

bool ToleranceKnob::angleOf(double value, double *angle) const
{
    const double min = lowerBound();
    const double max = upperBound();
    if (!std::isfinite(min) || !std::isfinite(max) || !std::isfinite(value) || max == min)
        return false;
    *angle = ScaleStart - (value - min) / (max - min) * ScaleSweep;
    return true;
}

bool ToleranceKnob::bandAngles(double *start, double *span) const
{
    if (referenceValue == 0.0)
        return false;
    const double min = std::min(lowerBound(), upperBound());
    const double max = std::max(lowerBound(), upperBound());
    // Only the part of the band that lies on the scale is drawn.
    const double low = std::max((1.0 - lower * 0.01) * referenceValue, min);
    const double high = std::min((1.0 + upper * 0.01) * referenceValue, max);
    double lowAngle = 0.0;
    double highAngle = 0.0;
    if (!(high > low) || !angleOf(low, &lowAngle) || !angleOf(high, &highAngle))
        return false;
    *start = lowAngle;
    *span = highAngle - lowAngle;
    return true;
}

QRectF ToleranceKnob::arcRect() const
{
    const double inset = borderWidth() + ArcPenWidth / 2.0;
    return QRectF(knobRect()).adjusted(inset, inset, -inset, -inset);
}

void ToleranceKnob::setTickLengths(double minor, double medium, double major)
{
    QwtRoundScaleDraw *scale = scaleDraw();
    scale->setTickLength(QwtScaleDiv::MinorTick, minor);
    scale->setTickLength(QwtScaleDiv::MediumTick, medium);
    scale->setTickLength(QwtScaleDiv::MajorTick, major);
    faceValid = false;
    update();
}

void ToleranceKnob::changeEvent(QEvent *event)
{
    // Palette, font, style and enabled state all show on the face.
    faceValid = false;
    QwtKnob::changeEvent(event);
}

void ToleranceKnob::resizeEvent(QResizeEvent *event)
{
    faceValid = false;
    QwtKnob::resizeEvent(event);
}

void ToleranceKnob::scaleChange()
{
    faceValid = false;
    QwtKnob::scaleChange();
}

void ToleranceKnob::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (!faceValid || faceKnobWidth != knobWidth() || face.devicePixelRatio() != ratio)
        paintFace(ratio);
    QPainter painter(this);
    painter.drawPixmap(0, 0, face);
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawMarker(&painter, knobRect(), 0.0);
}

void ToleranceKnob::paintFace(qreal ratio)
{
    face = QPixmap((QSizeF(size()) * ratio).toSize());
    face.setDevicePixelRatio(ratio);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    // A painter on a picture does not take the widget's font by itself.
    painter.setFont(font());
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF knob = knobRect();
    QwtRoundScaleDraw *scale = scaleDraw();
    scale->setRadius(0.5 * knob.width() + ScaleDistance);
    scale->moveCenter(knob.center());
    scale->draw(&painter, palette());
    drawKnob(&painter, knob);
    faceValid = true;
    faceKnobWidth = knobWidth();
}

void ToleranceKnob::drawKnob(QPainter *painter, const QRectF &knobRect) const
{
    QwtKnob::drawKnob(painter, knobRect);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    QPen pen(QColor(255, 0, 0), ArcPenWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter->setPen(pen);
    painter->drawArc(arcRect(), sixteenths(ScaleStart - ScaleSweep), sixteenths(ScaleSweep));
    double start = 0.0;
    double span = 0.0;
    if (bandAngles(&start, &span)) {
        pen.setColor(QColor(0, 255, 0));
        painter->setPen(pen);
        painter->drawArc(arcRect(), sixteenths(start), sixteenths(span));
    }
    painter->restore();
}

void ToleranceKnob::drawMarker(QPainter *painter, const QRectF &knobRect, double) const
{
    // The angle is taken from the value here, so that a scale without
    // extent shows no needle rather than one at a meaningless angle.
    double angle = 0.0;
    if (!angleOf(value(), &angle))
        return;
    const double radius = std::max(3.0, knobRect.width() / 2.0 - borderWidth());
    const double radians = angle * M_PI / 180.0;
    const QPointF direction(std::cos(radians), -std::sin(radians));
    const QPointF centre = knobRect.center();
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::ButtonText), NeedlePenWidth));
    painter->drawLine(centre + direction * (radius / 10.0), centre + direction * radius);
    painter->restore();
}
