#pragma once
#include <QString>
#include <QtGlobal>

// The fixed table of languages: locale identifier and lower-case code.
class TvLanguageTable
{
public:
    // Code of the first row whose identifier equals lcid; empty when none.
    static QString lookupLanguageCode(quint32 lcid);
    // Identifier of the first row with that code; 0 when none.
    static quint32 localeIdOf(const QString &code);
    static int rowCount();
};
