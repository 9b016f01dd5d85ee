#pragma once
#include <QByteArray>

#include <cstddef>
#include <cstdint>

// One recorded ethtool reply put into a caller's request, as the kernel
// would have filled it. The recording is untrusted: its own lengths must
// add up to its size, its command must be the request's, and nothing is
// written past what the caller's request says its buffer holds.
class PkEthtoolReply
{
public:
    // Bytes the caller's buffer holds, read from the request's header;
    // 0 for a command this reader does not know.
    static size_t capacity(const void *request);
    // The most bytes a recording of the request's command may hold.
    static size_t maxRecording(uint32_t command);
    // 0, or the errno value the caller gets: EPROTO for a recording that
    // does not hold what its header says (`why` then says what).
    static int fill(const QByteArray &recording, void *request, QByteArray *why);
    // "GDRVINFO", "GSTRINGS-TEST"...: the recording's file name; empty for
    // a request no recording answers.
    static QByteArray fileName(const void *request);
};
