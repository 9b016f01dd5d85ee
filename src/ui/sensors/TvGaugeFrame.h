#pragma once

class QHBoxLayout;
class QLabel;
class QRect;
class QVBoxLayout;
class QWidget;

// The frame that both gauges are built in: a raised panel "Frame" that
// covers the gauge, and in it the plain widget "LayoutSensor" whose
// vertical layout of the same name holds the gauge's parts.
class TvGaugeFrame
{
public:
    // Places `gauge` on its parent at `rect`, builds the frame and returns
    // the inner layout (no margin, the given spacing).
    static QVBoxLayout *build(QWidget *gauge, const QRect &rect, int spacing);
    // A centred caption label.
    static QLabel *caption(QWidget *parent, const char *name);
    // A row that centres `middle` between two expanding 20 x 20 spacers.
    static QHBoxLayout *centredRow(const char *name, QWidget *middle);
    // Sets the point size of a widget's font; sizes below 1 are ignored.
    static void setPointSize(QWidget *widget, int size);
    // Hides the gauge and every widget in it.
    static void hideAll(QWidget *gauge);
};
