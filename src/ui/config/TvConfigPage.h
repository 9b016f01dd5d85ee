#pragma once
#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;
class TvAdapterSession;
class TvAsk;
struct AdapterRecord;
struct CMiscConfigItem;

namespace Ui {
class TvConfigPage;
}

// The configuration tab: the PCI identifiers and data of the selected
// adapter, its miscellaneous configuration items, and the export of all of
// it to a file (one line per export, appended).
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

    // The largest point size from 12 down to 7 at which `text` fits into
    // nine tenths of the widget's width and height; 6 when none does.
    static int fitFontSize(const QWidget *widget, const QString &text, bool wordBreak);
    // Gives the miscellaneous labels of the adapter one font: the PCI
    // labels' font, made smaller when a label needs it.
    void fitMiscLabels(const QString &key);

public slots:
    // Shows the PCI configuration and miscellaneous items of the adapter at
    // this index of the session's table.
    void showPciConfig(int adapterIndex);
    // Appends the shown values to a file the user chooses; a failure is
    // shown with the file's name and the system's reason.
    void SaveConfigSlot();

private:
    QList<QLabel *> miscLabels() const;
    QList<QLabel *> miscTexts() const;
    // Null (and said so) when the description lacks them.
    const QList<int> *miscConfigIds(const QString &key) const;
    const CMiscConfigItem *miscItem(int number) const;
    void showPciValues(const AdapterRecord &record);
    void showMiscItems(const QString &key, const AdapterRecord &record);
    // The card name, the twelve PCI values and the seven miscellaneous
    // values, as shown.
    QStringList exportFields() const;

    Ui::TvConfigPage *ui;
    TvAdapterSession *session;
    TvAsk *ask;
};
