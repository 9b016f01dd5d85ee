#include "PkVpd.h"

#include <algorithm>
#include <cstring>

bool PkVpd::isWritable(const QString &keyword)
{
    if (keyword.size() != 2)
        return false;
    const QChar first = keyword.at(0);
    const QChar second = keyword.at(1);
    const bool secondOk = (second >= QLatin1Char('0') && second <= QLatin1Char('9'))
        || (second >= QLatin1Char('A') && second <= QLatin1Char('Z'));
    return (first == QLatin1Char('V') || first == QLatin1Char('Y')) && secondOk;
}

int PkVpd::rank(const QString &keyword)
{
    static const QStringList leading = {QStringLiteral("PN"), QStringLiteral("EC"),
                                        QStringLiteral("SN"), QStringLiteral("MN")};
    const int index = leading.indexOf(keyword);
    if (index >= 0)
        return index;
    return isWritable(keyword) ? 20 : 10;
}

QStringList PkVpd::listed(const QMap<QString, QByteArray> &vpd)
{
    QStringList names;
    for (auto it = vpd.begin(); it != vpd.end(); ++it) {
        const QString &name = it.key();
        // A name with a blank would split in the list.
        if (name != QLatin1String("Name") && !name.isEmpty() && !name.contains(QLatin1Char(' ')))
            names.append(name);
    }
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return rank(a) < rank(b);
    });
    return names;
}

int PkVpd::readInto(const QMap<QString, QByteArray> &vpd, const char *keyword, char *buffer, uint32_t *size)
{
    const QString name = QString::fromLatin1(keyword);
    if (!vpd.contains(name))
        return 19;
    const QByteArray value = vpd.value(name);
    const uint32_t length = static_cast<uint32_t>(value.size());
    if (length > *size) {
        *size = length;
        return 18;
    }
    std::memcpy(buffer, value.constData(), length);
    if (length < *size)
        buffer[length] = '\0';
    *size = length;
    return 0;
}

int PkVpd::listInto(const QMap<QString, QByteArray> &vpd, char *buffer, uint32_t *size, uint32_t *count)
{
    const QStringList names = listed(vpd);
    const QByteArray text = names.join(QLatin1Char(' ')).toLatin1();
    const uint32_t needed = static_cast<uint32_t>(text.size()) + 1;
    if (needed > *size) {
        *size = needed;
        return 18;
    }
    std::memcpy(buffer, text.constData(), needed);
    *size = needed - 1;
    *count = static_cast<uint32_t>(names.size());
    return 0;
}
