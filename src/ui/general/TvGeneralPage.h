#pragma once
#include <QWidget>

class QLabel;
class QTimer;
class TvAdapterSession;

namespace Ui {
class TvGeneralPage;
}

// The general tab: the program's version, the network driver's name,
// version and date, and per port the link, speed, duplex mode and activity
// and the IP address. Reading them comes with the network status feature;
// while the tab is shown they are read again every second, except while a
// test runs.
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
    // The port B views show only for an adapter with two ports.
    void applyPortCount(bool dualPort);
    // The tab was shown: read the driver information now and every second.
    void startPolling();
    void stopPolling();
    void languageChange();

public slots:
    void setTestRunning(bool running) { testRunning = running; }
    void getNetworkDriverInfo();
    void getLinkInfo();
    void checkActivity(int port);
    void generalInfoTimerExpired();

private:
    QList<QWidget *> portBViews() const;
    void showLedsOff(const QList<QLabel *> &leds);

    Ui::TvGeneralPage *ui;
    TvAdapterSession *session;
    QTimer *timer = nullptr;
    bool testRunning = false;
};
