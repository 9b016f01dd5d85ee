#pragma once
#include <QWidget>

class QTimer;
class TvAdapterSession;
class TvAsk;

// The sensors tab: a gauge per sensor of the selected adapter, read at the
// configured poll interval while the tab is shown, except while a test
// runs. The gauges come with the sensor feature; the page keeps its timer
// in step with the tab and the adapter.
class TvSensorPage : public QWidget
{
    Q_OBJECT
public:
    TvSensorPage(TvAdapterSession *session, TvAsk *ask, QWidget *parent = nullptr);

    // Null when it could not be created (the window says so).
    QTimer *pollTimer() const { return timer; }

    // The tab was shown: read the sensors now and then at the poll interval.
    void startPolling();
    void stopPolling();

public slots:
    void setTestRunning(bool running) { testRunning = running; }
    void buildSensorTab();
    void destroySensorGauges();
    void sensorTimerExpired();

private:
    TvAdapterSession *session;
    TvAsk *ask;
    QTimer *timer = nullptr;
    bool testRunning = false;
};
