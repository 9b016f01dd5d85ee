#pragma once
#include <QString>

// The core library's numbered messages.
class TvCoreCatalogue
{
public:
    // The key of a message number, or "Message <n> not found".
    static QString coreMessageKey(int number);
    static int size();
};
