#include "ConfigParser.h"
#include "CAdapterInfo.h"

// A setting element of a configuration block and where its text goes.
struct ConfigSetting {
    enum Kind { Text, List, FlashSize, PollInterval, VendorEntry, Ignored };
    const char *name;
    Kind kind;
    QString CAdapterInfo::*text;
    QStringList CAdapterInfo::*list;
};

namespace {

const char *const Context = "ConfigParser";

const ConfigSetting Settings[] = {
    {"name", ConfigSetting::Text, &CAdapterInfo::name, nullptr},
    {"exename", ConfigSetting::Text, &CAdapterInfo::exename, nullptr},
    {"basepath", ConfigSetting::Text, &CAdapterInfo::basepath, nullptr},
    {"splash_screen", ConfigSetting::Text, &CAdapterInfo::splash_screen, nullptr},
    {"logpath", ConfigSetting::Text, &CAdapterInfo::logpath, nullptr},
    {"log_ext", ConfigSetting::Text, &CAdapterInfo::log_ext, nullptr},
    {"script_path", ConfigSetting::Text, &CAdapterInfo::script_path, nullptr},
    {"flash_path", ConfigSetting::Text, &CAdapterInfo::flash_path, nullptr},
    {"help_path", ConfigSetting::Text, &CAdapterInfo::help_path, nullptr},
    {"help_file", ConfigSetting::Text, &CAdapterInfo::help_file, nullptr},
    {"pci_conf_path", ConfigSetting::Text, &CAdapterInfo::pci_conf_path, nullptr},
    {"script_ext", ConfigSetting::List, nullptr, &CAdapterInfo::script_ext},
    {"flash_ext", ConfigSetting::List, nullptr, &CAdapterInfo::flash_ext},
    {"pci_conf_ext", ConfigSetting::List, nullptr, &CAdapterInfo::pci_conf_ext},
    {"flash_size", ConfigSetting::FlashSize, nullptr, nullptr},
    {"poll_interval", ConfigSetting::PollInterval, nullptr, nullptr},
    {"vendor_entry", ConfigSetting::VendorEntry, nullptr, nullptr},
    // Accepted, but carries nothing the program uses.
    {"vendor_id", ConfigSetting::Ignored, nullptr, nullptr},
};

const ConfigSetting *findSetting(const QStringRef &name)
{
    for (const ConfigSetting &setting : Settings) {
        if (name == QLatin1String(setting.name))
            return &setting;
    }
    return nullptr;
}

} // namespace

ConfigParser::ConfigParser(CAdapterInfo *store)
    : DescriptionParser(store)
{
}

bool ConfigParser::startElement(const QStringRef &name)
{
    if (m_level == 0) {
        if (name == QLatin1String("configfile"))
            return acceptVersion(Context, "CONFIG_WRONG_VERSION");
        if (name == QLatin1String("configuration"))
            m_level = 1;
    } else if (m_level == 1) {
        m_setting = findSetting(name);
        if (m_setting) {
            if (m_setting->kind == ConfigSetting::VendorEntry)
                startVendorEntry();
            m_level = 2;
        }
    }
    return true;
}

void ConfigParser::startVendorEntry()
{
    const QString vendor = firstAttribute();
    m_vendorId = readNumber(vendor, 16);
    m_deviceId = -1;
    // Vendor 0 matches no adapter, and without devices its pair (0, 0) ends
    // the list the core is given: say so rather than list nothing silently.
    if (m_vendorId == 0)
        warn(Context, "VENDOR_ENTRY_READS_AS_ZERO %1 %2 %3", {vendor});
}

void ConfigParser::characters(const QStringRef &text)
{
    if (m_level != 2)
        return;
    switch (m_setting->kind) {
    case ConfigSetting::Text:
        m_store->*(m_setting->text) = text.toString();
        break;
    case ConfigSetting::List: {
        QStringList &list = m_store->*(m_setting->list);
        if (list.size() < CAdapterInfo::MaxExtensions)
            list.append(text.toString());
        break;
    }
    case ConfigSetting::FlashSize:
        m_store->flash_size = qint32(qint64(readNumber(text)) * 1024);
        break;
    case ConfigSetting::PollInterval:
        m_store->poll_interval = readNumber(text);
        break;
    case ConfigSetting::VendorEntry:
        storeDeviceList(text);
        return;
    case ConfigSetting::Ignored:
        return;
    }
    m_level = 1;
}

void ConfigParser::storeDeviceList(QStringView text)
{
    bool any = false;
    forEachPiece(text, [this, &any](QStringView piece) {
        if (piece.isEmpty())
            return;
        any = true;
        m_deviceId = readNumber(piece, 16);
        appendVendorPair(m_deviceId);
    });
    // A text of nothing but commas leaves the element open, so that its end
    // tag still adds the vendor-wide pair.
    if (any)
        m_level = 1;
}

void ConfigParser::appendVendorPair(int deviceId)
{
    PciIdEntry entry;
    entry.vendorId = quint32(m_vendorId);
    entry.deviceId = quint32(deviceId);
    m_store->vendorIds.append(entry);
}

void ConfigParser::endElement(const QStringRef &name)
{
    if (m_level == 1 && name == QLatin1String("configuration")) {
        m_level = 0;
    } else if (m_level == 2) {
        // An element without text keeps the field's earlier value; a
        // vendor_entry without a device list stands for every device.
        if (name == QLatin1String("vendor_entry") && m_deviceId == -1)
            appendVendorPair(0);
        m_level = 1;
    }
}
