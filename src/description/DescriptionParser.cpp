#include "DescriptionParser.h"

#include "text/TvProgram.h"
#include "text/TvText.h"
#include "text/TvDialogSeam.h"

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

int digitValue(QChar c)
{
    const char l = c.toLatin1();
    if (l >= '0' && l <= '9')
        return l - '0';
    if (l >= 'a' && l <= 'z')
        return l - 'a' + 10;
    if (l >= 'A' && l <= 'Z')
        return l - 'A' + 10;
    return -1;
}

bool isDigitOfBase(QChar c, int base)
{
    const int value = digitValue(c);
    return value >= 0 && value < base;
}

// Qt 5's own conversion would take "0x1A5E" as hexadecimal, but the files
// write hexadecimal without a prefix and a prefixed number counts as no
// number at all; so the text is checked before it is converted.
bool isPlainNumber(const QString &text, int base)
{
    int i = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (!isDigitOfBase(text.at(i), base))
            return false;
    }
    return true;
}

} // namespace

DescriptionParser::DescriptionParser(CAdapterInfo *store)
    : m_store(store)
{
}

DescriptionParser::~DescriptionParser() = default;

int DescriptionParser::readNumber(const QString &text, int base)
{
    const QString trimmed = text.trimmed();
    if (!isPlainNumber(trimmed, base))
        return 0;
    bool ok = false;
    const int value = trimmed.toInt(&ok, base);
    return ok ? value : 0;
}

QString DescriptionParser::firstAttribute(const QXmlAttributes &attributes)
{
    return attributes.count() > 0 ? attributes.value(0) : QString();
}

bool DescriptionParser::isVersionOne(const QXmlAttributes &attributes)
{
    return firstAttribute(attributes).toDouble() == 1.0;
}

bool DescriptionParser::acceptVersion(const QXmlAttributes &attributes, const char *context,
                                      const char *key)
{
    if (isVersionOne(attributes))
        return true;
    TvDialogSeam::current().message(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(),
                                    TvText::translate(context, key), TvDialogSeam::Ok);
    return false;
}

QT_WARNING_POP
