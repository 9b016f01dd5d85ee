#include "PkEthtool.h"
#include "PkEthtoolReplay.h"
#include "PkEthtoolReply.h"
#include "PkHelperClient.h"
#include "probekit_testing.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

static_assert(PkEthtool::TestSet == ETH_SS_TEST && PkEthtool::StatisticsSet == ETH_SS_STATS,
              "the string sets as the kernel numbers them");

namespace {

std::atomic<PkEthtoolHook> hook {nullptr};

// The largest bitmap the kernel's link settings can hold, in 32-bit words.
constexpr int MaxMaskWords = 127;

// Room for entries beyond the count the driver gave a moment before: the
// kernel writes as many as the driver has when it answers, and a driver
// reconfigured in between (a channel added) may have more by then. A
// reply with more than the count is then refused, not written past.
size_t withSlack(quint32 count)
{
    return size_t(count) * 2 + 64;
}

// The command word every ethtool request starts with.
uint32_t command(const void *data)
{
    uint32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

extern "C" void PkSetEthtoolHook(PkEthtoolHook newHook)
{
    hook = newHook;
}

// The requests the kernel keeps for root or CAP_NET_ADMIN; refused for
// lack of privilege, they go to the privileged helper.
bool PkEthtool::privileged(const void *data)
{
    switch (command(data)) {
    case ETHTOOL_TEST:
    case ETHTOOL_PHYS_ID:
    case ETHTOOL_GEEPROM:
    case ETHTOOL_GMODULEINFO:
    case ETHTOOL_GMODULEEEPROM:
        return true;
    default:
        return false;
    }
}

int PkEthtool::request(void *data) const
{
    const int error = direct(data);
    if ((error == EPERM || error == EACCES) && privileged(data) && PkHelperClient::wanted())
        return (command(data) == ETHTOOL_PHYS_ID ? PkHelperClient::blinker() : PkHelperClient::instance())
            .ethtool(m_interface, data, PkEthtoolReply::capacity(data), error);
    return error;
}

int PkEthtool::direct(void *data) const
{
    if (m_interface.isEmpty() || m_interface.size() >= IFNAMSIZ)
        return ENODEV;
    if (const PkEthtoolHook fake = hook.load())
        return fake(m_interface.constData(), data);
    const QString replay = PkEthtoolReplay::directory();
    if (!replay.isEmpty())
        return PkEthtoolReplay::answer(replay, m_interface, data);
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return errno;
    struct ifreq ifr;
    std::memset(&ifr, 0, sizeof ifr);
    std::memcpy(ifr.ifr_name, m_interface.constData(), size_t(m_interface.size()));
    ifr.ifr_data = static_cast<char *>(data);
    const int result = ::ioctl(fd, SIOCETHTOOL, &ifr);
    const int error = result < 0 ? errno : 0;
    ::close(fd);
    return error;
}

int PkEthtool::driverInfo(DriverInfo *out) const
{
    struct ethtool_drvinfo info;
    std::memset(&info, 0, sizeof info);
    info.cmd = ETHTOOL_GDRVINFO;
    if (const int error = request(&info))
        return error;
    const auto field = [](const char *text, size_t size) { return QByteArray(text, int(strnlen(text, size))); };
    out->driver = field(info.driver, sizeof info.driver);
    out->version = field(info.version, sizeof info.version);
    out->firmware = field(info.fw_version, sizeof info.fw_version);
    out->busInfo = field(info.bus_info, sizeof info.bus_info);
    out->eepromLength = info.eedump_len;
    out->testCount = info.testinfo_len;
    return 0;
}

int PkEthtool::link(bool *up) const
{
    struct ethtool_value value;
    std::memset(&value, 0, sizeof value);
    value.cmd = ETHTOOL_GLINK;
    const int error = request(&value);
    if (!error)
        *up = value.data != 0;
    return error;
}

// Two rounds: the first learns how long the kernel's bitmaps are.
int PkEthtool::linkSettings(LinkSettings *out) const
{
    std::vector<uint32_t> buffer((sizeof(ethtool_link_settings) + 3) / 4 + 3 * MaxMaskWords, 0);
    auto *settings = reinterpret_cast<ethtool_link_settings *>(buffer.data());
    settings->cmd = ETHTOOL_GLINKSETTINGS;
    if (const int error = request(settings))
        return error;
    const int words = -settings->link_mode_masks_nwords;
    if (words <= 0 || words > MaxMaskWords)
        return EPROTO;
    std::fill(buffer.begin(), buffer.end(), 0);
    settings->cmd = ETHTOOL_GLINKSETTINGS;
    settings->link_mode_masks_nwords = int8_t(words);
    if (const int error = request(settings))
        return error;
    out->speed = settings->speed == uint32_t(SPEED_UNKNOWN) ? 0 : settings->speed;
    out->duplex = settings->duplex == DUPLEX_HALF ? 0 : settings->duplex == DUPLEX_FULL ? 1 : -1;
    out->autoneg = settings->autoneg == AUTONEG_ENABLE;
    out->port = settings->port == PORT_OTHER ? -1 : settings->port;
    return 0;
}

QByteArray PkEthtool::LinkSettings::describe() const
{
    static const struct {
        int port;
        const char *name;
    } ports[] = {{PORT_TP, "twisted pair"}, {PORT_AUI, "AUI"},     {PORT_BNC, "BNC"},
                 {PORT_MII, "MII"},         {PORT_FIBRE, "fibre"}, {PORT_DA, "direct attach copper"},
                 {PORT_NONE, "no port"}};
    QByteArray text = speed ? QByteArray::number(speed) + " Mb/s" : QByteArray("speed unknown");
    text += duplex == 1 ? ", full duplex" : duplex == 0 ? ", half duplex" : ", duplex unknown";
    text += autoneg ? ", autonegotiated" : ", forced";
    for (const auto &entry : ports)
        if (entry.port == port)
            text += QByteArray(", ") + entry.name;
    return text;
}

int PkEthtool::strings(quint32 set, quint32 count, QList<QByteArray> *names) const
{
    if (count > MaxEntries)
        return BadReply;
    std::vector<uint8_t> buffer(sizeof(ethtool_gstrings) + withSlack(count) * ETH_GSTRING_LEN, 0);
    auto *gstrings = reinterpret_cast<ethtool_gstrings *>(buffer.data());
    gstrings->cmd = ETHTOOL_GSTRINGS;
    gstrings->string_set = set;
    gstrings->len = count;
    if (const int error = request(gstrings))
        return error;
    // Fewer names than the count promised: the set changed under us.
    if (gstrings->len != count)
        return BadReply;
    for (quint32 i = 0; i < count; ++i) {
        const char *name = reinterpret_cast<const char *>(gstrings->data + i * ETH_GSTRING_LEN);
        names->append(QByteArray(name, int(strnlen(name, ETH_GSTRING_LEN))));
    }
    return 0;
}

int PkEthtool::testNames(QList<QByteArray> *names) const
{
    return stringSet(ETH_SS_TEST, names);
}

int PkEthtool::stringSet(quint32 set, QList<QByteArray> *names) const
{
    // The header, then one count per set asked for.
    std::vector<uint32_t> buffer(sizeof(ethtool_sset_info) / 4 + 1, 0);
    auto *query = reinterpret_cast<ethtool_sset_info *>(buffer.data());
    query->cmd = ETHTOOL_GSSET_INFO;
    query->sset_mask = 1ULL << set;
    if (const int error = request(query))
        return error;
    if (!(query->sset_mask & (1ULL << set)) || query->data[0] == 0)
        return 0;
    return strings(set, query->data[0], names);
}

int PkEthtool::statistics(quint32 count, QVector<quint64> *values) const
{
    if (count > MaxEntries)
        return BadReply;
    std::vector<uint64_t> buffer((sizeof(ethtool_stats) + 7) / 8 + withSlack(count), 0);
    auto *stats = reinterpret_cast<ethtool_stats *>(buffer.data());
    stats->cmd = ETHTOOL_GSTATS;
    stats->n_stats = count;
    if (const int error = request(stats))
        return error;
    if (stats->n_stats != count)
        return BadReply;
    values->resize(int(count));
    std::copy(stats->data, stats->data + count, values->begin());
    return 0;
}

int PkEthtool::selfTest(bool offline, TestResult *out) const
{
    if (const int error = testNames(&out->names))
        return error;
    if (out->names.isEmpty())
        return EOPNOTSUPP;
    const size_t count = size_t(out->names.size());
    std::vector<uint64_t> buffer((sizeof(ethtool_test) + 7) / 8 + withSlack(quint32(count)), 0);
    auto *test = reinterpret_cast<ethtool_test *>(buffer.data());
    test->cmd = ETHTOOL_TEST;
    test->flags = offline ? ETH_TEST_FL_OFFLINE : 0;
    test->len = uint32_t(count);
    if (const int error = request(test))
        return error;
    // A reply for fewer tests than were named leaves the rest without a
    // result; those must not read as passed.
    if (test->len != count)
        return BadReply;
    out->failed = test->flags & ETH_TEST_FL_FAILED;
    for (size_t i = 0; i < count; ++i)
        out->values.append(test->data[i]);
    return 0;
}

int PkEthtool::identify(quint32 seconds) const
{
    struct ethtool_value value;
    std::memset(&value, 0, sizeof value);
    value.cmd = ETHTOOL_PHYS_ID;
    value.data = seconds;
    return request(&value);
}

int PkEthtool::eeprom(quint32 offset, quint32 length, uint8_t *out) const
{
    std::vector<uint8_t> buffer(sizeof(ethtool_eeprom) + length, 0);
    auto *request = reinterpret_cast<ethtool_eeprom *>(buffer.data());
    request->cmd = ETHTOOL_GEEPROM;
    request->offset = offset;
    request->len = length;
    if (const int error = this->request(request))
        return error;
    if (request->len != length)
        return EIO;
    std::memcpy(out, request->data, length);
    return 0;
}

QByteArray PkEthtool::reason(int error, const QByteArray &driver)
{
    switch (error) {
    case EPERM:
    case EACCES: {
        // Why the privileged helper could not do it in our place.
        const QByteArray helper = PkHelperClient::wanted() ? PkHelperClient::refusal() : QByteArray();
        return "needs root or CAP_NET_ADMIN" + (helper.isEmpty() ? QByteArray() : "; " + helper);
    }
    case EOPNOTSUPP:
        return "not supported by the " + (driver.isEmpty() ? QByteArray("network") : driver) + " driver";
    case ENODEV:
        return QByteArrayLiteral("no network interface (no driver bound, or the interface is gone)");
    case BadReply:
        return "the " + (driver.isEmpty() ? QByteArray("network") : driver)
            + " driver's reply does not hold what was asked for";
    default:
        return QByteArray(std::strerror(error));
    }
}
