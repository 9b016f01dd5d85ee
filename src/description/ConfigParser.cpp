#include "ConfigParser.h"
#include "CAdapterInfo.h"

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

const char *const Context = "ConfigParser";

bool isSettingElement(const QString &name)
{
    static const QStringList settings = {
        QStringLiteral("vendor_id"),     QStringLiteral("basepath"),
        QStringLiteral("splash_screen"), QStringLiteral("logpath"),
        QStringLiteral("log_ext"),       QStringLiteral("script_path"),
        QStringLiteral("script_ext"),    QStringLiteral("flash_path"),
        QStringLiteral("flash_ext"),     QStringLiteral("flash_size"),
        QStringLiteral("help_path"),     QStringLiteral("help_file"),
        QStringLiteral("pci_conf_path"), QStringLiteral("pci_conf_ext"),
        QStringLiteral("name"),          QStringLiteral("exename"),
        QStringLiteral("poll_interval")};
    return settings.contains(name);
}

QString *stringField(CAdapterInfo *store, const QString &name)
{
    if (name == QLatin1String("name")) return &store->name;
    if (name == QLatin1String("exename")) return &store->exename;
    if (name == QLatin1String("basepath")) return &store->basepath;
    if (name == QLatin1String("splash_screen")) return &store->splash_screen;
    if (name == QLatin1String("logpath")) return &store->logpath;
    if (name == QLatin1String("log_ext")) return &store->log_ext;
    if (name == QLatin1String("script_path")) return &store->script_path;
    if (name == QLatin1String("flash_path")) return &store->flash_path;
    if (name == QLatin1String("help_path")) return &store->help_path;
    if (name == QLatin1String("help_file")) return &store->help_file;
    if (name == QLatin1String("pci_conf_path")) return &store->pci_conf_path;
    return nullptr;
}

QStringList *listField(CAdapterInfo *store, const QString &name)
{
    if (name == QLatin1String("script_ext")) return &store->script_ext;
    if (name == QLatin1String("flash_ext")) return &store->flash_ext;
    if (name == QLatin1String("pci_conf_ext")) return &store->pci_conf_ext;
    return nullptr;
}

} // namespace

ConfigParser::ConfigParser(CAdapterInfo *store)
    : DescriptionParser(store)
{
}

bool ConfigParser::startElement(const QString &, const QString &, const QString &qName,
                                const QXmlAttributes &attributes)
{
    if (qName.isNull())
        return true;
    if (m_level == 0) {
        if (qName == QLatin1String("configfile"))
            return acceptVersion(attributes, Context, "CONFIG_WRONG_VERSION");
        if (qName == QLatin1String("configuration"))
            m_level = 1;
        return true;
    }
    if (m_level == 1)
        return startInConfiguration(qName, attributes);
    return true;
}

bool ConfigParser::startInConfiguration(const QString &name, const QXmlAttributes &attributes)
{
    if (name == QLatin1String("vendor_entry")) {
        m_vendorId = readNumber(firstAttribute(attributes), 16);
        m_deviceId = -1;
    } else if (!isSettingElement(name)) {
        return true;
    }
    m_element = name;
    m_level = 2;
    return true;
}

bool ConfigParser::characters(const QString &text)
{
    if (text.isNull() || m_level != 2)
        return true;
    if (storeString(text) || storeListEntry(text)) {
        m_level = 1;
    } else if (m_element == QLatin1String("flash_size")) {
        m_store->flash_size = qint32(qint64(readNumber(text)) * 1024);
        m_level = 1;
    } else if (m_element == QLatin1String("poll_interval")) {
        m_store->poll_interval = readNumber(text);
        m_level = 1;
    } else if (m_element == QLatin1String("vendor_entry")) {
        storeDeviceList(text);
    }
    // vendor_id is accepted but carries nothing the program uses.
    return true;
}

bool ConfigParser::storeString(const QString &text)
{
    QString *field = stringField(m_store, m_element);
    if (!field)
        return false;
    *field = text;
    return true;
}

bool ConfigParser::storeListEntry(const QString &text)
{
    QStringList *list = listField(m_store, m_element);
    if (!list)
        return false;
    if (list->size() < CAdapterInfo::MaxExtensions)
        list->append(text);
    return true;
}

void ConfigParser::storeDeviceList(const QString &text)
{
    const QStringList pieces = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        m_deviceId = readNumber(piece, 16);
        appendVendorPair(m_deviceId);
    }
    // A text of nothing but commas leaves the element open, so that its end
    // tag still adds the vendor-wide pair.
    if (!pieces.isEmpty())
        m_level = 1;
}

void ConfigParser::appendVendorPair(int deviceId)
{
    PciIdEntry entry;
    entry.vendorId = quint32(m_vendorId);
    entry.deviceId = quint32(deviceId);
    m_store->vendorIds.append(entry);
}

bool ConfigParser::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName.isNull())
        return true;
    if (m_level == 1 && qName == QLatin1String("configuration")) {
        m_level = 0;
    } else if (m_level == 2) {
        // An element without text keeps the field's earlier value; a
        // vendor_entry without a device list stands for every device.
        if (qName == QLatin1String("vendor_entry") && m_deviceId == -1)
            appendVendorPair(0);
        m_level = 1;
    }
    return true;
}

QT_WARNING_POP
