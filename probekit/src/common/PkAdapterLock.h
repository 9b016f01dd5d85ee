#pragma once
#include <QString>

// The in-use flag of an adapter: an exclusive lock on a file per adapter.
// It is an open-file-description lock (fcntl F_OFD_SETLK): the kernel drops
// it when the holding process ends, however it ends, and it can be tested
// with F_OFD_GETLK without being taken, so that looking at the flag never
// keeps another process from selecting the adapter.
class PkAdapterLock
{
public:
    PkAdapterLock() = default;
    ~PkAdapterLock();
    PkAdapterLock(const PkAdapterLock &) = delete;
    PkAdapterLock &operator=(const PkAdapterLock &) = delete;

    // Takes the lock without waiting; false when anyone else holds it.
    bool acquire(const QString &path);
    void release();
    bool held() const { return m_fd >= 0; }

    // Whether nobody holds the lock. A lock this process holds through its
    // own descriptor counts as held, as the hardware reports an adapter in
    // use whoever uses it.
    static bool isFree(const QString &path);
    static QString pathFor(const QString &dir, const QString &adapterKey);

private:
    static int openLockFile(const QString &path);
    int m_fd = -1;
};
