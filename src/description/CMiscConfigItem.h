#pragma once
#include <QString>

// Definition of one miscellaneous configuration item, in the selected language.
struct CMiscConfigItem {
    int type = 0;
    QString unit;
    QString label;
};
