#pragma once
#include <QByteArray>
#include <QString>

// The ethtool requests answered from a capture (PROBEKIT_REPLAY=<dir>):
// <dir>/ethtool/<interface>/<REQUEST> holds the reply as the kernel
// filled it (see PkEthtoolReply), <REQUEST>.errno a number the request
// fails with instead. A request without either fails as the kernel's does
// for a driver that lacks it (EOPNOTSUPP); an interface without a
// directory is gone (ENODEV).
class PkEthtoolReplay
{
public:
    // The capture's directory; empty when none is replayed.
    static QString directory();
    static int answer(const QString &directory, const QByteArray &interface, void *request);

    // The most an .errno file may hold, and the errno values it may name.
    static constexpr int MaxErrnoBytes = 16;
    static constexpr int MaxErrno = 4095;
    // A recorded identify request blinks for at most this long.
    static constexpr quint32 MaxIdentifySeconds = 60;

    // In the privileged helper running as root, a recorded lack of
    // privilege (EPERM, EACCES) is passed over: the reply beside it answers,
    // as the kernel would have answered root.
    static void setPrivileged(bool privileged);
    static bool privileged();
    // The error an .errno file names; EIO for one that names none.
    static int recordedError(const QString &path, const QByteArray &what);

private:
    static int identify(void *request);
};
