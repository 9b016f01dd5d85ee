#pragma once
#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// The splash screen shown for three seconds at start-up and, with its OK
// button, the about box of the help menu. It shows itself on construction.
class TvSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TvSplash(bool aboutMode);

    static constexpr int SplashMilliseconds = 3000;

private:
    void placeOnPicture(const QPixmap &picture);
    void buildLabels();
    void buildButton(bool aboutMode);
    QLabel *makeLabel(const char *name, int top, int height, int pointSize, bool bold);

    QTimer *timer;
    QLabel *nameLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *copyrightLabel = nullptr;
    QPushButton *okButton = nullptr;
};
