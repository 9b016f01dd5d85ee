#pragma once
#include "CAdapterEntry.h"
#include "CMiscConfigItem.h"
#include "DescriptionParser.h"

#include <QString>

struct AdapterField;

// Reads the adapter information file for one language. Levels: 0 outside,
// 1 in an adapter, 2 in one of its fields, 3 in the misc block of the
// language, 4 in a misc_conf item, 5 in one of its fields. The scratch
// records are not cleared between elements on purpose: an adapter without
// id, or an item without unit, takes the value of the one before it.
class AdapterInfoParser : public DescriptionParser
{
public:
    AdapterInfoParser(CAdapterInfo *store, const QString &languageCode);

    // A miscconfiginfo block carried exactly the parser's language code.
    bool languageBlockFound() const { return m_languageFound; }

protected:
    bool startElement(const QStringRef &name) override;
    void endElement(const QStringRef &name) override;
    void characters(const QStringRef &text) override;

private:
    bool startAtTop(const QStringRef &name);
    void startAdapter();
    void storeAdapterField(const QStringRef &text);
    void storeMiscField(const QStringRef &text);
    QString sharedText(int field, const QStringRef &text);
    void appendNumbers(int field, QList<int> *list, const QStringRef &text);

    QString m_languageCode;
    bool m_languageFound = false;
    CAdapterEntry m_adapter;
    CMiscConfigItem m_item;
    int m_itemNumber = 0;
    // The field whose element is open at level 2, or at level 5.
    const AdapterField *m_field = nullptr;
    int m_miscField = -1;
    // Per adapter field, the text it had last and, for a number list, the
    // list read from that text alone: adapters of one family repeat their
    // picture and lists, and equal texts in a row then share one copy.
    static constexpr int FieldCount = 8;
    QString m_lastText[FieldCount];
    QList<int> m_lastList[FieldCount];
};
