#include "PkLinuxCore.h"
#include "PkEnvironment.h"
#include "PkEthtool.h"
#include "PkHelperClient.h"
#include "PkLinuxCommands.h"
#include "PkLinuxDriver.h"
#include "PkLinuxTests.h"
#include "PkLog.h"
#include "PkRefusal.h"
#include "PkNetAddress.h"
#include "PkPciScanner.h"
#include "PkReporter.h"
#include "PkSysfs.h"
#include "PkText.h"
#include "PkVpd.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int CallerNotRoot = 1;
constexpr int OpenDeviceFailed = 3;
constexpr int NullPointer = 7;
constexpr int NoSuchDevice = 11;
constexpr int FlashAccessFailed = 23;
constexpr int FlashEraseFailed = 27;
constexpr int ProgFlashFailed = 28;
constexpr int AdapterLockFailed = 29;
constexpr int GetOidFailed = 32;
constexpr int MaxVpdBytes = 32768; // the whole VPD address space
constexpr quint32 EepromChunk = 1024;
constexpr const char *SystemLockDir = "/run/lock/probekit";

using Guard = std::lock_guard<std::mutex>;

// Lock files are shared by every user's instances: whoever makes one
// leaves it open to the others.
void shareLockFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::fchmod(fd, 0666);
        ::close(fd);
    }
}

} // namespace

PkLinuxCore &PkLinuxCore::instance()
{
    static PkLinuxCore core;
    return core;
}

PkLinuxCore::~PkLinuxCore()
{
    m_locator.stop();
}

QString PkLinuxCore::stateDir()
{
    return PkEnvironment::stateDir() + QStringLiteral("/linux");
}

QString PkLinuxCore::lockDir()
{
    if (!qEnvironmentVariableIsEmpty("PROBEKIT_LOCK_DIR"))
        return PkEnvironment::lockDir();
    const QString dir = QString::fromLatin1(SystemLockDir);
    if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
        ::chmod(SystemLockDir, 01777);
    // Without the system directory each user sees only his own instances.
    return QFileInfo(dir).isWritable() ? dir : PkEnvironment::lockDir();
}

QByteArray PkLinuxCore::name(const PkLinuxAdapter &adapter)
{
    const PkPciFunction &a = adapter.ports.first();
    QByteArray text = a.address.toLatin1();
    if (!a.interface.isEmpty())
        text += ' ' + a.interface.toLocal8Bit();
    if (!a.driver.isEmpty())
        text += " (" + a.driver.toLocal8Bit() + ')';
    return text;
}

void PkLinuxCore::releaseAll()
{
    m_locator.stop();
    m_lock.release();
    m_hasCurrent = false;
    m_current = PkLinuxAdapter();
    m_state = PkAdapterState();
    m_sensors.reset(QString(), nullptr);
    m_vpdImage.clear();
    m_vpdError.clear();
    m_drivers.clear();
    m_table.clear();
    m_adapters.clear();
    m_seriesDepth = 0;
    m_selfTestMemo = SelfTestMemo();
    m_initialised = false;
}

int PkLinuxCore::init()
{
    Guard guard(m_mutex);
    releaseAll();
    const QString devices = PkSysfs::root() + QStringLiteral("/bus/pci/devices");
    if (!QFileInfo(devices).isDir()) {
        PkLog::line("No PCI bus at " + QFile::encodeName(devices));
        return OpenDeviceFailed;
    }
    m_initialised = true;
    return 0;
}

int PkLinuxCore::deinit()
{
    Guard guard(m_mutex);
    releaseAll();
    PkHelperClient::instance().close();
    PkHelperClient::blinker().close();
    return 0;
}

void PkLinuxCore::rescan()
{
    QList<QByteArray> skipped;
    m_adapters = PkPciScanner(PkSysfs::root()).scan(&skipped);
    for (const QByteArray &line : qAsConst(skipped))
        PkLog::line(line);
    for (const PkLinuxAdapter &adapter : qAsConst(m_adapters))
        for (const QByteArray &note : adapter.notes)
            PkLog::line(note);
}

AdapterRecord *PkLinuxCore::enumerate(const uint32_t *filter)
{
    Guard guard(m_mutex);
    if (!m_initialised)
        return nullptr;
    rescan();
    m_table.begin();
    const QString locks = lockDir();
    for (const PkLinuxAdapter &adapter : qAsConst(m_adapters))
        m_table.add(adapter.model, filter, locks);
    return m_table.finish();
}

const PkLinuxAdapter *PkLinuxCore::find(int bus, int device) const
{
    for (const PkLinuxAdapter &adapter : m_adapters)
        if (adapter.model.sameSlot(bus, device))
            return &adapter;
    return nullptr;
}

int PkLinuxCore::select(const AdapterRecord *adapter)
{
    Guard guard(m_mutex);
    if (!adapter)
        return NullPointer;
    if (!m_initialised)
        return NoSuchDevice;
    if (m_adapters.isEmpty())
        rescan();
    const PkLinuxAdapter *target = find(adapter->busNumber, adapter->deviceNumber);
    if (!target)
        return NoSuchDevice;
    if (m_hasCurrent && m_current.model.key() == target->model.key() && m_lock.held())
        return 0;
    m_locator.stop();
    m_lock.release();
    m_hasCurrent = false;
    const QString path = PkAdapterLock::pathFor(lockDir(), target->model.key());
    shareLockFile(path);
    if (!m_lock.acquire(path))
        return AdapterLockFailed;
    m_current = *target;
    m_hasCurrent = true;
    loadSelection();
    return 0;
}

void PkLinuxCore::loadSelection()
{
    readVpd();
    m_state.load(stateDir(), m_current.model);
    QList<QByteArray> notes;
    m_sensors.reset(m_current.ports.first().hwmonDir, &notes);
    m_sensors.addModules(m_current.ports, &notes);
    for (const QByteArray &note : qAsConst(notes))
        PkLog::line(note);
}

void PkLinuxCore::readVpd()
{
    PkAdapterModel &model = m_current.model;
    model.vpd.clear();
    m_vpdImage.clear();
    m_vpdError.clear();
    const PkPciFunction &a = m_current.ports.first();
    if (a.vpdPath.isEmpty()) {
        m_vpdError = "the adapter has no VPD";
        return;
    }
    QString error;
    std::optional<QByteArray> image = PkSysfs::bytes(a.vpdPath, MaxVpdBytes, &error);
    QByteArray helped;
    // Only root may read a card's VPD: the privileged helper reads it for us.
    if (!image && ::geteuid() != 0 && PkHelperClient::wanted()) {
        if (PkHelperClient::instance().vpdRead(a.address, &helped, EACCES) == 0)
            image = helped;
        else
            error += QStringLiteral(" (needs root; ") + QString::fromLocal8Bit(PkHelperClient::refusal())
                + QLatin1Char(')');
    }
    if (!image) {
        m_vpdError = "VPD unreadable: " + error.toLocal8Bit() + (::geteuid() != 0 && !error.contains(QLatin1String("needs root")) ? " (needs root)" : "");
        PkLog::line(name(m_current) + ": " + m_vpdError);
        return;
    }
    m_vpdImage = *image;
    const PkVpdImage parsed = PkVpdImage::parse(reinterpret_cast<const uint8_t *>(image->constData()),
                                                size_t(image->size()));
    for (const std::string &problem : parsed.problems)
        PkLog::line(name(m_current) + ": " + QByteArray::fromStdString(problem));
    if (parsed.hasIdentifier)
        model.vpd.insert(QStringLiteral("Name"), QByteArray::fromStdString(parsed.identifier));
    for (const PkVpdImage::Keyword &keyword : parsed.keywords)
        model.vpd.insert(QString::fromLatin1(keyword.name.c_str(), 2), QByteArray::fromStdString(keyword.value));
}

void PkLinuxCore::reloadVpd()
{
    Guard guard(m_mutex);
    if (!m_hasCurrent)
        return;
    readVpd();
    m_state.load(stateDir(), m_current.model);
}

// The card's keywords and the identities of the modules in its ports,
// which list among the read-only ones and can be neither written nor
// deleted (their names are not a writable keyword's).
QMap<QString, QByteArray> PkLinuxCore::withModules(QMap<QString, QByteArray> vpd) const
{
    const QMap<QString, QByteArray> &modules = m_sensors.moduleIdentity();
    for (auto entry = modules.begin(); entry != modules.end(); ++entry)
        vpd.insert(entry.key(), entry.value());
    return vpd;
}

int PkLinuxCore::vpdRead(const char *keyword, char *buffer, uint32_t *size)
{
    Guard guard(m_mutex);
    if (!keyword || !buffer || !size)
        return NullPointer;
    if (!m_hasCurrent)
        return NoSuchDevice;
    return PkVpd::readInto(withModules(m_state.vpd()), keyword, buffer, size);
}

int PkLinuxCore::vpdList(char *buffer, uint32_t *size, uint32_t *count)
{
    Guard guard(m_mutex);
    if (!buffer || !size || !count)
        return NullPointer;
    if (!m_hasCurrent)
        return NoSuchDevice;
    return PkVpd::listInto(withModules(m_state.vpd()), buffer, size, count);
}

int PkLinuxCore::shadowWrite(const QString &keyword, const QByteArray *value)
{
    Guard guard(m_mutex);
    if (!m_hasCurrent)
        return NoSuchDevice;
    return value ? m_state.writeKeyword(keyword, *value) : m_state.deleteKeyword(keyword);
}

// The window's VPD editor has no callback table: nobody can be asked, so
// its writes stay in the shadow state, and the line says how a real one
// is made.
int PkLinuxCore::editorWrite(const char *keyword, const QByteArray *value)
{
    if (!keyword)
        return NullPointer;
    const int status = shadowWrite(QString::fromLatin1(keyword), value);
    if (status == 0)
        PkLog::line("VPD " + QByteArray(keyword) + (value ? " written" : " deleted")
                    + " in the shadow state only (simulated); the card is written only by the console"
                      " command \"vpd write\" with PROBEKIT_ALLOW_WRITE naming the adapter");
    return status;
}

int PkLinuxCore::vpdWrite(const char *keyword, const char *value)
{
    if (!value)
        return NullPointer;
    const QByteArray data(value);
    return editorWrite(keyword, &data);
}

int PkLinuxCore::vpdDelete(const char *keyword)
{
    return editorWrite(keyword, nullptr);
}

int PkLinuxCore::sensorList(SensorInfo **list, uint8_t *count)
{
    Guard guard(m_mutex);
    if (!list || !count)
        return NullPointer;
    if (!m_hasCurrent)
        return NoSuchDevice;
    *list = m_sensors.list();
    *count = m_sensors.count();
    return 0;
}

int PkLinuxCore::sensorRead(SensorReading **readings, uint8_t *count)
{
    Guard guard(m_mutex);
    if (!readings || !count)
        return NullPointer;
    if (!m_hasCurrent)
        return NoSuchDevice;
    *readings = m_sensors.read(count);
    return 0;
}

PkLinuxCore::Snapshot PkLinuxCore::snapshot() const
{
    Guard guard(m_mutex);
    Snapshot s;
    s.valid = m_hasCurrent;
    if (!m_hasCurrent)
        return s;
    s.adapter = m_current;
    s.vpdImage = m_vpdImage;
    s.vpdError = m_vpdError;
    s.vpd = m_state.vpd();
    s.locating = m_locator.running();
    s.locateFailure = m_locator.failure();
    s.seriesDepth = m_seriesDepth;
    s.run = m_runs;
    return s;
}

PkPacer PkLinuxCore::pacer() const
{
    return PkPacer(PkEnvironment::timeScale(), &m_cancel);
}

PkLinuxCore::SelfTestMemo PkLinuxCore::selfTestMemo() const
{
    Guard guard(m_mutex);
    return m_selfTestMemo;
}

void PkLinuxCore::keepSelfTestMemo(const SelfTestMemo &memo)
{
    Guard guard(m_mutex);
    m_selfTestMemo = memo;
}

QVector<PkLinuxAdapter> PkLinuxCore::adapters()
{
    Guard guard(m_mutex);
    if (!m_initialised)
        return {};
    rescan();
    return m_adapters;
}

int PkLinuxCore::testRun(int number, const uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    (void)modeFlags; // no sub-test here depends on the mode
    m_cancel = false;
    {
        Guard guard(m_mutex);
        ++m_runs;
    }
    const Snapshot current = snapshot();
    if (!current.valid)
        return NoSuchDevice;
    const PkReporter reporter(callbacks);
    const PkPacer paced = pacer();
    const int status = PkLinuxTests(current, reporter, paced, this).run(number);
    m_cancel = false;
    return status;
}

int PkLinuxCore::commandRun(const char *command, const uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    if (!command)
        return NullPointer;
    m_cancel = false;
    const PkReporter reporter(callbacks);
    const int status = PkLinuxCommands(*this, reporter, modeFlags).run(QByteArray(command));
    m_cancel = false;
    return status;
}

int PkLinuxCore::testCancel()
{
    m_cancel = true;
    return 0;
}

int PkLinuxCore::seriesBegin()
{
    Guard guard(m_mutex);
    ++m_seriesDepth;
    return 0;
}

int PkLinuxCore::seriesEnd()
{
    Guard guard(m_mutex);
    m_seriesDepth = 0;
    return 0;
}

// Reads the driver's EEPROM dump, eedump_len bytes, in pieces so that the
// progress moves; the question a simulated adapter may ask is not asked:
// reading changes nothing.
int PkLinuxCore::flashSave(uint8_t *buffer, uint32_t *size, const CoreCallbacks *callbacks)
{
    if (!buffer || !size)
        return NullPointer;
    const Snapshot current = snapshot();
    if (!current.valid)
        return NoSuchDevice;
    const PkReporter reporter(callbacks);
    const PkPciFunction &a = current.adapter.ports.first();
    const PkEthtool ethtool(a.interface.toLocal8Bit());
    PkEthtool::DriverInfo info;
    int error = ethtool.driverInfo(&info);
    if (!error && info.eepromLength == 0)
        error = EOPNOTSUPP;
    const quint32 count = qMin<quint32>(*size, info.eepromLength);
    if (!error)
        reporter.stamped("Flash PROM: reading " + QByteArray::number(count) + " bytes of the EEPROM of "
                         + name(current.adapter));
    reporter.progress(0);
    for (quint32 done = 0; !error && done < count; done += EepromChunk) {
        error = ethtool.eeprom(done, qMin(EepromChunk, count - done), buffer + done);
        reporter.progress(int(100 * quint64(qMin(done + EepromChunk, count)) / qMax<quint32>(count, 1)));
    }
    if (error) {
        const QByteArray why = "EEPROM of " + name(current.adapter) + " not read: "
            + PkEthtool::reason(error, info.driver.isEmpty() ? a.driver.toLocal8Bit() : info.driver);
        reporter.log("Flash PROM: " + why);
        PkRefusal::note(why);
        return error == EPERM || error == EACCES ? CallerNotRoot : FlashAccessFailed;
    }
    *size = count;
    reporter.stamped("Flash PROM: " + QByteArray::number(count) + " bytes read");
    return 0;
}

int PkLinuxCore::flashLoad(const uint8_t *image, uint32_t length, const CoreCallbacks *callbacks)
{
    (void)length;
    if (!image)
        return NullPointer;
    if (!snapshot().valid)
        return NoSuchDevice;
    const QByteArray why("programming a real adapter's EEPROM is never done here; nothing was written");
    PkReporter(callbacks).log("Flash PROM: " + why);
    PkRefusal::note(why);
    return ProgFlashFailed;
}

int PkLinuxCore::flashErase(const CoreCallbacks *callbacks)
{
    if (!snapshot().valid)
        return NoSuchDevice;
    const QByteArray why("erasing a real adapter's EEPROM is never done here; nothing was erased");
    PkReporter(callbacks).log("Flash PROM: " + why);
    PkRefusal::note(why);
    return FlashEraseFailed;
}

DriverHandle PkLinuxCore::driverOpen()
{
    Guard guard(m_mutex);
    if (!m_hasCurrent || !m_current.model.hasDriver)
        return nullptr;
    const quintptr handle = ++m_nextDriver;
    m_drivers.insert(handle, m_current.model.key());
    return reinterpret_cast<DriverHandle>(handle);
}

int PkLinuxCore::driverQuery(DriverHandle handle, uint32_t oid, void *buffer, uint32_t *size)
{
    if (!handle)
        return NullPointer;
    PkLinuxAdapter adapter;
    {
        Guard guard(m_mutex);
        const QString key = m_drivers.value(reinterpret_cast<quintptr>(handle));
        // A handle outlives neither its adapter's selection nor CoreDeinit.
        if (key.isEmpty() || !m_hasCurrent || key != m_current.model.key())
            return GetOidFailed;
        adapter = m_current;
    }
    return PkLinuxDriver::query(adapter, oid, buffer, size);
}

void PkLinuxCore::driverClose(DriverHandle handle)
{
    Guard guard(m_mutex);
    m_drivers.remove(reinterpret_cast<quintptr>(handle));
}

// Each text lives until the next call for the same text, as the simulated
// core's do: asking for the mask leaves the address handed out intact.
const char *PkLinuxCore::ipAddress(int index, uint8_t *isStatic)
{
    Guard guard(m_mutex);
    QByteArray address, mask;
    bool permanent = false;
    if (index != 0 || !m_hasCurrent
        || !PkNetAddress::lookup(m_current.ports.first().interface.toLocal8Bit(), &address, &mask, &permanent))
        return nullptr;
    if (isStatic)
        *isStatic = permanent ? 1 : 0;
    m_ipText = address;
    return m_ipText.constData();
}

const char *PkLinuxCore::subnetMask(int index)
{
    Guard guard(m_mutex);
    QByteArray address, mask;
    bool permanent = false;
    if (index != 0 || !m_hasCurrent
        || !PkNetAddress::lookup(m_current.ports.first().interface.toLocal8Bit(), &address, &mask, &permanent))
        return nullptr;
    m_maskText = mask;
    return m_maskText.constData();
}

void PkLinuxCore::locate(int on)
{
    Guard guard(m_mutex);
    if (!m_hasCurrent || !on) {
        m_locator.stop();
        return;
    }
    const PkPciFunction &a = m_current.ports.first();
    if (a.interface.isEmpty()) {
        const QByteArray why = "Locate on " + name(m_current) + ": " + PkEthtool::reason(ENODEV, QByteArray());
        PkLog::line(why);
        PkRefusal::note(why);
        return;
    }
    if (!m_locator.running())
        m_locator.start(a.interface.toLocal8Bit(), a.driver.toLocal8Bit());
}

void PkLinuxCore::statInfo(char *buffer, int size)
{
    Guard guard(m_mutex);
    if (!buffer || size <= 0)
        return;
    QByteArray text = "STATKIT 1.0 (Linux) - sysfs " + QFile::encodeName(PkSysfs::root());
    if (m_initialised)
        text += ", " + QByteArray::number(m_adapters.size()) + " network adapter(s)";
    PkText::copy(text, buffer, size);
}
