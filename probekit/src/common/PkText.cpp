#include "PkText.h"

#include <cstring>

QByteArray PkText::cut(const QByteArray &text, int maxBytes)
{
    if (maxBytes <= 0)
        return QByteArray();
    if (text.size() <= maxBytes)
        return text;
    int end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the
    // sequence that would be split, and drop that sequence.
    while (end > 0 && (static_cast<unsigned char>(text.at(end)) & 0xC0) == 0x80)
        --end;
    return text.left(end);
}

void PkText::copy(const QByteArray &text, char *buffer, int size)
{
    if (!buffer || size <= 0)
        return;
    const QByteArray fitted = cut(text, size - 1);
    std::memcpy(buffer, fitted.constData(), static_cast<size_t>(fitted.size()));
    buffer[fitted.size()] = '\0';
}
