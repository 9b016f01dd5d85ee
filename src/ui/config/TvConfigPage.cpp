#include "TvConfigPage.h"
#include "ui_TvConfigPage.h"

#include "ui/TvContextText.h"

#include <QFontMetrics>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

} // namespace

TvConfigPage::TvConfigPage(TvAdapterSession *session, TvAsk *ask, QWidget *parent)
    : QWidget(parent), ui(new Ui::TvConfigPage), session(session), ask(ask)
{
    ui->setupUi(this);
    ui->SaveToFileButton->setEnabled(false);
    ui->SaveToFileButton->setText(msg("SAVE_PCI_CONFIG_TO_FILE"));
    const QFontMetrics metrics(ui->SaveToFileButton->font());
    ui->SaveToFileButton->setFixedSize(
        metrics.horizontalAdvance(ui->SaveToFileButton->text()) + 60, metrics.height());
    connect(ui->SaveToFileButton, &QPushButton::released, this, &TvConfigPage::SaveConfigSlot);
}

TvConfigPage::~TvConfigPage()
{
    delete ui;
}

void TvConfigPage::languageChange()
{
    ui->SaveToFileButton->setToolTip(msg("SAVE_PCI_CONFIG_TO_FILE_TOOLTIP"));
    ui->SaveToFileButton->setText(msg("SAVE_PCI_CONFIG_TO_FILE"));
    ui->Pci_ID_Box->setTitle(msg("PCI_IDS"));
    ui->PCIDataBox->setTitle(msg("PCI_DATA"));
    ui->MiscellaneousBox->setTitle(msg("MISCELLANEOUS"));
    const struct {
        QLabel *label;
        const char *key;
    } labels[] = {
        {ui->VendorIDLabel, "VENDOR_ID"}, {ui->DeviceIDLabel, "DEVICE_ID"},
        {ui->SubVendorIDLabel, "SUBVENDOR_ID"}, {ui->SubDeviceIDLabel, "SUBSYSTEM_ID"},
        {ui->MemBaseLabel, "MEMBASE"}, {ui->IrqLabel, "IRQ"},
        {ui->BusClockLabel, "BUS_CLOCK"}, {ui->IOBaseLabel, "IOBASE"},
        {ui->SlotLabel, "SLOT"}, {ui->SlotSizeLabel, "SLOTSIZE"},
        {ui->LatencyLabel, "LATENCY"}, {ui->CLSLabel, "CACHE_LINE_SIZE"},
    };
    for (const auto &l : labels)
        l.label->setText(msg(l.key));
}

void TvConfigPage::reset()
{
    for (QLabel *l : {ui->VendorIDText, ui->DeviceIDText, ui->SubVendorIDText, ui->SubDeviceIDText,
                      ui->IOBaseText, ui->MemBaseText, ui->IrqText, ui->BusClockText, ui->SlotText,
                      ui->SlotSizeText, ui->CLSText, ui->LatencyText})
        l->clear();
    for (QLabel *l : {ui->Misc1Label, ui->Misc1Text, ui->Misc2Label, ui->Misc2Text, ui->Misc3Label,
                      ui->Misc3Text, ui->Misc4Label, ui->Misc4Text, ui->Misc5Label, ui->Misc5Text,
                      ui->Misc6Label, ui->Misc6Text, ui->Misc7Label, ui->Misc7Text}) {
        l->setTextFormat(Qt::PlainText);
        l->clear();
    }
    setSaveEnabled(false);
}

void TvConfigPage::setSaveEnabled(bool enabled)
{
    ui->SaveToFileButton->setEnabled(enabled);
}

bool TvConfigPage::dualPort() const
{
    bool ok = false;
    const int ports = ui->Misc3Text->text().toInt(&ok, 10);
    return ok && ports == 2;
}

void TvConfigPage::takeFocus()
{
    ui->SaveToFileButton->setFocus();
}

// Showing and exporting the configuration come with their feature.
void TvConfigPage::showPciConfig(int) {}
void TvConfigPage::SaveConfigSlot() {}
