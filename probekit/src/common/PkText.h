#pragma once
#include <QByteArray>

// Byte texts as the core hands them out: fixed C buffers, UTF-8 inside.
class PkText
{
public:
    // Cuts to at most maxBytes without splitting a UTF-8 sequence.
    static QByteArray cut(const QByteArray &text, int maxBytes);
    // Copies into a C buffer of the given size, always zero-terminated.
    static void copy(const QByteArray &text, char *buffer, int size);
};
