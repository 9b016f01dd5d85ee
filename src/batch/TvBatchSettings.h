#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The options of a headless run (--run and the options that go with it),
// as the command line gave them. The command line only collects; check()
// says what is wrong with the combination.
class TvBatchSettings
{
public:
    enum Answer { AnswerNo, AnswerYes, AnswerAsk };
    using Adapter = QPair<int, int>; // bus, device

    // Passes of the chosen tests; more would outlast any shift and a typo
    // (an extra zero or two) is likelier than a wish to loop for days.
    static constexpr int MaxLoops = 10000;

    // True when any headless option was given: the run then needs no display.
    bool requested() const;
    // A translated text naming the first thing wrong, empty when the
    // options can run. Checked before the core is touched.
    QString check() const;

    // "2:1" (decimal, as -l prints them); false for anything else.
    static bool parseAdapter(const QString &text, Adapter *adapter);
    static bool parseAnswer(const QString &text, Answer *answer);
    // 1..MaxLoops; false for anything else.
    static bool parseLoops(const QString &text, int *loops);

    QString run;                // test case id, name or "all"; empty: none
    QList<Adapter> adapters;    // --adapter, in the order given
    bool allAdapters = false;
    int loops = 1;
    Answer answer = AnswerNo;
    QString recordsDir;
    QString prometheusFile;
    bool quiet = false;
    // The description file options as given (-C, -I, -T with their files),
    // for the children: a file not named is found or written by each
    // child as by any start.
    QStringList descriptionOptions;
    // The private option with which a run re-executes the program for one
    // adapter: where the child leaves its report for the parent.
    QString childReport;
    // Option values that could not be read: the option and its value.
    QList<QPair<QString, QString>> badValues;
    // Options that cannot go with a headless run (-l, --capture, -b/-d).
    QStringList conflicts;
};
