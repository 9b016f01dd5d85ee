#pragma once
#include <QMainWindow>

class QListWidgetItem;
class QTreeWidgetItem;

namespace Ui {
class TvDiagMainWindowBase;
}

// The main window's layout: the card label, the tab widget that the window
// fills with its pages, the menus and actions with their connections, and
// placeholder slots that the window itself overrides. Each page has a form
// of its own.
class TvDiagMainWindowBase : public QMainWindow
{
    Q_OBJECT
public:
    explicit TvDiagMainWindowBase(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TvDiagMainWindowBase() override;

public slots:
    virtual void fileNew();
    virtual void fileOpen();
    virtual void fileSave();
    virtual void fileSaveAs();
    virtual void fileExit();
    virtual void helpAbout();
    virtual void flashSaveSlot();
    virtual void flashLoadSlot();
    virtual void flashClearSlot();
    virtual void vpdviewSlot();
    virtual void vpdEditSlot();
    virtual void vpdDelete();
    virtual void helpContents();
    virtual void fileViewLogSlot();
    virtual void startAllTestsSlot();
    virtual void connectivityTestSlot();
    virtual void SelectTestCaseSlot(QTreeWidgetItem *item);
    virtual void AdapterClickedSlot(QListWidgetItem *item);
    virtual void SaveConfigSlot();
    virtual void locateNIC_Slot();
    // Kept from the layout but connected to nothing.
    virtual void filePrint();
    virtual void helpIndex();
    virtual void selectLanguageSlot();
    virtual void TestTabSelectedSlot();
    virtual void clicked();

protected slots:
    virtual void languageChange();

protected:
    void changeEvent(QEvent *event) override;

    Ui::TvDiagMainWindowBase *ui;

private:
    void loadFileIcons();
};
