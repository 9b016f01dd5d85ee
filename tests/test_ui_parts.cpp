// The small parts of the main window, each built on its own: the way it asks
// the user, and the pages whose features are still to come (configuration,
// sensors, general, monitor, console) and the log page.
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "text/TvProgram.h"
#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/config/TvConfigPage.h"
#include "ui/console/TvConsolePage.h"
#include "ui/general/TvGeneralPage.h"
#include "ui/log/TvLogBook.h"
#include "ui/log/TvLogPage.h"
#include "ui/log/TvLogView.h"
#include "ui/monitor/TvMonitorPage.h"
#include "ui/sensors/TvSensorPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QScrollBar>
#include <QtTest>

namespace {

class Parts : public TvUiRig
{
public:
    template <typename T> static T *in(QWidget &page, const char *name)
    {
        return page.findChild<T *>(QLatin1String(name));
    }
};

} // namespace

class TestUiParts : public QObject
{
    Q_OBJECT

private slots:
    void questionsShowTheArrowAndRestoreTheCursor();
    void configPageTellsTwoPortsAndResets();
    void generalPageShowsPortBOnlyForTwoPorts();
    void pollingPagesFollowTheirTab();
    void monitorPageFollowsAdapterAndRuns();
    void consoleReleasesTheControlsUnlessAScriptRuns();
    void logPageFollowsTheLastLineAndSaves();
};

void TestUiParts::questionsShowTheArrowAndRestoreTheCursor()
{
    TvUiRig rig;
    TvAsk &ask = rig.ask;
    QCOMPARE(ask.showQuestion(nullptr), int(TvDialogSeam::Cancel));
    QVERIFY(rig.dialogs.asked.isEmpty());

    // While a test runs with the wait cursor, the user answers with the
    // arrow and the wait cursor comes back.
    const TvAsk::Question question{QStringLiteral("IS_LINK_LED_ON"), TvDialogSeam::Yes,
                                   TvDialogSeam::No};
    Qt::CursorShape during = Qt::BlankCursor;
    rig.dialogs.whileOpen = [&](const QString &) { during = QApplication::overrideCursor()->shape(); };
    ask.setRunning(true);
    ask.setRunCursor(Qt::WaitCursor);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    QCOMPARE(ask.showQuestion(&question), int(TvDialogSeam::No));
    QCOMPARE(during, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    const TvScriptedDialogs::Asked asked = rig.dialogs.asked.first();
    QCOMPARE(asked.icon, TvDialogSeam::Information);
    QCOMPARE(asked.caption, TvProgram::bannerText());
    QCOMPARE(asked.text, QStringLiteral("IS_LINK_LED_ON"));
    QCOMPARE(asked.buttons, QList<int>({TvDialogSeam::Yes, TvDialogSeam::No}));

    // A run that showed no wait cursor shows none after the question either.
    ask.clearRunCursor();
    ask.showQuestion(&question);
    QVERIFY(!QApplication::overrideCursor());
    ask.setRunning(false);
}

void TestUiParts::configPageTellsTwoPortsAndResets()
{
    Parts p;
    TvConfigPage page(&p.session, &p.ask);
    auto *third = Parts::in<QLabel>(page, "Misc3Text");
    auto *save = Parts::in<QPushButton>(page, "SaveToFileButton");
    QVERIFY(!save->isEnabled());
    // Only the number 2 itself: a unit after it makes a single port.
    const QList<QPair<QString, bool>> values = {{"2", true}, {"2 x", false}, {"1", false}, {"", false}};
    for (const auto &value : values) {
        third->setText(value.first);
        QCOMPARE(page.dualPort(), value.second);
    }
    third->setTextFormat(Qt::RichText);
    page.setSaveEnabled(true);
    page.reset();
    QVERIFY(third->text().isEmpty() && third->textFormat() == Qt::PlainText);
    QVERIFY(!save->isEnabled());
}

void TestUiParts::generalPageShowsPortBOnlyForTwoPorts()
{
    Parts p;
    TvGeneralPage page(&p.session);
    const QStringList portB = {"PortBLabel", "LinkLedB", "ActivityLedB", "DuplexModeTextB", "SpeedModeTextB"};
    for (bool dual : {true, false}) {
        page.applyPortCount(dual);
        for (const QString &name : portB)
            QCOMPARE(!page.findChild<QWidget *>(name)->isHidden(), dual);
        QCOMPARE(Parts::in<QLabel>(page, "PortALabel")->text(), dual ? QStringLiteral("PORT_A") : QString());
        // A second port's LEDs come on the page switched off, not blank.
        if (dual)
            QVERIFY(!Parts::in<QLabel>(page, "ActivityLedB")->pixmap(Qt::ReturnByValue).isNull());
    }
    Parts::in<QLabel>(page, "IpAddrText")->setText(QStringLiteral("10.0.0.1"));
    page.reset();
    QCOMPARE(Parts::in<QLabel>(page, "IpAddrText")->text(), QStringLiteral("NOT_AVAILABLE"));
    QCOMPARE(Parts::in<QLabel>(page, "DiagVersionText")->text(), QStringLiteral("v7.12"));
    // The program's release date stays through a change of language.
    auto *date = Parts::in<QLabel>(page, "DiagRelDateText");
    const QString released = date->text();
    date->clear();
    page.languageChange();
    QVERIFY(!released.isEmpty() && date->text() == released);
    QCOMPARE(Parts::in<QLabel>(page, "LinkLedA")->pixmap(Qt::ReturnByValue).size(), QSize(16, 16));
}

void TestUiParts::pollingPagesFollowTheirTab()
{
    Parts p;
    TvGeneralPage general(&p.session);
    general.startPolling();
    QVERIFY(general.infoTimer()->isActive());
    QCOMPARE(general.infoTimer()->interval(), 1000);
    general.stopPolling();
    QVERIFY(!general.infoTimer()->isActive());

    // The sensors are read at the configured interval; an interval of 0
    // would spin and reads once.
    TvSensorPage sensors(&p.session, &p.ask);
    QCOMPARE(sensors.objectName(), QStringLiteral("SensorTab"));
    for (int interval : {700, 0}) {
        CAdapterInfo::instance().poll_interval = interval;
        sensors.startPolling();
        QCOMPARE(sensors.pollTimer()->isActive(), interval > 0);
        if (interval > 0)
            QCOMPARE(sensors.pollTimer()->interval(), interval);
        sensors.stopPolling();
        QVERIFY(!sensors.pollTimer()->isActive());
    }
}

void TestUiParts::monitorPageFollowsAdapterAndRuns()
{
    Parts p;
    TvMonitorPage page(true, &p.session, &p.ask);
    auto *ports = Parts::in<QGroupBox>(page, "PortButtonGroup");
    auto *repeater = Parts::in<QRadioButton>(page, "Repeater");
    auto *cancel = Parts::in<QPushButton>(page, "MonitorCancelButton");
    auto *table = Parts::in<QTableWidget>(page, "StateTable");
    page.reset();
    QVERIFY(!ports->isEnabled() && !repeater->isEnabled());
    page.adapterSelected();
    QVERIFY(ports->isEnabled() && repeater->isEnabled());
    QCOMPARE(page.modeButtons()->checkedId(), 0);
    QCOMPARE(page.portButtons()->checkedId(), 0);

    // Locked for a run, the table empties; released, the run's table
    // stays, the cancel button goes off and the ports follow the adapter.
    table->setRowCount(4);
    page.setControlsEnabled(false, true, false);
    QVERIFY(!ports->isEnabled() && !repeater->isEnabled());
    QCOMPARE(table->rowCount(), 0);
    cancel->setEnabled(true);
    table->setRowCount(2);
    for (bool dual : {true, false}) {
        page.setControlsEnabled(true, dual, !dual);
        QCOMPARE(ports->isEnabled(), dual);
    }
    // Shown, the page hands the keyboard to its start button.
    QVERIFY(repeater->isEnabled() && !cancel->isEnabled());
    QCOMPARE(page.focusWidget(), Parts::in<QPushButton>(page, "MonitorStartButton"));
    QCOMPARE(table->rowCount(), 2);
    // A few rows share the table's height.
    table->resize(200, 300);
    page.showStateCell(2, 0, QStringLiteral("LINK_UP"));
    QCOMPARE(table->rowHeight(0), 100);
    page.reset();
    QCOMPARE(table->rowCount(), 0);

    // The core's cell numbers are bounded by the table.
    const int rows = TvMonitorPage::MaxStateRows, columns = TvMonitorPage::MaxStateColumns;
    for (const QPoint cell : {QPoint(rows, 0), QPoint(0, columns), QPoint(INT_MAX, INT_MAX)}) {
        page.showStateCell(cell.x(), cell.y(), QStringLiteral("LINK_UP"));
        QVERIFY(table->rowCount() == 0 && table->columnCount() <= 2);
    }
    page.showStateCell(rows - 1, columns - 1, QStringLiteral("LINK_UP"));
    QVERIFY(table->rowCount() == rows && table->columnCount() == columns);
    QCOMPARE(table->item(rows - 1, columns - 1)->text(), QStringLiteral("LINK_UP"));
    // A driver's many counters keep rows a line of text can be read in.
    QVERIFY(table->rowHeight(rows - 1) >= table->fontMetrics().height());
    QCOMPARE(table->rowHeight(rows - 1), table->rowHeight(0));

    // Each mode and port the buttons choose makes its own command.
    p.useFourAdapters();
    QVERIFY(p.startCore() && p.session.enumerate() && p.session.select(0));
    QSignalSpy commands(&page, &TvMonitorPage::commandWanted);
    for (int mode : {0, 1}) {
        for (int port : {0, 1}) {
            page.modeButtons()->button(mode)->setChecked(true);
            page.portButtons()->button(port)->setChecked(true);
            page.StartMonitor();
        }
    }
    QStringList sent;
    for (const QList<QVariant> &c : commands)
        sent << c.at(0).toString();
    QCOMPARE(sent, QStringList({"Repeater Port A", "Repeater Port B", "Monitor Port A", "Monitor Port B"}));
}

void TestUiParts::consoleReleasesTheControlsUnlessAScriptRuns()
{
    Parts p;
    TvConsolePage page(true, &p.session, &p.ask, &p.book, nullptr);
    QCOMPARE(page.objectName(), QStringLiteral("AdvancedTab"));
    // Built, it names its button and has the command line take the keys.
    QVERIFY(page.buildAdvancedTab());
    QCOMPARE(Parts::in<QPushButton>(page, "AdvancedCancelBtn")->text(), QStringLiteral("CANCEL_TESTS"));
    QCOMPARE(page.focusWidget(), Parts::in<QWidget>(page, "AdvancedLineEdit"));
    QSignalSpy lock(&page, &TvConsolePage::controlsLockRequested);
    p.ask.setRunCursor(Qt::WaitCursor);
    page.commandEnded();
    QCOMPARE(lock.count(), 1);
    QCOMPARE(lock.first().first().toBool(), false);
    QVERIFY(!QApplication::overrideCursor());
    // A script goes on with its next command: the controls stay locked.
    page.setScriptRunning(true);
    page.commandEnded();
    QCOMPARE(lock.count(), 1);
}

void TestUiParts::logPageFollowsTheLastLineAndSaves()
{
    Parts p;
    TvLogPage page(&p.book);
    auto *view = Parts::in<TvLogView>(page, "LogfileListBox");
    page.resize(400, 300);
    page.show();
    // A burst reaches the view in one insertion and the view follows it.
    p.book.setLoggingOn(true);
    QSignalSpy inserted(p.book.model(), &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 20000; ++i)
        p.book.addLogLine(QStringLiteral("line %1").arg(i));
    QTRY_COMPARE(p.book.model()->rowCount(), 20000);
    QCOMPARE(inserted.count(), 1);
    const QScrollBar *bar = view->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0 && bar->value() == bar->maximum());
    const int inSight = view->viewport()->height() / view->lineHeight();
    QCOMPARE(view->firstVisibleRow(), 20000 - inSight);
    // Home goes to the first line; the next line brings the view back.
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(view->firstVisibleRow(), 0);
    p.book.addLogLine(QStringLiteral("one more"));
    QTRY_COMPARE(view->firstVisibleRow(), 20001 - inSight);
    // Lines that come while the tab is hidden are in sight when it shows.
    page.hide();
    for (int i = 0; i < 100; ++i)
        p.book.addLogLine(QStringLiteral("hidden %1").arg(i));
    QTRY_COMPARE(p.book.model()->rowCount(), 20101);
    page.show();
    QCOMPARE(view->firstVisibleRow(), 20101 - inSight);

    // Its button saves under a new name.
    Parts::in<QPushButton>(page, "saveLogBtn")->click();
    QCOMPARE(p.dialogs.asked.size(), 1);
    QCOMPARE(p.dialogs.asked.first().kind, TvScriptedDialogs::Asked::SaveFile);
}

QTEST_MAIN(TestUiParts)
#include "test_ui_parts.moc"
