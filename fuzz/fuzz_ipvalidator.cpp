// Fuzz target: the octet validator of the connectivity dialog's address
// fields, fed any text and cursor, and the reader of a dotted address.
// Bytes: the cursor, the encoding (FuzzText), the field 1 to 4, the text.
#include "FuzzText.h"

#include "ui/connectivity/IPValidator.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

// What a field may hold: up to three decimal digits, Acceptable once there
// are three and they are no more than 255, Intermediate while fewer.
QValidator::State expectedState(const QString &text)
{
    if (text.size() > 3)
        return QValidator::Invalid;
    for (const QChar c : text) {
        if (!FuzzText::isAsciiDigit(c))
            return QValidator::Invalid;
    }
    if (text.size() < 3)
        return QValidator::Intermediate;
    return text.toInt() <= 255 ? QValidator::Acceptable : QValidator::Invalid;
}

void checkValidate(const IPValidator &validator, const FuzzText::Typed &typed)
{
    QString text = typed.text;
    int cursor = typed.cursor;
    const QValidator::State state = validator.validate(text, cursor);
    if (text != typed.text || state != expectedState(typed.text))
        __builtin_trap();
    validator.fixup(text);
}

// An address is read only when it is four dot-separated groups of one to
// three decimal digits, each no more than 255, and nothing else; each is
// given back as plain decimal.
void checkOctets(const QString &address)
{
    const QStringList octets = IPValidator::octets(address);
    if (octets.isEmpty())
        return;
    const QStringList groups = address.split(QLatin1Char('.'));
    if (octets.size() != 4 || groups.size() != 4)
        __builtin_trap();
    for (int i = 0; i < 4; ++i) {
        const QString &group = groups.at(i);
        if (group.isEmpty() || group.size() > 3)
            __builtin_trap();
        for (const QChar c : group) {
            if (!FuzzText::isAsciiDigit(c))
                __builtin_trap();
        }
        if (group.toInt() > 255 || octets.at(i) != QString::number(group.toInt()))
            __builtin_trap();
    }
    // What was read reads again as itself.
    if (IPValidator::octets(octets.join(QLatin1Char('.'))) != octets)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    static IPValidator *validators[4] = {new IPValidator(1), new IPValidator(2),
                                         new IPValidator(3), new IPValidator(4)};
    const FuzzText::Typed typed = FuzzText::typed(data[0], data[1], data + 3, size - 3);
    checkValidate(*validators[data[2] % 4], typed);
    checkOctets(typed.text);
    return 0;
}
