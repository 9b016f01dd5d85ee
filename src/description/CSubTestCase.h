#pragma once
#include <QString>

// One sub-test of a test case; id is the number that TestRun receives.
struct CSubTestCase {
    QString label;
    QString hint;
    int id = 0;
};
