#pragma once
#include "CAdapterEntry.h"
#include "CMiscConfigItem.h"
#include "DescriptionParser.h"

#include <QString>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

// Reads the adapter information file for one language. Levels: 0 outside,
// 1 in an adapter, 2 in one of its fields, 3 in the misc block of the
// language, 4 in a misc_conf item, 5 in one of its fields. The scratch
// records are not cleared between elements on purpose: an adapter without
// id, or an item without unit, takes the value of the one before it.
class AdapterInfoParser : public DescriptionParser
{
    Q_OBJECT
public:
    AdapterInfoParser(CAdapterInfo *store, const QString &languageCode);

    // A miscconfiginfo block carried exactly the parser's language code.
    bool languageBlockFound() const { return m_languageFound; }

    bool startElement(const QString &namespaceURI, const QString &localName,
                      const QString &qName, const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &text) override;

private:
    bool startAtTop(const QString &name, const QXmlAttributes &attributes);
    void startAdapter();
    void enterField(const QString &name, const char *const *fields, int nextLevel);
    void storeAdapterField(const QString &text);
    void storeMiscField(const QString &text);
    static void appendNumbers(QList<int> *list, const QString &text);

    QString m_languageCode;
    bool m_languageFound = false;
    CAdapterEntry m_adapter;
    CMiscConfigItem m_item;
    int m_itemNumber = 0;
};

QT_WARNING_POP
