// The general tab on its own: what the adapter's network driver reports
// through the core, per port, and when it is asked.
#include "TvUiRig.h"

#include "ui/TvDiagMainWindow.h"
#include "core/TvDriverSession.h"
#include "ui/general/TvGeneralPage.h"
#include "ui/testpage/TvTestRun.h"

#include <QLabel>
#include <QtTest>

namespace {

QJsonObject port(bool link, int duplex, int speed, int traffic = 0, int megabits = 0)
{
    return QJsonObject{{"link", link}, {"duplex", duplex}, {"speed", speed}, {"traffic", traffic},
                       {"megabits", megabits}};
}

// Adapter 0 is dual-port with a driver and a static address: port A up at
// 1000 Mb/s full duplex with heavy traffic, port B down with link byte 3
// but valid codes. Tests add single-port adapters.
class Rig : public TvUiRig
{
public:
    Rig()
    {
        savePicture(QStringLiteral("images/led_on.bmp"), QSize(16, 16), Qt::green);
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {});
        QJsonObject portB = port(false, 3, 4);
        portB[QStringLiteral("downState")] = 3;
        QJsonObject dual = withDriver(TvTestMachine::adapter(2, 1, 2));
        dual[QStringLiteral("ports")] = QJsonArray{port(true, 3, 4, 1000000), portB};
        dual[QStringLiteral("ip")] = QJsonObject{{"address", "10.1.2.3"}, {"mask", "255.255.0.0"}, {"static", true}};
        machine.adapters = {dual};
    }
    static QJsonObject withDriver(QJsonObject adapter)
    {
        adapter[QStringLiteral("driver")] = QJsonObject{{"name", "orlin_ge"}, {"date", "2004-01-20"}};
        return adapter;
    }
    void addSingle(int duplex, int speed, bool driver = true, int megabits = 0)
    {
        QJsonObject a = TvTestMachine::adapter(3 + machine.adapters.size(), 0, 3, QStringLiteral("0101"));
        a[QStringLiteral("ports")] = QJsonArray{port(true, duplex, speed, 0, megabits)};
        machine.adapters.append(driver ? withDriver(a) : a);
    }
    // The adapter at this index made current as the window does.
    void select(int index, bool dualPort)
    {
        if (!session.table())
            session.enumerate();
        page.reset();
        QVERIFY(session.select(index));
        page.applyPortCount(dualPort);
    }
    QLabel *label(const char *name) { return page.findChild<QLabel *>(QLatin1String(name)); }
    QString text(const char *name) { return label(name)->text(); }
    bool lit(const char *led) { return label(led)->pixmap(Qt::ReturnByValue).toImage().pixelColor(8, 8) == Qt::green; }

    TvGeneralPage page{&session};
};

} // namespace

class TestUiGeneral : public QObject
{
    Q_OBJECT

private slots:
    void portsShowTheirLinkAndCodes();
    void activityNeedsMovingCounters();
    void noDriverShowsNotAvailableWithoutABox();
    void refreshIsSkippedWhileATestRuns();
    void driverTextsEndAtTheirReply();
};

void TestUiGeneral::portsShowTheirLinkAndCodes()
{
    Rig r;
    // A speed in Mb/s is shown only where the code names none.
    const struct {
        int duplex, speed, megabits;
        const char *duplexText, *speedText;
    } codes[] = {
        {2, 2, 0, "HALF_DUPLEX", "10_MBITS"},        {3, 3, 0, "FULL_DUPLEX", "100_MBITS"},
        {4, 4, 1000, "AUTO_HALF_DUPLEX", "1000_MBITS"}, {5, 1, 0, "AUTO_FULL_DUPLEX", "NOT_AVAILABLE"},
        {6, 5, 0, "NOT_AVAILABLE", "NOT_AVAILABLE"}, {3, 0, 2500, "FULL_DUPLEX", "LINK_SPEED_MBITS 2500"},
        {3, 0, 100000, "FULL_DUPLEX", "LINK_SPEED_MBITS 100000"},
    };
    for (const auto &c : codes)
        r.addSingle(c.duplex, c.speed, true, c.megabits);
    QVERIFY(r.startCore());
    r.select(0, true);
    r.page.getLinkInfo();
    QVERIFY(r.lit("LinkLedA") && !r.lit("LinkLedB"));
    QCOMPARE(r.text("SpeedModeText"), QStringLiteral("1000_MBITS"));
    // Any link byte but 4 is down, whatever the codes say.
    QCOMPARE(r.text("DuplexModeTextB"), QStringLiteral("NO_LINK"));
    QCOMPARE(r.text("SpeedModeTextB"), QStringLiteral("NO_LINK"));

    // A single port: port B is neither asked for nor shown.
    for (int i = 0; i < int(std::size(codes)); ++i) {
        r.select(i + 1, false);
        r.label("DuplexModeTextB")->setText(QStringLiteral("untouched"));
        r.page.getLinkInfo();
        QCOMPARE(r.text("DuplexModeText"), QLatin1String(codes[i].duplexText));
        QCOMPARE(r.text("SpeedModeText"), QLatin1String(codes[i].speedText));
        QCOMPARE(r.text("DuplexModeTextB"), QStringLiteral("untouched"));
        QVERIFY(r.label("LinkLedB")->isHidden());
    }
}

void TestUiGeneral::activityNeedsMovingCounters()
{
    Rig r;
    // Port B up but idle beside the busy port A: each port has its own counters.
    QJsonObject idleB = r.machine.adapters.at(0).toObject();
    idleB[QStringLiteral("ports")] = QJsonArray{port(true, 3, 4, 1000000), port(true, 3, 4)};
    r.machine.adapters[0] = idleB;
    QVERIFY(r.startCore());
    r.select(0, true);
    // At port A's rate some ten thousand frames pass in each pause. The
    // first look has nothing to compare with.
    QTest::qSleep(10);
    r.page.getLinkInfo();
    QVERIFY(!r.lit("ActivityLedA"));
    QTest::qSleep(10);
    r.page.getLinkInfo();
    QVERIFY(r.lit("ActivityLedA") && r.lit("LinkLedB") && !r.lit("ActivityLedB"));
    QCOMPARE(r.text("SpeedModeTextB"), QStringLiteral("1000_MBITS"));

    // The third of six counters fails: a part of the sum is no measurement.
    qputenv("PROBEKIT_FAULT", "DriverQueryOid:0x00020206=32");
    for (int i = 0; i < 2; ++i) {
        QTest::qSleep(10);
        QVERIFY(!r.page.checkActivity(0));
    }
    qunsetenv("PROBEKIT_FAULT");
    QTest::qSleep(10);
    QVERIFY(r.page.checkActivity(0));
}

void TestUiGeneral::noDriverShowsNotAvailableWithoutABox()
{
    Rig r;
    r.addSingle(3, 4, false);
    r.addSingle(3, 4);
    QJsonObject dynamic = r.machine.adapters.at(2).toObject();
    dynamic[QStringLiteral("ip")] = QJsonObject{{"address", "10.9.8.7"}, {"mask", "255.0.0.0"}, {"static", false}};
    r.machine.adapters[2] = dynamic;
    QVERIFY(r.startCore());
    r.select(0, true);
    r.page.generalInfoTimerExpired();
    QCOMPARE(r.text("IpAddrText"), QStringLiteral("10.1.2.3IP_STATIC"));
    QCOMPARE(r.text("SubnetMaskText"), QStringLiteral("255.255.0.0"));
    QCOMPARE(r.text("NetDrvRelDateText"), QStringLiteral("2004-01-20"));

    // Without a driver every field says so; without an address the field
    // keeps what it showed.
    r.select(1, true);
    r.label("IpAddrText")->setText(QStringLiteral("kept"));
    r.page.generalInfoTimerExpired();
    QCOMPARE(r.text("IpAddrText"), QStringLiteral("kept"));
    for (const char *field : {"NetDrvNameText", "NetDrvDescText", "NetDrvVersionText", "NetDrvRelDateText",
                              "DuplexModeText", "SpeedModeText", "DuplexModeTextB", "SpeedModeTextB"})
        QCOMPARE(r.text(field), QStringLiteral("NOT_AVAILABLE"));
    QVERIFY(!r.lit("LinkLedA") && !r.lit("ActivityLedB"));
    QVERIFY(r.dialogs.asked.isEmpty());
    // A dynamic address says so.
    r.select(2, false);
    r.page.generalInfoTimerExpired();
    QCOMPARE(r.text("IpAddrText"), QStringLiteral("10.9.8.7IP_DYNAMIC"));
}

void TestUiGeneral::refreshIsSkippedWhileATestRuns()
{
    Rig r;
    QVERIFY(r.startCore());
    TvDiagMainWindow &w = r.window();
    auto *name = r.child<QLabel>("NetDrvNameText");
    emit w.run()->runningChanged(true);
    w.general()->startPolling();
    w.generalInfoTimerExpired();
    QCOMPARE(name->text(), QStringLiteral("NOT_AVAILABLE"));
    emit w.run()->runningChanged(false);
    w.generalInfoTimerExpired();
    QCOMPARE(name->text(), QStringLiteral("orlin_ge"));
}

void TestUiGeneral::driverTextsEndAtTheirReply()
{
    const int size = TvDriverSession::TextReplySize;
    QCOMPARE(TvDriverSession::textOf(QByteArray("\0orlin\0junk", 11)), QStringLiteral("orlin"));
    QCOMPARE(TvDriverSession::textOf('\0' + QByteArray(size - 1, 'A')), QString(size - 1, QLatin1Char('A')));
    QCOMPARE(TvDriverSession::textOf(QByteArray()), QString());
}

QTEST_MAIN(TestUiGeneral)
#include "test_ui_general.moc"
