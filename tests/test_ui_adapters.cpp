// The adapter session and the adapter page on their own: the list of
// installed adapters and its refresh, picks, and failing selections.
#include "TvUiRig.h"

#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/adapters/AdapterListItem.h"
#include "ui/adapters/TvAdapterPage.h"
#include "ui/log/TvLogBook.h"
#include "text/TvProgram.h"

#include <probekit.h>

#include <cstdarg>

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

namespace {

// A session and an adapter page over the rig's four adapters. A pick is
// handled as the window handles it: no adapter, the pick selected, the list
// refreshed.
class Rig : public TvUiRig
{
public:
    Rig() { useFourAdapters(); }

    TvAdapterPage &page()
    {
        if (!adapterPage) {
            adapterPage = std::make_unique<TvAdapterPage>(&session, &ask, &book);
            auto select = [this](int index) {
                session.clear();
                if (session.select(index))
                    adapterPage->adapterTimerExpired();
            };
            QObject::connect(adapterPage.get(), &TvAdapterPage::adapterPicked, select);
            QObject::connect(adapterPage.get(), &TvAdapterPage::selectRequested, select);
            list = adapterPage->findChild<QListWidget *>(QStringLiteral("AdapterListBox"));
        }
        return *adapterPage;
    }
    AdapterListItem *item(int row) const { return static_cast<AdapterListItem *>(list->item(row)); }
    QList<QListWidgetItem *> rows() const
    {
        QList<QListWidgetItem *> items;
        for (int i = 0; i < list->count(); ++i)
            items.append(list->item(i));
        return items;
    }
    QStringList texts() const { return TvUiRig::texts(book.model()); }
    void click(int row) const
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
    }

    std::unique_ptr<TvAdapterPage> adapterPage;
    QListWidget *list = nullptr;
};

// Whether the selected adapter's locate LED is on, as the core's status
// command tells.
QStringList coreLines;
int collectLine(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    coreLines.append(QString::vasprintf(format, args));
    va_end(args);
    return 0;
}
bool locateLedOn()
{
    coreLines.clear();
    CoreCallbacks table{};
    table.logText = collectLine;
    uint8_t flags[2] = {0, 0};
    CommandRun("status", flags, &table);
    return coreLines.join(QLatin1Char('\n')).contains(QLatin1String("Locate LED: on"));
}

} // namespace

class TestUiAdapters : public QObject
{
    Q_OBJECT

private slots:
    void refreshRebuildsOnlyForOtherHolders();
    void picksOfTheAdapterList();
    void rowsHoldTheirTextWithoutPictures();
    void aPersistentSelectFailureIsShownOnce();
    void locateBlinksUntilPressedAgain();
    void rowsPastTheMapAreShownButNotPicked();
    void aRefusedLocateSaysWhyAndStops();
};

void TestUiAdapters::refreshRebuildsOnlyForOtherHolders()
{
    Rig rig;
    QVERIFY(rig.startCore());
    QCOMPARE(rig.page().adapterTimerExpired(), 0);

    // The other vendor's adapter is filtered out; the rest are described.
    QCOMPARE(rig.list->count(), 3);
    AdapterListItem *dual = rig.item(0), *single = rig.item(1), *unknown = rig.item(2);
    QCOMPARE(dual->lines().value(0), QStringLiteral("IN_SLOT Orlin Dual 2"));
    QCOMPARE(dual->lines().value(1),
             QStringLiteral("Vendor-ID:ABCD Device-ID:0102 Subvendor-ID:ABCD Subsystem-ID:0001"));
    QVERIFY(dual->lines().value(2).isNull());
    // The item's own text, for type-ahead search and screen readers.
    QCOMPARE(dual->text(), dual->lines().mid(0, 2).join(QLatin1Char('\n')));
    QCOMPARE(single->lines().value(0), QStringLiteral("DEVICE_ON_BUS Orlin Single 0 3"));
    QCOMPARE(unknown->lines().value(0), QStringLiteral("ADAPTER_UNKNOWNIN_SLOT  4"));
    QVERIFY(!unknown->isSelectable() && unknown->isMonochrome());
    // A missing picture falls back to the generic one.
    QCOMPARE(single->picture().size(), QSize(32, 90));
    QCOMPARE(dual->picture().size(), QSize(40, 80));
    QCOMPARE(dual->picture().toImage().pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(unknown->picture().size(), QSize(32, 90));

    // The first refresh picked the dual-port adapter; the core reports it
    // in use (by us), yet it stays the selectable, selected row.
    QCOMPARE(rig.session.currentIndex(), 0);
    QVERIFY(rig.session.record(0).inUse != 0);
    QVERIFY(dual->isSelectable() && !dual->isMonochrome());
    const QList<QListWidgetItem *> before = rig.rows();
    QCOMPARE(rig.page().adapterTimerExpired(), 0);
    QCOMPARE(rig.rows(), before);
    QVERIFY(rig.list->item(0)->isSelected());

    // Another instance takes the single-port adapter: the list is rebuilt.
    const int lock = rig.holdElsewhere(3, 0);
    QVERIFY(lock >= 0);
    QCOMPARE(rig.page().adapterTimerExpired(), 0);
    QVERIFY(rig.rows() != before);
    AdapterListItem *taken = rig.item(1);
    QVERIFY(!taken->isSelectable() && taken->isMonochrome());
    QVERIFY(taken->lines().value(0).startsWith(QStringLiteral("ALREADY_DIAGNOSED")));
    const QColor grey = taken->picture().toImage().pixelColor(3, 3);
    QVERIFY(grey.red() == grey.green() && grey.green() == grey.blue());
    QVERIFY(rig.list->item(0)->isSelected());
    QVERIFY(rig.item(0)->isSelectable());
    QCOMPARE(rig.session.currentIndex(), 0);

    // Released again: the page's own timer rebuilds it once more, pickable.
    const QList<QListWidgetItem *> whileHeld = rig.rows();
    rig.release(lock);
    QTimer *refresh = nullptr;
    for (QTimer *timer : rig.page().findChildren<QTimer *>())
        refresh = timer->interval() == TvAdapterPage::RefreshIntervalMs ? timer : refresh;
    QVERIFY(refresh && refresh->isActive());
    QVERIFY(QMetaObject::invokeMethod(refresh, "timeout"));
    QVERIFY(rig.rows() != whileHeld);
    QVERIFY(rig.item(1)->isSelectable());
    QVERIFY(rig.dialogs.asked.isEmpty());
}

void TestUiAdapters::picksOfTheAdapterList()
{
    Rig rig;
    QVERIFY(rig.startCore());
    rig.page().adapterTimerExpired();
    // The first pick, made by the refresh, logged its three lines.
    QCOMPARE(rig.texts(), QStringList({QString(60, QLatin1Char('=')), "Orlin Dual",
                                       "Vendor-ID: ABCD Device-ID:0102 Subvendor-ID:ABCD Subsystem-ID:0001"}));

    rig.page().show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.page()));
    // Rows are as high as their picture and 5 pixels more, 500 wide.
    QListWidget *list = rig.list;
    QCOMPARE(list->visualItemRect(list->item(0)).height(), 80 + 5);
    QCOMPARE(list->visualItemRect(list->item(1)).height(), 90 + 5);
    QCOMPARE(list->itemDelegate()->sizeHint(QStyleOptionViewItem(), list->model()->index(1, 0)).width(), 500);

    // A monochrome row sends the selection back to the current adapter.
    rig.click(2);
    QVERIFY(list->item(0)->isSelected() && !list->item(2)->isSelected());
    QCOMPARE(rig.session.currentIndex(), 0);

    // The current adapter's row: nothing happens, nothing is logged.
    rig.page().AdapterClickedSlot(list->item(0));
    QCOMPARE(rig.texts().size(), 3);

    // A real pick selects, logs and leaves logging as it was. Only this
    // program's adapters changed hands, so the rows stay as they were.
    const QList<QListWidgetItem *> before = rig.rows();
    // The pick's work buttons come on.
    const QList<QPushButton *> work = {rig.page().findChild<QPushButton *>(QStringLiteral("allTestBtn")),
                                       rig.page().findChild<QPushButton *>(QStringLiteral("ConnectivityTestBtn"))};
    for (QPushButton *button : work)
        button->setEnabled(false);
    rig.click(1);
    QVERIFY(work.at(0)->isEnabled() && work.at(1)->isEnabled());
    QCOMPARE(rig.rows(), before);
    QCOMPARE(rig.session.currentIndex(), 1);
    QCOMPARE(rig.session.cardName(), QStringLiteral("Orlin Single"));
    QCOMPARE(rig.texts().mid(4), QStringList({"Orlin Single",
                                              "Vendor-ID: ABCD Device-ID:0101 Subvendor-ID:ABCD Subsystem-ID:0001"}));
    QVERIFY(!rig.book.loggingOn());
    QVERIFY(list->item(1)->isSelected());
    QVERIFY(rig.dialogs.asked.isEmpty());

    // A click beside the rows picks nothing.
    rig.page().AdapterClickedSlot(nullptr);
    QCOMPARE(rig.session.currentIndex(), 1);
    // The current adapter (on device 0) stays current when another holder
    // makes the list rebuild.
    const int lock = rig.holdElsewhere(2, 1);
    QVERIFY(lock >= 0);
    QCOMPARE(rig.page().adapterTimerExpired(), 0);
    QVERIFY(rig.rows() != before);
    QCOMPARE(rig.session.currentIndex(), 1);
    QVERIFY(list->item(1)->isSelected());
    rig.release(lock);
    QCOMPARE(rig.page().adapterTimerExpired(), 0);
    QCOMPARE(rig.session.currentIndex(), 1);

    // A row shown free whose adapter was taken meanwhile: the core refuses.
    QVERIFY(rig.holdElsewhere(2, 1) >= 0);
    rig.page().AdapterClickedSlot(list->item(0));
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({QStringLiteral("ADAPTER_LOCK_FAILED")}));
    QCOMPARE(rig.session.currentIndex(), -1);
}

void TestUiAdapters::rowsHoldTheirTextWithoutPictures()
{
    Rig rig;
    QTemporaryDir nowhere;
    CAdapterInfo::instance().basepath = nowhere.path();
    QVERIFY(rig.startCore());
    rig.page().adapterTimerExpired();
    rig.page().show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.page()));
    // Two lines: the first baseline a line and 10 pixels down, the second a
    // line and 5 pixels below it, and 5 pixels under the second's descent.
    const QFontMetrics metrics(rig.list->font());
    for (int row = 0; row < rig.list->count(); ++row) {
        QVERIFY(rig.item(row)->picture().isNull());
        QCOMPARE(rig.list->visualItemRect(rig.list->item(row)).height(),
                 2 * metrics.height() + 15 + metrics.descent() + 5);
    }
}

void TestUiAdapters::aPersistentSelectFailureIsShownOnce()
{
    Rig rig;
    rig.machine.faults = QJsonObject{{QStringLiteral("AdapterSelect"), 29}};
    QVERIFY(rig.startCore());
    const QString failure = TvStatusCodes::statusText(29);
    // Every refresh picks again and fails again; the box came once, and
    // the log names every failure.
    for (int refresh = 0; refresh < 4; ++refresh)
        QCOMPARE(rig.page().adapterTimerExpired(), 0);
    QCOMPARE(rig.session.currentIndex(), -1);
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({failure}));
    QCOMPARE(rig.dialogs.asked.first().buttonTexts, QStringList({"CANCEL_TEXT"}));
    QCOMPARE(rig.texts().count(failure), 4);

    // Once a pick succeeds, a new failure is shown again.
    qputenv("PROBEKIT_FAULT", "AdapterSelect=0");
    QCOMPARE(rig.page().adapterTimerExpired(), 0);
    QCOMPARE(rig.session.currentIndex(), 0);
    qputenv("PROBEKIT_FAULT", "AdapterSelect=29");
    QVERIFY(!rig.session.select(1));
    qunsetenv("PROBEKIT_FAULT");
    QCOMPARE(rig.dialogs.messageTexts().size(), 2);
}

void TestUiAdapters::locateBlinksUntilPressedAgain()
{
    Rig rig;
    QVERIFY(rig.startCore());
    TvProgram::runSettings()[0] = 1;
    TvDiagMainWindow &w = rig.window();
    auto *locate = rig.child<QPushButton>("locateNIC_Btn");
    auto *list = rig.child<QListWidget>("AdapterListBox");

    locate->click();
    QVERIFY(locateLedOn());
    QCOMPARE(locate->text(), QStringLiteral("STOP_LOCATE_NIC"));
    // Locked, except for the button that ends it; nothing else cancels it,
    // and the status bar says why the tabs are greyed.
    QVERIFY(!list->isEnabled() && !rig.child<QAction>("allTests")->isEnabled());
    QVERIFY(locate->isEnabled());
    QVERIFY(!rig.child<QPushButton>("AdvancedCancelBtn")->isEnabled());
    QVERIFY(!rig.child<QPushButton>("MonitorCancelButton")->isEnabled());
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("CONTROLS_LOCKED_WHILE_LOCATING"));
    w.adapters()->locateNICTimerExpired();
    QVERIFY(locateLedOn());
    w.adapters()->locateNICTimerExpired();
    QVERIFY(!locateLedOn());
    w.adapters()->locateNICTimerExpired();
    QVERIFY(locateLedOn());

    locate->click();
    QVERIFY(!locateLedOn());
    QCOMPARE(locate->text(), QStringLiteral("START_LOCATE_NIC"));
    QVERIFY(list->isEnabled() && !w.adapters()->locateTimer()->isActive());
    QVERIFY(w.statusBar()->currentMessage().isEmpty());

    // A run's lock is not the locate button's to release.
    w.setControlsEnabled(false);
    QVERIFY(!locate->isEnabled());
}

void TestUiAdapters::rowsPastTheMapAreShownButNotPicked()
{
    Rig rig;
    for (int i = 0; i < 300; ++i)
        rig.machine.adapters.append(TvTestMachine::adapter(10 + i / 32, i % 32, -1));
    QVERIFY(rig.startCore());
    QCOMPARE(rig.page().adapterTimerExpired(), 0);
    QCOMPARE(rig.list->count(), 303);
    QVERIFY(TvAdapterPage::MaxAdapterRows < 300);
    // Neither a click nor a preselection picks the adapter of row 299.
    rig.page().AdapterClickedSlot(rig.list->item(299));
    const AdapterRecord &late = rig.session.record(299);
    rig.page().preselect(late.busNumber, late.deviceNumber);
    QCOMPARE(rig.session.currentIndex(), 0);
    // One that is mapped is picked.
    rig.click(200);
    QCOMPARE(rig.session.currentIndex(), 200);
}

void TestUiAdapters::aRefusedLocateSaysWhyAndStops()
{
    Rig rig;
    rig.machine.refusals = QJsonObject{{QStringLiteral("LocateLedSet"), QStringLiteral("no rights")}};
    QVERIFY(rig.startCore());
    TvDiagMainWindow &w = rig.window();
    auto *locate = rig.child<QPushButton>("locateNIC_Btn");
    locate->click();
    const QString refused = QStringLiteral("LOCATE_REFUSED no rights");
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{refused});
    QCOMPARE(rig.dialogs.asked.first().icon, TvDialogSeam::Warning);
    QVERIFY(rig.logHas(refused));
    QCOMPARE(locate->text(), QStringLiteral("START_LOCATE_NIC"));
    QVERIFY(!w.adapters()->locateTimer()->isActive());
    QVERIFY(rig.child<QListWidget>("AdapterListBox")->isEnabled());
}

QTEST_MAIN(TestUiAdapters)
#include "test_ui_adapters.moc"
