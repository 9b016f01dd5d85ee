// ICMP echo: the request bytes, the reply decoder, and real pings over
// loopback. Pings that need a silent host, a responder of our own or an
// unprivileged user run in a forked child with a network namespace of its
// own, so the host's settings are never touched; an ordinary user gets it
// inside a user namespace, where the child holds the rights it needs.
#include "Loopback.h"
#include "net/TvPing.h"

#include <QDataStream>
#include <QTranslator>
#include <QtTest>

#include <arpa/inet.h>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <linux/capability.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const QString Loopback = QStringLiteral("127.0.0.1");
constexpr int Nobody = 65534;
constexpr quint32 DecoyAge = 50000; // ms; a decoy taken for the answer shows this

// What a child reports back: a ping result and text, or why it skipped.
struct Outcome {
    int result = INT_MIN;
    QString text;
    bool skipped = false;
};

Outcome skip(const QString &why)
{
    return {INT_MIN, why, true};
}

bool writeFile(const char *path, const char *value)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    const bool written = fd >= 0 && ::write(fd, value, strlen(value)) == ssize_t(strlen(value));
    if (fd >= 0)
        ::close(fd);
    return written;
}

// An ordinary user is nobody (65534) inside a user namespace of its own, with
// every right over the network namespace made with it.
bool enterUserNamespace()
{
    const QByteArray uid = "65534 " + QByteArray::number(::geteuid()) + " 1";
    const QByteArray gid = "65534 " + QByteArray::number(::getegid()) + " 1";
    return ::unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0 && writeFile("/proc/self/uid_map", uid.constData())
           && writeFile("/proc/self/setgroups", "deny") && writeFile("/proc/self/gid_map", gid.constData());
}

// Root becomes nobody; nobody in its user namespace gives up its rights.
bool becomeOrdinaryUser()
{
    if (::geteuid() != 0) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
        return ::syscall(SYS_capset, &header, none) == 0;
    }
    return ::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0;
}

Outcome childBody(const std::function<Outcome()> &body)
{
    if (::geteuid() != 0 && !enterUserNamespace())
        return skip(QStringLiteral("user namespaces are not available here (") + qt_error_string()
                    + QStringLiteral("), and only root may make a network namespace"));
    if (::geteuid() == 0 && ::unshare(CLONE_NEWNET) != 0)
        return skip(QStringLiteral("unshare(CLONE_NEWNET) is not permitted here: ") + qt_error_string());
    if (!bringLoopbackUp())
        return skip(QStringLiteral("cannot bring up loopback in the new namespace"));
    return body();
}

// Runs body in a forked child inside a network namespace of its own with
// loopback up, and hands back what it reported.
Outcome inPrivateNetwork(const std::function<Outcome()> &body)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return skip(QStringLiteral("no pipe"));
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const Outcome outcome = childBody(body);
        QByteArray report;
        QDataStream(&report, QIODevice::WriteOnly) << outcome.result << outcome.text << outcome.skipped;
        const bool sent = ::write(channel[1], report.constData(), size_t(report.size())) == report.size();
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray report;
    char chunk[512];
    for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        report.append(chunk, int(got));
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    Outcome outcome{INT_MIN, QStringLiteral("the child ended without a report"), false};
    QDataStream(report) >> outcome.result >> outcome.text >> outcome.skipped;
    return outcome;
}

// Answers the next echo request carrying our payload with two decoys (a
// foreign identifier, a wrong sequence number) and then the true reply.
// Writes a byte to ready once it listens.
void respondWithDecoys(int ready)
{
    const int fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    timeval limit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    (void)!::write(ready, "r", 1);
    uint8_t datagram[256];
    for (ssize_t got; (got = ::recv(fd, datagram, sizeof datagram, 0)) > 0;) {
        const size_t header = size_t(datagram[0] & 0x0f) * 4;
        const char *icmp = reinterpret_cast<const char *>(datagram + header);
        if (size_t(got) != header + TvPing::RequestSize || icmp[0] != TvPing::EchoRequest
            || std::memcmp(icmp + 12, TvPing::Payload, 24) != 0)
            continue;
        quint16 id, sequence;
        quint32 stamp;
        std::memcpy(&id, icmp + 4, 2);
        std::memcpy(&sequence, icmp + 6, 2);
        std::memcpy(&stamp, icmp + 8, 4);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const auto answer = [&](quint16 withId, quint16 withSequence, quint32 withStamp) {
            QByteArray reply = TvPing::echoRequest(withId, withSequence, withStamp);
            reply[0] = char(TvPing::EchoReply);
            reply[2] = reply[3] = 0;
            const quint16 sum = TvPing::checksum(reply.constData(), size_t(reply.size()));
            std::memcpy(reply.data() + 2, &sum, 2);
            ::sendto(fd, reply.constData(), size_t(reply.size()), 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
        };
        answer(quint16(~id), sequence, stamp - DecoyAge);
        answer(id, quint16(sequence + 1), stamp - DecoyAge);
        answer(id, sequence, stamp);
        return;
    }
}

// A valid echo reply: 36 ICMP bytes, behind an IPv4 header of headerWords.
QByteArray reply(quint16 id, quint16 sequence, quint32 stamp, int headerWords = 0, quint8 type = 0)
{
    QByteArray icmp = TvPing::echoRequest(id, sequence, stamp);
    icmp[0] = char(type);
    if (headerWords == 0)
        return icmp;
    QByteArray header(headerWords * 4, '\0');
    header[0] = char(0x40 | headerWords);
    return header + icmp;
}

} // namespace

class TestNetPing : public QObject
{
    Q_OBJECT

    QTranslator english;

private slots:
    void initTestCase()
    {
        QVERIFY(english.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
        QCoreApplication::installTranslator(&english);
    }

    void requestLayout()
    {
        const quint16 id = 0x1234;
        const quint16 sequence = 0x0a0b;
        const quint32 stamp = 0x89abcdef;
        const QByteArray request = TvPing::echoRequest(id, sequence, stamp);
        QCOMPARE(request.size(), 36);
        QCOMPARE(request.left(2), QByteArray("\x08\x00", 2));
        QCOMPARE(request.mid(4, 2), QByteArray(reinterpret_cast<const char *>(&id), 2));
        QCOMPARE(request.mid(6, 2), QByteArray(reinterpret_cast<const char *>(&sequence), 2));
        QCOMPARE(request.mid(8, 4), QByteArray(reinterpret_cast<const char *>(&stamp), 4));
        QCOMPARE(request.mid(12), QByteArray("network diagnostics pkt."));
        // A correct checksum makes the whole message sum to zero.
        QCOMPARE(TvPing::checksum(request.constData(), 36), quint16(0));
    }

    void checksum_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("stored");
        // The worked example of RFC 1071: words 0001 f203 f4f5 f6f7.
        QTest::newRow("even") << QByteArray("\x00\x01\xf2\x03\xf4\xf5\xf6\xf7", 8) << QByteArray("\x22\x0d");
        QTest::newRow("odd") << QByteArray("\x00\x01\xf2", 3) << QByteArray("\x0d\xfe");
        QTest::newRow("carry twice") << QByteArray("\xff\xff\xff\xff\x01", 5) << QByteArray("\xfe\xff");
        QTest::newRow("empty") << QByteArray() << QByteArray("\xff\xff");
    }

    void checksum()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, stored);
        const quint16 sum = TvPing::checksum(data.constData(), size_t(data.size()));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&sum), 2), stored);
    }

    void decodeReply_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("withIpHeader");
        QTest::addColumn<bool>("accepted");
        const QByteArray raw = reply(7, 0, 1234, 5);
        QTest::newRow("raw") << raw << true << true;
        QTest::newRow("raw, header with options") << reply(7, 0, 1234, 15) << true << true;
        QTest::newRow("datagram") << reply(7, 0, 1234) << false << true;
        QTest::newRow("up to the timestamp") << raw.left(32) << true << true;
        QTest::newRow("echo request") << reply(7, 0, 1234, 5, 8) << true << false;
        QTest::newRow("unreachable") << reply(7, 0, 1234, 0, 3) << false << false;
        QTest::newRow("foreign identifier") << reply(8, 0, 1234, 5) << true << false;
        QTest::newRow("other sequence") << reply(7, 1, 1234) << false << false;
        QTest::newRow("header + 8") << raw.left(28) << true << false;
        QTest::newRow("timestamp cut") << raw.left(31) << true << false;
        QTest::newRow("header longer than datagram") << reply(7, 0, 1234, 15).left(40) << true << false;
        QTest::newRow("header length below 20") << QByteArray(1, '\x41') + raw.mid(1) << true << false;
        QTest::newRow("not IPv4") << QByteArray(1, '\x65') + raw.mid(1) << true << false;
        QTest::newRow("one byte") << raw.left(1) << true << false;
        QTest::newRow("empty raw") << QByteArray() << true << false;
        QTest::newRow("short datagram") << reply(7, 0, 1234).left(11) << false << false;
    }

    void decodeReply()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(bool, withIpHeader);
        QFETCH(bool, accepted);
        // An exact-size heap copy lets the address sanitizer see any read past it.
        const std::vector<uint8_t> bytes(datagram.begin(), datagram.end());
        quint32 stamp = 0;
        QCOMPARE(TvPing::decodeReply(bytes.data(), bytes.size(), withIpHeader, 7, 0, &stamp), accepted);
        QCOMPARE(stamp, accepted ? quint32(1234) : quint32(0));
    }

    void ping_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("expected"); // INT_MIN: an echo time
        QTest::newRow("itself") << Loopback << Loopback << INT_MIN;
        QTest::newRow("another loopback address") << Loopback << "127.0.0.2" << INT_MIN;
        QTest::newRow("port ignored") << Loopback << "127.0.0.2:80" << INT_MIN;
        QTest::newRow("no destination") << Loopback << "" << -1;
        QTest::newRow("no source") << "" << Loopback << -1;
        QTest::newRow("octet above 255") << Loopback << "999.1.1.1" << -5;
        QTest::newRow("unknown name") << Loopback << "no-such-host.invalid" << -5;
        QTest::newRow("300 characters") << Loopback << QString(300, QLatin1Char('a')) << -5;
        QTest::newRow("only a port") << Loopback << ":80" << -5;
        QTest::newRow("source not on this machine") << "192.0.2.1" << Loopback << -6;
        QTest::newRow("source not an address") << "loopback" << Loopback << -6;
        // Broadcast is refused by the system, which says why.
        QTest::newRow("broadcast") << Loopback << "255.255.255.255" << -7;
    }

    void ping()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(int, expected);
        QString explanation;
        int result = TvPing::ping(source, destination, 1000, &explanation);
        if (result == TvPing::SocketFailed) {
            // This user may not ping here; in a namespace of its own it may.
            const Outcome outcome = inPrivateNetwork([&] {
                QString why;
                return Outcome{TvPing::ping(source, destination, 1000, &why), why, false};
            });
            if (outcome.skipped)
                QSKIP(qPrintable(QStringLiteral("this user may not ping: ") + explanation + ", " + outcome.text));
            result = outcome.result;
            explanation = outcome.text;
        }
        if (expected == INT_MIN)
            QVERIFY2(result >= 0, qPrintable(QString::number(result)));
        else
            QCOMPARE(result, expected);
        // A request that could not be sent carries the system's reason.
        QCOMPARE(!explanation.isEmpty(), result == TvPing::SendFailed);
    }

    void silentHostTimesOut()
    {
        const Outcome outcome = inPrivateNetwork([] {
            if (!writeFile("/proc/sys/net/ipv4/icmp_echo_ignore_all", "1"))
                return skip(QStringLiteral("cannot silence the namespace's echo replies"));
            return Outcome{TvPing::ping(Loopback, Loopback, 300), QString(), false};
        });
        if (outcome.skipped)
            QSKIP(qPrintable(outcome.text));
        QCOMPARE(outcome.result, int(TvPing::ReceiveFailed));
    }

    void foreignDatagramsArePassedOver()
    {
        const Outcome outcome = inPrivateNetwork([] {
            int ready[2];
            if (!writeFile("/proc/sys/net/ipv4/icmp_echo_ignore_all", "1") || ::pipe(ready) != 0)
                return skip(QStringLiteral("cannot silence the namespace's echo replies"));
            const pid_t responder = ::fork();
            if (responder == 0) {
                respondWithDecoys(ready[1]);
                ::_exit(0);
            }
            char byte;
            (void)!::read(ready[0], &byte, 1);
            const int result = TvPing::ping(Loopback, Loopback, 5000);
            ::waitpid(responder, nullptr, 0);
            return Outcome{result, QString(), false};
        });
        if (outcome.skipped)
            QSKIP(qPrintable(outcome.text));
        QVERIFY2(outcome.result >= 0 && outcome.result < int(DecoyAge), qPrintable(QString::number(outcome.result)));
    }

    void unprivileged_data()
    {
        QTest::addColumn<QByteArray>("groupRange");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<bool>("stdinClosed");
        QTest::newRow("group allowed") << QByteArray("65534 65534") << true << false;
        // Started without standard input, the socket gets descriptor 0.
        QTest::newRow("group allowed, no standard input") << QByteArray("65534 65534") << true << true;
        // A new namespace allows no group until told otherwise.
        QTest::newRow("no group allowed") << QByteArray() << false << false;
    }

    void unprivileged()
    {
        QFETCH(QByteArray, groupRange);
        QFETCH(bool, allowed);
        QFETCH(bool, stdinClosed);
        const Outcome outcome = inPrivateNetwork([&] {
            if (!groupRange.isEmpty() && !writeFile("/proc/sys/net/ipv4/ping_group_range", groupRange.constData()))
                return skip(QStringLiteral("cannot set the namespace's ping_group_range"));
            if (!becomeOrdinaryUser())
                return skip(QStringLiteral("cannot become an ordinary user"));
            if (stdinClosed)
                ::close(STDIN_FILENO);
            QString explanation;
            const int result = TvPing::ping(Loopback, Loopback, 1000, &explanation);
            return Outcome{result, explanation, false};
        });
        if (outcome.skipped)
            QSKIP(qPrintable(outcome.text));
        if (allowed) {
            QVERIFY2(outcome.result >= 0, qPrintable(QString::number(outcome.result)));
            return;
        }
        QCOMPARE(outcome.result, int(TvPing::SocketFailed));
        QVERIFY2(outcome.text.contains(QLatin1String("group 65534"))
                     && outcome.text.contains(QLatin1String("sysctl -w net.ipv4.ping_group_range=")),
                 qPrintable(outcome.text));
    }
};

QTEST_GUILESS_MAIN(TestNetPing)
#include "test_net_ping.moc"
