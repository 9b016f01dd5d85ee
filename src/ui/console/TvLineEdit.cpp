#include "TvLineEdit.h"

#include <QKeyEvent>

TvLineEdit::TvLineEdit(QWidget *parent) : QLineEdit(parent) {}

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
