#pragma once
#include <qwt_knob.h>

#include <QPixmap>

// The dial of a TvMeter: a knob whose face shows the whole scale as a red
// arc, the tolerance band around the reference value as a green arc on top
// of it, and the current value as a needle. Angles are in degrees,
// counter-clockwise from three o'clock; the scale runs clockwise over 270
// degrees from 225 at its lower bound to -45 at its upper bound.
class ToleranceKnob : public QwtKnob
{
    Q_OBJECT
public:
    explicit ToleranceKnob(QWidget *parent = nullptr);

    // Both in per cent of the reference value.
    void setTolerance(double lower, double upper);
    void setReference(double reference);
    double lowerTolerance() const { return lower; }
    double upperTolerance() const { return upper; }
    double reference() const { return referenceValue; }

    // Where a value lies on the scale; false when the scale has no extent
    // (its bounds are equal or not numbers), so there is no position.
    bool angleOf(double value, double *angle) const;
    // Start and span of the green band; false when there is no band to
    // draw: no position on the scale, a reference of 0, or a band that lies
    // wholly outside the scale.
    bool bandAngles(double *start, double *span) const;
    // The rectangle whose ellipse carries the red and green arcs.
    QRectF arcRect() const;
    // The scale's three tick lengths, in the scale's own order.
    void setTickLengths(double minor, double medium, double major);

protected:
    // Everything but the needle is drawn once into a picture of the face,
    // which is drawn again only when something other than the value
    // changes: a poll moves just the needle.
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scaleChange() override;
    void drawKnob(QPainter *painter, const QRectF &knobRect) const override;
    void drawMarker(QPainter *painter, const QRectF &knobRect, double qwtAngle) const override;

private:
    void paintFace(qreal ratio);

    double lower = 0.0;
    double upper = 0.0;
    double referenceValue = 0.0;
    QPixmap face;
    bool faceValid = false;
    int faceKnobWidth = 0;
};
