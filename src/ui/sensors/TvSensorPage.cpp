#include "TvSensorPage.h"
#include "TvMeter.h"
#include "TvThermometer.h"

#include "ui/TvAsk.h"
#include "ui/TvContextText.h"

#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"

#include <probekit.h>

#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

constexpr int FirstX = 3;
constexpr int FirstY = 6;
constexpr int SecondRowStart = 5; // the sixth gauge begins the second row
constexpr int RowStep = 175;
constexpr int Gap = 2;
constexpr QSize MeterSize(100, 170);
constexpr QSize ThermometerSize(200, 170);
constexpr int ThermometerLabelSize = 10;
// Larger than any size the label fitting returns.
constexpr int NoLabelSizeYet = 100;

QString sensorName(const SensorInfo &sensor)
{
    return sensor.name ? QString::fromUtf8(sensor.name) : QString();
}

QByteArray textOf(const char *key)
{
    return msg(key).toUtf8();
}

// The dial's band is the tolerance in per cent of the nominal value; a
// nominal value of 0 (or none at all) gives no band, and no division by it.
void applyTolerance(TvMeter *meter, const SensorInfo &sensor)
{
    const double nominal = sensor.nominal;
    if (nominal == 0.0 || !std::isfinite(nominal))
        return;
    meter->setTolerance((nominal - sensor.lowerAlarm) * 100.0 / nominal,
                        (sensor.upperAlarm - nominal) * 100.0 / nominal);
}

} // namespace

TvSensorPage::TvSensorPage(TvAdapterSession *session, TvAsk *ask, QWidget *parent)
    : QWidget(parent), session(session), ask(ask)
{
    setObjectName(QStringLiteral("SensorTab"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    gaugeArea = new QWidget;
    gaugeArea->setObjectName(QStringLiteral("SensorGauges"));
    scroll->setWidget(gaugeArea);
    layout->addWidget(scroll);

    timer = new (std::nothrow) QTimer(this);
    if (timer)
        connect(timer, &QTimer::timeout, this, &TvSensorPage::sensorTimerExpired);
}

void TvSensorPage::startPolling()
{
    // A poll interval of 0 would spin; such a configuration only reads once.
    const int interval = CAdapterInfo::instance().poll_interval;
    if (timer && interval > 0)
        timer->start(interval);
    // Read now; a read that stops the polling has the last word.
    sensorTimerExpired();
}

void TvSensorPage::stopPolling()
{
    if (timer)
        timer->stop();
}

QWidget *TvSensorPage::gauge(int index)
{
    buildPendingGauges();
    return index >= 0 && index < MaxGauges ? gauges[index].widget : nullptr;
}

void TvSensorPage::destroySensorGauges()
{
    sensorList = nullptr;
    sensorCount = 0;
    clearGauges();
}

void TvSensorPage::clearGauges()
{
    gaugesPending = false;
    for (Gauge &g : gauges) {
        delete g.widget;
        g = Gauge();
    }
    gaugeArea->resize(0, 0);
}

void TvSensorPage::buildSensorTab()
{
    SensorInfo *list = nullptr;
    uint8_t count = 0;
    const int status = SensorGetList(&list, &count);
    if (status != 0) {
        ask->untitled(TvAsk::OverOwner, TvDialogSeam::Critical, TvStatusCodes::statusText(status),
                      {{TvDialogSeam::Cancel, msg("CANCEL_TEXT")}});
        return;
    }
    if (!list) {
        ask->untitled(TvAsk::Alone, TvDialogSeam::Critical, msg("SENSOR_LIST_FAILED"),
                      {{TvDialogSeam::Ok, QString()}});
        return;
    }
    sensorList = list;
    sensorCount = count;
    clearGauges();
    if (count == 0) {
        stopPolling();
        emit sensorsAvailable(false);
        return;
    }
    emit sensorsAvailable(true);
    gaugesPending = true;
    if (isVisible())
        buildPendingGauges();
}

void TvSensorPage::showEvent(QShowEvent *event)
{
    buildPendingGauges();
    QWidget::showEvent(event);
}

void TvSensorPage::buildPendingGauges()
{
    if (!gaugesPending)
        return;
    gaugesPending = false;
    buildGauges();
}

void TvSensorPage::buildGauges()
{
    QPoint at(FirstX, FirstY);
    int smallestLabelSize = NoLabelSizeYet;
    QRect covered;
    const int shown = std::min(int(sensorCount), MaxGauges);
    for (int i = 0; i < shown; ++i) {
        const SensorInfo &sensor = sensorList[i];
        gauges[i].type = sensor.type;
        if (i == SecondRowStart)
            at = QPoint(FirstX, at.y() + RowStep);
        int labelSize = NoLabelSizeYet;
        QWidget *g = buildGauge(sensor, at, &labelSize);
        gauges[i].widget = g;
        if (!g)
            continue;
        smallestLabelSize = std::min(smallestLabelSize, labelSize);
        at.rx() += g->width() + Gap;
        covered |= g->geometry();
        g->show();
    }
    shareLabelSize(smallestLabelSize);
    gaugeArea->resize(covered.right() + 1 + FirstX, covered.bottom() + 1 + FirstY);
}

QWidget *TvSensorPage::buildGauge(const SensorInfo &sensor, const QPoint &at, int *labelSize)
{
    switch (sensor.type) {
    case Voltage:
        return buildVoltmeter(sensor, at, labelSize);
    case Temperature:
        return buildThermometer(sensor, at, labelSize);
    case FanSpeed:
        return buildFanMeter(sensor, at, labelSize);
    case Current:
    case OpticalPower:
    case OpticalPowerDbm:
        return buildModuleMeter(sensor, at, labelSize);
    default:
        return nullptr;
    }
}

TvMeter *TvSensorPage::buildVoltmeter(const SensorInfo &sensor, const QPoint &at, int *labelSize)
{
    auto *meter = new TvMeter(gaugeArea, QRect(at, MeterSize), "Voltmeter");
    *labelSize = meter->setLabelText(sensorName(sensor).remove(QStringLiteral("Voltage ")));
    meter->setStandardValue(sensor.nominal);
    meter->setTypeText(msg("VOLTAGE"));
    applyTolerance(meter, sensor);
    meter->setUnit(textOf("VOLTAGE_UNIT").constData());
    meter->setRange(sensor.minimum, sensor.maximum, sensor.maximum * 0.05);
    return meter;
}

TvMeter *TvSensorPage::buildFanMeter(const SensorInfo &sensor, const QPoint &at, int *labelSize)
{
    auto *meter = new TvMeter(gaugeArea, QRect(at, MeterSize), "FAN");
    // Two words make the two lines of the caption; otherwise the whole text
    // is the first line.
    const QString text = msg("FAN_SPEED");
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const bool twoWords = words.size() == 2;
    meter->setTypeText(twoWords ? words.at(0) : text);
    *labelSize = meter->setLabelText(twoWords ? words.at(1) : QStringLiteral("   "));
    meter->setStandardValue(sensor.nominal);
    applyTolerance(meter, sensor);
    meter->setUnit(textOf("FAN_SPEED_UNIT").constData());
    meter->setRange(sensor.minimum, sensor.maximum, sensor.maximum * 0.05);
    meter->setFactor(1000);
    meter->setScaleMaxMajor(5);
    meter->setTickLengths(2);
    return meter;
}

// A module's dial: its scale ends at the alarm thresholds, which may lie
// below zero (dBm), and its readout has the digits a module reports.
TvMeter *TvSensorPage::buildModuleMeter(const SensorInfo &sensor, const QPoint &at, int *labelSize)
{
    static const struct {
        int type;
        const char *caption, *unit;
        int decimals;
    } kinds[] = {{Current, "CURRENT", "CURRENT_UNIT", 3},
                 {OpticalPower, "OPTICAL_POWER", "OPTICAL_POWER_UNIT", 4},
                 {OpticalPowerDbm, "OPTICAL_POWER", "POWER_DBM_UNIT", 2}};
    const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                   [&sensor](const auto &k) { return k.type == sensor.type; });
    auto *meter = new TvMeter(gaugeArea, QRect(at, MeterSize), "ModuleMeter");
    *labelSize = meter->setLabelText(sensorName(sensor));
    meter->setStandardValue(sensor.nominal);
    meter->setTypeText(msg(kind->caption));
    applyTolerance(meter, sensor);
    meter->setUnit(textOf(kind->unit).constData());
    meter->setDecimals(kind->decimals);
    meter->setRange(sensor.minimum, sensor.maximum, (sensor.maximum - sensor.minimum) * 0.05);
    return meter;
}

TvThermometer *TvSensorPage::buildThermometer(const SensorInfo &sensor, const QPoint &at,
                                              int *labelSize)
{
    auto *thermometer = new TvThermometer(gaugeArea, QRect(at, ThermometerSize), "Thermometer");
    *labelSize = thermometer->setLabelText(msg("TEMPERATURE"));
    thermometer->setAlarmLevel(sensor.upperAlarm);
    thermometer->setLowerAlarmLevel(sensor.lowerAlarm);
    thermometer->setUnit(textOf("TEMPERATURE_UNIT").constData());
    thermometer->setRange(sensor.minimum, sensor.maximum);
    return thermometer;
}

void TvSensorPage::shareLabelSize(int smallestLabelSize)
{
    for (const Gauge &g : gauges) {
        if (auto *meter = qobject_cast<TvMeter *>(g.widget))
            meter->setLabelFontSize(smallestLabelSize);
        else if (auto *thermometer = qobject_cast<TvThermometer *>(g.widget))
            thermometer->setLabelFontSize(ThermometerLabelSize);
    }
}

void TvSensorPage::sensorTimerExpired()
{
    if (testRunning)
        return;
    SensorReading *readings = nullptr;
    uint8_t count = 0;
    if (SensorReadValues(&readings, &count) != 0 || count == 0 || !readings)
        return;
    if (!sensorList) {
        // Stopped first: the timer must not poll again while the box is open.
        stopPolling();
        ask->untitled(TvAsk::Alone, TvDialogSeam::Critical, msg("SENSOR_NOT_FOUND"),
                      {{TvDialogSeam::Ok, QString()}});
        return;
    }
    buildPendingGauges();
    // A reading past the end of the list has no sensor it belongs to.
    const int shown = std::min({int(count), int(sensorCount), MaxGauges});
    for (int i = 0; i < shown; ++i) {
        gauges[i].type = sensorList[i].type;
        showReading(gauges[i], readings[i]);
    }
}

QVector<TvSensorPage::Sample> TvSensorPage::readSamples() const
{
    QVector<Sample> samples;
    SensorReading *readings = nullptr;
    uint8_t count = 0;
    if (!sensorList || sensorCount == 0 || SensorReadValues(&readings, &count) != 0 || !readings)
        return samples;
    const int shown = std::min({int(count), int(sensorCount), MaxGauges});
    for (int i = 0; i < shown; ++i)
        samples.append({sensorName(sensorList[i]), sensorList[i].type, readings[i].value});
    return samples;
}

void TvSensorPage::showReading(const Gauge &gauge, const SensorReading &reading)
{
    if (gauge.type != Temperature) {
        if (auto *meter = qobject_cast<TvMeter *>(gauge.widget))
            meter->setValue(reading);
    } else {
        if (auto *thermometer = qobject_cast<TvThermometer *>(gauge.widget))
            thermometer->setValue(reading.value);
    }
}
