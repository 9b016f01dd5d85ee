#pragma once
#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

// Qt's own texts (the file dialog's "Look in", the message boxes' Yes, No
// and Cancel) in the program's language. Qt's catalogue for the language
// is looked for first in the program's data directory, then where Qt keeps
// its catalogues (on Debian /usr/share/qt5/translations, from the package
// qttranslations5-l10n).
class TvQtCatalogue
{
public:
    // The directories searched, in order.
    static QStringList searchPath();
    // "qtbase_<code>" from the first directory that holds it; an empty
    // translator when none does (English, or the package is missing).
    static std::unique_ptr<QTranslator> load(const QString &languageCode);
};
