// The connectivity test: the octet validator, the remote address dialog,
// the link wait and the adapter's address before the dialog, the remembered
// remote address, and whole tests from the window with a stand-in ping and
// with real echo requests over loopback.
#include "Loopback.h"
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "engine/TvWorkerThread.h"
#include "net/TvPing.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/connectivity/ConTestDlgImpl.h"
#include "ui/connectivity/IPValidator.h"
#include "ui/connectivity/TvConnectivityTest.h"
#include "ui/testpage/TvTestProgress.h"

#include <QAction>
#include <QCheckBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

namespace {

const QString Loopback = QStringLiteral("127.0.0.1");

// The rig's adapter with a driver, the address 127.0.0.1/255.0.0.0 and a
// link on port A; `change` alters it. The test list holds the connectivity
// entry ("Connectivity", one row) before "Register test", and the all-tests
// entry only when asked. The window drives a real worker thread.
class Rig : public TvUiRig
{
public:
    explicit Rig(const std::function<void(QJsonObject &)> &change = nullptr, bool allTests = true)
    {
        CAdapterInfo &info = CAdapterInfo::instance();
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {1});
        if (allTests)
            info.testCases.insert(9999, testCase(QStringLiteral("All tests"), {}));
        info.testCases.insert(9998, testCase(QStringLiteral("Connectivity"), {9801}));
        info.testCases.insert(1, testCase(QStringLiteral("Register test"), {101}));
        QJsonObject adapter = TvTestMachine::adapter(2, 1, 2);
        adapter[QStringLiteral("driver")] = QJsonObject{{QStringLiteral("name"), QStringLiteral("orlin")}};
        adapter[QStringLiteral("ip")] = QJsonObject{{QStringLiteral("address"), Loopback},
                                                    {QStringLiteral("mask"), QStringLiteral("255.0.0.0")}};
        adapter[QStringLiteral("ports")] = QJsonArray{QJsonObject{{QStringLiteral("link"), true}}};
        if (change)
            change(adapter);
        machine.adapters = {adapter};
        started = startCore();
        windowWithWorker();
    }

    // The dialog is answered with these remote octets (the fields the mask
    // fixes stay) and OK; every dialog's fields are kept in `offered`.
    void answerDialog(const QStringList &octets)
    {
        dialogs.onDialog = [this, octets](QDialog *dialog) {
            QStringList shown;
            for (int i = 0; i < 4; ++i) {
                auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("IP%1_Edit").arg(i + 1));
                shown.append(edit->text());
                if (!edit->isReadOnly())
                    edit->setText(octets.at(i));
            }
            offered.append(shown.join(QLatin1Char('.')));
            dialog->accept();
            return dialog->result();
        };
    }
    int dialogCount() const
    {
        int count = 0;
        for (const TvScriptedDialogs::Asked &a : dialogs.asked)
            count += a.kind == TvScriptedDialogs::Asked::Dialog;
        return count;
    }
    void startConnectivity()
    {
        pick(9998);
        tickOnly({0});
        click("StartTestButton");
    }

    bool started = false;
    QStringList offered;
};

} // namespace

class TestUiConnectivity : public QObject
{
    Q_OBJECT

private slots:
    void validatorTakesOctetsOnly_data();
    void validatorTakesOctetsOnly();
    void dialogFixesMaskedOctetsAndWantsEveryField();
    void linkAndAddressDecideWhetherToAsk_data();
    void linkAndAddressDecideWhetherToAsk();
    void cancelWhileWaitingForTheLink();
    void remoteAddressIsRememberedForItsAdapter();
    void failedPingsSayWhyInTheBoxAndTheLog_data();
    void failedPingsSayWhyInTheBoxAndTheLog();
    void eightRealPingsToLoopback();
};

void TestUiConnectivity::validatorTakesOctetsOnly_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("state");
    QTest::newRow("empty") << "" << int(QValidator::Intermediate);
    QTest::newRow("two digits") << "25" << int(QValidator::Intermediate);
    QTest::newRow("255") << "255" << int(QValidator::Acceptable);
    QTest::newRow("099") << "099" << int(QValidator::Acceptable);
    QTest::newRow("256") << "256" << int(QValidator::Invalid);
    QTest::newRow("399 typed in front") << "399" << int(QValidator::Invalid);
    QTest::newRow("letter") << "2a" << int(QValidator::Invalid);
    QTest::newRow("pasted letter inside") << "1a2" << int(QValidator::Invalid);
}

void TestUiConnectivity::validatorTakesOctetsOnly()
{
    QFETCH(QString, input);
    QFETCH(int, state);
    IPValidator validator(4);
    int cursor = input.size();
    QCOMPARE(int(validator.validate(input, cursor)), state);
}

void TestUiConnectivity::dialogFixesMaskedOctetsAndWantsEveryField()
{
    TvScriptedDialogs dialogs;
    QTranslator english;
    QVERIFY(english.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
    QCoreApplication::installTranslator(&english);
    ConTestDlgImpl translated;
    QCoreApplication::removeTranslator(&english);
    for (QLabel *label : translated.findChildren<QLabel *>(QRegularExpression("^textLabel")))
        QVERIFY2(!label->text().contains(QLatin1Char('_')), qPrintable(label->text()));
    QCOMPARE(translated.windowTitle(), QStringLiteral("Network connectivity test"));

    ConTestDlgImpl d;
    auto edit = [&d](int k) { return d.findChild<QLineEdit *>(QStringLiteral("IP%1_Edit").arg(k)); };
    d.fill({"10", "1", "2", "3"}, {"255", "255", "255", "0"}, QString());
    QCOMPARE(d.findChild<QLabel *>("textIP1")->text(), QStringLiteral("10"));
    QCOMPARE(d.findChild<QLabel *>("textMask4")->text(), QStringLiteral("0"));
    for (int k = 1; k <= 3; ++k)
        QVERIFY(edit(k)->isReadOnly() && !edit(k)->isEnabled());
    QCOMPARE(d.remoteAddress(), QStringLiteral("10.1.2.0"));
    QVERIFY(!edit(4)->isReadOnly());
    edit(4)->clear();
    QTest::keyClicks(edit(4), QStringLiteral("256"));
    QCOMPARE(edit(4)->text(), QStringLiteral("25"));
    // A host mask fixes every field, yet the last one stays in reach.
    d.fill({"10", "1", "2", "3"}, {"255", "255", "255", "255"}, QString());
    QVERIFY(edit(4)->isReadOnly() && edit(4)->isEnabled() && !edit(3)->isEnabled());

    // A remembered address fills only the fields the mask leaves open.
    d.fill({"10", "1", "2", "3"}, {"255", "0", "0", "0"}, QStringLiteral("11.9.8.7"));
    QCOMPARE(d.remoteAddress(), QStringLiteral("10.9.8.7"));
    d.show();
    edit(3)->clear();
    d.accept();
    QVERIFY(d.isVisible());
    QCOMPARE(dialogs.messageTexts(), QStringList{"IP_FIELD_MUST_NOT_EMPTY 3"});
    QVERIFY(dialogs.asked.last().caption.isEmpty());
    QCOMPARE(dialogs.asked.last().buttonTexts, QStringList{"CANCEL_TEXT"});
    edit(3)->setText(QStringLiteral("099"));
    d.accept();
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.remoteAddress(), QStringLiteral("10.9.99.7"));
}

void TestUiConnectivity::linkAndAddressDecideWhetherToAsk_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("message");
    const auto portUpAfter = [](int n) {
        return QJsonValue(QJsonArray{QJsonObject{{"link", true}, {"upAfterQueries", n}}});
    };
    const auto ip = [](const char *address, const char *mask) {
        return QJsonValue(QJsonObject{{"address", address}, {"mask", mask}});
    };
    QTest::newRow("up at the third query") << "ports" << portUpAfter(2) << QByteArray() << "";
    QTest::newRow("up at the fifth query") << "ports" << portUpAfter(4) << QByteArray() << "";
    QTest::newRow("down five times") << "ports" << portUpAfter(5) << QByteArray() << "LINK_IS_DOWN";
    QTest::newRow("no driver") << "driver" << QJsonValue() << QByteArray()
                               << "OPEN_ADAPTER_FAILED_NO_DRIVER_OR_DISABLED";
    QTest::newRow("query fails") << "" << QJsonValue() << QByteArray("DriverQueryOid=32")
                                 << "QUERY_OID_LINK_STATE_FAILED";
    const char *noAddress = "ERROR_NO_IP_ADDR_OR_SUBNET_MASK";
    QTest::newRow("no address") << "ip" << QJsonValue() << QByteArray() << noAddress;
    QTest::newRow("address 10.1.2") << "ip" << ip("10.1.2", "255.0.0.0") << QByteArray() << noAddress;
    QTest::newRow("mask a.b.c.d") << "ip" << ip("10.1.2.3", "a.b.c.d") << QByteArray() << noAddress;
}

void TestUiConnectivity::linkAndAddressDecideWhetherToAsk()
{
    QFETCH(QString, field);
    QFETCH(QJsonValue, value);
    QFETCH(QByteArray, fault);
    QFETCH(QString, message);
    Rig rig([&](QJsonObject &adapter) {
        if (value.isUndefined() || value.isNull())
            adapter.remove(field);
        else
            adapter[field] = value;
    });
    QVERIFY(rig.started);
    rig.dialogs.onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    if (!fault.isEmpty())
        qputenv("PROBEKIT_FAULT", fault);
    rig.startConnectivity();
    QTRY_VERIFY(!rig.isRunning());
    qunsetenv("PROBEKIT_FAULT");

    QCOMPARE(rig.dialogs.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(rig.dialogCount(), message.isEmpty() ? 1 : 0);
    if (message == QLatin1String("ERROR_NO_IP_ADDR_OR_SUBNET_MASK"))
        QVERIFY(rig.dialogs.asked.last().caption.isEmpty());
    // Nothing was queued and the window is free again.
    QCOMPARE(rig.worker()->jobCount(), 0);
    QVERIFY(rig.child<QPushButton>("StartTestButton")->isEnabled());
    QVERIFY(rig.rowChecksEnabled());
    QVERIFY(!rig.logHas(QStringLiteral("START_NETWORK_CONNECT_TEST Orlin Dual")));
    // A dialog closed with Cancel ends the test as cancelled, not failed.
    const bool cancelled = message.isEmpty();
    QCOMPARE(rig.logHas(QStringLiteral("TEST_SLOT_CANCELLED Connectivity")), cancelled);
    if (cancelled)
        QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
}

void TestUiConnectivity::cancelWhileWaitingForTheLink()
{
    Rig rig([](QJsonObject &adapter) {
        adapter["ports"] = QJsonArray{QJsonObject{{"link", true}, {"upAfterQueries", 5}}};
    });
    QVERIFY(rig.started);
    rig.startConnectivity();
    QVERIFY(rig.isRunning());
    rig.click("CancelTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QVERIFY(rig.dialogs.messageTexts().isEmpty());
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_CANCELLED"));
    QVERIFY(rig.logHas(QStringLiteral("TEST_SLOT_CANCELLED Connectivity")));
    QVERIFY(rig.child<QPushButton>("StartTestButton")->isEnabled());
}

void TestUiConnectivity::remoteAddressIsRememberedForItsAdapter()
{
    // Without an all-tests entry the connectivity entry is the list's first.
    Rig rig(nullptr, false);
    QVERIFY(rig.started);
    rig.window().connectivity()->setPingRoutine(
        [](const QString &, const QString &, int, QString *) { return 1; });
    rig.answerDialog({"0", "0", "0", "2"});
    rig.mark();
    rig.click("ConnectivityTestBtn");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.logStarting("PING_REPLY 127.0.0.1 127.0.0.2 1").size(), 8);
    QVERIFY(rig.logHas(QStringLiteral("TEST_CASE Step 9801 TEST_CASE_PASSED")));
    // Not looping, a pass ends the run and frees the window.
    QCOMPARE(rig.log().last(), QStringLiteral("TEST_SLOT_FINISHED Connectivity"));
    QVERIFY(rig.child<QPushButton>("StartTestButton")->isEnabled() && rig.rowChecksEnabled());
    QCOMPARE(rig.offered, QStringList{"127.0.0.0"});

    // Offered again from the Tests menu, which brings the test tab forward
    // from another; an endless loop then asks no more.
    auto *tabs = rig.child<QTabWidget>("TvDiagDataTab");
    tabs->setCurrentIndex(0);
    rig.answerDialog({"0", "0", "0", "3"});
    rig.child<QAction>("connectivityTest")->trigger();
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("TestTab"));
    QCOMPARE(rig.offered, QStringList({"127.0.0.0", "127.0.0.2"}));
    rig.child<QCheckBox>("LoopInfiniteTests")->setChecked(true);
    rig.mark();
    rig.click("StartTestButton");
    QTRY_VERIFY(rig.logStarting("TEST_CASE Step 9801").size() >= 2);
    rig.click("CancelTestButton");
    QTRY_VERIFY(!rig.isRunning());
    QCOMPARE(rig.dialogCount(), 2);
    QVERIFY(rig.logHas(QStringLiteral("PING_REPLY 127.0.0.1 127.0.0.3 1")));
}

void TestUiConnectivity::failedPingsSayWhyInTheBoxAndTheLog_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("why");
    QTest::addColumn<QStringList>("logged");
    QTest::addColumn<QString>("box");
    const QString notAllowed = QStringLiteral("no privilege, and ping sockets are not allowed");
    QTest::newRow("no permission") << int(TvPing::SocketFailed) << notAllowed
                                   << QStringList({"PING_NO_SOCKET 127.0.0.1 127.0.0.2", notAllowed})
                                   << notAllowed;
    QTest::newRow("no route") << int(TvPing::SendFailed) << QStringLiteral("Network is unreachable")
                              << QStringList({"PING_NOT_SENT 127.0.0.1 127.0.0.2 Network is unreachable"})
                              << "PING_BOX_NOT_SENT 127.0.0.2 Network is unreachable";
    QTest::newRow("timeout") << int(TvPing::ReceiveFailed) << QString()
                             << QStringList({"PING_NO_REPLY 127.0.0.1 127.0.0.2"})
                             << "PING_BOX_NO_REPLY 127.0.0.2 1000";
}

void TestUiConnectivity::failedPingsSayWhyInTheBoxAndTheLog()
{
    QFETCH(int, failure);
    QFETCH(QString, why);
    QFETCH(QStringList, logged);
    QFETCH(QString, box);
    Rig rig;
    QVERIFY(rig.started);
    rig.window().connectivity()->setPingRoutine(
        [&](const QString &, const QString &, int, QString *explanation) {
            if (!why.isEmpty())
                *explanation = why;
            return failure;
        });
    rig.answerDialog({"0", "0", "0", "2"});
    rig.mark();
    rig.startConnectivity();
    QTRY_VERIFY(!rig.isRunning());
    const QStringList log = rig.log();
    const int failed = log.indexOf(logged.first());
    QVERIFY2(failed >= 0, qPrintable(log.join(QLatin1Char('\n'))));
    QCOMPARE(log.mid(failed, logged.size()), logged);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{box});
    QCOMPARE(rig.row(0)->resultText(), QStringLiteral("TEST_CASE_FAILED"));
}

void TestUiConnectivity::eightRealPingsToLoopback()
{
    const char *const InNamespace = "NICDIAG_PING_NAMESPACE";
    if (qEnvironmentVariableIsSet(InNamespace) && !bringLoopbackUp())
        QSKIP("cannot bring up loopback in the new namespace");
    QString why;
    if (TvPing::ping(Loopback, Loopback, 1000, &why) == TvPing::SocketFailed) {
        if (qEnvironmentVariableIsSet(InNamespace))
            QSKIP(qPrintable(QStringLiteral("may not ping even in a namespace of its own: ") + why));
        // This user may not ping here; as root of a user namespace of its
        // own, with a network namespace made with it, it may.
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(InNamespace), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral("unshare"), {QStringLiteral("--map-root-user"), QStringLiteral("--net"),
                                                QCoreApplication::applicationFilePath(),
                                                QStringLiteral("eightRealPingsToLoopback")});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
        if (!output.contains("Totals:"))
            QSKIP(qPrintable("this user may not ping, and no namespace could be made: " + output.trimmed()));
        QVERIFY2(child.exitCode() == 0 && !output.contains("SKIP"), output.constData());
        return;
    }
    Rig rig;
    QVERIFY(rig.started);
    rig.answerDialog({"0", "0", "0", "2"});
    rig.mark();
    rig.startConnectivity();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.isRunning(), 20000);
    QVERIFY(rig.logHas(QStringLiteral("START_NETWORK_CONNECT_TEST Orlin Dual")));
    QCOMPARE(rig.logStarting("PING_REPLY 127.0.0.1 127.0.0.2 ").size(), 8);
    QVERIFY(rig.logHas(QStringLiteral("TEST_CASE Step 9801 TEST_CASE_PASSED")));
    QCOMPARE(rig.row(0)->progress(), 100);
}

QTEST_MAIN(TestUiConnectivity)
#include "test_ui_connectivity.moc"
