#pragma once
#include <QString>

// Core status codes as texts.
class TvStatusCodes
{
public:
    // The message key of a status (without its value); codes outside 0..35,
    // negative ones included, give "ERROR_ERROR %1".
    static QString statusKey(int code);
    // The translated text, in the main window's context, with %1 filled.
    static QString statusText(int code);
};
