#pragma once
#include <QMainWindow>

class QButtonGroup;
class QListWidgetItem;
class QTreeWidgetItem;

namespace Ui {
class TvDiagMainWindowBase;
}

// The main window's layout: every widget, menu and action of the window, the
// connections that belong to the layout, and placeholder slots that the
// window itself overrides.
class TvDiagMainWindowBase : public QMainWindow
{
    Q_OBJECT
public:
    explicit TvDiagMainWindowBase(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TvDiagMainWindowBase() override;

    // The radio buttons of the monitor tab with their ids (Repeater 0,
    // Monitor 1; PortA 0, PortB 1); the titled frames are ModeButtonGroup and
    // PortButtonGroup.
    QButtonGroup *modeButtons() const { return modeButtonIds; }
    QButtonGroup *portButtons() const { return portButtonIds; }

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

    QButtonGroup *modeButtonIds;
    QButtonGroup *portButtonIds;
};
