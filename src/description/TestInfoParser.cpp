#include "TestInfoParser.h"
#include "CAdapterInfo.h"

#include <QStringList>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

const char *const Context = "TestInfoParser";

bool isPlainField(const QString &name)
{
    static const QStringList fields = {
        QStringLiteral("test_base"), QStringLiteral("pixmap"),    QStringLiteral("advanced"),
        QStringLiteral("testname"),  QStringLiteral("all_tests"), QStringLiteral("allow_loop"),
        QStringLiteral("menuentry"), QStringLiteral("label")};
    return fields.contains(name);
}

} // namespace

TestInfoParser::TestInfoParser(CAdapterInfo *store, const QString &languageCode)
    : DescriptionParser(store)
    , m_languageCode(languageCode)
{
}

bool TestInfoParser::startElement(const QString &, const QString &, const QString &qName,
                                  const QXmlAttributes &attributes)
{
    if (qName.isNull())
        return true;
    m_element = qName;
    if (m_level == 0)
        return startAtTop(qName, attributes);
    startInBlock(qName, attributes);
    return true;
}

bool TestInfoParser::startAtTop(const QString &name, const QXmlAttributes &attributes)
{
    if (name == QLatin1String("testinfo"))
        return acceptVersion(attributes, Context, "TIF_WRONG_VERSION");
    if (name == QLatin1String("testcases") && firstAttribute(attributes) == m_languageCode) {
        // Blocks of other languages stay at level 0 and are skipped whole.
        m_languageFound = true;
        m_level = 1;
    }
    return true;
}

void TestInfoParser::startInBlock(const QString &name, const QXmlAttributes &attributes)
{
    if (name == QLatin1String("testcase")) {
        startTestCase(attributes);
    } else if (name == QLatin1String("subtestcase")) {
        m_subTestNumber = readNumber(firstAttribute(attributes));
    } else if (isPlainField(name)) {
        m_level = 2;
    } else if (name == QLatin1String("accel")) {
        m_test.accel.clear();
        m_level = 2;
    } else if (name == QLatin1String("hint")) {
        m_subTest.hint.clear();
        m_level = 2;
    } else {
        m_level = 1;
    }
}

void TestInfoParser::startTestCase(const QXmlAttributes &attributes)
{
    m_testNumber = readNumber(firstAttribute(attributes));
    // The sub-tests collected so far stay: only a finished test case starts
    // a new list.
    const QList<CSubTestCase> collected = m_test.subtests;
    m_test = CTestCase();
    m_test.subtests = collected;
    m_subTest.label.clear();
    m_subTest.hint.clear();
    m_subTestNumber = 0;
}

bool TestInfoParser::characters(const QString &text)
{
    if (m_level != 2)
        return true;
    // Each piece replaces the one before, so the last piece of a field counts.
    if (!storeString(text) && !storeNumber(text))
        m_level = 1;
    return true;
}

bool TestInfoParser::storeString(const QString &text)
{
    QString *field = nullptr;
    if (m_element == QLatin1String("testname"))
        field = &m_test.testname;
    else if (m_element == QLatin1String("pixmap"))
        field = &m_test.pixmap;
    else if (m_element == QLatin1String("accel"))
        field = &m_test.accel;
    else if (m_element == QLatin1String("menuentry"))
        field = &m_test.menuentry;
    else if (m_element == QLatin1String("label"))
        field = &m_subTest.label;
    else if (m_element == QLatin1String("hint"))
        field = &m_subTest.hint;
    if (field)
        *field = text;
    return field != nullptr;
}

bool TestInfoParser::storeNumber(const QString &text)
{
    int *field = nullptr;
    if (m_element == QLatin1String("test_base"))
        field = &m_test.test_base;
    else if (m_element == QLatin1String("advanced"))
        field = &m_test.advanced;
    else if (m_element == QLatin1String("all_tests"))
        field = &m_test.all_tests;
    else if (m_element == QLatin1String("allow_loop"))
        field = &m_test.allow_loop;
    if (field)
        *field = readNumber(text);
    return field != nullptr;
}

bool TestInfoParser::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName.isNull() || m_level == 0)
        return true;
    if (qName == QLatin1String("testcases")) {
        m_level = 0;
        return true;
    }
    if (qName == QLatin1String("testcase"))
        finishTestCase();
    else if (qName == QLatin1String("subtestcase"))
        finishSubTest();
    m_level = 1;
    return true;
}

void TestInfoParser::finishTestCase()
{
    m_store->testCases.insert(m_testNumber, m_test);
    m_test.subtests.clear();
}

void TestInfoParser::finishSubTest()
{
    // The id is taken now, with test_base as it stands at this end tag.
    m_subTest.id = m_test.test_base + m_subTestNumber;
    m_test.subtests.append(m_subTest);
    m_subTest = CSubTestCase();
    m_subTestNumber = 0;
}

QT_WARNING_POP
