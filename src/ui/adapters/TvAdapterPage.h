#pragma once
#include <QPixmap>
#include <QVector>
#include <QWidget>

#include <array>

class QListWidgetItem;
class QTimer;
class TvAdapterSession;
class TvAsk;
class TvLogBook;

namespace Ui {
class TvAdapterPage;
}

// The adapter tab: the installed adapters as a list of pictures and texts,
// refreshed every 5 seconds; a pick of the list asks the window to select
// that adapter (the window keeps the order of what a selection does), and
// the locate blinker.
class TvAdapterPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MaxAdapterRows = 256;
    static constexpr int RefreshIntervalMs = 5000;
    static constexpr int LocateIntervalMs = 1000;

    TvAdapterPage(TvAdapterSession *session, TvAsk *ask, TvLogBook *log, QWidget *parent = nullptr);
    ~TvAdapterPage() override;

    // Null when it could not be created (the window says so).
    QTimer *refreshTimer() const { return refresh; }
    QTimer *locateTimer() const { return locate; }

    // Refreshes the list: 0 when an adapter can be picked, 1 when the core
    // gave no adapter table, 2 when none can be picked and none is in use
    // elsewhere, 3 when none can be picked but one is in use elsewhere.
    int adapterTimerExpired();
    // Selects the adapter at this PCI bus and device (-b, -d), if it can be
    // picked, and shows its row as the selected one.
    void preselect(int bus, int device);
    // The list and the buttons that start work follow a run. The locate
    // button stays usable while it locates (it ends the locating), and
    // otherwise follows too, so that it never releases a run's lock.
    void setControlsEnabled(bool enabled);
    bool isLocating() const;
    // Ends locating as a second press does: LED off, controls released.
    void stopLocating();
    void languageChange();

public slots:
    void AdapterClickedSlot(QListWidgetItem *item);
    void locateNIC_Slot();
    void locateNICTimerExpired();

signals:
    // The user (or the refresh for him) picked the adapter at this index.
    void adapterPicked(int index);
    // The preselection wants this adapter selected.
    void selectRequested(int index);
    void allTestsClicked();
    void connectivityClicked();
    // Locating locks the window's controls (true) until it ends (false).
    void controlsLockRequested(bool lock);

private:
    void createTimers();
    bool inUseChangedElsewhere() const;
    int rebuildAdapterList();
    void addAdapterRow(int index, bool known, bool selectable, const QString &state);
    QPixmap adapterPicture(const QString &key, bool known) const;
    int rowOfAdapter(int index) const;
    void selectCurrentAdapterRow();
    void logSelection(int index);
    void enableWorkButtons();
    // The core refused to blink: locating stops, and the box and the log
    // say why.
    bool locateRefused();

    Ui::TvAdapterPage *ui;
    TvAdapterSession *session;
    TvAsk *ask;
    TvLogBook *log;
    QTimer *refresh = nullptr;
    QTimer *locate = nullptr;
    // The LED's state in the blinking; kept when locating stops.
    int locateLed = 0;
    int firstSelectable = -1;
    std::array<int, MaxAdapterRows> rowMap;
    QVector<quint8> savedInUse;
};
