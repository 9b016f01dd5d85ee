#include "TvPushButton.h"

#include <QKeyEvent>

TvPushButton::TvPushButton(QWidget *parent) : QPushButton(parent) {}

void TvPushButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit ButtonPressed();
        event->accept();
        return;
    }
    event->ignore();
}

void TvPushButton::keyReleaseEvent(QKeyEvent *event)
{
    event->ignore();
}
