#include "PkBackend.h"
#include "PkCore.h"
#include "PkLinuxCore.h"
#include "PkLog.h"

#include <QByteArray>

namespace {

PkBackend &choose()
{
    const QByteArray name = qgetenv("PROBEKIT_BACKEND").trimmed().toLower();
    if (name == "linux")
        return PkLinuxCore::instance();
    // An unknown name must not pass for real hardware: the simulated
    // machine says what it is, and the line says why it was taken.
    if (!name.isEmpty() && name != "sim")
        PkLog::line("PROBEKIT_BACKEND=" + name + " is not a backend (sim or linux); using sim");
    return PkCore::instance();
}

} // namespace

PkBackend &PkBackend::current()
{
    static PkBackend &backend = choose();
    return backend;
}
