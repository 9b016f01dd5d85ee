#pragma once
#include <QString>

// The in-use flag of an adapter: an exclusive flock on a file per adapter.
// The kernel drops it when the holding process ends, however it ends.
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

    // Whether the lock could be taken now through a fresh open file. A lock
    // this process holds through another descriptor counts as taken, as the
    // hardware reports an adapter in use whoever uses it.
    static bool isFree(const QString &path);
    static QString pathFor(const QString &dir, const QString &adapterKey);

private:
    static int openLockFile(const QString &path);
    int m_fd = -1;
};
