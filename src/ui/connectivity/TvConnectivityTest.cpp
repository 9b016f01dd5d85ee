#include "TvConnectivityTest.h"

#include "ConTestDlgImpl.h"
#include "IPValidator.h"
#include "TvLinkWait.h"
#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"
#include "ui/log/TvLogBook.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestRun.h"

#include "engine/TestJob.h"
#include "engine/TvWorkerThread.h"
#include "net/TvPing.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvCoreEvent.h"

#include <probekit.h>

#include <QCheckBox>
#include <QDialog>

#include <iterator>
#include <memory>
#include <new>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

// The log line of a ping's result, by failure code (-1 to -9).
const char *pingFailureKey(int result)
{
    static const char *const keys[] = {
        "PING_NO_ADDRESS %1 %2",      "PING_NO_SOCKET %1 %2",     "PING_NO_SOCKET %1 %2",
        "PING_TIMEOUT_NOT_SET %1 %2", "PING_NOT_RESOLVED %1 %2",  "PING_BIND_FAILED %1 %2",
        "PING_SEND_FAILED %1 %2",     "PING_NO_REPLY %1 %2",      "PING_SEND_FAILED %1 %2",
    };
    const int index = -result - 1;
    return index >= 0 && index < int(std::size(keys)) ? keys[index] : "PING_SEND_FAILED %1 %2";
}

// Worker thread: the texts reach the log through the window's event
// channel, ahead of the progress and the question that follow them.
void postLogText(const QString &text)
{
    auto *event = new TvCoreEvent(TvCoreEvent::LogText);
    event->text = text;
    TvCoreCallbacks::post(event);
}

// A failed ping's log lines and the text of its box: not allowed to ping
// (and how an administrator allows it), no way to the host (with the
// system's reason), no answer in time; other failures show their log line.
QString reportFailure(int result, const QString &source, const QString &destination,
                      int timeoutMs, const QString &explanation)
{
    switch (result) {
    case TvPing::SocketFailed:
        postLogText(msg(pingFailureKey(result)).arg(source, destination));
        postLogText(explanation);
        return explanation;
    case TvPing::SendFailed: {
        postLogText(msg("PING_NOT_SENT %1 %2 %3").arg(source, destination, explanation));
        return msg("PING_BOX_NOT_SENT %1 %2").arg(destination, explanation);
    }
    case TvPing::ReceiveFailed:
        postLogText(msg(pingFailureKey(result)).arg(source, destination));
        return msg("PING_BOX_NO_REPLY %1 %2").arg(destination).arg(timeoutMs);
    default: {
        const QString line = msg(pingFailureKey(result)).arg(source, destination);
        postLogText(line);
        if (!explanation.isEmpty())
            postLogText(explanation);
        return line;
    }
    }
}

TvWorkerThread::PingFunction reportingPing(TvConnectivityTest::PingRoutine ping)
{
    return [ping](const QString &source, const QString &destination, int timeoutMs,
                  QString *failureText) {
        QString explanation;
        const int result = ping(source, destination, timeoutMs, &explanation);
        if (result >= 0)
            postLogText(msg("PING_REPLY %1 %2 %3").arg(source, destination).arg(result));
        else
            *failureText = reportFailure(result, source, destination, timeoutMs, explanation);
        return result;
    };
}

} // namespace

TvConnectivityTest::TvConnectivityTest(TvTestPage *page, TvTestRun *run, TvAdapterSession *session,
                                       TvLogBook *log, TvAsk *ask, QObject *parent)
    : QObject(parent), page(page), run(run), session(session), log(log), ask(ask),
      linkWait(new TvLinkWait(this)), ping(&TvPing::ping)
{
    connect(linkWait, &TvLinkWait::finished, this, &TvConnectivityTest::linkWaitEnded);
}

void TvConnectivityTest::connectivityTestSlot()
{
    if (run->isRunning())
        return;
    // The entry itself, wherever the list holds it: without an all-tests
    // entry it is the first one, not the second.
    if (page->selectEntry(TvTestPage::ConnectivityNumber))
        run->StartTestSlot();
}

bool TvConnectivityTest::runConnectivityTest(int row)
{
    jobRow = row;
    TvWorkerThread *worker = run->worker();
    const auto cancelled = [worker] { return worker && worker->isCancelRequested(); };
    switch (linkWait->start(cancelled)) {
    case TvLinkWait::Waiting:
        return true;
    case TvLinkWait::LinkUp:
        switch (continueWithLinkUp()) {
        case Start::Queued:
            return true;
        case Start::Cancelled:
            // Ended as a cancelled test: the engine has nothing left to do.
            emit startCancelled();
            return true;
        default:
            return false;
        }
    case TvLinkWait::NoDriver:
        tell("OPEN_ADAPTER_FAILED_NO_DRIVER_OR_DISABLED");
        return false;
    default:
        tell("QUERY_OID_LINK_STATE_FAILED");
        return false;
    }
}

void TvConnectivityTest::linkWaitEnded(int outcome)
{
    switch (outcome) {
    case TvLinkWait::LinkUp:
        switch (continueWithLinkUp()) {
        case Start::Queued:
            return;
        case Start::Cancelled:
            emit startCancelled();
            return;
        default:
            emit notStarted();
            return;
        }
    case TvLinkWait::Cancelled:
        emit startCancelled();
        return;
    case TvLinkWait::LinkDown:
        tell("LINK_IS_DOWN");
        break;
    default:
        tell("QUERY_OID_LINK_STATE_FAILED");
        break;
    }
    emit notStarted();
}

void TvConnectivityTest::tell(const char *key)
{
    const TvAsk::Question question{QString::fromLatin1(key), TvDialogSeam::Ok};
    ask->showQuestion(&question);
}

TvConnectivityTest::Start TvConnectivityTest::continueWithLinkUp()
{
    emit testPageWanted();
    if (!readAdapterAddress())
        return Start::NotStarted;
    // An endless loop goes on with the address entered for its first pass.
    if (!(page->loopBox()->isChecked() && sameAdapterAsBefore())) {
        bool cancelled = false;
        const QString entered = askRemoteAddress(&cancelled);
        if (entered.isEmpty())
            return cancelled ? Start::Cancelled : Start::NotStarted;
        remote = entered;
        remoteFrom = address.join(QLatin1Char('.'));
        remoteAdapter = adapterIdentity();
    }
    queuePingJob();
    return Start::Queued;
}

bool TvConnectivityTest::readAdapterAddress()
{
    uint8_t isStatic = 0;
    const char *ip = GetIpAddress(0, &isStatic);
    const QString addressText = ip ? QString::fromLatin1(ip) : QString();
    const char *maskText = GetSubnetMask(0);
    address = IPValidator::octets(addressText);
    mask = IPValidator::octets(maskText ? QString::fromLatin1(maskText) : QString());
    if (!address.isEmpty() && !mask.isEmpty())
        return true;
    TvAsk::dialogs().messageBox(nullptr, TvDialogSeam::Critical, QString(),
                                msg("ERROR_NO_IP_ADDR_OR_SUBNET_MASK"),
                                {{TvDialogSeam::Ok, msg("OK_TEXT")}});
    return false;
}

bool TvConnectivityTest::sameAdapterAsBefore() const
{
    // The address entered for another adapter, or before this adapter's
    // own address changed, would send from an address it no longer has.
    return !remote.isEmpty() && remoteFrom == address.join(QLatin1Char('.'))
           && remoteAdapter == adapterIdentity();
}

QString TvConnectivityTest::adapterIdentity() const
{
    return QStringLiteral("%1@%2:%3")
        .arg(session->currentKey())
        .arg(session->currentBus())
        .arg(session->currentDevice());
}

QString TvConnectivityTest::askRemoteAddress(bool *cancelled)
{
    std::unique_ptr<ConTestDlgImpl> dialog(new (std::nothrow) ConTestDlgImpl(page));
    if (!dialog) {
        ask->message(TvDialogSeam::Critical, msg("IP_INPUT_DIALOG_FAILED"), TvDialogSeam::Ok);
        return QString();
    }
    dialog->fill(address, mask, sameAdapterAsBefore() ? remote : QString());
    if (ask->execDialog(dialog.get()) != QDialog::Accepted) {
        *cancelled = true;
        return QString();
    }
    return dialog->remoteAddress();
}

void TvConnectivityTest::queuePingJob()
{
    ask->setRunCursor(Qt::WaitCursor);
    const QString line = msg("START_NETWORK_CONNECT_TEST %1").arg(session->cardName());
    log->addLogLine(line);
    TvCoreCallbacks::table()->logText("\n%s\n", line.toUtf8().constData());
    TvWorkerThread *worker = run->worker();
    worker->setPingFunction(reportingPing(ping));
    worker->appendJob(new TestJob(TestJob::Connectivity, jobRow,
                                  address.join(QLatin1Char('.')) + QLatin1Char('-') + remote));
}
