#pragma once
#include <qwt_thermo.h>

// The thermometer of a TvThermometer: a QwtThermo with a bulb below its
// pipe and a narrow scale bar beside the pipe that shows where the alarm
// range begins. The liquid is drawn in the fill colour and, above an
// enabled alarm level, in the alarm colour.
class BulbThermo : public QwtThermo
{
    Q_OBJECT
public:
    explicit BulbThermo(QWidget *parent = nullptr);

    // Pipe (without its border), bulb and scale bar in widget coordinates.
    QRect pipeArea() const { return pipeRect(); }
    QRect bulbRect() const;
    QRect barRect() const;
    // The pipe's row of a value, kept within the pipe; false when the
    // scale has no extent (its bounds are equal or not numbers).
    bool rowOf(double value, int *row) const;

protected:
    void drawLiquid(QPainter *painter, const QRect &pipeRect) const override;

private:
    void drawBulb(QPainter *painter) const;
    void drawBar(QPainter *painter, const QRect &pipe) const;
};
