#include "PkVpd.h"

#include <algorithm>

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
