#include "TvMeter.h"
#include "TvFontFit.h"
#include "TvGaugeFrame.h"
#include "TvReadout.h"
#include "ToleranceKnob.h"

#include <probekit.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int UnitLength = 19;
// The number of steps the dial takes when its step cannot say.
constexpr int DefaultSteps = 100;
constexpr int MaxSteps = 1000000;
constexpr int DialPointSize = 7;
// The captions and the readout are at least this large; their fonts are
// fitted to the sizes they get.
constexpr int CaptionHeight = 18;
constexpr QSize ReadoutSize(80, 20);

const TvFontFit::Limits LabelFit{14, 4, 0.8, 3};
const TvFontFit::Limits TypeFit{12, 4, 0.98, 3};
const TvFontFit::Limits ReadoutFit{18, 5, 0.9, 5};

} // namespace

TvMeter::TvMeter(QWidget *parent, const QRect &rect, const char *name) : QWidget(parent)
{
    setObjectName(QLatin1String(name));
    buildChildren(rect);
    // Small enough for the scale labels of a dial 100 pixels wide.
    setFontSize(DialPointSize);
    setMeterWidth(40);
    setScaleMaxMajor(10);
    setTickLengths(2);
    applyRange();
}

void TvMeter::buildChildren(const QRect &rect)
{
    QVBoxLayout *column = TvGaugeFrame::build(this, rect, 0);
    QWidget *inner = column->parentWidget();
    typeLabel = TvGaugeFrame::caption(inner, "TypeLabel");
    label = TvGaugeFrame::caption(inner, "Label");
    typeLabel->setMinimumHeight(CaptionHeight);
    label->setMinimumHeight(CaptionHeight);
    column->addWidget(typeLabel);
    column->addWidget(label);
    output = new TvReadout(inner);
    output->setMinimumSize(ReadoutSize);
    column->addLayout(TvGaugeFrame::centredRow("LayoutSensor_Value", output));
    meter = new ToleranceKnob(inner);
    meter->setObjectName(QStringLiteral("Meter"));
    meter->setMinimumSize(85, 78);
    column->addWidget(meter);
    factorLabel = new QLabel(inner);
    QHBoxLayout *factorRow = TvGaugeFrame::centredRow("LayoutSensor_Factor", factorLabel);
    auto *factorColumn = new QVBoxLayout;
    factorColumn->setObjectName(QStringLiteral("LayoutSensor_FactorV"));
    factorColumn->addItem(new QSpacerItem(5, 20, QSizePolicy::Minimum, QSizePolicy::Minimum));
    factorRow->addLayout(factorColumn);
    column->addLayout(factorRow);
    // The captions are fitted to the sizes the layout gives them.
    column->activate();
}

QString TvMeter::labelText() const
{
    return label->text();
}

int TvMeter::setLabelText(const QString &text)
{
    label->setText(text);
    return TvFontFit::fit(label, text, LabelFit, false);
}

int TvMeter::setTypeText(const QString &text)
{
    typeLabel->setText(text);
    return TvFontFit::fit(typeLabel, text, TypeFit, true);
}

void TvMeter::setLabelFontSize(int size)
{
    TvGaugeFrame::setPointSize(label, size);
}

void TvMeter::setTolerance(const double lower, const double upper)
{
    meter->setTolerance(lower, upper);
}

void TvMeter::setStandardValue(const double value)
{
    nominal = value;
    meter->setReference(nominal / scaleFactor);
}

void TvMeter::setRange(const double vmin, const double vmax, const double vstep)
{
    minimum = vmin;
    maximum = vmax;
    step = vstep;
    applyRange();
}

void TvMeter::applyRange()
{
    const double low = minimum / scaleFactor;
    const double high = maximum / scaleFactor;
    // A scale over an infinite or undefined range cannot be divided; the
    // dial keeps the range it had.
    if (!std::isfinite(low) || !std::isfinite(high))
        return;
    meter->setScale(low, high);
    const double stepOnDial = step / scaleFactor;
    const double steps = std::isfinite(stepOnDial) && stepOnDial > 0.0
                             ? std::fabs(high - low) / stepOnDial
                             : 0.0;
    meter->setTotalSteps(steps >= 1.0 ? uint(std::min(std::lround(steps), long(MaxSteps)))
                                      : uint(DefaultSteps));
    meter->setPageSteps(1);
}

void TvMeter::setUnit(const char *text)
{
    unit = QString::fromUtf8(text ? text : "").left(UnitLength);
}

void TvMeter::setFontSize(const int size)
{
    TvGaugeFrame::setPointSize(meter, size);
}

void TvMeter::setMeterWidth(const int width)
{
    meter->setKnobWidth(width);
}

void TvMeter::setScaleMaxMajor(const int count)
{
    meter->setScaleMaxMajor(count);
}

void TvMeter::setTickLengths(const int n)
{
    meter->setTickLengths(0, n, 0);
}

void TvMeter::setFactor(const int factor)
{
    if (factor > 0)
        scaleFactor = factor;
    factorLabel->setText(scaleFactor > 1 ? QString::asprintf("x %d", scaleFactor) : QString());
    applyRange();
    meter->setValue(lastValue / scaleFactor);
    meter->setReference(nominal / scaleFactor);
}

void TvMeter::hide()
{
    TvGaugeFrame::hideAll(this);
}

void TvMeter::setValue(const SensorReading &reading)
{
    const double value = reading.value;
    if (!std::isfinite(value)) {
        showReadout(tr("NOT_AVAILABLE"));
        return;
    }
    if (reading.toleranceCheck != 0)
        colourReadout(value);
    const QString number = QStringLiteral("%1").arg(value, 4, 'f', decimals);
    showReadout(tr("%1 %2").arg(number, tr(unit.toUtf8().constData())));
    lastValue = value;
    meter->setValue(value / scaleFactor);
}

void TvMeter::colourReadout(double value)
{
    // A tolerance in per cent of a nominal value of 0 is no tolerance at
    // all; such a reading is not judged.
    if (nominal == 0.0)
        return;
    const double low = nominal * (1.0 - meter->lowerTolerance() / 100.0);
    const double high = nominal * (1.0 + meter->upperTolerance() / 100.0);
    if (!std::isfinite(low) || !std::isfinite(high))
        return;
    output->showInside(!(value <= low || value >= high));
}

void TvMeter::showReadout(const QString &text)
{
    TvFontFit::fit(output, text, ReadoutFit, true);
    output->setText(text);
}
