#pragma once
#include <QWidget>

class TvAdapterSession;
class TvAsk;

namespace Ui {
class TvConfigPage;
}

// The configuration tab: the PCI identifiers and data of the selected
// adapter, its miscellaneous configuration items, and the export of all of
// it to a file. Filling and exporting come with the PCI configuration
// feature; the page keeps its views in step with the adapter.
class TvConfigPage : public QWidget
{
    Q_OBJECT
public:
    TvConfigPage(TvAdapterSession *session, TvAsk *ask, QWidget *parent = nullptr);
    ~TvConfigPage() override;

    // No adapter: every value empty, the export off.
    void reset();
    void setSaveEnabled(bool enabled);
    // The third miscellaneous value reads as the decimal number 2.
    bool dualPort() const;
    void takeFocus();
    void languageChange();

public slots:
    // Shows the PCI configuration and miscellaneous items of the adapter at
    // this index of the session's table.
    void showPciConfig(int adapterIndex);
    void SaveConfigSlot();

private:
    Ui::TvConfigPage *ui;
    TvAdapterSession *session;
    TvAsk *ask;
};
