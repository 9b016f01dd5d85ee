#pragma once
#include <QList>
#include <QString>

// One adapter model of the adapter information file.
struct CAdapterEntry {
    QString id;          // "VVVV:DDDD:SVSV:SSSS", upper case
    QString name;
    QString info;
    QString connector;
    QString medium;
    QString pixmap;      // relative to basepath
    QList<int> miscConfigIds;
    QList<int> testCaseIds;
};
