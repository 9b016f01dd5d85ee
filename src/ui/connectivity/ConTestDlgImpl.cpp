#include "ConTestDlgImpl.h"
#include "ui_ConnectivityTestDlg.h"

#include "IPValidator.h"

#include "text/TvDialogSeam.h"
#include "text/TvText.h"

namespace {

const char *const Context = "ConTestDlgImpl";

QString text(const char *key)
{
    return TvText::translate(Context, key);
}

} // namespace

ConTestDlgImpl::ConTestDlgImpl(QWidget *parent) : ConnectivityTestDlg(parent)
{
    for (int i = 0; i < OctetCount; ++i)
        field(i)->setValidator(new IPValidator(i + 1, field(i)));
    languageChange();
}

QLineEdit *ConTestDlgImpl::field(int index) const
{
    QLineEdit *const fields[OctetCount] = {ui->IP1_Edit, ui->IP2_Edit, ui->IP3_Edit, ui->IP4_Edit};
    return fields[index];
}

void ConTestDlgImpl::languageChange()
{
    setWindowTitle(text("NETWORK_CONNECTIVITY_TEST"));
    ui->textLabel1->setText(text("SELECTED_ADAPTER"));
    ui->textLabel2->setText(text("IP_ADDRESS"));
    ui->textLabel4->setText(text("SUBNET_MASK"));
    ui->textLabel3->setText(text("REMOTE_IP_PROMPT"));
    ui->buttonOk->setText(text("OK_TEXT"));
    ui->buttonCancel->setText(text("CANCEL_TEXT"));
}

void ConTestDlgImpl::fill(const QStringList &address, const QStringList &mask,
                          const QString &remembered)
{
    QLabel *const addressLabels[OctetCount] = {ui->textIP1, ui->textIP2, ui->textIP3, ui->textIP4};
    QLabel *const maskLabels[OctetCount] = {ui->textMask1, ui->textMask2, ui->textMask3,
                                            ui->textMask4};
    const QStringList before = IPValidator::octets(remembered);
    QLineEdit *firstFree = nullptr;
    for (int i = 0; i < OctetCount && i < address.size() && i < mask.size(); ++i) {
        addressLabels[i]->setText(address.at(i));
        maskLabels[i]->setText(mask.at(i));
        const bool fixed = mask.at(i) == QLatin1String("255");
        // A remembered octet never replaces a fixed one: the mask may have
        // changed since, and the field could not be corrected.
        field(i)->setText(fixed ? address.at(i) : before.value(i, QStringLiteral("0")));
        field(i)->setReadOnly(fixed);
        field(i)->setEnabled(!fixed || i == OctetCount - 1);
        if (!fixed && !firstFree)
            firstFree = field(i);
    }
    if (firstFree)
        firstFree->setFocus();
}

QString ConTestDlgImpl::remoteAddress() const
{
    QStringList parts;
    for (int i = 0; i < OctetCount; ++i)
        parts.append(field(i)->text());
    const QStringList octets = IPValidator::octets(parts.join(QLatin1Char('.')));
    return octets.isEmpty() ? parts.join(QLatin1Char('.')) : octets.join(QLatin1Char('.'));
}

void ConTestDlgImpl::accept()
{
    for (int i = 0; i < OctetCount; ++i) {
        if (!field(i)->text().isEmpty())
            continue;
        TvDialogSeam::current().messageBox(
            nullptr, TvDialogSeam::Critical, QString(),
            text("IP_FIELD_MUST_NOT_EMPTY %1").arg(i + 1),
            {{TvDialogSeam::Cancel, text("CANCEL_TEXT")}});
        field(i)->setFocus();
        return;
    }
    ConnectivityTestDlg::accept();
}
