// Fuzz target: the notifications of a PHY's cable test, as the kernel, a
// capture or the privileged helper hands them over, read for one
// interface. Whatever the bytes, a report names at most four pairs, each
// once, and a passed report has every pair OK.
#include "PkCableReport.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray messages(reinterpret_cast<const char *>(data), int(size));
    const PkCableReport report = PkCableReport::parse(messages, "eth0");
    if (report.pairs.size() > PkCableReport::MaxPairs)
        __builtin_trap();
    for (int i = 1; i < report.pairs.size(); ++i)
        if (report.pairs.at(i).pair <= report.pairs.at(i - 1).pair)
            __builtin_trap();
    if (report.passed() && (report.pairs.isEmpty() || !report.completed))
        __builtin_trap();
    if (report.describe().count("Pair ") != report.pairs.size())
        __builtin_trap();
    return 0;
}
