#include "TvLinkWait.h"

#include "platform/TvPlatform.h"

#include <probekit.h>

#include <algorithm>

namespace {

constexpr uint8_t LinkUpState = 4;
constexpr uint32_t ReplySize = 256;

} // namespace

TvLinkWait::TvLinkWait(QObject *parent) : QObject(parent)
{
    retry.setSingleShot(true);
    retry.setInterval(RetryMs);
    connect(&retry, &QTimer::timeout, this, &TvLinkWait::retryNow);
}

TvLinkWait::~TvLinkWait()
{
    retry.stop();
    if (driver)
        DriverClose(driver);
}

TvLinkWait::Outcome TvLinkWait::start(std::function<bool()> cancelled)
{
    finish(Waiting);
    isCancelled = std::move(cancelled);
    attempts = 0;
    driver = DriverOpen();
    if (!driver)
        return NoDriver;
    return attempt();
}

TvLinkWait::Outcome TvLinkWait::attempt()
{
    uint8_t reply[ReplySize] = {};
    uint32_t size = sizeof reply;
    ++attempts;
    if (DriverQueryOid(driver, LinkStateOid, reply, &size) != 0)
        return finish(QueryFailed);
    // Only the bytes the driver wrote, and never past the buffer, whatever
    // size it claims.
    const QByteArray written = QByteArray::fromRawData(reinterpret_cast<const char *>(reply),
                                                       int(std::min(size, ReplySize)));
    QString line = QStringLiteral("OID_TVGE_LINK_STATUS : ");
    for (const char byte : written)
        line += QString::asprintf("0x%2.02X ", uint(uchar(byte)));
    TvPlatform::writeConsole(line + QLatin1Char('\n'));
    if (size > 1 && reply[1] == LinkUpState)
        return finish(LinkUp);
    if (attempts >= Attempts)
        return finish(LinkDown);
    retry.start();
    return Waiting;
}

void TvLinkWait::retryNow()
{
    const Outcome outcome = isCancelled && isCancelled() ? finish(Cancelled) : attempt();
    if (outcome != Waiting)
        emit finished(outcome);
}

TvLinkWait::Outcome TvLinkWait::finish(Outcome outcome)
{
    retry.stop();
    if (driver)
        DriverClose(driver);
    driver = nullptr;
    return outcome;
}
