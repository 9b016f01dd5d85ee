#pragma once
#include "PkAdapterModel.h"

#include <QByteArray>

#include <cstdint>

// Replies of the adapter's network driver to the object identifiers the
// program asks for. Byte 0 of every reply is left 0.
class PkDriver
{
public:
    enum Oid : uint32_t {
        DriverName = 0xff020211,
        DriverDescription = 0xff010112,
        DriverVersion = 0xff010113,
        DriverDate = 0xff020210,
        LinkState = 0xff010127,
        Duplex = 0xff010126,
        Speed = 0xff010172,
        FirstCounter = 0x00020202,
        LastCounter = 0x0002020C,
    };
    // The speed reply's bytes 1 and 2 are the ports' speed codes; from
    // byte 4 on, a backend that knows it puts each port's speed in Mb/s
    // (32-bit little endian, port A then port B; 0 when not known).
    static constexpr int SpeedMegabitsAt = 4;
    static constexpr uint8_t LinkUp = 4;
    static constexpr uint8_t LinkDown = 2;

    // What a query depends on besides the adapter: elapsedMs drives the
    // frame counters of ports with a link; linkQuery counts the link-state
    // queries of the driver session, this one included, for ports whose
    // link comes up only after some of them.
    struct Moment {
        qint64 elapsedMs = 0;
        int linkQuery = 1;
    };

    // Status 0, 7 (null buffer or size), 32 (unknown OID or buffer too
    // small; *size then tells the size needed).
    static int query(const PkAdapterModel &adapter, uint32_t oid, void *buffer, uint32_t *size,
                     const Moment &moment);

    // Copies a reply into the caller's buffer: 0, or 32 when it does not
    // fit (*size then tells the size needed).
    static int deliver(const QByteArray &data, void *buffer, uint32_t *size);
    // Byte 0 left 0, the text from byte 1, zero-terminated.
    static QByteArray textReply(const QByteArray &text);

private:
    static QByteArray reply(const PkAdapterModel &adapter, uint32_t oid, const Moment &moment, bool *known);
    static QByteArray portBytes(const PkAdapterModel &adapter, uint32_t oid, int linkQuery);
    static QByteArray counters(const PkAdapterModel &adapter, uint32_t oid, qint64 elapsedMs);
};
