// Fuzz target: the VPD edit dialog's keyword validator, fed any text and
// cursor, the rule for writable keywords, and the formatter that shows a
// value. Bytes: the cursor, the encoding (FuzzText), the length of the
// keyword's bytes (0 to 15), the keyword, then the value's bytes.
#include "FuzzText.h"

#include "ui/vpd/TvVpdActions.h"
#include "ui/vpd/VPDValidator.h"

#include <QByteArray>

#include <algorithm>

#include <cstddef>
#include <cstdint>

namespace {

bool isDigitOrCapital(QChar c)
{
    return FuzzText::isAsciiDigit(c) || (c.unicode() >= 'A' && c.unicode() <= 'Z');
}

bool isUpperHex(QChar c)
{
    return FuzzText::isAsciiDigit(c) || (c.unicode() >= 'A' && c.unicode() <= 'F');
}

bool isWritableForm(const QString &keyword)
{
    return keyword.size() == TvVpdActions::KeywordLength
           && (keyword.at(0) == QLatin1Char('V') || keyword.at(0) == QLatin1Char('Y'))
           && isDigitOrCapital(keyword.at(1));
}

// The validator never lets through what the writer would refuse: Acceptable
// is a writable keyword, Intermediate the start of one.
void checkValidate(const FuzzText::Typed &typed)
{
    static const VPDValidator validator;
    QString text = typed.text;
    int cursor = typed.cursor;
    const QValidator::State state = validator.validate(text, cursor);
    if (!typed.cursorInText())
        return;
    if (state == QValidator::Acceptable
        && (!isWritableForm(text) || !TvVpdActions::isWritable(text)))
        __builtin_trap();
    if (state == QValidator::Intermediate && !text.isEmpty() && text != QLatin1String("V")
        && text != QLatin1String("Y"))
        __builtin_trap();
}

// Writable: a V or Y followed by a digit or capital, anywhere.
void checkWritable(const QString &keyword)
{
    bool found = false;
    for (int i = 0; i + 1 < keyword.size(); ++i)
        found = found || isWritableForm(keyword.mid(i, 2));
    if (TvVpdActions::isWritable(keyword) != found)
        __builtin_trap();
}

// A value is shown as its text when every byte is printable, and then
// that text gives back the same bytes; else as "0xHH " per byte, which
// reads back to the bytes too. Either way the shown text is printable.
void checkValueText(const QByteArray &bytes)
{
    const QString shown = TvVpdActions::valueText(bytes);
    for (const QChar c : shown) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            __builtin_trap();
    }
    if (shown.toLatin1() == bytes)
        return;
    const bool printable = std::all_of(bytes.begin(), bytes.end(),
                                       [](char c) { return c >= 0x20 && c <= 0x7e; });
    if (printable || shown.size() != bytes.size() * 5)
        __builtin_trap();
    for (int i = 0; i < bytes.size(); ++i) {
        const QString dumped = shown.mid(i * 5, 5);
        if (!dumped.startsWith(QLatin1String("0x")) || dumped.at(4) != QLatin1Char(' ')
            || !isUpperHex(dumped.at(2)) || !isUpperHex(dumped.at(3))
            || dumped.midRef(2, 2).toInt(nullptr, 16) != uchar(bytes.at(i)))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A refused keyword's box answers itself (no dialogs are installed);
    // its line on the message log is dropped.
    static const QtMessageHandler quiet = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &) {});
    Q_UNUSED(quiet);
    if (size < 3)
        return 0;
    const size_t keywordBytes = std::min<size_t>(data[2] % 16, size - 3);
    const FuzzText::Typed typed = FuzzText::typed(data[0], data[1], data + 3, keywordBytes);
    checkValidate(typed);
    checkWritable(typed.text);
    // No value longer than the read buffer reaches the formatter.
    const size_t valueBytes = std::min<size_t>(size - 3 - keywordBytes, TvVpdActions::ValueBufferSize);
    checkValueText(QByteArray(reinterpret_cast<const char *>(data + 3 + keywordBytes), int(valueBytes)));
    return 0;
}
