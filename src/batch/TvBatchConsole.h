#pragma once
#include <QString>

// The terminal side of a headless run: one line per sub-test as it ends,
// a progress bar below them while standard output is a terminal, errors on
// standard error, and the operator's answers when they are asked for.
// GUI thread only.
class TvBatchConsole
{
public:
    explicit TvBatchConsole(bool quiet);

    // A line on standard output (not when quiet); the bar is drawn anew below it.
    void line(const QString &text);
    // A line on standard error, whether quiet or not.
    void error(const QString &text);
    // The bar's state: `done` of `total` sub-tests have ended.
    void progress(int done, int total);
    // Takes the bar off the screen for good.
    void finish();

    // Asks the question on the terminal and reads the answer from standard
    // input: a button's number or the first letter of its name. End of
    // input, or an interrupted read (Ctrl+C), gives the safe answer.
    int ask(const QString &question, const int buttons[3]);

    // The button a question nobody answers gets: No, else Cancel, else
    // the only one there is (an OK that only tells). `yes` gives Yes, else
    // OK, else the first.
    static int policyAnswer(const int buttons[3], bool yes);
    static QString buttonName(int code);

    static constexpr int BarWidth = 30;

private:
    void clearBar();
    void drawBar();

    bool quiet;
    bool bar;
    bool barShown = false;
    int done = 0;
    int total = 0;
};
