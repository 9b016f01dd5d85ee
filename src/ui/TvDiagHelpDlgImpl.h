#pragma once
#include "TvDiagHelpDlg.h"

#include <QSize>

// The help browser: shows the help pages of the configured help directory.
class TvDiagHelpDlgImpl : public TvDiagHelpDlg
{
    Q_OBJECT
public:
    explicit TvDiagHelpDlgImpl(QWidget *parent = nullptr, const char *name = nullptr,
                               bool modal = false, Qt::WindowFlags flags = Qt::WindowFlags());

    // The browser's size as the layout designed it; the browser never gets
    // smaller than this.
    QSize designedBrowserSize() const { return designedSize; }

protected slots:
    void languageChange() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize designedSize;
};
