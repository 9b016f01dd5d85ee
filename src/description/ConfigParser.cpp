#include "ConfigParser.h"
#include "CAdapterInfo.h"

// A setting element of a configuration block and where its text goes.
struct ConfigSetting {
    enum Kind { Text, List, FlashSize, PollInterval, RunRecords, VendorEntry, Ignored };
    QLatin1String name;
    Kind kind;
    QString CAdapterInfo::*text;
    QStringList CAdapterInfo::*list;
};

namespace {

const char *const Context = "ConfigParser";

const ConfigSetting Settings[] = {
    {QLatin1String("name"), ConfigSetting::Text, &CAdapterInfo::name, nullptr},
    {QLatin1String("exename"), ConfigSetting::Text, &CAdapterInfo::exename, nullptr},
    {QLatin1String("basepath"), ConfigSetting::Text, &CAdapterInfo::basepath, nullptr},
    {QLatin1String("splash_screen"), ConfigSetting::Text, &CAdapterInfo::splash_screen, nullptr},
    {QLatin1String("logpath"), ConfigSetting::Text, &CAdapterInfo::logpath, nullptr},
    {QLatin1String("log_ext"), ConfigSetting::Text, &CAdapterInfo::log_ext, nullptr},
    {QLatin1String("script_path"), ConfigSetting::Text, &CAdapterInfo::script_path, nullptr},
    {QLatin1String("flash_path"), ConfigSetting::Text, &CAdapterInfo::flash_path, nullptr},
    {QLatin1String("help_path"), ConfigSetting::Text, &CAdapterInfo::help_path, nullptr},
    {QLatin1String("help_file"), ConfigSetting::Text, &CAdapterInfo::help_file, nullptr},
    {QLatin1String("pci_conf_path"), ConfigSetting::Text, &CAdapterInfo::pci_conf_path, nullptr},
    {QLatin1String("script_ext"), ConfigSetting::List, nullptr, &CAdapterInfo::script_ext},
    {QLatin1String("flash_ext"), ConfigSetting::List, nullptr, &CAdapterInfo::flash_ext},
    {QLatin1String("pci_conf_ext"), ConfigSetting::List, nullptr, &CAdapterInfo::pci_conf_ext},
    {QLatin1String("flash_size"), ConfigSetting::FlashSize, nullptr, nullptr},
    {QLatin1String("poll_interval"), ConfigSetting::PollInterval, nullptr, nullptr},
    {QLatin1String("run_records"), ConfigSetting::RunRecords, nullptr, nullptr},
    {QLatin1String("vendor_entry"), ConfigSetting::VendorEntry, nullptr, nullptr},
    // Accepted, but carries nothing the program uses.
    {QLatin1String("vendor_id"), ConfigSetting::Ignored, nullptr, nullptr},
};

const ConfigSetting *findSetting(const QStringRef &name)
{
    for (const ConfigSetting &setting : Settings) {
        if (DescriptionParser::isName(name, setting.name))
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
        if (isName(name, QLatin1String("configfile")))
            return acceptVersion(Context, "CONFIG_WRONG_VERSION");
        if (isName(name, QLatin1String("configuration")))
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
        m_store->*(m_setting->text) = textOf(text);
        break;
    case ConfigSetting::List: {
        QStringList &list = m_store->*(m_setting->list);
        if (list.size() < CAdapterInfo::MaxExtensions)
            list.append(textOf(text));
        break;
    }
    case ConfigSetting::FlashSize:
        m_store->flash_size = qint32(qint64(readNumber(text)) * 1024);
        break;
    case ConfigSetting::PollInterval:
        m_store->poll_interval = readNumber(text);
        break;
    case ConfigSetting::RunRecords:
        storeRunRecords(text);
        break;
    case ConfigSetting::VendorEntry:
        storeDeviceList(text);
        return;
    case ConfigSetting::Ignored:
        return;
    }
    m_level = 1;
}

void ConfigParser::storeRunRecords(QStringView text)
{
    m_store->run_records = readNumber(text);
    // "yes" or "on" read as 0 too, and would switch the records off unseen.
    bool number = false;
    text.toString().trimmed().toInt(&number);
    if (!number)
        warn(Context, "RUN_RECORDS_READS_AS_ZERO %1 %2 %3", {text.toString()});
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
    if (m_level == 1 && isName(name, QLatin1String("configuration"))) {
        m_level = 0;
    } else if (m_level == 2) {
        // An element without text keeps the field's earlier value; a
        // vendor_entry without a device list stands for every device.
        if (isName(name, QLatin1String("vendor_entry")) && m_deviceId == -1)
            appendVendorPair(0);
        m_level = 1;
    }
}
