#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class TvAdapterSession;
class TvAsk;
class TvLinkWait;
class TvLogBook;
class TvTestPage;
class TvTestRun;

// The connectivity test (the test list's entry 9998): waits for the
// adapter's link, asks for the remote host's address and queues the ping
// job on the worker thread, which sends eight echo requests from the
// adapter's address. The test engine (TvTestRun) shows the progress and the
// result. GUI thread only.
class TvConnectivityTest : public QObject
{
    Q_OBJECT
public:
    // ping(source, destination, timeout ms, explanation): the echo time in
    // ms or a negative failure code; why no socket could be opened goes to
    // *explanation. Called on the worker thread.
    using PingRoutine = std::function<int(const QString &, const QString &, int, QString *)>;

    TvConnectivityTest(TvTestPage *page, TvTestRun *run, TvAdapterSession *session,
                       TvLogBook *log, TvAsk *ask, QObject *parent = nullptr);

    // The test engine's start of the entry's row. False when the test ends
    // here; true when the ping job is queued, or will be once the link is
    // up, or when the user cancelled the address dialog (startCancelled()
    // has ended it then, as a cancelled test). A test that ends while
    // waiting for the link emits notStarted(), or startCancelled() when the
    // user cancelled it.
    bool runConnectivityTest(int row);

    // TvPing::ping unless a test replaces it.
    void setPingRoutine(PingRoutine routine) { ping = std::move(routine); }
    QString rememberedRemote() const { return remote; }

public slots:
    // The menu action and the adapter tab's button: the connectivity entry
    // of the test list becomes current and starts.
    void connectivityTestSlot();

signals:
    void notStarted();
    void startCancelled();
    // The link is up: the test tab is to be shown.
    void testPageWanted();

private:
    enum class Start { Queued, NotStarted, Cancelled };

    void linkWaitEnded(int outcome);
    Start continueWithLinkUp();
    bool readAdapterAddress();
    bool sameAdapterAsBefore() const;
    QString adapterIdentity() const;
    // Empty when there is no dialog; *cancelled when the user closed it.
    QString askRemoteAddress(bool *cancelled);
    void queuePingJob();
    void tell(const char *key);

    TvTestPage *page;
    TvTestRun *run;
    TvAdapterSession *session;
    TvLogBook *log;
    TvAsk *ask;
    TvLinkWait *linkWait;
    PingRoutine ping;
    int jobRow = -1;

    // The adapter's address and mask as last read, and the remote address
    // entered last with the adapter and address it was entered for.
    QStringList address;
    QStringList mask;
    QString remote;
    QString remoteFrom;
    QString remoteAdapter;
};
