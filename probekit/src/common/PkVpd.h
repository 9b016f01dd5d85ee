#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>

// Keyword rules of the vital product data: which names may be written and
// the order in which keywords are listed.
class PkVpd
{
public:
    // "V" or "Y" followed by a digit or an upper-case letter.
    static bool isWritable(const QString &keyword);
    // Every keyword but "Name" (the identifier string, read by name but not
    // listed) and names that are empty or hold a blank: read-only ones in
    // the order PN, EC, SN, MN, then the others, then the writable ones,
    // each group by name. A machine file may hold names of other lengths
    // than two; they list with the other read-only ones.
    static QStringList listed(const QMap<QString, QByteArray> &vpd);

    // VpdReadKeyword and VpdListKeywords over a keyword map: 0, 19 (no
    // such keyword) or 18 (buffer too small; *size then says what is
    // needed).
    static int readInto(const QMap<QString, QByteArray> &vpd, const char *keyword, char *buffer,
                        uint32_t *size);
    static int listInto(const QMap<QString, QByteArray> &vpd, char *buffer, uint32_t *size,
                        uint32_t *count);

    // Longest value a keyword holds: its length field is one byte.
    static constexpr int MaxValue = 255;

private:
    static int rank(const QString &keyword);
};
