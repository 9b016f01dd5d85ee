#include "TvSensorPage.h"

#include "description/CAdapterInfo.h"

#include <QTimer>

#include <new>

TvSensorPage::TvSensorPage(TvAdapterSession *session, TvAsk *ask, QWidget *parent)
    : QWidget(parent), session(session), ask(ask)
{
    setObjectName(QStringLiteral("SensorTab"));
    timer = new (std::nothrow) QTimer(this);
    if (timer)
        connect(timer, &QTimer::timeout, this, &TvSensorPage::sensorTimerExpired);
}

void TvSensorPage::startPolling()
{
    sensorTimerExpired();
    // A poll interval of 0 would spin; such a configuration only reads once.
    const int interval = CAdapterInfo::instance().poll_interval;
    if (timer && interval > 0)
        timer->start(interval);
}

void TvSensorPage::stopPolling()
{
    if (timer)
        timer->stop();
}

// The gauges and their readings come with the sensor feature; the core is
// not polled while a test runs (testRunning).
void TvSensorPage::buildSensorTab() {}
void TvSensorPage::destroySensorGauges() {}
void TvSensorPage::sensorTimerExpired() {}
