#pragma once
#include <QString>
#include <QWidget>

class BulbThermo;
class QLabel;
class TvReadout;

// A gauge for a temperature: a caption, a thermometer with a bulb and a
// readout in degrees Celsius and Fahrenheit, green between the lower and
// the upper alarm level (both included) and red outside. Texts are
// translated in the "TvThermometer" context.
class TvThermometer : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString LabelText READ labelText WRITE setLabelText)
public:
    // The gauge covers `rect` of its parent.
    TvThermometer(QWidget *parent, const QRect &rect, const char *name);

    void setUnit(const char *unit);
    void setLabelFontSize(int size);

    QString labelText() const;
    double upperAlarmLevel() const { return upperAlarm; }
    double lowerAlarmLevel() const { return lowerAlarm; }
    BulbThermo *thermo() const { return thermometer; }

public slots:
    // Returns the point size at which the text fits the label, without
    // applying it.
    int setLabelText(const QString &text);
    // A temperature that is not a number shows "not available" and leaves
    // the colour and the thermometer as they were.
    void setValue(const double celsius);
    void setRange(const double lower, const double upper);
    void setAlarmLevel(const double level);
    void setLowerAlarmLevel(const double level);
    void setFontSize(const int size);
    void hide();

private:
    void buildChildren(const QRect &rect);

    double upperAlarm = 1000.0;
    double lowerAlarm = 0.0;
    QString unit;

    QLabel *label = nullptr;
    TvReadout *output = nullptr;
    BulbThermo *thermometer = nullptr;
};
