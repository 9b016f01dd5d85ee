#include "TvGeneralPage.h"
#include "ui_TvGeneralPage.h"

#include "core/TvDriverSession.h"

#include "ui/TvContextText.h"

#include "description/CAdapterInfo.h"
#include "text/TvProgram.h"

#include <QBitmap>
#include <QPixmapCache>
#include <QTimer>

#include <probekit.h>

#include <new>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

// The program's release date is shown as it is, in every language.
const char *const ReleaseDate = "26-Jan-2004";

// The keys of the duplex and speed codes; other codes are not available.
const char *duplexKey(uchar code)
{
    switch (code) {
    case 2: return "HALF_DUPLEX";
    case 3: return "FULL_DUPLEX";
    case 4: return "AUTO_HALF_DUPLEX";
    case 5: return "AUTO_FULL_DUPLEX";
    default: return "NOT_AVAILABLE";
    }
}

const char *speedKey(uchar code)
{
    switch (code) {
    case 2: return "10_MBITS";
    case 3: return "100_MBITS";
    case 4: return "1000_MBITS";
    default: return "NOT_AVAILABLE";
    }
}

// Shown once a second: kept in the pixmap cache rather than loaded again.
// A bitmap has no transparency; its pure white surround is keyed out so
// that the round LED sits on any background.
QPixmap ledPicture(bool on)
{
    const QString path = CAdapterInfo::instance().basePathOf(
        on ? QStringLiteral("images/led_on.bmp") : QStringLiteral("images/led_off.bmp"));
    QPixmap picture;
    if (QPixmapCache::find(path, &picture) || !picture.load(path))
        return picture;
    picture.setMask(picture.createMaskFromColor(Qt::white));
    QPixmapCache::insert(path, picture);
    return picture;
}

// A label given a picture lays itself out and repaints, with the group box
// beneath it, even when the picture is the one it shows: once a second that
// was most of what the idle tab cost.
void showLed(QLabel *led, bool on)
{
    const QPixmap picture = ledPicture(on);
    if (led->pixmap(Qt::ReturnByValue).cacheKey() != picture.cacheKey())
        led->setPixmap(picture);
}

} // namespace

TvGeneralPage::TvGeneralPage(TvAdapterSession *session, QWidget *parent)
    : QWidget(parent), ui(new Ui::TvGeneralPage), session(session)
{
    ui->setupUi(this);
    // Shown for adapters with two ports.
    for (QWidget *w : portBViews())
        w->hide();
    // What the driver and the core report is shown as it is, never as markup.
    for (QLabel *l : findChildren<QLabel *>())
        l->setTextFormat(Qt::PlainText);
    timer = new (std::nothrow) QTimer(this);
    if (timer) {
        connect(timer, &QTimer::timeout, this, &TvGeneralPage::generalInfoTimerExpired);
        timer->setInterval(RefreshIntervalMs);
    }
}

TvGeneralPage::~TvGeneralPage()
{
    delete ui;
}

QList<QWidget *> TvGeneralPage::portBViews() const
{
    return {ui->PortBLabel, ui->LinkLedB, ui->ActivityLedB, ui->DuplexModeTextB,
            ui->SpeedModeTextB};
}

void TvGeneralPage::languageChange()
{
    ui->DiagInfoBox->setTitle(msg("DIAG_PROGRAM_INFO"));
    ui->NetDrvInfoBox->setTitle(msg("DRIVER_INFO"));
    ui->NetAdapterSettingBox->setTitle(msg("NETWORK_STATUS"));
    const struct {
        QLabel *label;
        const char *key;
    } labels[] = {
        {ui->DiagVersionLabel, "VERSION_LABEL"},   {ui->DiagRelDateLabel, "RELEASE_DATE"},
        {ui->NetDrvNameLabel, "NAME_LABEL"},       {ui->NetDrvDescLabel, "DESCRIPTION"},
        {ui->NetDrvCopyrightLabel, "COPYRIGHT"},   {ui->NetDrvVersionLabel, "VERSION_LABEL"},
        {ui->NetDrvRelDateLabel, "RELEASE_DATE"},  {ui->NetDrvNameText, "NOT_AVAILABLE"},
        {ui->NetDrvDescText, "NOT_AVAILABLE"},     {ui->NetDrvCopyrightText, "NOT_AVAILABLE"},
        {ui->NetDrvVersionText, "NOT_AVAILABLE"},  {ui->NetDrvRelDateText, "NOT_AVAILABLE"},
        {ui->IpAddrLabel, "IP_ADDRESS"},           {ui->SubnetMaskLabel, "SUBNET_MASK"},
        {ui->PortBLabel, "PORT_B"},                {ui->LinkStatusLabel, "LINK_LABEL"},
        {ui->SpeedModeLabel, "LINK_SPEED"},        {ui->SpeedModeText, "NOT_AVAILABLE"},
        {ui->SpeedModeTextB, "NOT_AVAILABLE"},     {ui->ActivityLabel, "ACTIVITY_LABEL"},
        {ui->DuplexModeLabel, "DUPLEX"},           {ui->DuplexModeText, "NOT_AVAILABLE"},
        {ui->DuplexModeTextB, "NOT_AVAILABLE"},
    };
    for (const auto &l : labels)
        l.label->setText(msg(l.key));
    ui->DiagVersionText->setText(TvProgram::versionText());
    ui->DiagRelDateText->setText(QLatin1String(ReleaseDate));
}

void TvGeneralPage::showLedsOff(const QList<QLabel *> &leds)
{
    for (QLabel *led : leds)
        led->setPixmap(ledPicture(false));
}

void TvGeneralPage::reset()
{
    for (QLabel *l : {ui->NetDrvVersionText, ui->NetDrvRelDateText, ui->NetDrvNameText,
                      ui->NetDrvDescText, ui->SpeedModeText, ui->DuplexModeText, ui->SpeedModeTextB,
                      ui->DuplexModeTextB, ui->IpAddrText, ui->SubnetMaskText})
        l->setText(msg("NOT_AVAILABLE"));
    ui->DiagVersionText->setText(TvProgram::versionText());
    ui->DiagRelDateText->setText(QLatin1String(ReleaseDate));
    showLedsOff({ui->LinkLedA, ui->ActivityLedA});
    twoPorts = false;
}

void TvGeneralPage::applyPortCount(bool dualPort)
{
    twoPorts = dualPort;
    ui->PortALabel->setText(dualPort ? msg("PORT_A") : QString());
    if (dualPort)
        ui->PortBLabel->setText(msg("PORT_B"));
    for (QWidget *w : portBViews())
        w->setVisible(dualPort);
    if (dualPort)
        showLedsOff({ui->LinkLedB, ui->ActivityLedB});
}

void TvGeneralPage::startPolling()
{
    if (!testRunning)
        getNetworkDriverInfo();
    if (timer)
        timer->start(RefreshIntervalMs);
}

void TvGeneralPage::stopPolling()
{
    if (timer)
        timer->stop();
}

void TvGeneralPage::getNetworkDriverInfo()
{
    const TvDriverSession driver;
    const struct {
        uint32_t oid;
        QLabel *field;
    } fields[] = {
        {TvDriverSession::DriverName, ui->NetDrvNameText},
        {TvDriverSession::DriverDescription, ui->NetDrvDescText},
        {TvDriverSession::DriverVersion, ui->NetDrvVersionText},
        {TvDriverSession::DriverDate, ui->NetDrvRelDateText},
    };
    for (const auto &f : fields) {
        QString text;
        f.field->setText(driver.text(f.oid, &text) ? text : msg("NOT_AVAILABLE"));
    }
    // The driver has no identifier for its copyright.
    ui->NetDrvCopyrightText->setText(msg("NOT_AVAILABLE"));
}

bool TvGeneralPage::checkActivity(int port)
{
    if (port < 0 || port > 1)
        return false;
    const TvDriverSession driver;
    if (!driver.isOpen())
        return false;
    quint64 sum = 0;
    for (uint32_t oid = TvDriverSession::FirstCounter; oid <= TvDriverSession::LastCounter;
         oid += 2) {
        quint64 frames = 0;
        // A sum of some of the counters would look like traffic.
        if (!driver.counter(oid, port, &frames)) {
            sum = counterSums[port];
            break;
        }
        sum += frames;
    }
    // Nothing to compare with at the first look.
    const bool active = sum != counterSums[port] && counterSums[port] != 0;
    counterSums[port] = sum;
    return active;
}

void TvGeneralPage::getLinkInfo()
{
    for (QWidget *w : portBViews())
        w->setVisible(twoPorts);
    const TvDriverSession driver;
    const int ports = twoPorts ? 2 : 1;
    bool up[2] = {false, false};
    uchar states[2] = {0, 0};
    const bool known = driver.portBytes(TvDriverSession::LinkState, states);
    QLabel *const linkLeds[2] = {ui->LinkLedA, ui->LinkLedB};
    QLabel *const activityLeds[2] = {ui->ActivityLedA, ui->ActivityLedB};
    for (int port = 0; port < ports; ++port) {
        up[port] = known && states[port] == TvDriverSession::LinkUp;
        showLed(linkLeds[port], up[port]);
        showLed(activityLeds[port], up[port] && checkActivity(port));
    }
    showPortCodes(driver, TvDriverSession::Duplex, up, {ui->DuplexModeText, ui->DuplexModeTextB},
                  duplexKey);
    showSpeeds(driver, up);
}

void TvGeneralPage::showSpeeds(const TvDriverSession &driver, const bool up[2])
{
    uchar codes[2] = {0, 0};
    quint32 megabits[2] = {0, 0};
    const bool known = driver.speeds(codes, megabits);
    QLabel *const fields[2] = {ui->SpeedModeText, ui->SpeedModeTextB};
    for (int port = 0; port < (twoPorts ? 2 : 1); ++port) {
        const char *key = !known ? "NOT_AVAILABLE" : up[port] ? speedKey(codes[port]) : "NO_LINK";
        // A speed the codes do not name (2.5 Gb/s and up) is shown as it is.
        const bool uncoded = known && up[port] && qstrcmp(key, "NOT_AVAILABLE") == 0 && megabits[port] > 0;
        fields[port]->setText(uncoded ? msg("LINK_SPEED_MBITS %1").arg(megabits[port]) : msg(key));
    }
}

void TvGeneralPage::showPortCodes(const TvDriverSession &driver, uint32_t oid, const bool up[2],
                                  const QList<QLabel *> &fields, const char *(*key)(uchar))
{
    uchar codes[2] = {0, 0};
    const bool known = driver.portBytes(oid, codes);
    const int ports = twoPorts ? 2 : 1;
    for (int port = 0; port < ports; ++port) {
        const char *text = !known ? "NOT_AVAILABLE" : up[port] ? key(codes[port]) : "NO_LINK";
        fields.at(port)->setText(msg(text));
    }
}

void TvGeneralPage::generalInfoTimerExpired()
{
    // Driver queries must not come between a test and the adapter.
    if (testRunning)
        return;
    uint8_t isStatic = 0;
    if (const char *address = GetIpAddress(0, &isStatic))
        ui->IpAddrText->setText(QString::fromUtf8(address)
                                + msg(isStatic ? "IP_STATIC" : "IP_DYNAMIC"));
    if (const char *mask = GetSubnetMask(0))
        ui->SubnetMaskText->setText(QString::fromUtf8(mask));
    getLinkInfo();
    getNetworkDriverInfo();
}
