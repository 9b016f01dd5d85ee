#include "TvGeneralPage.h"
#include "ui_TvGeneralPage.h"

#include "ui/TvContextText.h"

#include "description/CAdapterInfo.h"
#include "text/TvProgram.h"

#include <QTimer>

#include <new>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

// The program's release date is shown as it is, in every language.
const char *const ReleaseDate = "26-Jan-2004";

} // namespace

TvGeneralPage::TvGeneralPage(TvAdapterSession *session, QWidget *parent)
    : QWidget(parent), ui(new Ui::TvGeneralPage), session(session)
{
    ui->setupUi(this);
    // Shown for adapters with two ports.
    for (QWidget *w : portBViews())
        w->hide();
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
    const QPixmap ledOff(CAdapterInfo::instance().basePathOf(QStringLiteral("images/led_off.bmp")));
    for (QLabel *led : leds)
        led->setPixmap(ledOff);
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
}

void TvGeneralPage::applyPortCount(bool dualPort)
{
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
    getNetworkDriverInfo();
    if (timer)
        timer->start(RefreshIntervalMs);
}

void TvGeneralPage::stopPolling()
{
    if (timer)
        timer->stop();
}

// Reading the driver, link and activity information comes with its
// feature; the core is not polled while a test runs (testRunning).
void TvGeneralPage::getNetworkDriverInfo() {}
void TvGeneralPage::getLinkInfo() {}
void TvGeneralPage::checkActivity(int) {}
void TvGeneralPage::generalInfoTimerExpired() {}
