#include "TvConfigPage.h"
#include "ui_TvConfigPage.h"

#include "TvConfigExport.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"

#include "core/TvAdapterListing.h"
#include "description/CAdapterInfo.h"

#include <probekit.h>

#include <QFontInfo>
#include <QFontMetrics>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

QString hex4(uint32_t value)
{
    return QString::asprintf("%4.4X", value);
}

// The n-th value text of the record; one that fills its field without a
// terminating zero ends at the field's end.
QString miscValue(const AdapterRecord &record, int n)
{
    const char *text = record.miscText[n];
    return QString::fromUtf8(text, int(qstrnlen(text, PK_MISC_TEXT_SIZE)));
}

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
    for (QLabel *l : miscLabels() + miscTexts()) {
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

QList<QLabel *> TvConfigPage::miscLabels() const
{
    return {ui->Misc1Label, ui->Misc2Label, ui->Misc3Label, ui->Misc4Label,
            ui->Misc5Label, ui->Misc6Label, ui->Misc7Label};
}

QList<QLabel *> TvConfigPage::miscTexts() const
{
    return {ui->Misc1Text, ui->Misc2Text, ui->Misc3Text, ui->Misc4Text,
            ui->Misc5Text, ui->Misc6Text, ui->Misc7Text};
}

int TvConfigPage::fitFontSize(const QWidget *widget, const QString &text, bool wordBreak)
{
    const int maxWidth = int(widget->width() * 0.9);
    const int maxHeight = int(widget->height() * 0.9);
    QFont font = widget->font();
    for (int size = 12; size >= 7; --size) {
        font.setPointSize(size);
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(0, 0, maxWidth, maxHeight), wordBreak ? Qt::TextWordWrap : 0, text);
        if (needed.width() <= maxWidth && needed.height() <= maxHeight)
            return size;
    }
    return 6;
}

const QList<int> *TvConfigPage::miscConfigIds(const QString &key) const
{
    const QList<int> *ids = CAdapterInfo::instance().adapterMiscConfig(key);
    if (!ids)
        ask->message(TvDialogSeam::Critical, msg("MISC_CONFIG_LIST_NOT_FOUND"), TvDialogSeam::Ok);
    return ids;
}

const CMiscConfigItem *TvConfigPage::miscItem(int number) const
{
    const CMiscConfigItem *item = CAdapterInfo::instance().miscConfigItem(number);
    if (!item)
        ask->message(TvDialogSeam::Critical, msg("MISC_ITEM_NOT_FOUND"), TvDialogSeam::Ok);
    return item;
}

void TvConfigPage::fitMiscLabels(const QString &key)
{
    const QList<int> *ids = miscConfigIds(key);
    if (!ids)
        return;
    const QList<QLabel *> labels = miscLabels();
    // The record holds seven values, the tab seven rows: items past them
    // have nowhere to go.
    const int count = qMin(ids->size(), labels.size());
    int smallest = 12;
    for (int n = 0; n < count; ++n) {
        const CMiscConfigItem *item = miscItem(ids->at(n));
        if (!item)
            return;
        smallest = qMin(smallest, fitFontSize(labels.at(n), item->label, false));
    }
    QFont font = ui->VendorIDLabel->font();
    if (QFontInfo(font).pointSizeF() > smallest)
        font.setPointSize(smallest);
    for (int n = 0; n < count; ++n)
        labels.at(n)->setFont(font);
}

void TvConfigPage::showPciConfig(int adapterIndex)
{
    if (adapterIndex < 0 || adapterIndex >= session->count())
        return;
    const AdapterRecord record = session->record(adapterIndex);
    const QString key = TvAdapterListing::adapterKey(record);
    fitMiscLabels(key);
    showPciValues(record);
    showMiscItems(key, record);
}

void TvConfigPage::showPciValues(const AdapterRecord &record)
{
    ui->VendorIDText->setText(hex4(record.vendorId));
    ui->DeviceIDText->setText(hex4(record.deviceId));
    ui->SubVendorIDText->setText(hex4(record.subsystemVendorId));
    ui->SubDeviceIDText->setText(hex4(record.subsystemId));
    ui->IOBaseText->setText(hex4(record.ioBase));
    ui->MemBaseText->setText(QString::asprintf("%8.8X", record.memBase));
    ui->IrqText->setText(QString::number(record.irq));
    ui->BusClockText->setText(QString::number(record.busClock));
    ui->SlotText->setText(record.slotNumber == -1 ? msg("UNKNOWN")
                                                  : QString::number(record.slotNumber));
    ui->SlotSizeText->setText(QString::number(record.slotSize));
    ui->CLSText->setText(QString::number(record.cacheLineSize));
    ui->LatencyText->setText(QString::number(record.latency));
}

void TvConfigPage::showMiscItems(const QString &key, const AdapterRecord &record)
{
    const QList<int> *ids = miscConfigIds(key);
    if (!ids)
        return;
    const QList<QLabel *> labels = miscLabels();
    const QList<QLabel *> texts = miscTexts();
    const int count = qMin(ids->size(), labels.size());
    for (int n = 0; n < count; ++n) {
        const CMiscConfigItem *item = miscItem(ids->at(n));
        if (!item)
            return;
        labels.at(n)->setText(item->label);
        texts.at(n)->setText(miscValue(record, n) + QLatin1Char(' ') + item->unit);
    }
}

QStringList TvConfigPage::exportFields() const
{
    QStringList fields{session->cardName()};
    for (const QLabel *l : {ui->VendorIDText, ui->DeviceIDText, ui->SubVendorIDText,
                            ui->SubDeviceIDText, ui->IOBaseText, ui->MemBaseText, ui->IrqText,
                            ui->BusClockText, ui->SlotText, ui->SlotSizeText, ui->CLSText,
                            ui->LatencyText})
        fields.append(l->text());
    for (const QLabel *l : miscTexts())
        fields.append(l->text());
    return fields;
}

void TvConfigPage::SaveConfigSlot()
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    const QString filter = TvConfigExport::filter(msg("PCI_CONFIG_FILES"), info.pci_conf_ext);
    const QString chosen =
        ask->saveFileName(QString(), info.basePathOf(info.pci_conf_path), filter);
    if (chosen.isEmpty())
        return;
    const QString fileName = TvConfigExport::withExtension(chosen, info.pci_conf_ext);
    QString reason;
    if (!TvConfigExport::append(fileName, TvConfigExport::line(exportFields()), &reason))
        ask->message(TvDialogSeam::Critical,
                     msg("PCI_CONFIG_SAVE_FAILED %1 %2").arg(fileName, reason), TvDialogSeam::Ok);
}
