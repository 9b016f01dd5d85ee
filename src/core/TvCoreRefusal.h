#pragma once
#include <QString>

// The core's own reason for its last refusal ("needs root or
// CAP_NET_ADMIN", "not supported by the virtio_net driver"), asked of it
// with the command "why". A reason is handed out once; clear() before a
// call drops one left from earlier, so that it cannot explain this call.
class TvCoreRefusal
{
public:
    // The reason, or an empty text when the core refused nothing since it
    // was last asked.
    static QString take();
    static void clear() { take(); }
    // `text`, and on a line of its own the core's reason where it gave one.
    static QString explained(const QString &text);
};
