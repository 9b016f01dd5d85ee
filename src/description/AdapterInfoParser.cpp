#include "AdapterInfoParser.h"
#include "CAdapterInfo.h"

#include <algorithm>
#include <iterator>

// A field element of an adapter and the member its text goes to.
struct AdapterField {
    QLatin1String name;
    QString CAdapterEntry::*text;
    QList<int> CAdapterEntry::*numbers;
};

namespace {

const char *const Context = "AdapterInfoParser";

const AdapterField AdapterFields[] = {
    {QLatin1String("id"), &CAdapterEntry::id, nullptr},
    {QLatin1String("name"), &CAdapterEntry::name, nullptr},
    {QLatin1String("info"), &CAdapterEntry::info, nullptr},
    {QLatin1String("connector"), &CAdapterEntry::connector, nullptr},
    {QLatin1String("medium"), &CAdapterEntry::medium, nullptr},
    {QLatin1String("pixmap"), &CAdapterEntry::pixmap, nullptr},
    {QLatin1String("miscconfig"), nullptr, &CAdapterEntry::miscConfigIds},
    {QLatin1String("testcases"), nullptr, &CAdapterEntry::testCaseIds},
};

enum MiscField { MiscType, MiscUnit, MiscLabel };
const QLatin1String MiscFields[] = {QLatin1String("type"), QLatin1String("unit"),
                                    QLatin1String("label")};

const AdapterField *findAdapterField(const QStringRef &name)
{
    for (const AdapterField &field : AdapterFields) {
        if (DescriptionParser::isName(name, field.name))
            return &field;
    }
    return nullptr;
}

int findMiscField(const QStringRef &name)
{
    for (int i = 0; i < int(std::size(MiscFields)); ++i) {
        if (DescriptionParser::isName(name, MiscFields[i]))
            return i;
    }
    return -1;
}

// Keys are ASCII; anything else takes Qt's full case mapping.
QString upperCase(const QStringRef &text)
{
    QString upper(text.size(), Qt::Uninitialized);
    QChar *out = upper.data();
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return QString(text.unicode(), text.size()).toUpper();
        *out++ = c.unicode() >= 'a' && c.unicode() <= 'z' ? QChar(c.unicode() - 'a' + 'A') : c;
    }
    return upper;
}

} // namespace

AdapterInfoParser::AdapterInfoParser(CAdapterInfo *store, const QString &languageCode)
    : DescriptionParser(store)
    , m_languageCode(languageCode)
{
}

bool AdapterInfoParser::startElement(const QStringRef &name)
{
    switch (m_level) {
    case 0:
        return startAtTop(name);
    case 1:
        m_field = findAdapterField(name);
        if (m_field)
            m_level = 2;
        break;
    case 3:
        if (isName(name, QLatin1String("misc_conf"))) {
            m_itemNumber = readNumber(firstAttribute());
            m_level = 4;
        }
        break;
    case 4:
        m_miscField = findMiscField(name);
        if (m_miscField >= 0)
            m_level = 5;
        break;
    default:
        break;
    }
    return true;
}

bool AdapterInfoParser::startAtTop(const QStringRef &name)
{
    if (isName(name, QLatin1String("adapterinfofile")))
        return acceptVersion(Context, "AIF_WRONG_VERSION");
    if (isName(name, QLatin1String("adapter"))) {
        startAdapter();
    } else if (isName(name, QLatin1String("miscconfiginfo")) && firstAttribute() == m_languageCode) {
        // Blocks of other languages stay at level 0 and are skipped whole.
        m_languageFound = true;
        m_level = 3;
    }
    return true;
}

void AdapterInfoParser::startAdapter()
{
    const QString id = m_adapter.id;
    m_adapter = CAdapterEntry();
    m_adapter.id = id;
    m_level = 1;
}

void AdapterInfoParser::characters(const QStringRef &text)
{
    if (m_level == 2) {
        storeAdapterField(text);
        m_level = 1;
    } else if (m_level == 5) {
        storeMiscField(text);
        m_level = 4;
    }
}

void AdapterInfoParser::storeAdapterField(const QStringRef &text)
{
    static_assert(std::size(AdapterFields) == FieldCount, "one cache per field");
    const int field = int(m_field - AdapterFields);
    if (m_field->numbers)
        appendNumbers(field, &(m_adapter.*(m_field->numbers)), text);
    else if (m_field->text == &CAdapterEntry::id)
        m_adapter.id = upperCase(text);
    else
        m_adapter.*(m_field->text) = sharedText(field, text);
}

QString AdapterInfoParser::sharedText(int field, const QStringRef &text)
{
    QString &last = m_lastText[field];
    if (last.isNull() || last != text)
        last = textOf(text);
    return last;
}

void AdapterInfoParser::storeMiscField(const QStringRef &text)
{
    if (m_miscField == MiscType)
        m_item.type = readNumber(text);
    else if (m_miscField == MiscUnit)
        m_item.unit = textOf(text.trimmed());
    else
        m_item.label = textOf(text);
}

void AdapterInfoParser::appendNumbers(int field, QList<int> *list, const QStringRef &text)
{
    const bool fresh = list->isEmpty();
    if (fresh && !m_lastText[field].isNull() && m_lastText[field] == text) {
        *list = m_lastList[field];
        return;
    }
    // Empty pieces count: "1,,2" lists a 0 between the two. Reserving only
    // for a fresh list keeps many short lists in one adapter from copying
    // the whole list each time.
    if (fresh)
        list->reserve(int(std::count(text.begin(), text.end(), QLatin1Char(','))) + 1);
    forEachPiece(text, [list](QStringView piece) { list->append(readNumber(piece)); });
    // A family's lists are short; a long one is not worth a copy of its text.
    if (fresh && text.size() <= 256) {
        m_lastText[field] = textOf(text);
        m_lastList[field] = *list;
    }
}

void AdapterInfoParser::endElement(const QStringRef &name)
{
    switch (m_level) {
    case 1:
        if (isName(name, QLatin1String("adapter"))) {
            m_store->adapters.insert(m_adapter.id, m_adapter);
            m_level = 0;
        }
        break;
    case 2: // a field without text keeps its value
        m_level = 1;
        break;
    case 3:
        if (isName(name, QLatin1String("miscconfiginfo")))
            m_level = 0;
        break;
    case 4:
        if (isName(name, QLatin1String("misc_conf"))) {
            m_store->miscItems.insert(m_itemNumber, m_item);
            m_level = 3;
        }
        break;
    case 5:
        m_level = 4;
        break;
    default:
        break;
    }
}
