#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Keyword rules of the vital product data: which names may be written and
// the order in which keywords are listed.
class PkVpd
{
public:
    // "V" or "Y" followed by a digit or an upper-case letter.
    static bool isWritable(const QString &keyword);
    // Two-character keywords only ("Name" is the identifier string, read by
    // name but not listed): read-only ones in the order PN, EC, SN, MN, then
    // the others, then the writable ones, each group by name.
    static QStringList listed(const QMap<QString, QByteArray> &vpd);

    // Longest value a keyword holds: its length field is one byte.
    static constexpr int MaxValue = 255;

private:
    static int rank(const QString &keyword);
};
