#include "TvConsolePage.h"

#include "ui/TvAsk.h"

#include <QLineEdit>
#include <QMutexLocker>
#include <QPushButton>

TvConsolePage::TvConsolePage(bool advanced, TvAdapterSession *session, TvAsk *ask, TvLogBook *log,
                             TvTestRun *run, QWidget *parent)
    : QWidget(parent), advanced(advanced), session(session), ask(ask), log(log), run(run)
{
    setObjectName(QStringLiteral("AdvancedTab"));
}

// The console's widgets come with its feature.
bool TvConsolePage::buildAdvancedTab()
{
    return false;
}

void TvConsolePage::setInputEnabled(bool enabled)
{
    if (input)
        input->setEnabled(enabled);
}

void TvConsolePage::setControlsEnabled(bool enabled, bool shown)
{
    if (!advanced)
        return;
    setInputEnabled(enabled);
    if (cancelButton)
        cancelButton->setEnabled(!enabled);
    if (shown && input)
        input->setFocus();
}

void TvConsolePage::cancelDone()
{
    if (cancelButton)
        cancelButton->setEnabled(false);
    if (input)
        input->setFocus();
}

void TvConsolePage::takeFocus()
{
    if (input && input->isEnabled())
        input->setFocus();
    else if (cancelButton)
        cancelButton->setFocus();
}

void TvConsolePage::languageChange() {}

void TvConsolePage::commandEnded()
{
    // The command's log line and its input come with the console; the
    // script runner and the controls are served here.
    ask->clearRunCursor();
    {
        QMutexLocker locker(&runnerLock);
        commandDone.wakeAll();
    }
    if (!scriptRunning)
        emit controlsLockRequested(false);
}

void TvConsolePage::coreLogText(const QString &text)
{
    appendConsoleText(text);
    QMutexLocker locker(&runnerLock);
    textShown.wakeAll();
}

// Commands, the console's text area and script files come with the console.
void TvConsolePage::doAdvancedAction() {}
void TvConsolePage::appendConsoleText(const QString &) {}
void TvConsolePage::fileOpen() {}
