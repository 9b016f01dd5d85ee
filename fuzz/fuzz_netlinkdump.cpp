// Fuzz target: a capture's recorded RTM_GETADDR dump, read for the first
// IPv4 address as the Linux backend's replay does. Every length in it is
// the recording's own; an address found must be dotted text.
#include "PkNetAddress.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(PkNetAddress::MaxDumpBytes))
        return 0;
    const QByteArray dump(reinterpret_cast<const char *>(data), int(size));
    QByteArray address, mask;
    bool isStatic = false;
    if (PkNetAddress::fromDump(dump, &address, &mask, &isStatic)
        && (address.count('.') != 3 || mask.count('.') != 3))
        __builtin_trap();
    return 0;
}
