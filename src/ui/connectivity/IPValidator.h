#pragma once
#include <QStringList>
#include <QValidator>

// Checks one octet field of an IPv4 address as it is typed: digits only,
// at most three of them, and three digits no more than "255". Anything
// shorter is still being typed (Intermediate).
class IPValidator : public QValidator
{
    Q_OBJECT
public:
    // field: the position 1 to 4 of the octet that this validator checks.
    explicit IPValidator(int field, QObject *parent = nullptr);

    int field() const { return position; }
    State validate(QString &input, int &cursor) const override;

    // The four octets of a dotted IPv4 address ("10.1.2.3"), each as plain
    // decimal ("010" becomes "10"); an empty list when the text is not one.
    static QStringList octets(const QString &address);

private:
    int position;
};
