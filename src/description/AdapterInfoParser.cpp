#include "AdapterInfoParser.h"
#include "CAdapterInfo.h"

#include <QStringList>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

const char *const Context = "AdapterInfoParser";

const char *const AdapterFields[] = {"id",     "name",       "info",      "connector",
                                     "medium", "pixmap",     "miscconfig", "testcases",
                                     nullptr};
const char *const MiscFields[] = {"type", "unit", "label", nullptr};

bool isOneOf(const QString &name, const char *const *names)
{
    for (; *names; ++names) {
        if (name == QLatin1String(*names))
            return true;
    }
    return false;
}

} // namespace

AdapterInfoParser::AdapterInfoParser(CAdapterInfo *store, const QString &languageCode)
    : DescriptionParser(store)
    , m_languageCode(languageCode)
{
}

bool AdapterInfoParser::startElement(const QString &, const QString &, const QString &qName,
                                     const QXmlAttributes &attributes)
{
    if (qName.isNull())
        return true;
    switch (m_level) {
    case 0:
        return startAtTop(qName, attributes);
    case 1:
        enterField(qName, AdapterFields, 2);
        break;
    case 3:
        if (qName == QLatin1String("misc_conf")) {
            m_itemNumber = readNumber(firstAttribute(attributes));
            m_level = 4;
        }
        break;
    case 4:
        enterField(qName, MiscFields, 5);
        break;
    default:
        break;
    }
    return true;
}

bool AdapterInfoParser::startAtTop(const QString &name, const QXmlAttributes &attributes)
{
    if (name == QLatin1String("adapterinfofile"))
        return acceptVersion(attributes, Context, "AIF_WRONG_VERSION");
    if (name == QLatin1String("adapter")) {
        startAdapter();
    } else if (name == QLatin1String("miscconfiginfo")
               && firstAttribute(attributes) == m_languageCode) {
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

void AdapterInfoParser::enterField(const QString &name, const char *const *fields, int nextLevel)
{
    if (!isOneOf(name, fields))
        return;
    m_element = name;
    m_level = nextLevel;
}

bool AdapterInfoParser::characters(const QString &text)
{
    if (text.isNull())
        return true;
    if (m_level == 2) {
        storeAdapterField(text);
        m_level = 1;
    } else if (m_level == 5) {
        storeMiscField(text);
        m_level = 4;
    }
    return true;
}

void AdapterInfoParser::storeAdapterField(const QString &text)
{
    if (m_element == QLatin1String("id"))
        m_adapter.id = text.toUpper();
    else if (m_element == QLatin1String("name"))
        m_adapter.name = text;
    else if (m_element == QLatin1String("info"))
        m_adapter.info = text;
    else if (m_element == QLatin1String("connector"))
        m_adapter.connector = text;
    else if (m_element == QLatin1String("medium"))
        m_adapter.medium = text;
    else if (m_element == QLatin1String("pixmap"))
        m_adapter.pixmap = text;
    else if (m_element == QLatin1String("miscconfig"))
        appendNumbers(&m_adapter.miscConfigIds, text);
    else if (m_element == QLatin1String("testcases"))
        appendNumbers(&m_adapter.testCaseIds, text);
}

void AdapterInfoParser::storeMiscField(const QString &text)
{
    if (m_element == QLatin1String("type"))
        m_item.type = readNumber(text);
    else if (m_element == QLatin1String("unit"))
        m_item.unit = text.trimmed();
    else if (m_element == QLatin1String("label"))
        m_item.label = text;
}

void AdapterInfoParser::appendNumbers(QList<int> *list, const QString &text)
{
    // Empty pieces count: "1,,2" lists a 0 between the two.
    const QStringList pieces = text.split(QLatin1Char(','));
    for (const QString &piece : pieces)
        list->append(readNumber(piece));
}

bool AdapterInfoParser::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName.isNull())
        return true;
    switch (m_level) {
    case 1:
        if (qName == QLatin1String("adapter")) {
            m_store->adapters.insert(m_adapter.id, m_adapter);
            m_level = 0;
        }
        break;
    case 2: // a field without text keeps its value
        m_level = 1;
        break;
    case 3:
        if (qName == QLatin1String("miscconfiginfo"))
            m_level = 0;
        break;
    case 4:
        if (qName == QLatin1String("misc_conf")) {
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
    return true;
}

QT_WARNING_POP
