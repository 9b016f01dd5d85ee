#include "PkCableReport.h"

#include <QList>

#include <libmnl/libmnl.h>
#include <linux/ethtool_netlink.h>
#include <linux/genetlink.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void walk(const void *start, const void *end, const std::function<void(const nlattr *)> &visit)
{
    for (const auto *attribute = static_cast<const nlattr *>(start);
         mnl_attr_ok(attribute, int(static_cast<const char *>(end) - reinterpret_cast<const char *>(attribute)));
         attribute = mnl_attr_next(attribute))
        visit(attribute);
}

const char *codeText(int code)
{
    switch (code) {
    case ETHTOOL_A_CABLE_RESULT_CODE_OK:
        return "OK";
    case ETHTOOL_A_CABLE_RESULT_CODE_OPEN:
        return "open";
    case ETHTOOL_A_CABLE_RESULT_CODE_SAME_SHORT:
        return "short within the pair";
    case ETHTOOL_A_CABLE_RESULT_CODE_CROSS_SHORT:
        return "short to another pair";
    case 5:
        return "impedance mismatch";
    case 6:
        return "noise";
    case 7:
        return "no result possible";
    default:
        return "unknown";
    }
}

// The device name in a request or notification header nest.
QByteArray deviceName(const nlattr *header)
{
    QByteArray name;
    PkCableReport::eachNested(header, [&name](const nlattr *attribute) {
        if (mnl_attr_get_type(attribute) == ETHTOOL_A_HEADER_DEV_NAME
            && mnl_attr_validate(attribute, MNL_TYPE_NUL_STRING) >= 0)
            name = QByteArray(mnl_attr_get_str(attribute));
    });
    return name;
}

// A u8 or u32 attribute of the right length, else -1.
qint64 number(const nlattr *attribute, mnl_attr_data_type type)
{
    if (mnl_attr_validate(attribute, type) < 0)
        return -1;
    return type == MNL_TYPE_U8 ? qint64(mnl_attr_get_u8(attribute)) : qint64(mnl_attr_get_u32(attribute));
}

// Pair and value of one result or fault-length nest; false when either
// is missing or malformed.
bool pairValue(const nlattr *nest, int pairType, int valueType, mnl_attr_data_type valueKind, int *pair,
               qint64 *value)
{
    qint64 p = -1, v = -1;
    PkCableReport::eachNested(nest, [&](const nlattr *attribute) {
        if (mnl_attr_get_type(attribute) == pairType)
            p = number(attribute, MNL_TYPE_U8);
        else if (mnl_attr_get_type(attribute) == valueType)
            v = number(attribute, valueKind);
    });
    if (p < 0 || p >= PkCableReport::MaxPairs || v < 0)
        return false;
    *pair = int(p);
    *value = v;
    return true;
}

} // namespace

void PkCableReport::eachNested(const nlattr *nest, const std::function<void(const nlattr *)> &visit)
{
    const void *start = mnl_attr_get_payload(nest);
    walk(start, static_cast<const char *>(start) + mnl_attr_get_payload_len(nest), visit);
}

void PkCableReport::eachAttribute(const nlmsghdr *message, const std::function<void(const nlattr *)> &visit)
{
    walk(mnl_nlmsg_get_payload_offset(message, GENL_HDRLEN), mnl_nlmsg_get_payload_tail(message), visit);
}

PkCableReport PkCableReport::parse(const QByteArray &messages, const QByteArray &interface, int family)
{
    PkCableReport report;
    // Aligned as the kernel's messages are.
    std::vector<nlmsghdr> copy(size_t(messages.size()) / sizeof(nlmsghdr) + 1);
    std::memcpy(copy.data(), messages.constData(), size_t(messages.size()));
    int left = messages.size();
    // mnl_nlmsg_ok() takes a length above 2 GiB for a negative one: the
    // length is compared as the unsigned number it is first.
    for (const nlmsghdr *message = copy.data(); left >= int(sizeof(nlmsghdr)) && message->nlmsg_len <= quint32(left)
         && mnl_nlmsg_ok(message, left);
         message = mnl_nlmsg_next(message, &left))
        report.readMessage(message, interface, family);
    std::sort(report.pairs.begin(), report.pairs.end(),
              [](const Pair &a, const Pair &b) { return a.pair < b.pair; });
    return report;
}

void PkCableReport::readMessage(const void *header, const QByteArray &interface, int family)
{
    const auto *message = static_cast<const nlmsghdr *>(header);
    if (message->nlmsg_type < NLMSG_MIN_TYPE || (family && message->nlmsg_type != family)
        || message->nlmsg_len < MNL_NLMSG_HDRLEN + MNL_ALIGN(GENL_HDRLEN))
        return;
    const auto *genl = static_cast<const genlmsghdr *>(mnl_nlmsg_get_payload(message));
    if (genl->cmd != ETHTOOL_MSG_CABLE_TEST_NTF)
        return;
    int status = -1;
    const nlattr *results = nullptr;
    bool ours = false;
    eachAttribute(message, [&](const nlattr *attribute) {
        const int type = mnl_attr_get_type(attribute);
        if (type == ETHTOOL_A_CABLE_TEST_NTF_HEADER && mnl_attr_validate(attribute, MNL_TYPE_NESTED) >= 0)
            ours = deviceName(attribute) == interface;
        else if (type == ETHTOOL_A_CABLE_TEST_NTF_STATUS)
            status = int(number(attribute, MNL_TYPE_U8));
        else if (type == ETHTOOL_A_CABLE_TEST_NTF_NEST && mnl_attr_validate(attribute, MNL_TYPE_NESTED) >= 0)
            results = attribute;
    });
    // Once ended, a later notification (another test begun) is not read
    // into this one.
    if (!ours || completed)
        return;
    if (status == ETHTOOL_A_CABLE_TEST_NTF_STATUS_STARTED)
        started = true;
    if (status == ETHTOOL_A_CABLE_TEST_NTF_STATUS_COMPLETED) {
        completed = true;
        if (results)
            readResults(results);
    }
}

void PkCableReport::readResults(const void *nest)
{
    eachNested(static_cast<const nlattr *>(nest), [this](const nlattr *attribute) {
        const int type = mnl_attr_get_type(attribute);
        int pair = 0;
        qint64 value = 0;
        if (type == ETHTOOL_A_CABLE_NEST_RESULT
            && pairValue(attribute, ETHTOOL_A_CABLE_RESULT_PAIR, ETHTOOL_A_CABLE_RESULT_CODE, MNL_TYPE_U8, &pair,
                         &value)) {
            auto found = std::find_if(pairs.begin(), pairs.end(), [pair](const Pair &p) { return p.pair == pair; });
            if (found == pairs.end())
                pairs.append({pair, int(value), -1});
            else
                found->code = int(value);
        } else if (type == ETHTOOL_A_CABLE_NEST_FAULT_LENGTH
                   && pairValue(attribute, ETHTOOL_A_CABLE_FAULT_LENGTH_PAIR, ETHTOOL_A_CABLE_FAULT_LENGTH_CM,
                                MNL_TYPE_U32, &pair, &value)) {
            auto found = std::find_if(pairs.begin(), pairs.end(), [pair](const Pair &p) { return p.pair == pair; });
            if (found == pairs.end())
                pairs.append({pair, ETHTOOL_A_CABLE_RESULT_CODE_UNSPEC, value});
            else
                found->faultCm = value;
        }
    });
}

bool PkCableReport::passed() const
{
    return completed && !pairs.isEmpty()
        && std::all_of(pairs.begin(), pairs.end(),
                       [](const Pair &p) { return p.code == ETHTOOL_A_CABLE_RESULT_CODE_OK; });
}

QByteArray PkCableReport::describe() const
{
    QList<QByteArray> parts;
    for (const Pair &p : pairs) {
        QByteArray text = "Pair " + QByteArray(1, char('A' + p.pair)) + ": " + codeText(p.code);
        if (qstrcmp(codeText(p.code), "unknown") == 0)
            text += " (code " + QByteArray::number(p.code) + ")";
        if (p.faultCm >= 0)
            text += " at " + QByteArray::number(p.faultCm / 100.0, 'f', p.faultCm % 100 ? 2 : 0) + " m";
        parts << text;
    }
    QByteArray text;
    for (const QByteArray &part : parts)
        text += (text.isEmpty() ? "" : "; ") + part;
    return text;
}
