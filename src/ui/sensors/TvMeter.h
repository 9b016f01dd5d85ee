#pragma once
#include <QString>
#include <QWidget>

struct SensorReading;
class QLabel;
class ToleranceKnob;
class TvReadout;

// A gauge for a voltage or a fan speed: a caption in two lines (type and
// label), a readout coloured by the tolerance band, a dial and, for scales
// counted in thousands or the like, a factor line ("x 1000"). The dial
// shows values divided by the factor. Texts are translated in the
// "TvMeter" context.
class TvMeter : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString LabelText READ labelText WRITE setLabelText)
public:
    // The gauge covers `rect` of its parent.
    TvMeter(QWidget *parent, const QRect &rect, const char *name);

    // Shows a reading; a reading that is not a number shows "not
    // available" and leaves the colour and the needle as they were.
    void setValue(const SensorReading &reading);
    void setLabelFontSize(int size);

    QString labelText() const;
    int factor() const { return scaleFactor; }
    ToleranceKnob *dial() const { return meter; }
    // Digits after the point in the readout (2 unless set).
    void setDecimals(int count) { decimals = count; }

public slots:
    // Returns the point size at which the text fits the label, without
    // applying it (the sensors tab gives all dials one size).
    int setLabelText(const QString &text);
    // Applies the fitted point size and returns it.
    int setTypeText(const QString &text);
    void setTolerance(const double lower, const double upper);
    void setStandardValue(const double value);
    void setRange(const double vmin, const double vmax, const double vstep);
    void setUnit(const char *unit);
    void setFontSize(const int size);
    void setMeterWidth(const int width);
    void setScaleMaxMajor(const int count);
    void setTickLengths(const int n);
    // A factor below 1 is ignored.
    void setFactor(const int factor);
    void hide();

private:
    void buildChildren(const QRect &rect);
    void applyRange();
    void colourReadout(double value);
    void showReadout(const QString &text);

    double minimum = 0.0;
    double maximum = 1.0;
    double step = 0.1;
    int scaleFactor = 1;
    int decimals = 2;
    double nominal = 0.0;
    double lastValue = 0.0;
    QString unit;

    QLabel *typeLabel = nullptr;
    QLabel *label = nullptr;
    TvReadout *output = nullptr;
    QLabel *factorLabel = nullptr;
    ToleranceKnob *meter = nullptr;
};
