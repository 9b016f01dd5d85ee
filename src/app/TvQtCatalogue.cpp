#include "TvQtCatalogue.h"

#include "platform/TvPlatform.h"

#include <QLibraryInfo>
#include <QTranslator>

QStringList TvQtCatalogue::searchPath()
{
    return {TvPlatform::dataDirectory(), QLibraryInfo::location(QLibraryInfo::TranslationsPath)};
}

std::unique_ptr<QTranslator> TvQtCatalogue::load(const QString &languageCode)
{
    auto translator = std::make_unique<QTranslator>();
    // QTranslator drops the region by itself: "de_CH" finds qtbase_de.qm.
    const QString name = QStringLiteral("qtbase_") + languageCode;
    for (const QString &directory : searchPath()) {
        if (translator->load(name, directory))
            break;
    }
    return translator;
}
