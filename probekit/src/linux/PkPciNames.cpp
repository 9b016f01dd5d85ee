#include "PkPciNames.h"

#include "PkLog.h"

#include <QHash>

#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <pci/pci.h>
}

namespace {

// The list is some 1.3 MB today.
constexpr qint64 MaxListSize = 32 * 1024 * 1024;
constexpr int NameSize = 512;

// libpci's default handler ends the process on an error; a library must
// not, and a name it cannot find is no error here. Without pci_init (no
// device access is wanted) every handler must be set, debug included.
void quietError(char *, ...) {}
void quietWarning(char *, ...) {}

// Opened without blocking, a regular file, not over the limit; libpci,
// which opens the file plainly, is given only such a file.
bool usable(const QByteArray &path, QByteArray *why)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = "cannot be opened";
        return false;
    }
    struct stat info;
    const bool statted = ::fstat(fd, &info) == 0;
    ::close(fd);
    if (!statted || !S_ISREG(info.st_mode))
        *why = "not a regular file";
    else if (info.st_size > MaxListSize)
        *why = "larger than " + QByteArray::number(MaxListSize) + " bytes";
    return why->isEmpty();
}

QByteArray hex4(quint32 value)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}

// One database a process, loaded at the first lookup; libpci is not
// thread-safe, so every lookup holds the lock.
class Database
{
public:
    static Database &instance()
    {
        static Database db;
        return db;
    }

    QByteArray describe(quint32 vendor, quint32 device, quint32 subVendor, quint32 subDevice)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        // PROBEKIT_PCI_IDS names another database; read at every lookup,
        // so that a test can change it.
        const QByteArray wanted = qgetenv("PROBEKIT_PCI_IDS");
        if (wanted != m_path) {
            close();
            m_path = wanted;
            m_names.clear();
        }
        const QByteArray key = hex4(vendor) + hex4(device) + hex4(subVendor) + hex4(subDevice);
        const auto cached = m_names.constFind(key);
        if (cached != m_names.constEnd())
            return *cached;
        QByteArray name;
        if (open()) {
            name = lookup(PCI_LOOKUP_VENDOR | PCI_LOOKUP_DEVICE, vendor, device, 0, 0);
            const QByteArray sub = subVendor || subDevice
                ? lookup(PCI_LOOKUP_SUBSYSTEM | PCI_LOOKUP_DEVICE, vendor, device, subVendor, subDevice)
                : QByteArray();
            if (!name.isEmpty() && !sub.isEmpty() && !name.endsWith(sub))
                name += " (" + sub + ')';
        }
        m_names.insert(key, name);
        return name;
    }

private:
    ~Database() { close(); }

    bool open()
    {
        if (m_access)
            return true;
        if (m_refused)
            return false;
        for (const QByteArray &path : candidates()) {
            QByteArray why;
            if (!usable(path, &why)) {
                if (!m_path.isEmpty())
                    PkLog::line("PCI ID database " + path + " not used: " + why);
                continue;
            }
            m_access = pci_alloc();
            m_access->error = quietError;
            m_access->warning = quietWarning;
            m_access->debug = quietWarning;
            m_file = path;
            pci_set_name_list_path(m_access, m_file.data(), 0);
            return true;
        }
        m_refused = true;
        return false;
    }

    QList<QByteArray> candidates() const
    {
        if (!m_path.isEmpty())
            return {m_path};
        return {QByteArray("/usr/share/misc/pci.ids"), QByteArray("/usr/share/hwdata/pci.ids")};
    }

    QByteArray lookup(int flags, quint32 vendor, quint32 device, quint32 subVendor, quint32 subDevice)
    {
        char buffer[NameSize] = {};
        // The database file only: udev's hwdb is another file, read by
        // libudev without the checks every file here gets.
        const char *text = pci_lookup_name(m_access, buffer, sizeof buffer,
                                           flags | PCI_LOOKUP_NO_NUMBERS | PCI_LOOKUP_NO_HWDB,
                                           int(vendor), int(device), int(subVendor), int(subDevice));
        return text ? QByteArray(text) : QByteArray();
    }

    void close()
    {
        if (m_access)
            pci_cleanup(m_access);
        m_access = nullptr;
        m_refused = false;
    }

    std::mutex m_mutex;
    pci_access *m_access = nullptr;
    bool m_refused = false;
    QByteArray m_path, m_file;
    QHash<QByteArray, QByteArray> m_names;
};

} // namespace

QByteArray PkPciNames::describe(quint32 vendor, quint32 device, quint32 subVendor, quint32 subDevice)
{
    return Database::instance().describe(vendor, device, subVendor, subDevice);
}

QByteArray PkPciNames::name(quint32 vendor, quint32 device, quint32 subVendor, quint32 subDevice)
{
    const QByteArray known = describe(vendor, device, subVendor, subDevice);
    if (!known.isEmpty())
        return known;
    return "Network adapter " + hex4(vendor) + ':' + hex4(device) + " (subsystem " + hex4(subVendor) + ':'
        + hex4(subDevice) + ')';
}
