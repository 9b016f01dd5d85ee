#include "VPDValidator.h"

#include "text/TvDialogSeam.h"
#include "text/TvText.h"

namespace {

const char *const Context = "VPDValidator";

bool isDigitOrCapital(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isWritableFirst(QChar c)
{
    return c == QLatin1Char('V') || c == QLatin1Char('Y');
}

} // namespace

VPDValidator::VPDValidator(QObject *parent) : QValidator(parent) {}

QValidator::State VPDValidator::validate(QString &input, int &position) const
{
    if (input.isEmpty() || position > input.length())
        return Intermediate;
    input = input.toUpper();
    if (input.length() == 1) {
        if (isWritableFirst(input.at(0)))
            return Intermediate;
        return refuse("INVALID_FIRST_VPD_KEY_CHAR %1", input.at(0));
    }
    if (input.length() == 2) {
        // A pasted keyword, or a first character typed over a selected one,
        // arrives here without its first character checked on its own.
        if (!isWritableFirst(input.at(0)))
            return refuse("INVALID_FIRST_VPD_KEY_CHAR %1", input.at(0));
        if (isDigitOrCapital(input.at(1)))
            return Acceptable;
        return refuse("INVALID_SECOND_VPD_KEY_CHAR %1", input.at(1));
    }
    return Invalid;
}

QValidator::State VPDValidator::refuse(const char *key, QChar character) const
{
    TvDialogSeam::current().messageBox(
        nullptr, TvDialogSeam::Critical, QString(),
        TvText::translate(Context, key).arg(character),
        {{TvDialogSeam::Cancel, TvText::translate(Context, "CANCEL_TEXT")}});
    return Invalid;
}
