#pragma once
#include <QString>

class QLabel;

// Picks the point size at which a text fills a label without spilling over:
// sizes are tried from `start` down to `last`, one point at a time, and the
// first at which the text's size is at most `factor` times the label's size
// wins. The gauges size their captions and readouts this way, each with
// limits of its own.
class TvFontFit
{
public:
    struct Limits {
        int start;
        int last;
        double factor;
        int noneFits; // returned when not even `last` fits
    };

    // With `apply` the label keeps the font of the size found, or of `last`
    // when none fits; without it the label's font is left alone.
    static int fit(QLabel *label, const QString &text, const Limits &limits, bool apply);
};
