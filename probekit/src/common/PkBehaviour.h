#pragma once
#include "PkFieldReader.h"

#include <QByteArray>
#include <QJsonObject>
#include <QVector>

// The scripted behaviour of one sub-test: what it reports, what it asks,
// how long it takes and how it ends.
class PkBehaviour
{
public:
    struct Cell {
        int row = 0;
        int column = 0;
        int message = -1;    // a catalogue number, or -1 for `text`
        QByteArray text;
    };
    struct Question {
        int message = -1;    // -1: the step asks nothing
        int buttons[3] = {0, 0, 0};
        int expect = 0;      // any other answer fails the test
    };
    // A step reports in this order: log, stamped, cells, question, then
    // takes its time, then result text and progress.
    struct Step {
        QByteArray log, stamped, result;
        QVector<Cell> cells;
        Question question;
        int ms = 0;
        int progress = -1;   // -1: no progress report
    };

    static PkBehaviour fromJson(const QJsonObject &json);
    static PkBehaviour fromJson(const PkFieldReader &json);
    // Reads every behaviour of a table ({"101": {...}}) for the numbers'
    // ranges; the reader keeps the first one out of range.
    static void check(const PkFieldReader &tests);
    // {"message": 12, "buttons": [3, 4, 0], "expect": 3}; expect defaults to
    // the first button.
    static Question questionFromJson(const PkFieldReader &json);
    // What a sub-test without a script does: a short climb to 100 and a pass.
    static PkBehaviour generic();

    QVector<Step> steps;
    int status = 0;
    double failRate = 0.0;
    quint32 seed = 1;
    int failStatus = 1;
    QByteArray failText;

private:
    static Step stepFromJson(const PkFieldReader &json);
    static Cell cellFromJson(const PkFieldReader &json);
};
