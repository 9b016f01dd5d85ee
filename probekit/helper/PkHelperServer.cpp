#include "PkHelperServer.h"
#include "PkCableTest.h"
#include "PkEthtool.h"
#include "PkEthtoolReply.h"
#include "PkHelperClient.h"
#include "PkPciScanner.h"
#include "PkSysfs.h"
#include "PkVpd.h"
#include "PkVpdImage.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <linux/ethtool.h>
#include <net/if.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr int MaxVpdBytes = 32768;
constexpr quint32 MaxEeprom = 16 * 1024 * 1024;

// A word of a request: printable, no blank, not empty.
bool plainWord(const QByteArray &word, int maxLength)
{
    if (word.isEmpty() || word.size() > maxLength || word == "." || word == "..")
        return false;
    for (const char c : word)
        if (quint8(c) <= 0x20 || quint8(c) >= 0x7F || c == '/')
            return false;
    return true;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

template <typename T>
T headerOf(const QByteArray &request)
{
    T header;
    std::memcpy(&header, request.constData(), sizeof header);
    return header;
}

} // namespace

int PkHelperServer::run()
{
    if (!writeAll(m_output, QByteArray(PkHelperClient::Greeting) + '\n'))
        return 1;
    for (;;) {
        QByteArray line;
        const int got = readLine(&line);
        if (got == 0)
            return 0;
        if (got < 0) {
            refuse(EINVAL, "request line too long");
            return 2;
        }
        if (!handle(line))
            return 2;
    }
}

bool PkHelperServer::fill(int timeoutMs)
{
    if (m_ended)
        return false;
    pollfd wanted {m_input, POLLIN, 0};
    const int ready = ::poll(&wanted, 1, timeoutMs);
    if (ready <= 0)
        return false;
    char chunk[4096];
    const ssize_t got = ::read(m_input, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR)
        return true;
    if (got <= 0) {
        m_ended = true;
        return false;
    }
    m_buffer.append(chunk, int(got));
    return true;
}

int PkHelperServer::readLine(QByteArray *line)
{
    for (;;) {
        const int end = m_buffer.indexOf('\n');
        if (end >= 0 && end <= PkHelperClient::MaxLine) {
            *line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            return 1;
        }
        if (end > PkHelperClient::MaxLine || m_buffer.size() > PkHelperClient::MaxLine)
            return -1;
        if (!fill(-1) && m_ended)
            return 0;
    }
}

bool PkHelperServer::readPayload(int size, QByteArray *out)
{
    while (m_buffer.size() < size)
        if (!fill(-1) && m_ended)
            return false;
    *out = m_buffer.left(size);
    m_buffer.remove(0, size);
    return true;
}

void PkHelperServer::reply(const QByteArray &payload)
{
    writeAll(m_output, "ok " + QByteArray::number(payload.size()) + '\n' + payload);
}

void PkHelperServer::refuse(int error, const QByteArray &why)
{
    QByteArray text = why.left(300);
    for (char &c : text)
        if (quint8(c) < 0x20 || quint8(c) >= 0x7F)
            c = '?';
    writeAll(m_output, "error " + QByteArray::number(error) + ' ' + text + '\n');
}

// False when the request broke the framing, so that nothing after it can
// be trusted to start a line.
bool PkHelperServer::handle(const QByteArray &line)
{
    const QList<QByteArray> words = line.split(' ');
    const QByteArray &verb = words.first();
    if (verb == "stop" && words.size() == 1)
        return true; // a locate request that had already ended
    if (verb == "ethtool" && words.size() == 3) {
        bool ok = false;
        const int size = words.at(2).toInt(&ok);
        if (!ok || size < 4 || size > MaxPayload) {
            refuse(EINVAL, "ethtool request of " + words.at(2).left(20) + " bytes");
            return false;
        }
        QByteArray request;
        if (!readPayload(size, &request))
            return false;
        ethtool(words.at(1), request);
        return true;
    }
    if (verb == "cable-test" && words.size() == 2)
        cableTest(words.at(1));
    else if (verb == "vpd-read" && words.size() == 2)
        vpdRead(words.at(1));
    else if (verb == "vpd-write" && words.size() == 5)
        vpdWrite(words);
    else
        refuse(EINVAL, "request not understood: " + line.left(60));
    return true;
}

bool PkHelperServer::networkFunction(const QByteArray &name, bool byAddress, PkPciFunction *out)
{
    if (!plainWord(name, byAddress ? 32 : IFNAMSIZ - 1)) {
        refuse(ENODEV, "\"" + name.left(40) + "\" is not a network adapter of this machine");
        return false;
    }
    QList<QByteArray> skipped;
    for (const PkLinuxAdapter &adapter : PkPciScanner(PkSysfs::root()).scan(&skipped)) {
        for (const PkPciFunction &function : adapter.ports) {
            if ((byAddress ? function.address : function.interface) == QString::fromLatin1(name)) {
                *out = function;
                return true;
            }
        }
    }
    refuse(ENODEV, name + " is not a network adapter of this machine");
    return false;
}

bool PkHelperServer::allowedEthtool(const QByteArray &request, QByteArray *why)
{
    const quint32 command = headerOf<quint32>(request);
    if (!PkEthtool::privileged(request.constData())) {
        *why = "ethtool command " + QByteArray::number(command) + " is not one the helper makes";
        return false;
    }
    if (PkEthtoolReply::capacity(request.constData()) != size_t(request.size())) {
        *why = "ethtool request whose length does not match its header";
        return false;
    }
    switch (command) {
    case ETHTOOL_TEST: {
        const auto test = headerOf<ethtool_test>(request);
        if (test.flags & ~quint32(ETH_TEST_FL_OFFLINE)) {
            *why = "self-test flags other than offline";
            return false;
        }
        return true;
    }
    case ETHTOOL_PHYS_ID:
        if (headerOf<ethtool_value>(request).data > MaxIdentifySeconds) {
            *why = "locate for more than " + QByteArray::number(MaxIdentifySeconds) + " s";
            return false;
        }
        return true;
    case ETHTOOL_GEEPROM:
    case ETHTOOL_GMODULEEEPROM: {
        const auto eeprom = headerOf<ethtool_eeprom>(request);
        if (quint64(eeprom.offset) + eeprom.len > MaxEeprom) {
            *why = "EEPROM read beyond " + QByteArray::number(MaxEeprom) + " bytes";
            return false;
        }
        return true;
    }
    default:
        return true;
    }
}

void PkHelperServer::ethtool(const QByteArray &interface, const QByteArray &request)
{
    QByteArray why;
    PkPciFunction function;
    if (!allowedEthtool(request, &why)) {
        refuse(EINVAL, why);
        return;
    }
    if (!networkFunction(interface, false, &function))
        return;
    if (headerOf<quint32>(request) == ETHTOOL_PHYS_ID) {
        identify(interface, request);
        return;
    }
    QByteArray answer = request;
    if (const int error = PkEthtool(interface).direct(answer.data()))
        refuse(error, PkEthtool::reason(error, function.driver.toLocal8Bit()));
    else
        reply(answer);
}

// The LED blinks on a thread of its own, so that a "stop" line (the window
// switched it off) can end the request early, as a signal does there.
void PkHelperServer::identify(const QByteArray &interface, QByteArray request)
{
    std::atomic<bool> done {false};
    int error = 0;
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC) != 0) {
        refuse(errno, "cannot wait for the locate request");
        return;
    }
    std::thread blinker([&] {
        error = PkEthtool(interface).direct(request.data());
        done = true;
        const char byte = 1;
        (void)!::write(wake[1], &byte, 1);
    });
    bool stopping = false;
    while (!done) {
        pollfd wanted[2] = {{wake[0], POLLIN, 0}, {m_input, POLLIN, 0}};
        const int ready = ::poll(wanted, stopping || m_ended ? 1 : 2, stopping ? 20 : -1);
        if (ready > 0 && (wanted[1].revents & (POLLIN | POLLHUP)) && !stopping) {
            fill(0);
            const int end = m_buffer.indexOf('\n');
            if (m_ended || (end >= 0 && m_buffer.left(end) == "stop")) {
                if (end >= 0)
                    m_buffer.remove(0, end + 1);
                stopping = true;
            }
        }
        if (stopping && !done)
            pthread_kill(blinker.native_handle(), SIGUSR2);
    }
    blinker.join();
    ::close(wake[0]);
    ::close(wake[1]);
    if (error)
        refuse(error, PkEthtool::reason(error, QByteArray()));
    else
        reply(request);
}

void PkHelperServer::cableTest(const QByteArray &interface)
{
    PkPciFunction function;
    if (!networkFunction(interface, false, &function))
        return;
    QByteArray messages;
    if (const int error = PkCableTest::run(interface, nullptr, &messages))
        refuse(error, PkEthtool::reason(error, function.driver.toLocal8Bit()));
    else
        reply(messages);
}

void PkHelperServer::vpdRead(const QByteArray &address)
{
    PkPciFunction function;
    if (!networkFunction(address, true, &function))
        return;
    if (function.vpdPath.isEmpty()) {
        refuse(ENOENT, address + " has no VPD");
        return;
    }
    QString error;
    const std::optional<QByteArray> image = PkSysfs::bytes(function.vpdPath, MaxVpdBytes, &error);
    if (!image)
        refuse(EIO, "VPD unreadable: " + error.toLocal8Bit());
    else
        reply(*image);
}

// vpd-write <address> <keyword> x<hex>|- <allowed>: the window has asked
// the operator and checked its advanced mode; the helper checks the rest
// again, on the card's VPD as it stands now.
void PkHelperServer::vpdWrite(const QList<QByteArray> &words)
{
    const QByteArray &address = words.at(1), &keyword = words.at(2), &value = words.at(3), &allowed = words.at(4);
    PkPciFunction function;
    if (!networkFunction(address, true, &function))
        return;
    if (allowed.toLower() != address.toLower()) {
        refuse(EPERM, "PROBEKIT_ALLOW_WRITE does not name " + address);
        return;
    }
    if (!PkVpd::isWritable(QString::fromLatin1(keyword))) {
        refuse(EINVAL, keyword.left(8) + " is not a writable keyword");
        return;
    }
    const QByteArray bytes = QByteArray::fromHex(value.mid(1));
    if (value != "-" && (!value.startsWith('x') || bytes.toHex() != value.mid(1).toLower()
                         || bytes.size() > PkVpd::MaxValue)) {
        refuse(EINVAL, "the value is not up to " + QByteArray::number(PkVpd::MaxValue) + " bytes in hexadecimal");
        return;
    }
    QString error;
    const std::optional<QByteArray> image =
        function.vpdPath.isEmpty() ? std::nullopt : PkSysfs::bytes(function.vpdPath, MaxVpdBytes, &error);
    if (!image) {
        refuse(EIO, "VPD unreadable: " + (function.vpdPath.isEmpty() ? QByteArray("no VPD") : error.toLocal8Bit()));
        return;
    }
    const std::vector<uint8_t> before(image->constBegin(), image->constEnd());
    const PkVpdImage parsed = PkVpdImage::parse(before.data(), before.size());
    const std::string text = bytes.toStdString();
    std::vector<uint8_t> after;
    std::string why;
    if (!parsed.rewriteWritable(before, keyword.toStdString(), value == "-" ? nullptr : &text, &after, &why)) {
        refuse(EINVAL, "VPD not written: " + QByteArray::fromStdString(why));
        return;
    }
    QByteArray back;
    if (!writeChanged(function.vpdPath, before, after, &back, &why))
        refuse(EIO, QByteArray::fromStdString(why));
    else
        reply(back);
}

// Only the bytes that change are written, in place; then the file is
// read back and compared.
bool PkHelperServer::writeChanged(const QString &path, const std::vector<uint8_t> &before,
                                  const std::vector<uint8_t> &after, QByteArray *back, std::string *why)
{
    size_t first = 0, last = after.size();
    while (first < after.size() && after[first] == before[first])
        ++first;
    while (last > first && after[last - 1] == before[last - 1])
        --last;
    const int fd = first == last ? -2 : ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    const ssize_t written = fd == -2 ? 0 : fd < 0 ? -1 : ::pwrite(fd, after.data() + first, last - first, off_t(first));
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (written != ssize_t(last - first)) {
        *why = "VPD write failed: " + std::string(std::strerror(error));
        return false;
    }
    const std::optional<QByteArray> read = PkSysfs::bytes(path, MaxVpdBytes);
    if (!read || read->size() < int(after.size()) || std::memcmp(read->constData(), after.data(), after.size()) != 0) {
        *why = "VPD written, but reading it back gives other bytes";
        return false;
    }
    *back = *read;
    return true;
}
