#pragma once
#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// The splash screen shown for three seconds at start-up and, with its OK
// button, the about box of the help menu. It shows itself on construction.
// The three text lines sit on the picture's lower part, each as tall as its
// font needs; the about box's OK button has a strip of its own below the
// picture, so that nothing overlaps in any language.
class TvSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TvSplash(bool aboutMode);

    static constexpr int SplashMilliseconds = 3000;
    static constexpr int ButtonWidth = 100;
    static constexpr int ButtonHeight = 25;
    static constexpr int Margin = 6;
    static constexpr int LineSpacing = 2;

private:
    void placeOnPicture(const QPixmap &picture, bool aboutMode);
    void buildLabels();
    void buildButton(bool aboutMode);
    QLabel *makeLabel(const char *name, int pointSize, bool bold);
    // Stacks the lines from 81 % of the picture's height down, raised as
    // far as the picture's bottom needs.
    void stackLabels();

    QTimer *timer;
    int pictureHeight = 0;
    QLabel *nameLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *copyrightLabel = nullptr;
    QPushButton *okButton = nullptr;
};
