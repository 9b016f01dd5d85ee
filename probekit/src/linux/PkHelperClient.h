#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <mutex>
#include <sys/types.h>

// The window's side of the privileged helper (nicdiag-helper): a request
// the kernel refused for lack of privilege is asked of the helper, which
// the library starts through pkexec the first time one is needed and keeps
// until the process ends. The conversation is the helper's protocol (see
// probekit/README.md, "The privileged helper"); every wait for it is
// bounded, and a helper that cannot be started, dies or answers what the
// protocol does not allow leaves the refusal standing, with refusal()
// saying why and how to allow it.
//
// PROBEKIT_HELPER replaces the launcher: "off" asks no helper, any other
// text is the command that starts it (its words split at blanks), run as
// it is, without pkexec.
class PkHelperClient
{
public:
    static PkHelperClient &instance();
    // A session of its own for the locate LED: it blinks in requests of
    // several seconds, which must not hold up the others (the sensor
    // polling reads module EEPROMs meanwhile).
    static PkHelperClient &blinker();
    ~PkHelperClient();

    // Whether refused requests go to the helper: not inside the helper
    // itself, and not when PROBEKIT_HELPER is "off".
    static bool wanted();
    // The helper calls it for itself, so that it never starts another.
    static void forbid();

    // Each returns 0 or an errno value; `denied` is what the caller got
    // from the kernel, returned when the helper cannot answer.
    // An ethtool request as the kernel takes it, `size` bytes.
    int ethtool(const QByteArray &interface, void *request, size_t size, int denied);
    int cableTest(const QByteArray &interface, QByteArray *messages, int denied);
    int vpdRead(const QString &address, QByteArray *image, int denied);
    // A guarded VPD keyword write (null value: delete). `allowed` is the
    // adapter PROBEKIT_ALLOW_WRITE names; the helper checks it again.
    int vpdWrite(const QString &address, const QByteArray &keyword, const QByteArray *value,
                 const QByteArray &allowed, int denied);

    // Why a helper could not answer the last request; empty after an
    // answer. Never waits for a request under way.
    static QByteArray refusal();
    // Ends the helper, if one runs.
    void close();

    // The greeting the helper starts with, and the longest request or
    // answer line.
    static constexpr const char *Greeting = "nicdiag-helper 1";
    static constexpr int MaxLine = 1024;
    // A person may have to authenticate before the helper greets.
    static constexpr int GreetingMs = 120000;
    static constexpr int ReplyMs = 15000;
    // The offline self-test takes a while on some adapters.
    static constexpr int SelfTestMs = 180000;

private:
    PkHelperClient() = default;

    int ask(const QByteArray &line, const QByteArray &payload, int timeoutMs, bool stoppable, size_t maxReply,
            QByteArray *reply, int denied);
    bool ensureStarted();
    bool launch(const QStringList &command);
    bool greeted();
    bool sendAll(const QByteArray &bytes);
    // -1 after the deadline, the end of the stream or an error.
    int readLine(QByteArray *line, qint64 deadline, bool stoppable);
    bool readExactly(char *out, size_t size, qint64 deadline);
    bool waitReadable(qint64 deadline, bool stoppable);
    QByteArray endedWhy();
    void drop(const QByteArray &why);
    QStringList launcher(QByteArray *why) const;
    void setRefusal(const QByteArray &why);

    mutable std::mutex m_mutex;
    pid_t m_pid = -1;
    int m_socket = -1;
    bool m_viaPkexec = false;
    QByteArray m_buffered;
    QByteArray m_refusal;
    qint64 m_refusedAt = 0;
    bool m_stopSent = false;
};
