#include "TvLineEdit.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>

TvLineEdit::TvLineEdit(QWidget *parent) : QLineEdit(parent) {}

bool TvLineEdit::isMenuShortcut(const QKeySequence &keys) const
{
    for (const QAction *action : window()->findChildren<QAction *>()) {
        if (action->isEnabled() && action->shortcuts().contains(keys))
            return true;
    }
    return false;
}

bool TvLineEdit::event(QEvent *event)
{
    // The line edit claims its editing keys before the window's shortcuts
    // are looked at; a menu's own key is left to the menu. Control+C and
    // Control+X stay the console's.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool consoleKey = key->modifiers() == Qt::ControlModifier
                                && (key->key() == Qt::Key_C || key->key() == Qt::Key_X);
        if (!consoleKey && isMenuShortcut(QKeySequence(int(key->modifiers()) | key->key()))) {
            event->ignore();
            return false;
        }
    }
    return QLineEdit::event(event);
}

void TvLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_X) {
        emit fileExitSignal();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_C) {
        emit testCancelSignal();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
