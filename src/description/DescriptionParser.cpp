#include "DescriptionParser.h"
#include "CAdapterInfo.h"

#include "text/TvProgram.h"
#include "text/TvText.h"
#include "text/TvDialogSeam.h"

#include <QXmlStreamReader>

#include <limits>

namespace {

// The readers' shared messages belong to the store's context.
const char *const Context = "CAdapterInfo";

int digitValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'z')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'Z')
        return u - 'A' + 10;
    return -1;
}

// XML itself forbids the other C0 controls; DEL and the C1 controls
// (U+0080 to U+009F, terminal escapes among them) it lets through. A NUL or
// an escape in a name would cut or garble every text that prints it.
bool hasControlCharacter(const QStringRef &text)
{
    const QChar *c = text.unicode();
    const QChar *const end = c + text.size();
    for (; c != end; ++c) {
        const ushort u = c->unicode();
        if (u - 0x20u < 0x5fu || u > 0x9f)   // printable ASCII or beyond C1: the usual case
            continue;
        if (u >= 0x7f || (u != '\t' && u != '\n' && u != '\r'))
            return true;
    }
    return false;
}

enum class Step { Next, Stop, Refuse };

} // namespace

DescriptionParser::DescriptionParser(CAdapterInfo *store)
    : m_store(store)
{
}

DescriptionParser::~DescriptionParser() = default;

bool DescriptionParser::parse(QIODevice *device, const QString &path)
{
    QXmlStreamReader reader(device);
    m_reader = &reader;
    m_path = path;
    int depth = 0;
    bool going = true;
    while (going && !reader.atEnd())
        going = readToken(&depth);
    const bool refused = depth > MaxDepth;
    if (refused)
        refuseDepth();
    else if (going && reader.hasError())
        warn(Context, "READING_STOPPED %1 %2 %3", {reader.errorString()});
    m_reader = nullptr;
    return !refused;
}

// False ends the reading: a handler refused the document, or it is nested
// too deep (depth then exceeds MaxDepth).
bool DescriptionParser::readToken(int *depth)
{
    switch (m_reader->readNext()) {
    case QXmlStreamReader::StartElement:
        if (++*depth > MaxDepth)
            return false;
        return startElement(m_reader->qualifiedName());
    case QXmlStreamReader::EndElement:
        --*depth;
        endElement(m_reader->qualifiedName());
        break;
    case QXmlStreamReader::Characters:
        if (hasControlCharacter(m_reader->text()))
            m_reader->raiseError(TvText::translate(Context, "CONTROL_CHARACTER"));
        else
            characters(m_reader->text());
        break;
    case QXmlStreamReader::DTD:
        // Each reference to a declared entity may expand to kilobytes of
        // text: a small file could fill the memory. Descriptions use none.
        if (!m_reader->entityDeclarations().isEmpty())
            m_reader->raiseError(TvText::translate(Context, "ENTITY_DECLARATIONS"));
        break;
    default:
        break;
    }
    return true;
}

void DescriptionParser::refuseDepth() const
{
    const QString text = TvText::translate(Context, "NESTED_TOO_DEEP %1 %2 %3")
                             .arg(m_path, QString::number(m_reader->lineNumber()),
                                  QString::number(MaxDepth));
    TvDialogSeam::current().message(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(),
                                    text, TvDialogSeam::Ok);
}

int DescriptionParser::readNumber(QStringView text, int base)
{
    const QChar *begin = text.begin();
    const QChar *end = text.end();
    while (begin != end && begin->isSpace())
        ++begin;
    while (end != begin && end[-1].isSpace())
        --end;
    const bool negative = begin != end && *begin == QLatin1Char('-');
    if (negative || (begin != end && *begin == QLatin1Char('+')))
        ++begin;
    if (begin == end)
        return 0;
    // Qt's own conversion would take "0x1A5E" as hexadecimal, but the files
    // write hexadecimal without a prefix and a prefixed number counts as no
    // number at all: only digits of the base are taken.
    qint64 value = 0;
    for (; begin != end; ++begin) {
        const int digit = digitValue(*begin);
        if (digit < 0 || digit >= base)
            return 0;
        value = value * base + digit;
        if (value > qint64(1) << 31)
            return 0;
    }
    value = negative ? -value : value;
    return value > std::numeric_limits<int>::max() ? 0 : int(value);
}

QString DescriptionParser::firstAttribute() const
{
    const QXmlStreamAttributes attributes = m_reader->attributes();
    return attributes.isEmpty() ? QString() : attributes.first().value().toString();
}

bool DescriptionParser::acceptVersion(const char *context, const char *key) const
{
    if (firstAttribute().toDouble() == 1.0)
        return true;
    TvDialogSeam::current().message(nullptr, TvDialogSeam::Critical, TvProgram::bannerText(),
                                    TvText::translate(context, key), TvDialogSeam::Ok);
    return false;
}

void DescriptionParser::warn(const char *context, const char *key, const QStringList &texts) const
{
    // One arg() call for all places, so that a "%3" in the path stays text.
    const QString line = QString::number(m_reader->lineNumber());
    const QString format = TvText::translate(context, key);
    QString text;
    if (texts.isEmpty())
        text = format.arg(m_path, line);
    else if (texts.size() == 1)
        text = format.arg(m_path, line, texts.at(0));
    else
        text = format.arg(m_path, line, texts.at(0), texts.at(1));
    m_store->addWarning(text);
}
