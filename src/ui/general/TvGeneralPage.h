#pragma once
#include <QWidget>

#include <cstdint>

class QLabel;
class QTimer;
class TvAdapterSession;
class TvDriverSession;

namespace Ui {
class TvGeneralPage;
}

// The general tab: the program's version, the network driver's name,
// version and date, and per port the link, speed, duplex mode and activity
// and the IP address, all as the adapter's network driver reports them
// through the core. While the tab is shown they are read again every
// second, except while a test runs.
class TvGeneralPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RefreshIntervalMs = 1000;

    explicit TvGeneralPage(TvAdapterSession *session, QWidget *parent = nullptr);
    ~TvGeneralPage() override;

    // Null when it could not be created (the window says so).
    QTimer *infoTimer() const { return timer; }

    // No adapter: every value "not available".
    void reset();
    // The port B views show only for an adapter with two ports, and only
    // such an adapter's port B is asked for.
    void applyPortCount(bool dualPort);
    // The tab was shown: read the driver information now (unless a test
    // runs) and every second.
    void startPolling();
    void stopPolling();
    void languageChange();

public slots:
    void setTestRunning(bool running) { testRunning = running; }
    // Name, description, version and date of the driver; "not available"
    // for what it does not tell.
    void getNetworkDriverInfo();
    // Per port the link and activity LEDs, duplex mode and speed.
    void getLinkInfo();
    // Whether the port's frame counters moved since the last look; the
    // first look after start never tells activity.
    bool checkActivity(int port);
    void generalInfoTimerExpired();

private:
    QList<QWidget *> portBViews() const;
    void showLedsOff(const QList<QLabel *> &leds);
    void showSpeeds(const TvDriverSession &driver, const bool up[2]);
    void showPortCodes(const TvDriverSession &driver, uint32_t oid, const bool up[2],
                       const QList<QLabel *> &fields, const char *(*key)(uchar));

    Ui::TvGeneralPage *ui;
    TvAdapterSession *session;
    QTimer *timer = nullptr;
    bool testRunning = false;
    bool twoPorts = false;
    // The last sum of each port's frame counters; kept across adapters.
    quint64 counterSums[2] = {0, 0};
};
