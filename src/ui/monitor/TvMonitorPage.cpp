#include "TvMonitorPage.h"
#include "ui_TvMonitorPage.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvContextText.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <initializer_list>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

} // namespace

TvMonitorPage::TvMonitorPage(bool advanced, TvAdapterSession *session, TvAsk *ask, QWidget *parent)
    : QWidget(parent),
      ui(new Ui::TvMonitorPage),
      advanced(advanced),
      session(session),
      ask(ask),
      modeButtonIds(new QButtonGroup(this)),
      portButtonIds(new QButtonGroup(this))
{
    ui->setupUi(this);
    modeButtonIds->setObjectName(QStringLiteral("ModeButtonIds"));
    modeButtonIds->addButton(ui->Repeater, 0);
    modeButtonIds->addButton(ui->Monitor, 1);
    portButtonIds->setObjectName(QStringLiteral("PortButtonIds"));
    portButtonIds->addButton(ui->PortA, 0);
    portButtonIds->addButton(ui->PortB, 1);

    // Nothing runs yet: there is nothing to cancel.
    ui->MonitorCancelButton->setEnabled(false);
    ui->StateTable->horizontalHeader()->hide();
    ui->StateTable->verticalHeader()->hide();
    QPalette tablePalette = ui->StateTable->palette();
    tablePalette.setColor(QPalette::Base, palette().color(QPalette::Window));
    ui->StateTable->setPalette(tablePalette);

    connect(ui->MonitorStartButton, &QPushButton::pressed, this, &TvMonitorPage::startPressed);
    connect(ui->MonitorCancelButton, &QPushButton::pressed, this, &TvMonitorPage::cancelPressed);
}

TvMonitorPage::~TvMonitorPage()
{
    delete ui;
}

void TvMonitorPage::languageChange()
{
    const struct {
        QAbstractButton *button;
        const char *key;
    } buttons[] = {
        {ui->Repeater, "REPEATER"},
        {ui->Monitor, "MONITOR"},
        {ui->PortA, "PORT_A"},
        {ui->PortB, "PORT_B"},
        {ui->MonitorStartButton, "TEST_CASE_START"},
        {ui->MonitorCancelButton, "CANCEL_TEXT"},
    };
    for (const auto &b : buttons)
        b.button->setText(msg(b.key));
    ui->ModeButtonGroup->setTitle(msg("MODE"));
    ui->PortButtonGroup->setTitle(msg("PORT"));
}

void TvMonitorPage::setAdapterControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{ui->Repeater, ui->PortButtonGroup,
                                                        ui->ModeButtonGroup, ui->MonitorStartButton})
        w->setEnabled(enabled);
}

void TvMonitorPage::reset()
{
    setAdapterControlsEnabled(false);
    ui->StateTable->setRowCount(0);
}

void TvMonitorPage::adapterSelected()
{
    setAdapterControlsEnabled(true);
    modeButtonIds->button(0)->setChecked(true);
    portButtonIds->button(0)->setChecked(true);
}

void TvMonitorPage::setPortsEnabled(bool dualPort)
{
    ui->PortButtonGroup->setEnabled(dualPort);
}

void TvMonitorPage::setControlsEnabled(bool enabled, bool dualPort, bool shown)
{
    // A run's start empties the table; its end leaves the last one to read.
    if (!enabled)
        ui->StateTable->setRowCount(0);
    if (enabled) {
        ui->MonitorCancelButton->setEnabled(false);
        if (modeRunning) {
            modeRunning = false;
            const QString counts = tableSummary();
            if (!counts.isEmpty())
                emit modeEnded(counts);
        }
    }
    ui->PortButtonGroup->setEnabled(enabled && dualPort);
    ui->ModeButtonGroup->setEnabled(enabled);
    ui->MonitorStartButton->setEnabled(enabled);
    if (shown)
        takeFocus();
    if (advanced)
        ui->Repeater->setEnabled(enabled);
}

void TvMonitorPage::cancelDone()
{
    ui->MonitorCancelButton->setEnabled(false);
}

void TvMonitorPage::takeFocus()
{
    (ui->MonitorStartButton->isEnabled() ? ui->MonitorStartButton : ui->MonitorCancelButton)
        ->setFocus();
}

void TvMonitorPage::showStateCell(int row, int column, const QString &key)
{
    // A cell beyond the table's bounds is dropped: the rows share the
    // table's height, and a row number such as 200000 from the core would
    // only freeze the window laying them out.
    if (key.isEmpty() || row < 0 || column < 0 || row >= MaxStateRows || column >= MaxStateColumns)
        return;
    QTableWidget *table = ui->StateTable;
    if (table->rowCount() < row + 1) {
        table->setRowCount(row + 1);
        // The rows share the table's height, but never below the least
        // height of a row of text: a driver's many counters scroll instead
        // of shrinking away.
        const int height = qMax(table->height() / (row + 1), table->verticalHeader()->minimumSectionSize());
        for (int r = 0; r <= row; ++r)
            table->setRowHeight(r, height);
    }
    if (table->columnCount() < column + 1)
        table->setColumnCount(column + 1);
    QTableWidgetItem *cell = table->item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        table->setItem(row, column, cell);
    }
    cell->setText(msg(key));
}

QString TvMonitorPage::tableSummary() const
{
    const QTableWidget *table = ui->StateTable;
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c) {
            if (const QTableWidgetItem *cell = table->item(r, c))
                cells.append(cell->text());
        }
        if (!cells.isEmpty())
            rows.append(cells.join(QLatin1Char(' ')));
    }
    return rows.join(QStringLiteral(", "));
}

QString TvMonitorPage::modeCommand(int mode, int port)
{
    const QString portName = port == 0 ? QStringLiteral("Port A") : QStringLiteral("Port B");
    return (mode == 0 ? QStringLiteral("Repeater ") : QStringLiteral("Monitor ")) + portName;
}

void TvMonitorPage::StartMonitor()
{
    // The core would run the mode on whatever adapter it still holds.
    if (session->currentIndex() < 0)
        return;
    const QString command = modeCommand(modeButtonIds->checkedId(), portButtonIds->checkedId());
    // The last mode's table stayed for reading until now.
    ui->StateTable->setRowCount(0);
    modeRunning = true;
    ui->MonitorCancelButton->setEnabled(true);
    if (ui->MonitorCancelButton->isVisible())
        ui->MonitorCancelButton->setFocus();
    emit commandWanted(command);
}

void TvMonitorPage::StartRepeater()
{
    portButtonIds->button(0)->setChecked(true);
    modeButtonIds->button(0)->setChecked(true);
    emit pageWanted();
    StartMonitor();
}
