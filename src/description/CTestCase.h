#pragma once
#include "CSubTestCase.h"
#include <QList>
#include <QString>

// One test case of the test information file, in the selected language.
struct CTestCase {
    QString testname;
    QString pixmap;
    QString accel;
    QString menuentry;
    int test_base = 0;
    int advanced = 0;
    int all_tests = 0;
    int allow_loop = 0;
    QList<CSubTestCase> subtests;   // file order
};
