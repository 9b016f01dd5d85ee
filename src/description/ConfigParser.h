#pragma once
#include "DescriptionParser.h"

#include <QString>
#include <QStringList>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

// Reads the configuration file into the store. Levels: 0 outside, 1 inside
// a configuration block, 2 inside one of its setting elements. Only the
// first piece of character data after a setting's start tag is taken.
class ConfigParser : public DescriptionParser
{
    Q_OBJECT
public:
    explicit ConfigParser(CAdapterInfo *store);

    bool startElement(const QString &namespaceURI, const QString &localName,
                      const QString &qName, const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &text) override;

private:
    bool startInConfiguration(const QString &name, const QXmlAttributes &attributes);
    bool storeString(const QString &text);
    bool storeListEntry(const QString &text);
    void storeDeviceList(const QString &text);
    void appendVendorPair(int deviceId);

    // The vendor_entry being read; -1 until it named a device.
    int m_vendorId = 0;
    int m_deviceId = -1;
};

QT_WARNING_POP
