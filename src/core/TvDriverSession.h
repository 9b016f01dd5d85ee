#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdint>

// One conversation with the selected adapter's network driver through the
// core: opened on construction, closed on destruction. Every query fails
// when the driver could not be opened.
class TvDriverSession
{
public:
    // The object identifiers the general tab and a headless run ask for.
    enum Oid : uint32_t {
        DriverName = 0xff020211,
        DriverDescription = 0xff010112,
        DriverVersion = 0xff010113,
        DriverDate = 0xff020210,
        LinkState = 0xff010127,
        Duplex = 0xff010126,
        Speed = 0xff010172,
        // Frames sent and received (directed, multicast, broadcast): the
        // identifiers from the first to the last in steps of two.
        FirstCounter = 0x00020202,
        LastCounter = 0x0002020C,
    };
    static constexpr int TextReplySize = 256;
    static constexpr int PortReplySize = 16;
    static constexpr int CounterReplySize = 32;
    // A port's link state byte when its link is up; any other is down.
    static constexpr uchar LinkUp = 4;

    TvDriverSession();
    ~TvDriverSession();
    TvDriverSession(const TvDriverSession &) = delete;
    TvDriverSession &operator=(const TvDriverSession &) = delete;

    bool isOpen() const { return handle != nullptr; }

    // The reply in a zeroed buffer of `size` bytes; false on failure.
    bool query(uint32_t oid, int size, QByteArray *reply) const;
    // The text from byte 1 of a text reply.
    bool text(uint32_t oid, QString *text) const;
    // Byte 1 (port A) or 2 (port B) of a port reply.
    bool portBytes(uint32_t oid, uchar bytes[2]) const;
    // The speed reply: the ports' codes (bytes 1, 2) and their speeds in
    // Mb/s (32-bit little endian from byte 4; 0 where the core does not
    // say), for links faster than the codes go.
    bool speeds(uchar codes[2], quint32 megabits[2]) const;
    // The port's 64-bit little-endian counter at byte port x 8.
    bool counter(uint32_t oid, int port, quint64 *value) const;

    // The text from byte 1 up to its terminating zero; a text without one
    // ends at the reply's end.
    static QString textOf(const QByteArray &reply);

private:
    void *handle = nullptr;
};
