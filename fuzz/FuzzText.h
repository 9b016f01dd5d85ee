#pragma once
// What the validator targets share: the text typed into an editor and the
// cursor in it, taken from the fuzzer's bytes.
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace FuzzText {

struct Typed {
    QString text;
    int cursor = 0;
    // The cursor is somewhere an editor could put it.
    bool cursorInText() const { return cursor >= 0 && cursor <= text.size(); }
};

// The text typed and the cursor in it, from bytes: `cursor` is read as
// signed, so that it may lie outside the text; an odd `encoding` reads the
// text as UTF-16 code units in machine order (lone surrogates and all), an
// even one as UTF-8.
inline Typed typed(uint8_t cursor, uint8_t encoding, const uint8_t *text, size_t size)
{
    Typed typed;
    typed.cursor = int(int8_t(cursor));
    const char *bytes = reinterpret_cast<const char *>(text);
    if (encoding & 1) {
        QString units(int(size / 2), Qt::Uninitialized);
        std::memcpy(units.data(), bytes, size / 2 * 2);
        typed.text = units;
    } else {
        typed.text = QString::fromUtf8(bytes, int(size));
    }
    return typed;
}

inline bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

} // namespace FuzzText
