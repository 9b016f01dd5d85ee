#include "PkHelperClient.h"
#include "PkLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <linux/ethtool.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

#ifndef NICDIAG_HELPER_PATH
#define NICDIAG_HELPER_PATH "/usr/local/libexec/nicdiag-helper"
#endif

namespace {

std::atomic<bool> forbidden {false};

// A helper whose start was refused is not started again for this long, so
// that the sensor polling does not ask for a password every two seconds.
constexpr qint64 RetryAfterMs = 60000;
constexpr int MaxErrno = 4095;
const char *const Action = "com.orlin.nicdiag.helper";

qint64 nowMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The reason of the last request either session could not do.
std::mutex lastLock;
QByteArray lastRefusal;

QString onPath(const QString &program)
{
    for (const QString &dir : QString::fromLocal8Bit(qgetenv("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString path = dir + QLatin1Char('/') + program;
        if (::access(QFile::encodeName(path).constData(), X_OK) == 0)
            return path;
    }
    return QString();
}

// What the helper said, fit for a line: printable and short.
QByteArray printable(const QByteArray &text)
{
    QByteArray out;
    for (const char c : text.left(120))
        out += quint8(c) >= 0x20 && quint8(c) < 0x7F ? c : '?';
    return out;
}

} // namespace

PkHelperClient &PkHelperClient::instance()
{
    static PkHelperClient client;
    return client;
}

PkHelperClient &PkHelperClient::blinker()
{
    static PkHelperClient client;
    return client;
}

PkHelperClient::~PkHelperClient()
{
    close();
}

bool PkHelperClient::wanted()
{
    return !forbidden && qgetenv("PROBEKIT_HELPER").trimmed() != "off";
}

void PkHelperClient::forbid()
{
    forbidden = true;
}

QByteArray PkHelperClient::refusal()
{
    std::lock_guard<std::mutex> guard(lastLock);
    return lastRefusal;
}

void PkHelperClient::setRefusal(const QByteArray &why)
{
    m_refusal = why;
    std::lock_guard<std::mutex> guard(lastLock);
    lastRefusal = why;
}

void PkHelperClient::close()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    drop(QByteArray());
    setRefusal(QByteArray());
    m_refusedAt = 0;
}

QStringList PkHelperClient::launcher(QByteArray *why) const
{
    const QString replaced = QString::fromLocal8Bit(qgetenv("PROBEKIT_HELPER")).trimmed();
    if (!replaced.isEmpty())
        return replaced.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString helper = QStringLiteral(NICDIAG_HELPER_PATH);
    if (!QFileInfo(helper).isExecutable()) {
        *why = "the privileged helper " + QFile::encodeName(helper)
            + " is not installed: install the program (cmake --install), or run as root";
        return {};
    }
    const QString pkexec = onPath(QStringLiteral("pkexec"));
    if (pkexec.isEmpty()) {
        *why = QByteArrayLiteral("pkexec is not installed: install pkexec and polkitd to use the privileged helper, "
                                 "or run as root");
        return {};
    }
    return {pkexec, helper};
}

bool PkHelperClient::ensureStarted()
{
    if (m_socket >= 0)
        return true;
    if (m_refusedAt && nowMs() - m_refusedAt < RetryAfterMs && !m_refusal.isEmpty())
        return false;
    QByteArray why;
    const QStringList command = launcher(&why);
    if (command.isEmpty() || !launch(command) || !greeted()) {
        if (command.isEmpty())
            drop(why);
        m_refusedAt = nowMs();
        return false;
    }
    return true;
}

bool PkHelperClient::launch(const QStringList &command)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        drop("the privileged helper cannot be started: " + QByteArray(std::strerror(errno)));
        return false;
    }
    QList<QByteArray> words;
    for (const QString &word : command)
        words << QFile::encodeName(word);
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (error) {
        ::close(ends[0]);
        drop("the privileged helper cannot be started (" + words.first() + "): " + QByteArray(std::strerror(error)));
        return false;
    }
    m_pid = pid;
    m_socket = ends[0];
    m_viaPkexec = QFileInfo(command.first()).fileName() == QLatin1String("pkexec");
    m_buffered.clear();
    return true;
}

bool PkHelperClient::greeted()
{
    QByteArray line;
    if (readLine(&line, nowMs() + GreetingMs, false) < 0) {
        drop(endedWhy());
        return false;
    }
    if (line != Greeting) {
        drop("the privileged helper's greeting is not understood (\"" + printable(line) + "\")");
        return false;
    }
    return true;
}

// After the stream ended: how the helper (or pkexec) ended, and what to do.
QByteArray PkHelperClient::endedWhy()
{
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 40 && m_pid > 0 && (done = ::waitpid(m_pid, &status, WNOHANG)) == 0; ++i)
        ::usleep(50000);
    if (done != m_pid)
        return QByteArrayLiteral("the privileged helper stopped answering");
    m_pid = -1;
    if (WIFSIGNALED(status))
        return "the privileged helper ended by signal " + QByteArray::number(WTERMSIG(status)) + " without answering";
    const int code = WEXITSTATUS(status);
    if (m_viaPkexec && code == 126)
        return "authentication for the privileged helper was dismissed: authenticate for the action "
            + QByteArray(Action) + " when asked, or run as root";
    if (m_viaPkexec && code == 127)
        return "the privileged helper was not authorised (no polkit authentication agent, or polkit refused the "
               "action " + QByteArray(Action) + "): install polkitd, allow the action for this user, or run as root";
    return "the privileged helper ended with status " + QByteArray::number(code) + " without answering";
}

void PkHelperClient::drop(const QByteArray &why)
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_buffered.clear();
    // The helper ends when its input does; one that is slow to is
    // collected by a later start.
    if (m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == m_pid)
        m_pid = -1;
    if (m_pid > 0)
        ::kill(m_pid, SIGTERM);
    for (int i = 0; i < 20 && m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0; ++i)
        ::usleep(50000);
    m_pid = -1;
    if (!why.isEmpty()) {
        setRefusal(why);
        PkLog::line("Privileged helper: " + why);
    }
}

bool PkHelperClient::sendAll(const QByteArray &bytes)
{
    qint64 sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(m_socket, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// A signal while a stoppable request waits (the locate LED switched off)
// asks the helper to end the request early; it then answers as usual.
bool PkHelperClient::waitReadable(qint64 deadline, bool stoppable)
{
    for (;;) {
        const qint64 left = deadline - nowMs();
        if (left <= 0)
            return false;
        pollfd wanted {m_socket, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, int(qMin<qint64>(left, 1000)));
        if (ready > 0)
            return true;
        if (ready < 0 && errno == EINTR && stoppable && !m_stopSent) {
            m_stopSent = true;
            sendAll("stop\n");
        } else if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

int PkHelperClient::readLine(QByteArray *line, qint64 deadline, bool stoppable)
{
    for (;;) {
        const int end = m_buffered.indexOf('\n');
        if (end >= 0) {
            *line = m_buffered.left(end);
            m_buffered.remove(0, end + 1);
            return line->size();
        }
        if (m_buffered.size() > MaxLine || !waitReadable(deadline, stoppable))
            return -1;
        char chunk[MaxLine];
        const ssize_t got = ::recv(m_socket, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return -1;
        m_buffered.append(chunk, int(got));
    }
}

bool PkHelperClient::readExactly(char *out, size_t size, qint64 deadline)
{
    size_t have = qMin(size, size_t(m_buffered.size()));
    std::memcpy(out, m_buffered.constData(), have);
    m_buffered.remove(0, int(have));
    while (have < size) {
        if (!waitReadable(deadline, false))
            return false;
        const ssize_t got = ::recv(m_socket, out + have, size - have, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        have += size_t(got);
    }
    return true;
}

// One request and its answer: "ok <length>" and that many bytes, or
// "error <errno> <text>". Anything else ends the helper.
int PkHelperClient::ask(const QByteArray &line, const QByteArray &payload, int timeoutMs, bool stoppable,
                        size_t maxReply, QByteArray *reply, int denied)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!ensureStarted())
        return denied;
    setRefusal(QByteArray());
    m_stopSent = false;
    if (!sendAll(line + '\n' + payload)) {
        drop(endedWhy());
        return denied;
    }
    const qint64 deadline = nowMs() + timeoutMs;
    QByteArray answer;
    if (readLine(&answer, deadline, stoppable) < 0) {
        drop(nowMs() >= deadline ? "the privileged helper did not answer within " + QByteArray::number(timeoutMs / 1000)
                                       + " s"
                                 : endedWhy());
        return denied;
    }
    const QList<QByteArray> words = answer.split(' ');
    bool ok = false;
    const qulonglong number = words.value(1).toULongLong(&ok);
    if (words.first() == "ok" && words.size() == 2 && ok && number <= maxReply) {
        reply->resize(int(number));
        if (!readExactly(reply->data(), size_t(number), deadline)) {
            reply->clear();
            drop("the privileged helper's answer ended early");
            return denied;
        }
        return 0;
    }
    if (words.first() == "error" && ok && number >= 1 && number <= MaxErrno) {
        setRefusal("the privileged helper: " + printable(answer.mid(answer.indexOf(' ', 6) + 1)));
        PkLog::line(m_refusal);
        return int(number);
    }
    drop("the privileged helper's answer is not understood (\"" + printable(answer) + "\")");
    return denied;
}

int PkHelperClient::ethtool(const QByteArray &interface, void *request, size_t size, int denied)
{
    uint32_t command = 0;
    std::memcpy(&command, request, sizeof command);
    int timeout = command == ETHTOOL_TEST ? SelfTestMs : ReplyMs;
    if (command == ETHTOOL_PHYS_ID && size >= sizeof(ethtool_value))
        timeout += int(qMin<quint32>(static_cast<const ethtool_value *>(request)->data, 600)) * 1000;
    QByteArray reply;
    const int error = ask("ethtool " + interface + ' ' + QByteArray::number(qulonglong(size)),
                          QByteArray(static_cast<const char *>(request), int(size)), timeout,
                          command == ETHTOOL_PHYS_ID, size, &reply, denied);
    if (error)
        return error;
    uint32_t answered = 0;
    if (size_t(reply.size()) != size || (std::memcpy(&answered, reply.constData(), 4), answered != command)) {
        std::lock_guard<std::mutex> guard(m_mutex);
        drop("the privileged helper answered another request than was asked");
        return denied;
    }
    std::memcpy(request, reply.constData(), size);
    return 0;
}

int PkHelperClient::cableTest(const QByteArray &interface, QByteArray *messages, int denied)
{
    return ask("cable-test " + interface, QByteArray(), 45000, false, 64 * 1024, messages, denied);
}

int PkHelperClient::vpdRead(const QString &address, QByteArray *image, int denied)
{
    return ask("vpd-read " + address.toLatin1(), QByteArray(), ReplyMs, false, 32768, image, denied);
}

int PkHelperClient::vpdWrite(const QString &address, const QByteArray &keyword, const QByteArray *value,
                             const QByteArray &allowed, int denied)
{
    QByteArray image;
    return ask("vpd-write " + address.toLatin1() + ' ' + keyword + ' ' + (value ? "x" + value->toHex() : "-") + ' '
                   + (allowed.isEmpty() ? QByteArray("-") : allowed),
               QByteArray(), ReplyMs, false, 32768, &image, denied);
}
