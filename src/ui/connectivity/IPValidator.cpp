#include "IPValidator.h"

#include <QRegularExpression>

IPValidator::IPValidator(int field, QObject *parent) : QValidator(parent), position(field) {}

QValidator::State IPValidator::validate(QString &input, int &) const
{
    // The whole text is checked rather than the character before the
    // cursor: a digit typed before others or a pasted text could otherwise
    // bring in letters or a value above 255.
    if (input.isEmpty())
        return Intermediate;
    for (const QChar c : input) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Invalid;
    }
    if (input.size() > 3)
        return Invalid;
    if (input.size() < 3)
        return Intermediate;
    return input > QLatin1String("255") ? Invalid : Acceptable;
}

QStringList IPValidator::octets(const QString &address)
{
    // Anchored as a whole: a plain "$" would also match before a final line
    // break and take "10.1.2.3\n" for an address.
    static const QRegularExpression dotted(QRegularExpression::anchoredPattern(
        QStringLiteral("([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})")));
    const QRegularExpressionMatch match = dotted.match(address);
    if (!match.hasMatch())
        return {};
    QStringList parts;
    for (int i = 1; i <= 4; ++i) {
        // Read as decimal: the socket layer would take a leading zero for
        // an octal number, and 010 would be pinged as 8.
        const int value = match.captured(i).toInt();
        if (value > 255)
            return {};
        parts.append(QString::number(value));
    }
    return parts;
}
