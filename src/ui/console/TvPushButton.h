#pragma once
#include <QPushButton>

// The console's cancel button: Return and Enter press it; it takes no other
// key (the space bar does not cancel a command by accident).
class TvPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TvPushButton(QWidget *parent = nullptr);

signals:
    void ButtonPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};
