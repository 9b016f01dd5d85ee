#pragma once
#include <QLineEdit>

// The console's command input: Control+X asks to leave the program and
// Control+C to cancel the running command; a key that is a menu entry's
// shortcut in the window goes to the menu (Control+E erases the flash PROM,
// not move to the line's end); every other key edits the line.
class TvLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TvLineEdit(QWidget *parent = nullptr);

signals:
    void fileExitSignal();
    void testCancelSignal();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isMenuShortcut(const QKeySequence &keys) const;
};
