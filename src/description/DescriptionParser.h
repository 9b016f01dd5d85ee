#pragma once
#include <QObject>
#include <QString>

// The SAX classes are deprecated in Qt 5.15 but are still the reader these
// files were written for: white space between elements arrives as
// character data, and the level rules of the parsers depend on that.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlDefaultHandler>

class CAdapterInfo;

// What the three description file readers share: the store they fill, the
// nesting level and current element of their level rules, and the way the
// files write numbers, versions and attributes.
class DescriptionParser : public QObject, public QXmlDefaultHandler
{
    Q_OBJECT
public:
    explicit DescriptionParser(CAdapterInfo *store);
    ~DescriptionParser() override;

    // Integer text as the files write it: white space around
    // it, an optional sign, then digits of the base and nothing else. Any
    // other text, a "0x" prefix included, and any value outside 32 bits
    // reads as 0.
    static int readNumber(const QString &text, int base = 10);
    // The files never name the attribute they mean; it is the first one.
    static QString firstAttribute(const QXmlAttributes &attributes);
    // The root's first attribute read as a floating-point number equals 1.0.
    static bool isVersionOne(const QXmlAttributes &attributes);

protected:
    // Shows the wrong-version box (caption the banner) when the root's
    // version is not 1.0; the caller then stops the parse.
    static bool acceptVersion(const QXmlAttributes &attributes, const char *context,
                              const char *key);

    CAdapterInfo *m_store;
    int m_level = 0;
    QString m_element;
};

QT_WARNING_POP
