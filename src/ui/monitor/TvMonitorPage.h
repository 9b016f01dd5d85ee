#pragma once
#include <QWidget>

class QButtonGroup;
class TvAdapterSession;
class TvAsk;

namespace Ui {
class TvMonitorPage;
}

// The monitor and repeater tab (advanced mode): one port of the adapter in
// the core's monitor or repeater mode. The page composes the mode command
// from the two radio groups and has the console run it; while it runs, the
// core writes its state into the state table. The page keeps its controls
// in step with the adapter and with runs.
class TvMonitorPage : public QWidget
{
    Q_OBJECT
public:
    // The state table's bounds; the core's modes use a handful of rows and
    // two columns, and a cell beyond these is ignored.
    static constexpr int MaxStateRows = 258; // two state rows and 256 driver counters
    static constexpr int MaxStateColumns = 16;

    TvMonitorPage(bool advanced, TvAdapterSession *session, TvAsk *ask, QWidget *parent = nullptr);
    ~TvMonitorPage() override;

    // The radio buttons with their ids (Repeater 0, Monitor 1; PortA 0,
    // PortB 1); the titled frames are ModeButtonGroup and PortButtonGroup.
    QButtonGroup *modeButtons() const { return modeButtonIds; }
    QButtonGroup *portButtons() const { return portButtonIds; }

    // No adapter: the controls that need one go off, and the last mode's
    // table with them.
    void reset();
    // An adapter was selected: the controls come on, mode and port 0 chosen.
    void adapterSelected();
    // The port choice needs an adapter with two ports.
    void setPortsEnabled(bool dualPort);
    // The monitor page's share of locking the controls around a run; the
    // start button takes the focus when this page is shown. The table
    // empties when a run starts and stays when it ends; a mode's end hands
    // on its final counts.
    void setControlsEnabled(bool enabled, bool dualPort, bool shown);
    // A cancel was asked for.
    void cancelDone();
    void takeFocus();
    // Core event 1032: cell (row, column) shows the translated key; cells
    // outside MaxStateRows x MaxStateColumns are ignored.
    void showStateCell(int row, int column, const QString &key);
    void languageChange();

    // "Repeater Port A" for mode 0 and port 0; any other mode is the
    // monitor, any other port port B.
    static QString modeCommand(int mode, int port);

public slots:
    void StartMonitor();
    void StartRepeater();

signals:
    void startPressed();
    void cancelPressed();
    // The mode command, to be run by the console as if typed there.
    void commandWanted(const QString &command);
    // The repeater starts from the menu: the tab is to be shown.
    void pageWanted();
    // A mode ended; its last table, row by row ("label value, ...").
    void modeEnded(const QString &finalCounts);

private:
    void setAdapterControlsEnabled(bool enabled);
    QString tableSummary() const;

    Ui::TvMonitorPage *ui;
    bool advanced;
    TvAdapterSession *session;
    TvAsk *ask;
    QButtonGroup *modeButtonIds;
    QButtonGroup *portButtonIds;
    bool modeRunning = false;
};
