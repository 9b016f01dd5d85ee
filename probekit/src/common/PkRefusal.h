#pragma once
#include <QByteArray>

// Why the core last refused something the program asked, and what would
// let it through, for the calls whose only answer is a status code (or
// none at all, as for the locate LED). The console command "why" hands it
// to the program through the callback table, once: a reason taken is gone,
// so an old one never explains a later refusal.
class PkRefusal
{
public:
    static void note(const QByteArray &reason);
    static QByteArray take();

    static constexpr int MaxBytes = 1024;
};
