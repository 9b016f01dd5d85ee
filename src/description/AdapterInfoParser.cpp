#include "AdapterInfoParser.h"
#include "CAdapterInfo.h"

#include <algorithm>

// A field element of an adapter and the member its text goes to.
struct AdapterField {
    const char *name;
    QString CAdapterEntry::*text;
    QList<int> CAdapterEntry::*numbers;
};

namespace {

const char *const Context = "AdapterInfoParser";

const AdapterField AdapterFields[] = {
    {"id", &CAdapterEntry::id, nullptr},
    {"name", &CAdapterEntry::name, nullptr},
    {"info", &CAdapterEntry::info, nullptr},
    {"connector", &CAdapterEntry::connector, nullptr},
    {"medium", &CAdapterEntry::medium, nullptr},
    {"pixmap", &CAdapterEntry::pixmap, nullptr},
    {"miscconfig", nullptr, &CAdapterEntry::miscConfigIds},
    {"testcases", nullptr, &CAdapterEntry::testCaseIds},
};

enum MiscField { MiscType, MiscUnit, MiscLabel };
const char *const MiscFields[] = {"type", "unit", "label"};

const AdapterField *findAdapterField(const QStringRef &name)
{
    for (const AdapterField &field : AdapterFields) {
        if (name == QLatin1String(field.name))
            return &field;
    }
    return nullptr;
}

int findMiscField(const QStringRef &name)
{
    const auto found = std::find_if(std::begin(MiscFields), std::end(MiscFields),
                                    [&name](const char *field) { return name == QLatin1String(field); });
    return found == std::end(MiscFields) ? -1 : int(found - std::begin(MiscFields));
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
        if (name == QLatin1String("misc_conf")) {
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
    if (name == QLatin1String("adapterinfofile"))
        return acceptVersion(Context, "AIF_WRONG_VERSION");
    if (name == QLatin1String("adapter")) {
        startAdapter();
    } else if (name == QLatin1String("miscconfiginfo") && firstAttribute() == m_languageCode) {
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
    if (m_field->numbers)
        appendNumbers(&(m_adapter.*(m_field->numbers)), text);
    else if (m_field->text == &CAdapterEntry::id)
        m_adapter.id = text.toString().toUpper();
    else
        m_adapter.*(m_field->text) = text.toString();
}

void AdapterInfoParser::storeMiscField(const QStringRef &text)
{
    if (m_miscField == MiscType)
        m_item.type = readNumber(text);
    else if (m_miscField == MiscUnit)
        m_item.unit = text.trimmed().toString();
    else
        m_item.label = text.toString();
}

void AdapterInfoParser::appendNumbers(QList<int> *list, QStringView text)
{
    // Empty pieces count: "1,,2" lists a 0 between the two.
    list->reserve(list->size() + int(std::count(text.begin(), text.end(), QLatin1Char(','))) + 1);
    forEachPiece(text, [list](QStringView piece) { list->append(readNumber(piece)); });
}

void AdapterInfoParser::endElement(const QStringRef &name)
{
    switch (m_level) {
    case 1:
        if (name == QLatin1String("adapter")) {
            m_store->adapters.insert(m_adapter.id, m_adapter);
            m_level = 0;
        }
        break;
    case 2: // a field without text keeps its value
        m_level = 1;
        break;
    case 3:
        if (name == QLatin1String("miscconfiginfo"))
            m_level = 0;
        break;
    case 4:
        if (name == QLatin1String("misc_conf")) {
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
