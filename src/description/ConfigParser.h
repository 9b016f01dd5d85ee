#pragma once
#include "DescriptionParser.h"

#include <QString>
#include <QStringList>

struct ConfigSetting;

// Reads the configuration file into the store. Levels: 0 outside, 1 inside
// a configuration block, 2 inside one of its setting elements. Only the
// first piece of character data after a setting's start tag is taken.
class ConfigParser : public DescriptionParser
{
public:
    explicit ConfigParser(CAdapterInfo *store);

protected:
    bool startElement(const QStringRef &name) override;
    void endElement(const QStringRef &name) override;
    void characters(const QStringRef &text) override;

private:
    void startVendorEntry();
    void storeRunRecords(QStringView text);
    void storeDeviceList(QStringView text);
    void appendVendorPair(int deviceId);

    // The setting whose element is open at level 2.
    const ConfigSetting *m_setting = nullptr;
    // The vendor_entry being read; -1 until it named a device.
    int m_vendorId = 0;
    int m_deviceId = -1;
};
