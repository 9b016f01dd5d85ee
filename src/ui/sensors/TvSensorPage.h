#pragma once
#include <QString>
#include <QVector>
#include <QWidget>

#include <cstdint>

class QTimer;
class TvAdapterSession;
class TvAsk;
class TvMeter;
class TvThermometer;
struct SensorInfo;
struct SensorReading;

// The sensors tab: a gauge per sensor of the selected adapter (a dial for
// voltages, the fan speed, currents and optical powers, a thermometer for
// temperatures), read at the
// configured poll interval while the tab is shown, except while a test
// runs. The first five gauges form a row; the others continue on a second
// row below it, and the page scrolls when they reach past its edge.
class TvSensorPage : public QWidget
{
    Q_OBJECT
public:
    // More sensors than this are not shown.
    static constexpr int MaxGauges = 20;
    // Current and the optical powers are a pluggable module's (laser bias,
    // transmit and receive power).
    enum SensorType { Voltage = 0, Temperature = 1, FanSpeed = 2, Current = 3, OpticalPower = 4, OpticalPowerDbm = 5 };

    TvSensorPage(TvAdapterSession *session, TvAsk *ask, QWidget *parent = nullptr);

    // Null when it could not be created (the window says so).
    QTimer *pollTimer() const { return timer; }

    // The tab was shown: read the sensors now and then at the poll interval.
    void startPolling();
    void stopPolling();

    // The gauge of sensor `index` (a TvMeter or a TvThermometer); null for
    // a sensor of an unknown type and past the last one. Builds the gauges
    // when the tab has not been shown yet.
    QWidget *gauge(int index);

    // One reading of each listed sensor (at most MaxGauges), in list order,
    // for a run's record; the gauges are left alone. Empty without sensors
    // or when the core gives no readings. Polls skip while a test runs, so
    // the record asks between two sub-tests, when the core is idle.
    struct Sample {
        QString name;
        int type = -1;
        double value = 0;
    };
    QVector<Sample> readSamples() const;

signals:
    // The adapter has sensors (the tab is enabled) or none (disabled).
    void sensorsAvailable(bool available);

public slots:
    void setTestRunning(bool running) { testRunning = running; }
    // Reads the selected adapter's sensor list and builds its gauges (once
    // the tab is shown or a gauge is asked for: the dials are the largest
    // part of building the window, and most starts never show them).
    void buildSensorTab();
    // No adapter: no gauges, and the sensor list of the adapter before is
    // forgotten (the core frees it when another adapter is selected).
    void destroySensorGauges();
    void sensorTimerExpired();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Gauge {
        int type = -1;
        QWidget *widget = nullptr;
    };

    void clearGauges();
    void buildPendingGauges();
    void buildGauges();
    QWidget *buildGauge(const SensorInfo &sensor, const QPoint &at, int *labelSize);
    TvMeter *buildVoltmeter(const SensorInfo &sensor, const QPoint &at, int *labelSize);
    TvMeter *buildFanMeter(const SensorInfo &sensor, const QPoint &at, int *labelSize);
    TvMeter *buildModuleMeter(const SensorInfo &sensor, const QPoint &at, int *labelSize);
    TvThermometer *buildThermometer(const SensorInfo &sensor, const QPoint &at, int *labelSize);
    void shareLabelSize(int smallestLabelSize);
    void showReading(const Gauge &gauge, const SensorReading &reading);

    TvAdapterSession *session;
    TvAsk *ask;
    QTimer *timer = nullptr;
    QWidget *gaugeArea = nullptr;
    bool testRunning = false;

    // As the core last listed them; owned by the core.
    SensorInfo *sensorList = nullptr;
    uint8_t sensorCount = 0;
    Gauge gauges[MaxGauges];
    // The list is read, its gauges are not built yet.
    bool gaugesPending = false;
};
