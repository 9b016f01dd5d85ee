#include "VPDDlgImpl.h"
#include "ui_VitalProductDataDlg.h"

#include "text/TvText.h"

#include <QResizeEvent>

namespace {

const char *const Context = "VPDDlgImpl";

constexpr int Margin = 10;
constexpr int Spacing = 5;
constexpr int MinimumHelpHeight = 32;

QString text(const char *key)
{
    return TvText::translate(Context, key);
}

} // namespace

VPDDlgImpl::VPDDlgImpl(QWidget *parent) : VitalProductDataDlg(parent)
{
    setSizeGripEnabled(false);
    setMinimumSize(MinimumWidth, MinimumHeight);
    setMaximumSize(MaximumWidth, MaximumHeight);
    languageChange();
    placeWidgets(size());
}

QTableWidget *VPDDlgImpl::table() const
{
    return ui->VPDTable;
}

QLabel *VPDDlgImpl::helpLabel() const
{
    return ui->HelpLabel;
}

void VPDDlgImpl::setHelpShown(bool shown)
{
    ui->HelpLabel->setHidden(!shown);
    placeWidgets(size());
}

void VPDDlgImpl::languageChange()
{
    setWindowTitle(text("VPD_DIALOG"));
    ui->HelpLabel->setText(text("VPD_HELP_TEXT"));
    ui->buttonOk->setText(text("OK_TEXT"));
    ui->buttonCancel->setText(text("CANCEL_TEXT"));
    ui->VPDTable->setHorizontalHeaderLabels({text("VPD_KEYWORD"), text("VPD_DATA")});
}

void VPDDlgImpl::resizeEvent(QResizeEvent *event)
{
    VitalProductDataDlg::resizeEvent(event);
    placeWidgets(event->size());
}

void VPDDlgImpl::placeWidgets(const QSize &size)
{
    const int width = size.width() - 2 * Margin;
    const int buttonTop = size.height() - Margin - ui->buttonOk->height();
    int top = Margin;
    if (!ui->HelpLabel->isHidden()) {
        // As many lines as the text needs at this width.
        const int helpHeight = qMax(MinimumHelpHeight, ui->HelpLabel->heightForWidth(width));
        ui->HelpLabel->setGeometry(Margin, top, width, helpHeight);
        top += helpHeight + Spacing;
    }
    ui->VPDTable->setGeometry(Margin, top, width, buttonTop - Spacing - top);
    const int middle = size.width() / 2;
    ui->buttonOk->move(middle - Spacing - ui->buttonOk->width(), buttonTop);
    ui->buttonCancel->move(middle + Spacing, buttonTop);
}
