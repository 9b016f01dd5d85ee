#include "PkCableTest.h"
#include "PkCableReport.h"
#include "PkEthtoolReplay.h"
#include "PkFileReader.h"
#include "PkHelperClient.h"
#include "PkLog.h"
#include "PkPacer.h"
#include "PkSysfs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <ctime>
#include <memory>

#include <libmnl/libmnl.h>
#include <linux/ethtool_netlink.h>
#include <linux/genetlink.h>
#include <poll.h>

namespace {

// Short enough that a cancel is seen at once.
constexpr int PollSliceMs = 200;

struct Socket {
    mnl_socket *nl = nullptr;
    ~Socket()
    {
        if (nl)
            mnl_socket_close(nl);
    }
};

// The ethtool family's message type and its "monitor" group.
struct Family {
    int id = 0;
    unsigned monitor = 0;
};

void readGroups(const nlattr *groups, Family *family)
{
    PkCableReport::eachNested(groups, [family](const nlattr *group) {
        QByteArray name;
        unsigned id = 0;
        PkCableReport::eachNested(group, [&](const nlattr *attribute) {
            if (mnl_attr_get_type(attribute) == CTRL_ATTR_MCAST_GRP_NAME
                && mnl_attr_validate(attribute, MNL_TYPE_NUL_STRING) >= 0)
                name = mnl_attr_get_str(attribute);
            else if (mnl_attr_get_type(attribute) == CTRL_ATTR_MCAST_GRP_ID
                     && mnl_attr_validate(attribute, MNL_TYPE_U32) >= 0)
                id = mnl_attr_get_u32(attribute);
        });
        if (name == ETHTOOL_MCGRP_MONITOR_NAME)
            family->monitor = id;
    });
}

int familyAttribute(const nlattr *attribute, void *data)
{
    auto *family = static_cast<Family *>(data);
    if (mnl_attr_get_type(attribute) == CTRL_ATTR_FAMILY_ID && mnl_attr_validate(attribute, MNL_TYPE_U16) >= 0)
        family->id = mnl_attr_get_u16(attribute);
    else if (mnl_attr_get_type(attribute) == CTRL_ATTR_MCAST_GROUPS
             && mnl_attr_validate(attribute, MNL_TYPE_NESTED) >= 0)
        readGroups(attribute, family);
    return MNL_CB_OK;
}

int familyReply(const nlmsghdr *message, void *data)
{
    return mnl_attr_parse(message, sizeof(genlmsghdr), familyAttribute, data);
}

int resolve(mnl_socket *nl, Family *family)
{
    alignas(nlmsghdr) char buffer[MNL_SOCKET_BUFFER_SIZE];
    nlmsghdr *message = mnl_nlmsg_put_header(buffer);
    message->nlmsg_type = GENL_ID_CTRL;
    message->nlmsg_flags = NLM_F_REQUEST | NLM_F_ACK;
    message->nlmsg_seq = unsigned(time(nullptr));
    auto *genl = static_cast<genlmsghdr *>(mnl_nlmsg_put_extra_header(message, sizeof(genlmsghdr)));
    genl->cmd = CTRL_CMD_GETFAMILY;
    genl->version = 1;
    mnl_attr_put_strz(message, CTRL_ATTR_FAMILY_NAME, ETHTOOL_GENL_NAME);
    const unsigned seq = message->nlmsg_seq, port = mnl_socket_get_portid(nl);
    if (mnl_socket_sendto(nl, message, message->nlmsg_len) < 0)
        return errno;
    for (;;) {
        const ssize_t got = mnl_socket_recvfrom(nl, buffer, sizeof buffer);
        if (got < 0)
            return errno;
        const int result = mnl_cb_run(buffer, size_t(got), seq, port, familyReply, family);
        if (result == MNL_CB_ERROR)
            return errno == ENOENT ? EOPNOTSUPP : errno;
        if (result == MNL_CB_STOP)
            break;
    }
    return family->id && family->monitor ? 0 : EOPNOTSUPP;
}

int sendRequest(mnl_socket *nl, const Family &family, const QByteArray &interface, unsigned *seq)
{
    alignas(nlmsghdr) char buffer[MNL_SOCKET_BUFFER_SIZE];
    nlmsghdr *message = mnl_nlmsg_put_header(buffer);
    message->nlmsg_type = uint16_t(family.id);
    message->nlmsg_flags = NLM_F_REQUEST | NLM_F_ACK;
    message->nlmsg_seq = *seq = unsigned(time(nullptr)) + 1;
    auto *genl = static_cast<genlmsghdr *>(mnl_nlmsg_put_extra_header(message, sizeof(genlmsghdr)));
    genl->cmd = ETHTOOL_MSG_CABLE_TEST_ACT;
    genl->version = ETHTOOL_GENL_VERSION;
    nlattr *header = mnl_attr_nest_start(message, ETHTOOL_A_CABLE_TEST_HEADER);
    mnl_attr_put_strz(message, ETHTOOL_A_HEADER_DEV_NAME, interface.constData());
    mnl_attr_nest_end(message, header);
    return mnl_socket_sendto(nl, message, message->nlmsg_len) < 0 ? errno : 0;
}

// What one datagram adds: the family's notifications are kept; the
// kernel's answer to our request ends the test when it is an error.
int take(const char *buffer, int size, const Family &family, unsigned seq, QByteArray *messages)
{
    for (const auto *message = reinterpret_cast<const nlmsghdr *>(buffer);
         size >= int(sizeof(nlmsghdr)) && message->nlmsg_len <= quint32(size) && mnl_nlmsg_ok(message, size);
         message = mnl_nlmsg_next(message, &size)) {
        if (message->nlmsg_type == NLMSG_ERROR && message->nlmsg_seq == seq
            && message->nlmsg_len >= mnl_nlmsg_size(sizeof(nlmsgerr))) {
            const auto *error = static_cast<const nlmsgerr *>(mnl_nlmsg_get_payload(message));
            if (error->error)
                return -error->error;
        } else if (message->nlmsg_type == family.id && messages->size() + int(message->nlmsg_len) <= PkCableTest::MaxBytes) {
            messages->append(reinterpret_cast<const char *>(message), int(MNL_ALIGN(message->nlmsg_len)));
        }
    }
    return 0;
}

} // namespace

int PkCableTest::run(const QByteArray &interface, const PkPacer *pacer, QByteArray *messages)
{
    const QString capture = PkEthtoolReplay::directory();
    int error = capture.isEmpty() ? live(interface, pacer, messages) : replay(capture, interface, messages);
    if ((error == EPERM || error == EACCES) && PkHelperClient::wanted()) {
        messages->clear();
        error = PkHelperClient::instance().cableTest(interface, messages, error);
        if (error)
            messages->clear();
    }
    return error;
}

int PkCableTest::live(const QByteArray &interface, const PkPacer *pacer, QByteArray *messages)
{
    Socket socket;
    socket.nl = mnl_socket_open2(NETLINK_GENERIC, SOCK_CLOEXEC);
    if (!socket.nl || mnl_socket_bind(socket.nl, 0, MNL_SOCKET_AUTOPID) < 0)
        return errno;
    Family family;
    if (const int error = resolve(socket.nl, &family))
        return error;
    if (mnl_socket_setsockopt(socket.nl, NETLINK_ADD_MEMBERSHIP, &family.monitor, sizeof family.monitor) < 0)
        return errno;
    unsigned seq = 0;
    if (const int error = sendRequest(socket.nl, family, interface, &seq))
        return error;
    QElapsedTimer clock;
    clock.start();
    alignas(nlmsghdr) char buffer[MNL_SOCKET_BUFFER_SIZE];
    while (clock.elapsed() < TimeoutMs) {
        if (pacer && pacer->cancelled())
            return ECANCELED;
        pollfd wanted {mnl_socket_get_fd(socket.nl), POLLIN, 0};
        const int ready = ::poll(&wanted, 1, int(qMin<qint64>(PollSliceMs, TimeoutMs - clock.elapsed())));
        if (ready < 0 && errno != EINTR)
            return errno;
        if (ready <= 0)
            continue;
        const ssize_t got = mnl_socket_recvfrom(socket.nl, buffer, sizeof buffer);
        if (got < 0)
            return errno;
        if (const int error = take(buffer, int(got), family, seq, messages))
            return error;
        if (PkCableReport::parse(*messages, interface, family.id).completed)
            return 0;
    }
    return ETIMEDOUT;
}

// A recording holds what the kernel sent; one without an end is a test
// that never reported it, failed at once rather than waited for.
int PkCableTest::replay(const QString &capture, const QByteArray &interface, QByteArray *messages)
{
    if (interface.isEmpty() || interface.contains('/') || interface == "." || interface == "..")
        return ENODEV;
    const QString path = capture + QStringLiteral("/netlink/") + QFile::decodeName(interface) + QLatin1Char('/')
        + QLatin1String(RecordingName);
    const QString errnoPath = path + QStringLiteral(".errno");
    for (const QString &file : {path, errnoPath}) {
        if (QFileInfo::exists(file) && !PkSysfs::within(capture, file)) {
            PkLog::line("Capture " + QFile::encodeName(file) + " refused: it leads outside the capture");
            return EPROTO;
        }
    }
    if (QFileInfo::exists(errnoPath)) {
        const int error = PkEthtoolReplay::recordedError(errnoPath, RecordingName);
        if (!(PkEthtoolReplay::privileged() && (error == EPERM || error == EACCES)))
            return error;
    }
    QByteArray why;
    switch (PkFileReader::readAll(path, MaxBytes, messages, &why)) {
    case PkFileReader::Missing:
        return EOPNOTSUPP;
    case PkFileReader::Refused:
        PkLog::line("Capture " + QFile::encodeName(path) + " refused: " + why);
        return EPROTO;
    case PkFileReader::Read:
        break;
    }
    return PkCableReport::parse(*messages, interface).completed ? 0 : ETIMEDOUT;
}
