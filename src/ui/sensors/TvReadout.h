#pragma once
#include <QLabel>

// The sunken readout "Output" of a gauge: the reading as text on a
// background that turns green inside the tolerance and red outside it.
class TvReadout : public QLabel
{
    Q_OBJECT
public:
    explicit TvReadout(QWidget *parent = nullptr);

    void showInside(bool inside);
};
