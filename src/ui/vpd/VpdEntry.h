#pragma once
#include <QByteArray>
#include <QString>

// One keyword of the vital product data as read: its name, its value as
// shown (text, or a hexadecimal dump when any byte is not printable) and
// the bytes themselves, which are what gets written back when the user did
// not change the value.
struct VpdEntry {
    QString keyword;
    QString value;
    QByteArray bytes;
};
