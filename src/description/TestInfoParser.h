#pragma once
#include "CTestCase.h"
#include "DescriptionParser.h"

#include <QString>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

// Reads the test information file for one language. Levels: 0 outside, 1 in
// the test case block of the language, 2 inside a field. A test case and a
// sub-test do not change the level; their end tags complete a record.
class TestInfoParser : public DescriptionParser
{
    Q_OBJECT
public:
    TestInfoParser(CAdapterInfo *store, const QString &languageCode);

    // A testcases block carried exactly the parser's language code.
    bool languageBlockFound() const { return m_languageFound; }

    bool startElement(const QString &namespaceURI, const QString &localName,
                      const QString &qName, const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &text) override;

private:
    bool startAtTop(const QString &name, const QXmlAttributes &attributes);
    void startInBlock(const QString &name, const QXmlAttributes &attributes);
    void startTestCase(const QXmlAttributes &attributes);
    bool storeString(const QString &text);
    bool storeNumber(const QString &text);
    void finishTestCase();
    void finishSubTest();

    QString m_languageCode;
    bool m_languageFound = false;
    CTestCase m_test;   // its sub-tests are the list being collected
    int m_testNumber = 0;
    CSubTestCase m_subTest;
    int m_subTestNumber = 0;
};

QT_WARNING_POP
