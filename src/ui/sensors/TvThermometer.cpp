#include "TvThermometer.h"
#include "BulbThermo.h"
#include "TvFontFit.h"
#include "TvGaugeFrame.h"
#include "TvReadout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int UnitLength = 19;
constexpr int ReadoutPointSize = 12;
constexpr int ScalePointSize = 8;
const TvFontFit::Limits LabelFit{12, 5, 0.98, 4};

} // namespace

TvThermometer::TvThermometer(QWidget *parent, const QRect &rect, const char *name)
    : QWidget(parent)
{
    setObjectName(QLatin1String(name));
    buildChildren(rect);
    setFontSize(ScalePointSize);
}

void TvThermometer::buildChildren(const QRect &rect)
{
    QVBoxLayout *column = TvGaugeFrame::build(this, rect, 6);
    QWidget *inner = column->parentWidget();
    label = TvGaugeFrame::caption(inner, "Label");
    column->addWidget(label);

    auto *valueAndThermo = new QHBoxLayout;
    valueAndThermo->setObjectName(QStringLiteral("LayoutSensor_ValTherm"));
    thermometer = new BulbThermo(inner);
    thermometer->setObjectName(QStringLiteral("Thermo"));
    thermometer->setMinimumSize(60, 130);
    thermometer->setScale(0.0, 100.0);
    thermometer->setFillBrush(QColor(0, 255, 0));
    thermometer->setAlarmBrush(QColor(255, 0, 0));
    thermometer->setAlarmLevel(70.0);
    thermometer->setAlarmEnabled(true);
    valueAndThermo->addWidget(thermometer);

    output = new TvReadout(inner);
    valueAndThermo->addLayout(TvGaugeFrame::centredRow("LayoutSensor_Value", output));
    column->addLayout(valueAndThermo);
    // The caption is fitted to the size the layout gives it.
    column->activate();
}

QString TvThermometer::labelText() const
{
    return label->text();
}

int TvThermometer::setLabelText(const QString &text)
{
    label->setText(text);
    return TvFontFit::fit(label, text, LabelFit, false);
}

void TvThermometer::setLabelFontSize(int size)
{
    TvGaugeFrame::setPointSize(label, size);
}

void TvThermometer::setUnit(const char *text)
{
    unit = QString::fromUtf8(text ? text : "").left(UnitLength);
}

void TvThermometer::setValue(const double celsius)
{
    QFont font = output->font();
    font.setPointSize(ReadoutPointSize);
    font.setWeight(QFont::Bold);
    output->setFont(font);
    if (!std::isfinite(celsius)) {
        output->setText(tr("NOT_AVAILABLE"));
        return;
    }
    output->showInside(!(celsius > upperAlarm || celsius < lowerAlarm));
    const double fahrenheit = celsius * 1.8 + 32.0;
    output->setText(tr("TEMPERATURE_OUTPUT %1 %2")
                        .arg(QStringLiteral("%1").arg(celsius, 6, 'f', 2),
                             QStringLiteral("%1").arg(fahrenheit, 6, 'f', 2)));
    thermometer->setValue(celsius);
}

void TvThermometer::setRange(const double lower, const double upper)
{
    // A scale over an infinite or undefined range cannot be divided; the
    // thermometer keeps the range it had.
    if (std::isfinite(lower) && std::isfinite(upper))
        thermometer->setScale(lower, upper);
}

void TvThermometer::setAlarmLevel(const double level)
{
    upperAlarm = level;
    thermometer->setAlarmLevel(level);
}

void TvThermometer::setLowerAlarmLevel(const double level)
{
    lowerAlarm = level;
}

void TvThermometer::setFontSize(const int size)
{
    TvGaugeFrame::setPointSize(thermometer, size);
}

void TvThermometer::hide()
{
    TvGaugeFrame::hideAll(this);
}
