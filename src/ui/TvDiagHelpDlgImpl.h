#pragma once
#include "TvDiagHelpDlg.h"

#include <QSize>

// The help browser: shows the help pages of the configured help directory,
// in the program's language where its subdirectory (help/de) holds them,
// in the pages of the help directory itself (English) otherwise.
class TvDiagHelpDlgImpl : public TvDiagHelpDlg
{
    Q_OBJECT
public:
    explicit TvDiagHelpDlgImpl(QWidget *parent = nullptr, const char *name = nullptr,
                               bool modal = false, Qt::WindowFlags flags = Qt::WindowFlags());

    // The browser's size as the layout designed it; the browser never gets
    // smaller than this.
    QSize designedBrowserSize() const { return designedSize; }

    // Where the pages are looked for: the language's directory first when
    // it holds the start page, then the help directory itself.
    static QStringList pageDirectories(const QString &helpDirectory, const QString &languageCode,
                                       const QString &startPage);

protected slots:
    void languageChange() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize designedSize;
};
