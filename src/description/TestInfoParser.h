#pragma once
#include "CTestCase.h"
#include "DescriptionParser.h"

#include <QString>

struct TestField;

// Reads the test information file for one language. Levels: 0 outside, 1 in
// the test case block of the language, 2 inside a field. A test case and a
// sub-test do not change the level; their end tags complete a record.
class TestInfoParser : public DescriptionParser
{
public:
    TestInfoParser(CAdapterInfo *store, const QString &languageCode);

    // A testcases block carried exactly the parser's language code.
    bool languageBlockFound() const { return m_languageFound; }

protected:
    bool startElement(const QStringRef &name) override;
    void endElement(const QStringRef &name) override;
    void characters(const QStringRef &text) override;

private:
    bool startAtTop(const QStringRef &name);
    void startInBlock(const QStringRef &name);
    void startTestCase();
    void finishTestCase();
    void finishSubTest();

    QString m_languageCode;
    bool m_languageFound = false;
    // The field named by the element that started last; null for any other.
    const TestField *m_field = nullptr;
    CTestCase m_test;   // its sub-tests are the list being collected
    int m_testNumber = 0;
    CSubTestCase m_subTest;
    int m_subTestNumber = 0;
};
