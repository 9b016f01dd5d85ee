#include "PkCore.h"
#include "PkCommandInterpreter.h"
#include "PkDefaultBehaviours.h"
#include "PkDriver.h"
#include "PkEnvironment.h"
#include "PkFlash.h"
#include "PkLog.h"
#include "PkRefusal.h"
#include "PkReporter.h"
#include "PkTestRunner.h"
#include "PkText.h"
#include "PkVpd.h"

#include <QFile>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr int OpenDeviceFailed = 3;
constexpr int NullPointer = 7;
constexpr int NoSuchDevice = 11;
constexpr int FlashEraseFailed = 27;
constexpr int ProgFlashFailed = 28;
constexpr int AdapterLockFailed = 29;
constexpr int GetOidFailed = 32;
constexpr int LockRetryMs = 10;

using Guard = std::lock_guard<std::mutex>;

} // namespace

PkCore &PkCore::instance()
{
    static PkCore core;
    return core;
}

int PkCore::fault(const char *function) const
{
    return faultFor(function, selected());
}

int PkCore::faultFor(const char *function, const PkAdapterModel *adapter) const
{
    static const PkFaults::Table none;
    return PkFaults::lookup(function, m_machine.faults, adapter ? adapter->faults : none);
}

const PkAdapterModel *PkCore::selected() const
{
    if (!m_initialised || m_selected < 0 || m_selected >= m_machine.adapters.size())
        return nullptr;
    return &m_machine.adapters.at(m_selected);
}

void PkCore::releaseAll()
{
    m_lock.release();
    m_selected = -1;
    m_state = PkAdapterState();
    m_sensors.clear();
    m_drivers.clear();
    m_failDraws.clear();
    m_table.clear();
    m_locateOn.clear();
    m_registers.clear();
    m_notices.clear();
    m_seriesDepth = 0;
    m_initialised = false;
    m_machine = PkMachine();
}

int PkCore::init()
{
    Guard guard(m_mutex);
    releaseAll();
    if (const int status = fault("CoreInit"))
        return status;
    if (!m_machine.load(PkEnvironment::machinePath())) {
        PkLog::line("machine file " + QFile::encodeName(m_machine.path) + " refused: " + m_machine.problem);
        m_machine = PkMachine();
        return OpenDeviceFailed;
    }
    // The file may fault its own start.
    if (const int status = fault("CoreInit")) {
        m_machine = PkMachine();
        return status;
    }
    m_initialised = true;
    m_clock.start();
    return 0;
}

int PkCore::deinit()
{
    Guard guard(m_mutex);
    const int status = fault("CoreDeinit");
    // Even a failing shutdown lets go of the adapter: keeping the lock would
    // only keep other instances out until this process ends.
    releaseAll();
    return status;
}

AdapterRecord *PkCore::enumerate(const uint32_t *filter)
{
    Guard guard(m_mutex);
    if (!m_initialised || fault("AdapterEnumerate"))
        return nullptr;
    m_table.begin();
    const QString lockDir = PkEnvironment::lockDir();
    for (const PkAdapterModel &model : qAsConst(m_machine.adapters))
        m_table.add(model, filter, lockDir);
    return m_table.finish();
}

int PkCore::select(const AdapterRecord *adapter)
{
    Guard guard(m_mutex);
    if (!adapter) {
        const int status = fault("AdapterSelect");
        return status ? status : NullPointer;
    }
    const int bus = adapter->busNumber;
    const int device = adapter->deviceNumber;
    const PkAdapterModel *target = m_initialised ? m_machine.find(bus, device) : nullptr;
    if (const int status = faultFor("AdapterSelect", target))
        return status;
    if (!target)
        return NoSuchDevice;
    if (selected() == target && m_lock.held())
        return 0;
    // Whatever happens next, the adapter selected before is given up: a
    // failed selection leaves none selected.
    m_lock.release();
    selectIndex(-1);
    if (!takeLock(PkAdapterLock::pathFor(PkEnvironment::lockDir(), target->key())))
        return AdapterLockFailed;
    selectIndex(static_cast<int>(target - m_machine.adapters.constData()));
    return 0;
}

// A second try after a short pause: whoever else touched the lock file (a
// process of an older version that tested the flag by taking the lock) lets
// go within microseconds, while a real holder still holds it then.
bool PkCore::takeLock(const QString &path)
{
    if (m_lock.acquire(path))
        return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(LockRetryMs));
    return m_lock.acquire(path);
}

void PkCore::selectIndex(int index)
{
    m_selected = index;
    const PkAdapterModel *model = selected();
    if (!model) {
        m_state = PkAdapterState();
        m_sensors.clear();
        return;
    }
    m_state.load(PkEnvironment::stateDir(), *model);
    const QByteArray notice = m_state.takeNotice();
    if (!notice.isEmpty())
        m_notices.append(notice);
    m_sensors.reset(model->sensors, static_cast<quint32>(model->bus * 256 + model->device),
                    model->readingCount);
}

int PkCore::vpdRead(const char *keyword, char *buffer, uint32_t *size)
{
    Guard guard(m_mutex);
    if (const int status = fault("VpdReadKeyword"))
        return status;
    if (!keyword || !buffer || !size)
        return NullPointer;
    if (!selected())
        return NoSuchDevice;
    return PkVpd::readInto(m_state.vpd(), keyword, buffer, size);
}

int PkCore::vpdList(char *buffer, uint32_t *size, uint32_t *count)
{
    Guard guard(m_mutex);
    if (const int status = fault("VpdListKeywords"))
        return status;
    if (!buffer || !size || !count)
        return NullPointer;
    if (!selected())
        return NoSuchDevice;
    return PkVpd::listInto(m_state.vpd(), buffer, size, count);
}

int PkCore::vpdWrite(const char *keyword, const char *value)
{
    Guard guard(m_mutex);
    if (const int status = fault("VpdWriteKeyword"))
        return status;
    if (!keyword || !value)
        return NullPointer;
    if (!selected())
        return NoSuchDevice;
    return m_state.writeKeyword(QString::fromLatin1(keyword), QByteArray(value));
}

int PkCore::vpdDelete(const char *keyword)
{
    Guard guard(m_mutex);
    if (const int status = fault("VpdDeleteKeyword"))
        return status;
    if (!keyword)
        return NullPointer;
    if (!selected())
        return NoSuchDevice;
    return m_state.deleteKeyword(QString::fromLatin1(keyword));
}

int PkCore::sensorList(SensorInfo **list, uint8_t *count)
{
    Guard guard(m_mutex);
    if (const int status = fault("SensorGetList"))
        return status;
    if (!list || !count)
        return NullPointer;
    const PkAdapterModel *model = selected();
    if (!model)
        return NoSuchDevice;
    *list = model->noSensorList ? nullptr : m_sensors.list();
    *count = m_sensors.count();
    return 0;
}

int PkCore::sensorRead(SensorReading **readings, uint8_t *count)
{
    Guard guard(m_mutex);
    if (const int status = fault("SensorReadValues"))
        return status;
    if (!readings || !count)
        return NullPointer;
    if (!selected())
        return NoSuchDevice;
    *readings = m_sensors.read(count);
    return 0;
}

PkBehaviour PkCore::behaviourFor(int number) const
{
    const QString id = QString::number(number);
    const PkAdapterModel *model = selected();
    if (model && model->tests.value(id).isObject())
        return PkBehaviour::fromJson(model->tests.value(id).toObject());
    if (m_machine.tests.value(id).isObject())
        return PkBehaviour::fromJson(m_machine.tests.value(id).toObject());
    if (PkDefaultBehaviours::table().value(id).isObject())
        return PkBehaviour::fromJson(PkDefaultBehaviours::table().value(id).toObject());
    return PkBehaviour::generic();
}

// Each sub-test draws from its own generator, seeded at the first run after
// CoreInit: the sequence of passes and fails repeats from session to session.
bool PkCore::drawFailure(int number, const PkBehaviour &behaviour)
{
    if (behaviour.failRate <= 0.0)
        return false;
    auto it = m_failDraws.find(number);
    if (it == m_failDraws.end())
        it = m_failDraws.emplace(number, std::mt19937(behaviour.seed)).first;
    const double draw = static_cast<double>(it->second()) / 4294967296.0;
    return draw < behaviour.failRate;
}

int PkCore::prepareRun(int number, PkBehaviour *behaviour, bool *seededFailure)
{
    Guard guard(m_mutex);
    if (!selected())
        return NoSuchDevice;
    *behaviour = behaviourFor(number);
    *seededFailure = drawFailure(number, *behaviour);
    return 0;
}

// Selection has no callback table: what it found wrong with the adapter's
// state reaches the program's log with the next call that has one.
void PkCore::tellNotices(const PkReporter &reporter)
{
    QList<QByteArray> notices;
    {
        Guard guard(m_mutex);
        notices.swap(m_notices);
    }
    for (const QByteArray &notice : qAsConst(notices))
        reporter.log(notice);
}

PkPacer PkCore::pacer() const
{
    return PkPacer(PkEnvironment::timeScale(), &m_cancel);
}

int PkCore::testRun(int number, const uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    (void)modeFlags; // the simulated tests run the same in every mode
    {
        Guard guard(m_mutex);
        if (const int status = fault("TestRun"))
            return status;
    }
    m_cancel = false;
    PkBehaviour behaviour;
    bool seededFailure = false;
    if (const int status = prepareRun(number, &behaviour, &seededFailure))
        return status;
    const PkReporter reporter(callbacks);
    tellNotices(reporter);
    const PkPacer paced = pacer();
    const int status = PkTestRunner(reporter, paced).run(behaviour, seededFailure);
    m_cancel = false;
    return status;
}

int PkCore::commandRun(const char *command, const uint8_t *modeFlags, const CoreCallbacks *callbacks)
{
    {
        Guard guard(m_mutex);
        if (const int status = fault("CommandRun"))
            return status;
    }
    if (!command)
        return NullPointer;
    m_cancel = false;
    const PkReporter reporter(callbacks);
    tellNotices(reporter);
    const int status = PkCommandInterpreter(*this, reporter, modeFlags).run(QByteArray(command));
    m_cancel = false;
    return status;
}

int PkCore::testCancel()
{
    {
        Guard guard(m_mutex);
        if (const int status = fault("TestCancel"))
            return status;
    }
    m_cancel = true;
    return 0;
}

int PkCore::seriesBegin()
{
    Guard guard(m_mutex);
    if (const int status = fault("TestSeriesBegin"))
        return status;
    ++m_seriesDepth;
    return 0;
}

int PkCore::seriesEnd()
{
    Guard guard(m_mutex);
    if (const int status = fault("TestSeriesEnd"))
        return status;
    m_seriesDepth = 0; // the program ends a series more often than it begins one
    return 0;
}

int PkCore::beginFlash(const char *function, bool argumentsGiven, QByteArray *contents,
                       PkAdapterModel::FlashQuestion *question)
{
    Guard guard(m_mutex);
    if (const int status = fault(function))
        return status;
    if (!argumentsGiven)
        return NullPointer;
    if (!selected())
        return NoSuchDevice;
    *contents = m_state.flash();
    if (question)
        *question = selected()->flashQuestion;
    return 0;
}

int PkCore::storeFlash(const QByteArray &contents, int failure, const PkReporter &reporter)
{
    QByteArray why;
    {
        Guard guard(m_mutex);
        if (!selected())
            return NoSuchDevice;
        if (m_state.setFlash(contents))
            return 0;
        why = m_state.saveFailure();
    }
    // The PROM keeps what it held before: a change that would be gone after
    // a restart is no change.
    reporter.stamped("Flash PROM: not changed, its new contents could not be stored (" + why + ")");
    return failure;
}

int PkCore::flashSave(uint8_t *buffer, uint32_t *size, const CoreCallbacks *callbacks)
{
    QByteArray contents;
    PkAdapterModel::FlashQuestion flashQuestion;
    if (const int status = beginFlash("FlashSaveImage", buffer && size, &contents, &flashQuestion))
        return status;
    const PkReporter reporter(callbacks);
    tellNotices(reporter);
    // Asked outside the lock: the answer may take as long as the operator
    // likes. Nobody to ask gives the wanted answer, as for sub-tests.
    const PkBehaviour::Question &q = flashQuestion.question;
    if (q.message >= 0
        && reporter.ask(q.message, q.buttons[0], q.buttons[1], q.buttons[2], q.expect) != q.expect) {
        reporter.stamped(QByteArrayLiteral("Flash PROM: not read, the question was declined"));
        return flashQuestion.failStatus;
    }
    PkFlash::read(contents, buffer, size, reporter, PkPacer(PkEnvironment::timeScale(), nullptr));
    return 0;
}

int PkCore::flashLoad(const uint8_t *image, uint32_t length, const CoreCallbacks *callbacks)
{
    QByteArray current;
    if (const int status = beginFlash("FlashLoadImage", image != nullptr, &current))
        return status;
    const int flashSize = current.size();
    const PkReporter reporter(callbacks);
    tellNotices(reporter);
    if (length == 0 || length > static_cast<uint32_t>(flashSize)) {
        reporter.log(QByteArrayLiteral("Flash PROM: an image of ") + QByteArray::number(length)
                     + QByteArrayLiteral(" bytes does not fit a PROM of ")
                     + QByteArray::number(flashSize) + QByteArrayLiteral(" bytes"));
        return ProgFlashFailed;
    }
    const QByteArray contents = PkFlash::program(flashSize, image, length, reporter,
                                                 PkPacer(PkEnvironment::timeScale(), nullptr));
    return storeFlash(contents, ProgFlashFailed, reporter);
}

int PkCore::flashErase(const CoreCallbacks *callbacks)
{
    QByteArray current;
    if (const int status = beginFlash("FlashErase", true, &current))
        return status;
    const PkReporter reporter(callbacks);
    tellNotices(reporter);
    const QByteArray contents =
        PkFlash::erase(current.size(), reporter, PkPacer(PkEnvironment::timeScale(), nullptr));
    return storeFlash(contents, FlashEraseFailed, reporter);
}

DriverHandle PkCore::driverOpen()
{
    Guard guard(m_mutex);
    const PkAdapterModel *model = selected();
    if (fault("DriverOpen") || !model || !model->hasDriver)
        return nullptr;
    const quintptr handle = ++m_nextDriver;
    DriverSession session;
    session.adapter = m_selected;
    m_drivers.insert(handle, session);
    return reinterpret_cast<DriverHandle>(handle);
}

int PkCore::driverQuery(DriverHandle handle, uint32_t oid, void *buffer, uint32_t *size)
{
    Guard guard(m_mutex);
    if (const int status = fault("DriverQueryOid"))
        return status;
    // One identifier may fail alone: "DriverQueryOid:0x00020206".
    const QByteArray oidFault = "DriverQueryOid:0x" + QByteArray::number(oid, 16).rightJustified(8, '0');
    if (const int status = fault(oidFault.constData()))
        return status;
    if (!handle)
        return NullPointer;
    const auto session = m_drivers.find(reinterpret_cast<quintptr>(handle));
    if (session == m_drivers.end())
        return GetOidFailed;
    // Link-state queries count per session: each connectivity check opens
    // its own and sees a late link come up at the same query again.
    if (oid == PkDriver::LinkState)
        ++session->linkQueries;
    PkDriver::Moment moment;
    moment.elapsedMs = m_clock.elapsed();
    moment.linkQuery = session->linkQueries;
    return PkDriver::query(m_machine.adapters.at(session->adapter), oid, buffer, size, moment);
}

void PkCore::driverClose(DriverHandle handle)
{
    Guard guard(m_mutex);
    if (!fault("DriverClose"))
        m_drivers.remove(reinterpret_cast<quintptr>(handle));
}

const char *PkCore::ipAddress(int index, uint8_t *isStatic)
{
    Guard guard(m_mutex);
    const PkAdapterModel *model = selected();
    if (fault("GetIpAddress") || index != 0 || !model || !model->hasIp)
        return nullptr;
    if (isStatic)
        *isStatic = model->ipStatic ? 1 : 0;
    m_ipText = model->ipAddress;
    return m_ipText.constData();
}

const char *PkCore::subnetMask(int index)
{
    Guard guard(m_mutex);
    const PkAdapterModel *model = selected();
    if (fault("GetSubnetMask") || index != 0 || !model || !model->hasIp)
        return nullptr;
    m_maskText = model->subnetMask;
    return m_maskText.constData();
}

void PkCore::locate(int on)
{
    Guard guard(m_mutex);
    if (fault("LocateLedSet") || !selected())
        return;
    const QByteArray refused = m_machine.refusals.value(QStringLiteral("LocateLedSet"));
    if (!refused.isEmpty()) {
        PkRefusal::note(refused);
        return;
    }
    if (on)
        m_locateOn.insert(m_selected);
    else
        m_locateOn.remove(m_selected);
}

void PkCore::statInfo(char *buffer, int size)
{
    Guard guard(m_mutex);
    if (fault("StatGetInfo") || !buffer || size <= 0)
        return;
    QByteArray text = QByteArrayLiteral("STATKIT 1.0 (simulated) - machine file ")
        + QFile::encodeName(PkEnvironment::machinePath());
    if (m_initialised)
        text += QByteArrayLiteral(", ") + QByteArray::number(m_machine.adapters.size())
            + QByteArrayLiteral(" adapter(s)");
    PkText::copy(text, buffer, size);
}

QList<QByteArray> PkCore::describe(const uint8_t *modeFlags) const
{
    Guard guard(m_mutex);
    const PkAdapterModel *model = selected();
    if (!model)
        return {};
    const auto hex = [](quint32 value) {
        return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
    };
    QList<QByteArray> lines;
    lines << "Adapter " + hex(model->vendorId) + ":" + hex(model->deviceId) + " subsystem "
            + hex(model->subsystemVendorId) + ":" + hex(model->subsystemId) + " on bus "
            + QByteArray::number(model->bus) + ", device " + QByteArray::number(model->device)
            + ", slot " + QByteArray::number(model->slot);
    lines << "Name: " + m_state.vpd().value(QStringLiteral("Name"), "(none)");
    QByteArray ports = "Ports:";
    for (int i = 0; i < model->ports.size(); ++i)
        ports += (i ? ", " : " ") + portName(i) + (model->ports.at(i).link ? " link up" : " link down");
    lines << ports;
    lines << "Sensors: " + QByteArray::number(model->sensors.size());
    lines << "Flash PROM: " + QByteArray::number(m_state.flash().size()) + " bytes";
    lines << QByteArray("Locate LED: ") + (m_locateOn.contains(m_selected) ? "on" : "off");
    lines << QByteArray("Test series: ") + (m_seriesDepth > 0 ? "running" : "none");
    lines << QByteArray("Advanced mode: ") + (modeFlags && modeFlags[0] ? "on" : "off");
    return lines;
}

QList<QByteArray> PkCore::statistics() const
{
    Guard guard(m_mutex);
    const PkAdapterModel *model = selected();
    if (!model)
        return {};
    // The driver's counters: what the general information shows moves the
    // same way.
    const qint64 elapsed = m_clock.elapsed();
    QList<QByteArray> lines;
    for (int i = 0; i < model->ports.size(); ++i) {
        const PkAdapterModel::Port &p = model->ports.at(i);
        lines << "Port " + portName(i) + ": link " + (p.link ? "up" : "down") + ", "
                + QByteArray::number(p.framesIn(elapsed)) + " frames received, "
                + QByteArray::number(p.framesIn(elapsed)) + " frames transmitted, "
                + QByteArray::number(p.errorsIn(elapsed)) + " FCS errors";
    }
    return lines;
}

bool PkCore::port(int index, PkAdapterModel::Port *out) const
{
    Guard guard(m_mutex);
    const PkAdapterModel *model = selected();
    if (!model || index < 0 || index >= model->ports.size())
        return false;
    *out = model->ports.at(index);
    return true;
}

int PkCore::readRegister(quint32 offset, quint32 *value) const
{
    Guard guard(m_mutex);
    if (!selected())
        return NoSuchDevice;
    *value = m_registers.value(m_selected).value(offset, 0);
    return 0;
}

int PkCore::writeRegister(quint32 offset, quint32 value)
{
    Guard guard(m_mutex);
    if (!selected())
        return NoSuchDevice;
    m_registers[m_selected][offset] = value;
    return 0;
}

QByteArray PkCore::portName(int index)
{
    return QByteArray(1, static_cast<char>('A' + index));
}
