#pragma once
#include <QString>

// Message keys become texts here: the installed translators are asked in the
// given context, and a key without translation stays as it is (its
// placeholders are filled by the caller with arg()).
class TvText
{
public:
    static QString translate(const char *context, const QString &key);
    static QString translate(const char *context, const char *key);
};
