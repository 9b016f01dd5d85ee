#pragma once
#include "text/TvText.h"

#include <QString>

// Looks message keys up in one translation context. The main window and its
// pages share the window's context, where the catalogues keep their texts:
//   constexpr TvContextText msg{TvContextText::MainWindow};
//   label->setText(msg("NOT_AVAILABLE"));
class TvContextText
{
public:
    static constexpr const char *MainWindow = "TvDiagMainWindow";

    constexpr explicit TvContextText(const char *context) : context(context) {}

    QString operator()(const char *key) const { return TvText::translate(context, key); }
    QString operator()(const QString &key) const { return TvText::translate(context, key); }
    const char *name() const { return context; }

private:
    const char *context;
};
