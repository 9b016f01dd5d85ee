// The sensors tab and its gauges: where the gauges go, how readings are
// judged and shown, what bad sensor lists and readings do, the failures of
// the core's sensor calls, and the colours the gauges draw.
#include "TvUiRig.h"

#include "core/TvStatusCodes.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/sensors/BulbThermo.h"
#include "ui/sensors/ToleranceKnob.h"
#include <qwt_round_scale_draw.h>
#include <qwt_scale_map.h>
#include "ui/sensors/TvMeter.h"
#include "ui/sensors/TvSensorPage.h"
#include "ui/sensors/TvThermometer.h"
#include "ui/testpage/TvTestRun.h"

#include <probekit.h>

#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <cmath>

namespace {

QJsonObject sensor(int type, double min, double max, double lower, double upper, double nominal,
                   const QJsonValue &value, const QString &name = QStringLiteral("Voltage 3.3 V"))
{
    return QJsonObject{{"name", name}, {"type", type},    {"min", min},
                       {"max", max},   {"lowerAlarm", lower}, {"upperAlarm", upper},
                       {"nominal", nominal}, {"value", value}};
}

// A band lopsided on purpose (5 % below, 100/11 % above), so that a swap shows.
QJsonObject volts(const QJsonValue &value = 3.3) { return sensor(0, 0, 4.5, 3.135, 3.6, 3.3, value); }
QJsonObject celsius(const QJsonValue &value = 40) { return sensor(1, 0, 100, 5, 70, 40, value); }
QJsonObject fan(const QJsonValue &value = 2500) { return sensor(2, 0, 8000, 3000, 6000, 4500, value); }

// One adapter with the given sensors, selected in the core, and the
// sensors page built on its own.
class SensorRig : public TvUiRig
{
public:
    explicit SensorRig(const QJsonValue &sensors, int readingCount = -1)
    {
        QJsonObject adapter = TvTestMachine::adapter(2, 1, 2);
        adapter[QStringLiteral("sensors")] = sensors;
        if (readingCount >= 0)
            adapter[QStringLiteral("readingCount")] = readingCount;
        machine.adapters = {adapter};
        if (!startCore() || !session.enumerate() || !session.select(0))
            qWarning("the adapter cannot be selected");
    }
    template <typename T> T *part(int gauge, const char *name)
    {
        return page.gauge(gauge) ? page.gauge(gauge)->findChild<T *>(QLatin1String(name)) : nullptr;
    }
    QString readout(int gauge) { return part<QLabel>(gauge, "Output")->text(); }

    TvSensorPage page{&session, &ask};
};

QColor readoutColour(QWidget *gauge)
{
    return gauge->findChild<QLabel *>(QStringLiteral("Output"))->palette().color(QPalette::Window);
}

SensorReading reading(double value, int check = 1)
{
    SensorReading r{};
    r.value = value;
    r.toleranceCheck = check;
    return r;
}

QLabel *factorLabel(QWidget *gauge)
{
    for (QLabel *l : gauge->findChildren<QLabel *>()) {
        if (l->objectName().isEmpty())
            return l;
    }
    return nullptr;
}

// A band from 2 to 5 on a scale from 0 to 8.
void useBand(TvMeter &meter)
{
    meter.setStandardValue(4.0);
    meter.setTolerance(50.0, 25.0);
    meter.setRange(0.0, 8.0, 0.4);
    meter.setUnit("V");
}

// Stands in for the catalogues: the fan's caption and unit.
class FanTexts : public QTranslator
{
public:
    QString caption;
    QString translate(const char *, const char *source, const char *, int) const override
    {
        if (qstrcmp(source, "FAN_SPEED") == 0)
            return caption;
        return qstrcmp(source, "FAN_SPEED_UNIT") == 0 ? QStringLiteral("rpm") : QString();
    }
};

const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
bool isGreen(QRgb c) { return qGreen(c) > 200 && qRed(c) < 80 && qBlue(c) < 80; }

} // namespace

class TestUiSensors : public QObject
{
    Q_OBJECT

private slots:
    void gaugesTakeTheirPlacesInTwoRows();
    void gaugeSlotsComeInTheirOrder();
    void longAndOddListsShowTheFirstTwentyKnownSensors();
    void readoutsAreJudgedByTheirBand_data();
    void readoutsAreJudgedByTheirBand();
    void captionsFallBackWhenNothingFits();
    void fanCountsInThousands_data();
    void fanCountsInThousands();
    void emptyScalesAndBadReadingsDrawWithoutNaN();
    void moduleDialsShowTheirUnitsAndBands_data();
    void moduleDialsShowTheirUnitsAndBands();
    void pollsSkipDuringATestAndFollowTheReadingCount();
    void listFailuresAreReported();
    void windowDisablesTheTabWithoutSensors();
    void gaugesDrawTheirColours();
};

void TestUiSensors::gaugesTakeTheirPlacesInTwoRows()
{
    SensorRig rig(QJsonArray{volts(), volts(), celsius(), fan(), volts(), volts(), volts()});
    rig.page.buildSensorTab();
    const QList<QRect> expected = {{3, 6, 100, 170},   {105, 6, 100, 170}, {207, 6, 200, 170},
                                   {409, 6, 100, 170}, {511, 6, 100, 170}, {3, 181, 100, 170},
                                   {105, 181, 100, 170}};
    const QStringList names = {"Voltmeter", "Voltmeter", "Thermometer", "FAN",
                               "Voltmeter", "Voltmeter", "Voltmeter"};
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(rig.page.gauge(i)->geometry(), expected.at(i));
        QCOMPARE(rig.page.gauge(i)->objectName(), names.at(i));
    }
    QVERIFY(!rig.page.gauge(7));
    // The area to scroll ends as far beyond the last gauges as it begins before the first.
    QCOMPARE(rig.page.findChild<QWidget *>(QStringLiteral("SensorGauges"))->size(), QSize(614, 357));
    QCOMPARE(rig.part<QWidget>(0, "LayoutSensor")->geometry(), QRect(6, 6, 92, 159));
    // The readout stands in the middle of its row.
    const QRect readout = rig.part<QWidget>(0, "Output")->geometry();
    QCOMPARE(readout.left(), 92 - 1 - readout.right());
    QCOMPARE(rig.part<QWidget>(2, "Thermo")->y(), 26);
    QCOMPARE(rig.part<QWidget>(2, "Thermo")->font().pointSize(), 8);
    // The name loses its "Voltage "; the thermometer shows its type instead.
    QCOMPARE(rig.page.gauge(0)->property("LabelText").toString(), QStringLiteral("3.3 V"));
    QCOMPARE(rig.part<QLabel>(0, "TypeLabel")->text(), QStringLiteral("VOLTAGE"));
    QCOMPARE(rig.page.gauge(2)->property("LabelText").toString(), QStringLiteral("TEMPERATURE"));
    QCOMPARE(rig.part<QLabel>(2, "Label")->font().pointSize(), 10);
    // All dials share the smallest label size.
    const int shared = rig.part<QLabel>(0, "Label")->font().pointSize();
    for (int i : {1, 3, 4, 5, 6})
        QCOMPARE(rig.part<QLabel>(i, "Label")->font().pointSize(), shared);
    auto *meter = qobject_cast<TvMeter *>(rig.page.gauge(0));
    QCOMPARE(meter->dial()->lowerTolerance(), 5.0);
    QCOMPARE(meter->dial()->upperTolerance(), 100.0 / 11.0);
    QCOMPARE(meter->dial()->totalSteps(), 20u);
    auto *thermometer = qobject_cast<TvThermometer *>(rig.page.gauge(2));
    QCOMPARE(thermometer->lowerAlarmLevel(), 5.0);
    QCOMPARE(thermometer->upperAlarmLevel(), 70.0);
    rig.page.sensorTimerExpired();
    QCOMPARE(rig.readout(2), QStringLiteral("TEMPERATURE_OUTPUT  40.00 104.00"));
}

void TestUiSensors::gaugeSlotsComeInTheirOrder()
{
    const QList<QPair<const QMetaObject *, QStringList>> classes = {
        {&TvMeter::staticMetaObject,
         {"setLabelText(QString)", "setTypeText(QString)", "setTolerance(double,double)",
          "setStandardValue(double)", "setRange(double,double,double)", "setUnit(const char*)",
          "setFontSize(int)", "setMeterWidth(int)", "setScaleMaxMajor(int)", "setTickLengths(int)",
          "setFactor(int)", "hide()"}},
        {&TvThermometer::staticMetaObject,
         {"setLabelText(QString)", "setValue(double)", "setRange(double,double)",
          "setAlarmLevel(double)", "setLowerAlarmLevel(double)", "setFontSize(int)", "hide()"}}};
    for (const auto &c : classes) {
        QStringList declared;
        for (int i = c.first->methodOffset(); i < c.first->methodCount(); ++i)
            declared << QString::fromLatin1(c.first->method(i).methodSignature());
        QCOMPARE(declared, c.second);
    }
    // The property writes through setLabelText.
    TvThermometer thermometer(nullptr, QRect(0, 0, 200, 170), "Thermometer");
    QVERIFY(thermometer.setProperty("LabelText", QStringLiteral("Board")));
    QCOMPARE(thermometer.findChild<QLabel *>(QStringLiteral("Label"))->text(), QStringLiteral("Board"));
}

void TestUiSensors::longAndOddListsShowTheFirstTwentyKnownSensors()
{
    QJsonArray sensors;
    for (int i = 0; i < 23; ++i)
        sensors.append(volts(1.0 + i));
    sensors[1] = sensor(7, 0, 1, 0, 1, 1, 1);
    sensors[2] = sensor(-1, 0, 1, 0, 1, 1, 1);
    // More readings than sensors: the ones past the list belong to none.
    SensorRig rig(sensors, 30);
    rig.page.buildSensorTab();
    QVERIFY(!rig.page.gauge(1) && !rig.page.gauge(2));
    QCOMPARE(rig.page.gauge(3)->pos(), QPoint(105, 6));
    QCOMPARE(rig.page.findChildren<TvMeter *>().size(), 18);
    QVERIFY(rig.page.gauge(19) && !rig.page.gauge(20));
    rig.page.sensorTimerExpired();
    QCOMPARE(rig.readout(19), QStringLiteral("20.00 VOLTAGE_UNIT"));
}

void TestUiSensors::readoutsAreJudgedByTheirBand_data()
{
    QTest::addColumn<bool>("meter");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("check");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("voltage inside") << true << 4.5 << 1 << Green;
    QTest::newRow("voltage just inside the upper edge") << true << 4.995 << 1 << Green;
    QTest::newRow("voltage at the upper edge") << true << 5.0 << 1 << Red;
    QTest::newRow("voltage at the lower edge") << true << 2.0 << 1 << Red;
    QTest::newRow("voltage unchecked stays green") << true << 7.0 << 0 << Green;
    QTest::newRow("temperature at the upper alarm") << false << 70.0 << 1 << Green;
    QTest::newRow("temperature above") << false << 70.5 << 1 << Red;
    QTest::newRow("temperature at the lower alarm") << false << 5.0 << 1 << Green;
    QTest::newRow("temperature below") << false << 4.5 << 1 << Red;
}

void TestUiSensors::readoutsAreJudgedByTheirBand()
{
    QFETCH(bool, meter);
    QFETCH(double, value);
    QFETCH(int, check);
    QFETCH(QColor, colour);
    TvMeter dial(nullptr, QRect(0, 0, 100, 170), "Voltmeter");
    useBand(dial);
    TvThermometer thermometer(nullptr, QRect(0, 0, 200, 170), "Thermometer");
    thermometer.setAlarmLevel(70.0);
    thermometer.setLowerAlarmLevel(5.0);
    // Each starts green.
    dial.setValue(reading(4.0));
    thermometer.setValue(40.0);
    if (meter)
        dial.setValue(reading(value, check));
    else
        thermometer.setValue(value);
    QCOMPARE(readoutColour(meter ? static_cast<QWidget *>(&dial) : &thermometer), colour);
}

void TestUiSensors::captionsFallBackWhenNothingFits()
{
    const QString tooLong(300, QLatin1Char('W'));
    TvMeter meter(nullptr, QRect(0, 0, 100, 170), "Voltmeter");
    auto *label = meter.findChild<QLabel *>(QStringLiteral("Label"));
    auto *type = meter.findChild<QLabel *>(QStringLiteral("TypeLabel"));
    const int labelSize = label->font().pointSize();
    QCOMPARE(meter.setLabelText(tooLong), 3);
    QCOMPARE(label->font().pointSize(), labelSize);
    QCOMPARE(meter.setTypeText(tooLong), 3);
    QCOMPARE(type->font().pointSize(), 4);
    const int fitted = meter.setTypeText(QStringLiteral("V"));
    QVERIFY(fitted >= 4 && fitted <= 12);
    QCOMPARE(type->font().pointSize(), fitted);
    TvThermometer thermometer(nullptr, QRect(0, 0, 200, 170), "Thermometer");
    QCOMPARE(thermometer.setLabelText(tooLong), 4);
    QCOMPARE(thermometer.setLabelText(QStringLiteral("TEMPERATURE")), 11);
    // Units keep 19 characters.
    meter.setUnit("abcdefghijklmnopqrstuvwxyz");
    meter.setValue(reading(1.0));
    auto *output = meter.findChild<QLabel *>(QStringLiteral("Output"));
    QCOMPARE(output->text(), QStringLiteral("1.00 abcdefghijklmnopqrs"));
    // The readout takes the largest size that leaves a tenth of it free.
    auto fits = [output](int size) {
        QFont font = output->font();
        font.setPointSize(size);
        const QSize needed = QFontMetrics(font).size(Qt::TextSingleLine, output->text());
        return needed.width() <= 0.9 * output->width() && needed.height() <= 0.9 * output->height();
    };
    for (const char *unit : {"V", "Volt", "rpm"}) {
        meter.setUnit(unit);
        meter.setValue(reading(12.5));
        const int size = output->font().pointSize();
        QVERIFY2(fits(size) && !fits(size + 1), unit);
    }
}

void TestUiSensors::fanCountsInThousands_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<QString>("labelText");
    QTest::newRow("two words") << "Fan  speed" << "Fan" << "speed";
    QTest::newRow("one word") << "Lüfterdrehzahl" << "Lüfterdrehzahl" << "   ";
    QTest::newRow("three words") << "Speed of fan" << "Speed of fan" << "   ";
}

void TestUiSensors::fanCountsInThousands()
{
    QFETCH(QString, caption);
    QFETCH(QString, typeText);
    QFETCH(QString, labelText);
    FanTexts texts;
    texts.caption = caption;
    QCoreApplication::installTranslator(&texts);
    SensorRig rig(QJsonArray{fan(2500)});
    rig.page.buildSensorTab();
    rig.page.sensorTimerExpired();
    QCoreApplication::removeTranslator(&texts);

    auto *meter = qobject_cast<TvMeter *>(rig.page.gauge(0));
    QCOMPARE(rig.part<QLabel>(0, "TypeLabel")->text(), typeText);
    QCOMPARE(meter->labelText(), labelText);
    QCOMPARE(rig.readout(0), QStringLiteral("2500.00 rpm"));
    QCOMPARE(meter->dial()->value(), 2.5);
    QCOMPARE(meter->dial()->upperBound(), 8.0);
    // Twenty steps over the scale, five major ticks at most.
    QCOMPARE(meter->dial()->totalSteps(), 20u);
    QCOMPARE(meter->dial()->pageSteps(), 1u);
    QCOMPARE(meter->dial()->scaleMaxMajor(), 5);
    // A gauge, not a control: keys do not turn it.
    QTest::keyClick(meter->dial(), Qt::Key_Up);
    QCOMPARE(meter->dial()->value(), 2.5);
    QCOMPARE(factorLabel(meter)->text(), QStringLiteral("x 1000"));
    QVERIFY(factorLabel(meter)->y() > meter->dial()->geometry().bottom());
    for (int ignored : {0, -3}) {
        meter->setFactor(ignored);
        QCOMPARE(meter->factor(), 1000);
        QCOMPARE(meter->dial()->value(), 2.5);
    }
    meter->setFactor(1);
    QCOMPARE(factorLabel(meter)->text(), QString());
    QCOMPARE(meter->dial()->value(), 2500.0);
    meter->setRange(0, 8000, 6000);
    QCOMPARE(meter->dial()->totalSteps(), 1u);
}

void TestUiSensors::emptyScalesAndBadReadingsDrawWithoutNaN()
{
    SensorRig rig(QJsonArray{sensor(0, 0, 6, -1, 1, 0, 1.0), sensor(0, 2, 2, 1, 3, 2, 2.0),
                             sensor(1, 20, 20, 5, 70, 20, 20), volts(QStringLiteral("nan")),
                             celsius(QStringLiteral("inf"))});
    rig.page.buildSensorTab();
    rig.page.resize(700, 400);
    rig.page.show();
    const QColor neutral = readoutColour(rig.page.gauge(0));
    rig.page.sensorTimerExpired();
    QVERIFY(!rig.page.grab().isNull());

    double angle = 0.0;
    double span = 0.0;
    auto dial = [&rig](int i) { return qobject_cast<TvMeter *>(rig.page.gauge(i))->dial(); };
    // Nominal 0: no band (and no division by it), and the reading is not judged.
    QVERIFY(!dial(0)->bandAngles(&angle, &span));
    QVERIFY(std::isfinite(dial(0)->lowerTolerance()) && std::isfinite(dial(0)->upperTolerance()));
    QVERIFY(dial(0)->angleOf(1.0, &angle) && std::isfinite(angle));
    // A bound that is no number leaves the scale as it was.
    qobject_cast<TvMeter *>(rig.page.gauge(0))->setRange(0, qInf(), 1);
    QCOMPARE(dial(0)->upperBound(), 6.0);
    QCOMPARE(readoutColour(rig.page.gauge(0)), neutral);
    // An empty scale: no band and no needle position.
    QVERIFY(!dial(1)->bandAngles(&angle, &span) && !dial(1)->angleOf(2.0, &angle));
    int row = 0;
    QVERIFY(!qobject_cast<TvThermometer *>(rig.page.gauge(2))->thermo()->rowOf(20.0, &row));
    // Not a number: "not available", the needle and the column stay.
    QCOMPARE(rig.readout(3), QStringLiteral("NOT_AVAILABLE"));
    QCOMPARE(dial(3)->value(), 0.0);
    QCOMPARE(rig.readout(4), QStringLiteral("NOT_AVAILABLE"));
    QCOMPARE(qobject_cast<TvThermometer *>(rig.page.gauge(4))->thermo()->value(), 0.0);
}

// A pluggable module's bias and powers: the band lies between its warning
// thresholds (below zero for dBm), the scale ends at its alarms, and the
// readout has the digits the module reports.
void TestUiSensors::moduleDialsShowTheirUnitsAndBands_data()
{
    QTest::addColumn<QJsonObject>("sensor");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("bias") << sensor(3, 4, 13, 5, 12.5, 8.75, 8.688, "Module A bias") << "CURRENT"
                          << "8.688 CURRENT_UNIT" << Green;
    QTest::newRow("receive power below its band") << sensor(4, 0.01, 1, 0.0158, 0.7943, 0.405, 0.0021, "Module A Rx")
                                                  << "OPTICAL_POWER" << "0.0021 OPTICAL_POWER_UNIT" << Red;
    QTest::newRow("transmit power in dBm") << sensor(5, -6, 0, -5, -1, -3, -2.381, "Module A Tx") << "OPTICAL_POWER"
                                           << "-2.38 POWER_DBM_UNIT" << Green;
    QTest::newRow("no light: no dBm") << sensor(5, -20, 0, -18, -1, -9.5, QStringLiteral("nan"), "Module A Rx")
                                      << "OPTICAL_POWER" << "NOT_AVAILABLE" << QColor();
}

void TestUiSensors::moduleDialsShowTheirUnitsAndBands()
{
    QFETCH(QJsonObject, sensor);
    QFETCH(QString, caption);
    QFETCH(QString, readout);
    QFETCH(QColor, colour);
    SensorRig rig(QJsonArray{sensor});
    rig.page.buildSensorTab();
    auto *meter = qobject_cast<TvMeter *>(rig.page.gauge(0));
    QVERIFY(meter);
    const QColor neutral = readoutColour(meter);
    rig.page.sensorTimerExpired();
    QCOMPARE(rig.part<QLabel>(0, "TypeLabel")->text(), caption);
    QCOMPARE(meter->labelText(), sensor["name"].toString());
    QCOMPARE(rig.readout(0), readout);
    QCOMPARE(readoutColour(meter), colour.isValid() ? colour : neutral);
    QCOMPARE(meter->dial()->lowerBound(), sensor["min"].toDouble());
    QCOMPARE(meter->dial()->upperBound(), sensor["max"].toDouble());
    // The band runs from the lower to the upper warning threshold.
    double start = 0, span = 0, low = 0, high = 0;
    QVERIFY(meter->dial()->bandAngles(&start, &span));
    QVERIFY(meter->dial()->angleOf(sensor["lowerAlarm"].toDouble(), &low));
    QVERIFY(meter->dial()->angleOf(sensor["upperAlarm"].toDouble(), &high));
    QVERIFY(qAbs(start - low) < 1e-6 && qAbs(start + span - high) < 1e-6);
}

void TestUiSensors::pollsSkipDuringATestAndFollowTheReadingCount()
{
    SensorRig rig(QJsonArray{volts(3.74), volts(3.3)}, 1);
    rig.page.buildSensorTab();
    rig.page.setTestRunning(true);
    rig.page.sensorTimerExpired();
    QCOMPARE(rig.readout(0), QString());
    rig.page.setTestRunning(false);
    rig.page.sensorTimerExpired();
    QCOMPARE(rig.readout(0), QStringLiteral("3.74 VOLTAGE_UNIT"));
    QCOMPARE(readoutColour(rig.page.gauge(0)), Red);
    // One reading for two sensors: the second gauge is left alone.
    QCOMPARE(rig.readout(1), QString());
    QVERIFY(rig.dialogs.asked.isEmpty());
    // Four readings for one sensor: nothing is read past the list.
    SensorRig more(QJsonArray{volts(1.5)}, 4);
    more.page.buildSensorTab();
    more.page.sensorTimerExpired();
    QCOMPARE(more.readout(0), QStringLiteral("1.50 VOLTAGE_UNIT"));
    QCOMPARE(more.page.readSamples().size(), 1);
    QCOMPARE(more.page.readSamples().at(0).value, 1.5);
}

void TestUiSensors::listFailuresAreReported()
{
    SensorRig rig(QJsonArray{volts()});
    rig.page.buildSensorTab();
    QWidget *before = rig.page.gauge(0);
    qputenv("PROBEKIT_FAULT", "SensorGetList=26");
    rig.page.buildSensorTab();
    qunsetenv("PROBEKIT_FAULT");
    QCOMPARE(rig.dialogs.asked.size(), 1);
    const TvScriptedDialogs::Asked &box = rig.dialogs.asked.at(0);
    QCOMPARE(box.icon, TvDialogSeam::Critical);
    QCOMPARE(box.caption, QString());
    QCOMPARE(box.text, TvStatusCodes::statusText(26));
    QCOMPARE(box.buttons, QList<int>{TvDialogSeam::Cancel});
    QCOMPARE(box.buttonTexts, QStringList{QStringLiteral("CANCEL_TEXT")});
    QCOMPARE(rig.page.gauge(0), before);

    // A core that lists no list at all, and still has readings.
    SensorRig broken(QJsonValue::Null, 2);
    broken.page.buildSensorTab();
    broken.page.startPolling();
    QCOMPARE(broken.dialogs.messageTexts(),
             (QStringList{QStringLiteral("SENSOR_LIST_FAILED"), QStringLiteral("SENSOR_NOT_FOUND")}));
    QVERIFY(broken.dialogs.asked.last().caption.isEmpty());
    QVERIFY(!broken.page.pollTimer()->isActive());
}

void TestUiSensors::windowDisablesTheTabWithoutSensors()
{
    TvUiRig rig;
    rig.useFourAdapters();
    QJsonObject withSensors = rig.machine.adapters.at(0).toObject();
    withSensors[QStringLiteral("sensors")] = QJsonArray{volts(3.5)};
    rig.machine.adapters[0] = withSensors;
    QVERIFY(rig.startCore());
    TvDiagMainWindow &w = rig.window();
    auto *tabs = rig.child<QTabWidget>("TvDiagDataTab");
    const int sensorTab = tabs->indexOf(w.sensors());
    QVERIFY(tabs->isTabEnabled(sensorTab));
    w.selectAdapter(1);
    QVERIFY(!tabs->isTabEnabled(sensorTab));
    w.selectAdapter(0);
    QVERIFY(tabs->isTabEnabled(sensorTab));

    // The window tells the page when a test runs.
    emit w.run()->runningChanged(true);
    tabs->setCurrentWidget(w.sensors());
    QVERIFY(w.sensors()->pollTimer()->isActive());
    QCOMPARE(w.sensors()->gauge(0)->findChild<QLabel *>(QStringLiteral("Output"))->text(), QString());
    emit w.run()->runningChanged(false);
    w.sensorTimerExpired();
    QCOMPARE(w.sensors()->gauge(0)->findChild<QLabel *>(QStringLiteral("Output"))->text(),
             QStringLiteral("3.50 VOLTAGE_UNIT"));
    QCOMPARE(w.sensors()->findChildren<TvMeter *>().size(), 1);
    // Another adapter's list: the last one's gauges are gone, not merely forgotten.
    w.selectAdapter(1);
    QVERIFY(w.sensors()->findChildren<TvMeter *>().isEmpty());
    // Nothing of them is left to scroll to.
    QCOMPARE(w.sensors()->findChild<QWidget *>(QStringLiteral("SensorGauges"))->size(), QSize(0, 0));
}

void TestUiSensors::gaugesDrawTheirColours()
{
    TvMeter meter(nullptr, QRect(0, 0, 100, 170), "Voltmeter");
    useBand(meter);
    meter.setValue(reading(3.0));
    TvThermometer thermometer(nullptr, QRect(0, 0, 200, 170), "Thermometer");
    thermometer.setValue(85.0);
    meter.show();
    thermometer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&meter) && QTest::qWaitForWindowExposed(&thermometer));

    const QImage dialImage = meter.grab().toImage();
    ToleranceKnob *dial = meter.dial();
    // The point at a value's angle, a distance from the centre.
    auto along = [dial, &meter](double value, double distance) {
        double angle = 0.0;
        dial->angleOf(value, &angle);
        const double radians = angle * M_PI / 180.0;
        const QPointF p = dial->arcRect().center() + QPointF(std::cos(radians), -std::sin(radians)) * distance;
        return dial->mapTo(&meter, p.toPoint());
    };
    const double arcRadius = dial->arcRect().width() / 2.0;
    auto onArc = [&](double value) { return along(value, arcRadius); };
    QCOMPARE(QColor(dialImage.pixel(onArc(3.5))), Green);
    // The needle, the arcs and the scale's ticks agree, a tick for each volt.
    for (double v : {0.0, 3.0, 8.0}) {
        double angle = 0.0;
        QVERIFY(dial->angleOf(v, &angle));
        QCOMPARE(angle, 90.0 - dial->scaleDraw()->scaleMap().transform(v));
    }
    QCOMPARE(dial->scaleDraw()->scaleDiv().ticks(QwtScaleDiv::MajorTick).size(), 9);
    QCOMPARE(dial->knobRect().size(), QSize(40, 40));
    // Straight up, the arc is 6 pixels thick; the needle (at 3.0) reaches
    // the knob's rim and stops there, and the scale has medium ticks only.
    const double top = (dial->lowerBound() + dial->upperBound()) / 2.0;
    int thickness = 0;
    for (int d = -10; d <= 10; ++d) {
        const QRgb c = dialImage.pixel(along(top, arcRadius + d));
        thickness += isRed(c) || isGreen(c);
    }
    const double rim = dial->knobRect().width() / 2.0 - dial->borderWidth();
    const QColor needle = meter.palette().color(QPalette::ButtonText);
    QCOMPARE(thickness, 6);
    QCOMPARE(QColor(dialImage.pixel(along(3.0, rim - 2))), needle);
    QVERIFY(std::abs(QColor(dialImage.pixel(along(3.0, rim + 3))).lightness() - needle.lightness()) > 100);
    QCOMPARE(dial->scaleDraw()->tickLength(QwtScaleDiv::MediumTick), 2.0);
    QCOMPARE(QColor(dialImage.pixel(onArc(7.0))), Red);
    QVERIFY(isRed(dialImage.pixel(onArc(1.0))));
    // The face is drawn anew, on the screen, when the band moves (to 3..7.5).
    meter.setStandardValue(6.0);
    QCoreApplication::processEvents();
    QVERIFY(isGreen(meter.screen()->grabWindow(meter.winId()).toImage().pixel(onArc(7.0))));

    // Liquid green up to the alarm level at 70, red above it; the scale bar
    // red above the alarm level, green below.
    const QImage thermoImage = thermometer.grab().toImage();
    BulbThermo *thermo = thermometer.thermo();
    auto at = [thermo, &thermometer](int x, double value) {
        int row = 0;
        thermo->rowOf(value, &row);
        return thermo->mapTo(&thermometer, QPoint(x, row));
    };
    const int pipe = thermo->pipeArea().center().x();
    const int bar = thermo->barRect().center().x();
    QVERIFY(isGreen(thermoImage.pixel(at(pipe, 50.0))));
    QVERIFY(isRed(thermoImage.pixel(at(pipe, 80.0))));
    QVERIFY(!isRed(thermoImage.pixel(at(pipe, 95.0))) && !isGreen(thermoImage.pixel(at(pipe, 95.0))));
    QVERIFY(isRed(thermoImage.pixel(at(bar, 90.0))));
    QVERIFY(isGreen(thermoImage.pixel(at(bar, 30.0))));
    // The liquid runs into the bulb, three pipes wide, whole at the right
    // edge, and shaded darker at its foot.
    const QRect bulb = thermo->bulbRect();
    QVERIFY(isGreen(thermoImage.pixel(thermo->mapTo(&thermometer, QPoint(pipe, thermo->pipeArea().bottom() - 1)))));
    QCOMPARE(bulb.width(), 3 * thermo->pipeWidth());
    QVERIFY(thermo->rect().contains(bulb) && bulb.right() == thermo->width() - 1);
    QCOMPARE(thermoImage.pixel(thermo->mapTo(&thermometer, QPoint(bulb.center().x(), bulb.bottom() - 1))),
             thermometer.palette().color(QPalette::Dark).rgb());
}

QTEST_MAIN(TestUiSensors)
#include "test_ui_sensors.moc"
