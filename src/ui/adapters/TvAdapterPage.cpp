#include "TvAdapterPage.h"
#include "ui_TvAdapterPage.h"

#include "AdapterListDelegate.h"
#include "AdapterListItem.h"
#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"
#include "ui/log/TvLogBook.h"

#include "core/TvAdapterListing.h"
#include "core/TvCoreRefusal.h"
#include "description/CAdapterInfo.h"

#include <probekit.h>

#include <QTimer>

#include <new>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

// Set while a pick of the adapter list is handled: message boxes run a
// nested event loop in which a second pick must not start.
bool selectionGuard = false;

QString idsLine(const char *format, const AdapterRecord &r)
{
    return QString::asprintf(format, r.vendorId, r.deviceId, r.subsystemVendorId, r.subsystemId);
}

} // namespace

TvAdapterPage::TvAdapterPage(TvAdapterSession *session, TvAsk *ask, TvLogBook *log, QWidget *parent)
    : QWidget(parent), ui(new Ui::TvAdapterPage), session(session), ask(ask), log(log)
{
    ui->setupUi(this);
    rowMap.fill(-1);
    ui->AdapterListBox->setItemDelegate(new AdapterListDelegate(ui->AdapterListBox));
    connect(ui->AdapterListBox, &QListWidget::itemClicked, this, &TvAdapterPage::AdapterClickedSlot);
    connect(ui->locateNIC_Btn, &QPushButton::clicked, this, &TvAdapterPage::locateNIC_Slot);
    connect(ui->allTestBtn, &QPushButton::clicked, this, &TvAdapterPage::allTestsClicked);
    connect(ui->ConnectivityTestBtn, &QPushButton::clicked, this, &TvAdapterPage::connectivityClicked);
    createTimers();
}

TvAdapterPage::~TvAdapterPage()
{
    // A window that closes while locating leaves no LED blinking.
    if (isLocating())
        LocateLedSet(0);
    delete ui;
}

void TvAdapterPage::createTimers()
{
    refresh = new (std::nothrow) QTimer(this);
    if (refresh) {
        // adapterTimerExpired returns a code, so it is connected through a lambda.
        connect(refresh, &QTimer::timeout, this, [this] { adapterTimerExpired(); });
        refresh->start(RefreshIntervalMs);
    }
    locate = new (std::nothrow) QTimer(this);
    if (locate) {
        connect(locate, &QTimer::timeout, this, &TvAdapterPage::locateNICTimerExpired);
        locate->setInterval(LocateIntervalMs);
    }
}

void TvAdapterPage::languageChange()
{
    ui->AdapterListBox->setToolTip(msg("INSTALLED_ADAPTERS %1").arg(QStringLiteral("Tornavel")));
    ui->allTestBtn->setToolTip(msg("START_ALL_TESTS_FOR_SEL_ADAPTER"));
    ui->ConnectivityTestBtn->setToolTip(msg("START_CONNECTIVITY_TEST_FOR_SEL_ADAPTER"));
    ui->locateNIC_Btn->setText(msg(isLocating() ? "STOP_LOCATE_NIC" : "START_LOCATE_NIC"));
    ui->allTestBtn->setText(msg("PERFORM_ALL_TESTS"));
    ui->ConnectivityTestBtn->setText(msg("CONNECTIVITY_TEST"));
}

bool TvAdapterPage::inUseChangedElsewhere() const
{
    const int count = session->count();
    if (count != savedInUse.size())
        return true;
    for (int i = 0; i < count; ++i) {
        if (i != session->currentIndex()
            && (session->record(i).inUse != 0) != (savedInUse.at(i) != 0))
            return true;
    }
    return false;
}

int TvAdapterPage::adapterTimerExpired()
{
    if (!session->enumerate())
        return 1;
    if (session->currentIndex() != -1 && !inUseChangedElsewhere())
        return 0;
    int code = rebuildAdapterList();
    // Another instance, started at the same moment, took the adapter picked
    // here after the table was read. The table now shows it in use: list
    // again and take the next free one, or show that none is left. The
    // first pick no longer counts as the first selectable adapter.
    for (int tries = session->count(); tries > 0 && session->currentIndex() == -1
                                       && session->takeLostPick(); --tries) {
        firstSelectable = -1;
        code = rebuildAdapterList();
    }
    return code;
}

int TvAdapterPage::rebuildAdapterList()
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    QListWidget *list = ui->AdapterListBox;
    list->clear();
    rowMap.fill(-1);
    const int count = session->count();
    savedInUse.resize(count);
    int inUseElsewhere = 0;
    for (int i = 0; i < count; ++i) {
        const AdapterRecord &r = session->record(i);
        savedInUse[i] = r.inUse;
        const bool known = info.hasAdapter(TvAdapterListing::adapterKey(r));
        const bool selectable = known && (r.inUse == 0 || i == session->currentIndex());
        QString state;
        if (!known) {
            state = msg("ADAPTER_UNKNOWN");
        } else if (!selectable) {
            state = msg("ALREADY_DIAGNOSED");
            ++inUseElsewhere;
        } else if (firstSelectable == -1) {
            firstSelectable = i;
        }
        addAdapterRow(i, known, selectable, state);
    }
    if (firstSelectable == -1)
        return inUseElsewhere > 0 ? 3 : 2;
    if (list->selectedItems().isEmpty()) {
        const int row = rowOfAdapter(firstSelectable);
        if (row >= 0) {
            list->setCurrentRow(row);
            session->setAutomaticPick(true);
            AdapterClickedSlot(list->item(row));
            session->setAutomaticPick(false);
        }
    }
    return 0;
}

void TvAdapterPage::addAdapterRow(int index, bool known, bool selectable, const QString &state)
{
    const AdapterRecord &r = session->record(index);
    const QString key = TvAdapterListing::adapterKey(r);
    const QString name = known ? CAdapterInfo::instance().adapterName(key) : QString();
    const QString place =
        r.slotNumber != -1
            ? msg("IN_SLOT %1 %2").arg(name, QString::number(r.slotNumber))
            : msg("DEVICE_ON_BUS %1 %2 %3")
                  .arg(name, QString::number(r.deviceNumber), QString::number(r.busNumber));
    const QString ids =
        idsLine("Vendor-ID:%4.4X Device-ID:%4.4X Subvendor-ID:%4.4X Subsystem-ID:%4.4X", r);

    QListWidget *list = ui->AdapterListBox;
    list->addItem(new AdapterListItem(adapterPicture(key, known), {state + place, ids, QString()},
                                      !selectable, selectable));
    const int row = list->count() - 1;
    if (session->currentBus() != -1 && session->currentDevice() != -1
        && r.busNumber == session->currentBus() && r.deviceNumber == session->currentDevice())
        list->setCurrentRow(row);
    if (row < MaxAdapterRows)
        rowMap[row] = index;
}

QPixmap TvAdapterPage::adapterPicture(const QString &key, bool known) const
{
    // The grey drawing of an entry that cannot be picked is made by AdapterListItem.
    const CAdapterInfo &info = CAdapterInfo::instance();
    QPixmap picture;
    if (known)
        picture.load(info.basePathOf(info.adapterPixmap(key)));
    if (picture.isNull())
        picture.load(info.basePathOf(QStringLiteral("images/generic.bmp")));
    return picture;
}

int TvAdapterPage::rowOfAdapter(int index) const
{
    if (index < 0)
        return -1;
    // Checked access: a row past the map is a fault to stop at, not memory to read.
    for (int row = 0; row < MaxAdapterRows && rowMap.at(row) != -1; ++row) {
        if (rowMap.at(row) == index)
            return row;
    }
    return -1;
}

void TvAdapterPage::selectCurrentAdapterRow()
{
    const int row = rowOfAdapter(session->currentIndex());
    if (row >= 0)
        ui->AdapterListBox->setCurrentRow(row);
    else
        ui->AdapterListBox->clearSelection();
}

void TvAdapterPage::AdapterClickedSlot(QListWidgetItem *item)
{
    if (!item)
        return;
    if (!item->flags().testFlag(Qt::ItemIsSelectable)) {
        selectCurrentAdapterRow();
        return;
    }
    const int row = ui->AdapterListBox->row(item);
    const int index = row >= 0 && row < MaxAdapterRows ? rowMap.at(row) : -1;
    if (index == session->currentIndex() || index < 0 || selectionGuard)
        return;
    selectionGuard = true;

    if (!session->table() || index >= session->count()) {
        selectionGuard = false;
        enableWorkButtons();
        return;
    }
    if (session->record(index).inUse) {
        ask->alone(TvDialogSeam::Critical, msg("ADAPTER_ALREADY_DIAGNOSED"));
        selectCurrentAdapterRow();
        selectionGuard = false;
        return;
    }
    emit adapterPicked(index);
    logSelection(index);
    selectionGuard = false;
    enableWorkButtons();
}

void TvAdapterPage::logSelection(int index)
{
    log->addForcedLine(QString(60, QLatin1Char('=')));
    // A pick that the core refused names the failure where the card's
    // name would stand, so the log never reads as if it had succeeded.
    log->addForcedLine(session->currentIndex() == index || session->selectFailure().isEmpty()
                           ? session->cardName()
                           : session->selectFailure());
    // The selection refreshed the table; the record is read from the new one.
    if (session->table() && index < session->count())
        log->addForcedLine(idsLine(
            "Vendor-ID: %4.4X Device-ID:%4.4X Subvendor-ID:%4.4X Subsystem-ID:%4.4X",
            session->record(index)));
}

void TvAdapterPage::enableWorkButtons()
{
    ui->allTestBtn->setEnabled(true);
    ui->ConnectivityTestBtn->setEnabled(true);
}

void TvAdapterPage::preselect(int bus, int device)
{
    if (!session->table() || bus == -1 || device == -1)
        return;
    for (int i = 0; i < session->count(); ++i) {
        const AdapterRecord &r = session->record(i);
        // The adapter this window holds is reported in use as well; only
        // another holder rules a record out.
        if (r.busNumber != bus || r.deviceNumber != device
            || (r.inUse && i != session->currentIndex()))
            continue;
        // As with a click, an entry that the list shows as not pickable
        // (unknown adapter) is not selected.
        const QListWidgetItem *item = ui->AdapterListBox->item(rowOfAdapter(i));
        if (!item || !item->flags().testFlag(Qt::ItemIsSelectable))
            return;
        if (i != session->currentIndex())
            emit selectRequested(i);
        if (session->currentIndex() == i && rowOfAdapter(i) >= 0)
            ui->AdapterListBox->setCurrentRow(rowOfAdapter(i));
        return;
    }
}

void TvAdapterPage::setControlsEnabled(bool enabled)
{
    ui->AdapterListBox->setEnabled(enabled);
    ui->allTestBtn->setEnabled(enabled);
    ui->ConnectivityTestBtn->setEnabled(enabled);
    ui->locateNIC_Btn->setEnabled(enabled || isLocating());
}

bool TvAdapterPage::isLocating() const
{
    return locate && locate->isActive();
}

void TvAdapterPage::locateNIC_Slot()
{
    if (isLocating()) {
        stopLocating();
        return;
    }
    if (!locate)
        return;
    TvCoreRefusal::clear();
    LocateLedSet(1);
    if (locateRefused())
        return;
    // Running before the lock, so that the lock leaves this button usable.
    locate->start(LocateIntervalMs);
    ui->locateNIC_Btn->setText(msg("STOP_LOCATE_NIC"));
    emit controlsLockRequested(true);
}

void TvAdapterPage::stopLocating()
{
    if (!isLocating())
        return;
    locate->stop();
    emit controlsLockRequested(false);
    LocateLedSet(0);
    ui->locateNIC_Btn->setText(msg("START_LOCATE_NIC"));
}

void TvAdapterPage::locateNICTimerExpired()
{
    // The core blinks on a thread of its own, which finds a refusal later.
    if (locateRefused())
        return;
    locateLed = locateLed == 0 ? 1 : 0;
    LocateLedSet(locateLed);
}

bool TvAdapterPage::locateRefused()
{
    const QString reason = TvCoreRefusal::take();
    if (reason.isEmpty())
        return false;
    stopLocating();
    const QString text = msg("LOCATE_REFUSED %1").arg(reason);
    log->addForcedLine(text);
    ask->alone(TvDialogSeam::Warning, text);
    return true;
}
