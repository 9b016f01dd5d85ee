#include "TvDiagMainWindowBase.h"
#include "ui_TvDiagMainWindowBase.h"

#include "description/CAdapterInfo.h"
#include "text/TvText.h"

#include <QEvent>
#include <QFileInfo>
#include <QIcon>

TvDiagMainWindowBase::TvDiagMainWindowBase(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), ui(new Ui::TvDiagMainWindowBase)
{
    ui->setupUi(this);
    loadFileIcons();
    languageChange();
}

TvDiagMainWindowBase::~TvDiagMainWindowBase()
{
    delete ui;
}

void TvDiagMainWindowBase::loadFileIcons()
{
    // The pictures live beside the other images of the base directory; a
    // missing file leaves the action without an icon.
    const struct {
        QAction *action;
        const char *file;
    } icons[] = {
        {ui->fileNewAction, "images/filenew.png"},
        {ui->fileOpenAction, "images/fileopen.png"},
        {ui->fileSaveAction, "images/filesave.png"},
    };
    for (const auto &icon : icons) {
        const QString path = CAdapterInfo::instance().basePathOf(QString::fromLatin1(icon.file));
        if (QFileInfo::exists(path))
            icon.action->setIcon(QIcon(path));
    }
}

void TvDiagMainWindowBase::languageChange()
{
    ui->retranslateUi(this);
    setWindowTitle(TvText::translate("TvDiagMainWindowBase", "TvDiagMainWindowBase"));
}

void TvDiagMainWindowBase::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        languageChange();
    QMainWindow::changeEvent(event);
}

#define TV_PLACEHOLDER(name) \
    qWarning("TvDiagMainWindowBase::" #name "(): Not implemented yet")

void TvDiagMainWindowBase::fileNew() { TV_PLACEHOLDER(fileNew); }
void TvDiagMainWindowBase::fileOpen() { TV_PLACEHOLDER(fileOpen); }
void TvDiagMainWindowBase::fileSave() { TV_PLACEHOLDER(fileSave); }
void TvDiagMainWindowBase::fileSaveAs() { TV_PLACEHOLDER(fileSaveAs); }
void TvDiagMainWindowBase::fileExit() { TV_PLACEHOLDER(fileExit); }
void TvDiagMainWindowBase::helpAbout() { TV_PLACEHOLDER(helpAbout); }
void TvDiagMainWindowBase::flashSaveSlot() { TV_PLACEHOLDER(flashSaveSlot); }
void TvDiagMainWindowBase::flashLoadSlot() { TV_PLACEHOLDER(flashLoadSlot); }
void TvDiagMainWindowBase::flashClearSlot() { TV_PLACEHOLDER(flashClearSlot); }
void TvDiagMainWindowBase::vpdviewSlot() { TV_PLACEHOLDER(vpdviewSlot); }
void TvDiagMainWindowBase::vpdEditSlot() { TV_PLACEHOLDER(vpdEditSlot); }
void TvDiagMainWindowBase::vpdDelete() { TV_PLACEHOLDER(vpdDelete); }
void TvDiagMainWindowBase::helpContents() { TV_PLACEHOLDER(helpContents); }
void TvDiagMainWindowBase::fileViewLogSlot() { TV_PLACEHOLDER(fileViewLogSlot); }
void TvDiagMainWindowBase::startAllTestsSlot() { TV_PLACEHOLDER(startAllTestsSlot); }
void TvDiagMainWindowBase::connectivityTestSlot() { TV_PLACEHOLDER(connectivityTestSlot); }
void TvDiagMainWindowBase::SelectTestCaseSlot(QTreeWidgetItem *) { TV_PLACEHOLDER(SelectTestCaseSlot); }
void TvDiagMainWindowBase::AdapterClickedSlot(QListWidgetItem *) { TV_PLACEHOLDER(AdapterClickedSlot); }
void TvDiagMainWindowBase::SaveConfigSlot() { TV_PLACEHOLDER(SaveConfigSlot); }
void TvDiagMainWindowBase::locateNIC_Slot() { TV_PLACEHOLDER(locateNIC_Slot); }
void TvDiagMainWindowBase::filePrint() { TV_PLACEHOLDER(filePrint); }
void TvDiagMainWindowBase::helpIndex() { TV_PLACEHOLDER(helpIndex); }
void TvDiagMainWindowBase::selectLanguageSlot() { TV_PLACEHOLDER(selectLanguageSlot); }
void TvDiagMainWindowBase::TestTabSelectedSlot() { TV_PLACEHOLDER(TestTabSelectedSlot); }
void TvDiagMainWindowBase::clicked() { TV_PLACEHOLDER(clicked); }
