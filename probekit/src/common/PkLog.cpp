#include "PkLog.h"

#include <QSet>

#include <cstdio>
#include <mutex>

namespace {

constexpr int MaxRemembered = 4096;

} // namespace

void PkLog::line(const QByteArray &text)
{
    static std::mutex lock;
    static QSet<QByteArray> seen;
    std::lock_guard<std::mutex> guard(lock);
    if (seen.contains(text))
        return;
    if (seen.size() < MaxRemembered)
        seen.insert(text);
    std::fprintf(stderr, "probekit: %s\n", text.constData());
    std::fflush(stderr);
}
