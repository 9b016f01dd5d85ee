#include "TestInfoParser.h"
#include "CAdapterInfo.h"

#include <limits>

// A field element of a test case or sub-test and the member its text goes
// to; accel and hint start empty at their start tag.
struct TestField {
    QLatin1String name;
    QString CTestCase::*text;
    QString CSubTestCase::*subTestText;
    int CTestCase::*number;
    bool resetAtStart;
};

namespace {

const char *const Context = "TestInfoParser";

const TestField TestFields[] = {
    {QLatin1String("testname"), &CTestCase::testname, nullptr, nullptr, false},
    {QLatin1String("pixmap"), &CTestCase::pixmap, nullptr, nullptr, false},
    {QLatin1String("accel"), &CTestCase::accel, nullptr, nullptr, true},
    {QLatin1String("menuentry"), &CTestCase::menuentry, nullptr, nullptr, false},
    {QLatin1String("label"), nullptr, &CSubTestCase::label, nullptr, false},
    {QLatin1String("hint"), nullptr, &CSubTestCase::hint, nullptr, true},
    {QLatin1String("test_base"), nullptr, nullptr, &CTestCase::test_base, false},
    {QLatin1String("advanced"), nullptr, nullptr, &CTestCase::advanced, false},
    {QLatin1String("all_tests"), nullptr, nullptr, &CTestCase::all_tests, false},
    {QLatin1String("allow_loop"), nullptr, nullptr, &CTestCase::allow_loop, false},
};

const TestField *findTestField(const QStringRef &name)
{
    for (const TestField &field : TestFields) {
        if (DescriptionParser::isName(name, field.name))
            return &field;
    }
    return nullptr;
}

} // namespace

TestInfoParser::TestInfoParser(CAdapterInfo *store, const QString &languageCode)
    : DescriptionParser(store)
    , m_languageCode(languageCode)
{
}

bool TestInfoParser::startElement(const QStringRef &name)
{
    // The element always becomes the current one first.
    m_field = findTestField(name);
    if (m_level == 0)
        return startAtTop(name);
    startInBlock(name);
    return true;
}

bool TestInfoParser::startAtTop(const QStringRef &name)
{
    if (isName(name, QLatin1String("testinfo")))
        return acceptVersion(Context, "TIF_WRONG_VERSION");
    if (isName(name, QLatin1String("testcases")) && firstAttribute() == m_languageCode) {
        // Blocks of other languages stay at level 0 and are skipped whole.
        m_languageFound = true;
        m_level = 1;
    }
    return true;
}

void TestInfoParser::startInBlock(const QStringRef &name)
{
    if (isName(name, QLatin1String("testcase"))) {
        startTestCase();
    } else if (isName(name, QLatin1String("subtestcase"))) {
        m_subTestNumber = readNumber(firstAttribute());
    } else if (m_field) {
        if (m_field->resetAtStart && m_field->text)
            (m_test.*(m_field->text)).clear();
        else if (m_field->resetAtStart)
            (m_subTest.*(m_field->subTestText)).clear();
        m_level = 2;
    } else {
        m_level = 1;
    }
}

void TestInfoParser::startTestCase()
{
    m_testNumber = readNumber(firstAttribute());
    // The sub-tests collected so far stay: only a finished test case starts
    // a new list.
    const QList<CSubTestCase> collected = m_test.subtests;
    m_test = CTestCase();
    m_test.subtests = collected;
    m_subTest.label.clear();
    m_subTest.hint.clear();
    m_subTestNumber = 0;
}

void TestInfoParser::characters(const QStringRef &text)
{
    if (m_level != 2)
        return;
    // Each piece replaces the one before, so the last piece of a field counts.
    if (!m_field)
        m_level = 1;
    else if (m_field->text)
        m_test.*(m_field->text) = textOf(text);
    else if (m_field->subTestText)
        m_subTest.*(m_field->subTestText) = textOf(text);
    else
        m_test.*(m_field->number) = readNumber(text);
}

void TestInfoParser::endElement(const QStringRef &name)
{
    if (m_level == 0)
        return;
    if (isName(name, QLatin1String("testcases"))) {
        m_level = 0;
        return;
    }
    if (isName(name, QLatin1String("testcase")))
        finishTestCase();
    else if (isName(name, QLatin1String("subtestcase")))
        finishSubTest();
    m_level = 1;
}

void TestInfoParser::finishTestCase()
{
    m_store->testCases.insert(m_testNumber, m_test);
    m_test.subtests.clear();
}

void TestInfoParser::finishSubTest()
{
    // The id is taken now, with test_base as it stands at this end tag. An
    // id beyond 32 bits would reach the core as some other test's number.
    const qint64 id = qint64(m_test.test_base) + m_subTestNumber;
    if (id < std::numeric_limits<int>::min() || id > std::numeric_limits<int>::max()) {
        warn(Context, "SUBTEST_ID_OUT_OF_RANGE %1 %2 %3 %4",
             {QString::number(m_test.test_base), QString::number(m_subTestNumber)});
    } else {
        m_subTest.id = int(id);
        m_test.subtests.append(m_subTest);
    }
    m_subTest = CSubTestCase();
    m_subTestNumber = 0;
}
