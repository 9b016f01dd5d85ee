#include "PkRefusal.h"

#include <mutex>

namespace {

std::mutex lock;
QByteArray last;

} // namespace

void PkRefusal::note(const QByteArray &reason)
{
    std::lock_guard<std::mutex> guard(lock);
    last = reason.left(MaxBytes);
}

QByteArray PkRefusal::take()
{
    std::lock_guard<std::mutex> guard(lock);
    QByteArray reason;
    reason.swap(last);
    return reason;
}
