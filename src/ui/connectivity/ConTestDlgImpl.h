#pragma once
#include "ConnectivityTestDlg.h"

#include <QStringList>

class QLineEdit;

// Asks for the remote host of the connectivity test. It shows the adapter's
// address and subnet mask octet by octet; the remote octets that the mask
// fixes (mask octet 255) are the adapter's own and cannot be changed. OK
// accepts only when every field holds a value.
class ConTestDlgImpl : public ConnectivityTestDlg
{
    Q_OBJECT
public:
    static constexpr int OctetCount = 4;

    explicit ConTestDlgImpl(QWidget *parent = nullptr);

    // address, mask: four octets each (IPValidator::octets). remembered: the
    // remote address entered last for this adapter, or empty; its octets
    // fill the fields that can be changed.
    void fill(const QStringList &address, const QStringList &mask, const QString &remembered);
    // The four fields joined with ".", each octet as plain decimal.
    QString remoteAddress() const;

public slots:
    void accept() override;

protected slots:
    void languageChange() override;

private:
    QLineEdit *field(int index) const;
};
