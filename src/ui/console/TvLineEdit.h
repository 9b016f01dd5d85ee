#pragma once
#include <QLineEdit>

// The console's command input: Control+X asks to leave the program and
// Control+C to cancel the running command; every other key edits the line.
class TvLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TvLineEdit(QWidget *parent = nullptr);

signals:
    void fileExitSignal();
    void testCancelSignal();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
