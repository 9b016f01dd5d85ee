#include "TvDriverSession.h"

#include <probekit.h>

#include <QtEndian>

TvDriverSession::TvDriverSession() : handle(DriverOpen()) {}

TvDriverSession::~TvDriverSession()
{
    if (handle)
        DriverClose(handle);
}

bool TvDriverSession::query(uint32_t oid, int size, QByteArray *reply) const
{
    if (!handle)
        return false;
    // Only the buffer is trusted, not the length the driver reports: what
    // it left unwritten reads as zero.
    QByteArray buffer(size, '\0');
    uint32_t length = uint32_t(size);
    if (DriverQueryOid(handle, oid, buffer.data(), &length) != 0)
        return false;
    *reply = buffer;
    return true;
}

bool TvDriverSession::text(uint32_t oid, QString *text) const
{
    QByteArray reply;
    if (!query(oid, TextReplySize, &reply))
        return false;
    *text = textOf(reply);
    return true;
}

bool TvDriverSession::portBytes(uint32_t oid, uchar bytes[2]) const
{
    QByteArray reply;
    if (!query(oid, PortReplySize, &reply))
        return false;
    bytes[0] = uchar(reply.at(1));
    bytes[1] = uchar(reply.at(2));
    return true;
}

bool TvDriverSession::speeds(uchar codes[2], quint32 megabits[2]) const
{
    QByteArray reply;
    if (!query(Speed, PortReplySize, &reply))
        return false;
    for (int port = 0; port < 2; ++port) {
        codes[port] = uchar(reply.at(1 + port));
        megabits[port] = qFromLittleEndian<quint32>(reply.constData() + 4 + 4 * port);
    }
    return true;
}

bool TvDriverSession::counter(uint32_t oid, int port, quint64 *value) const
{
    QByteArray reply;
    if (port < 0 || port > 1 || !query(oid, CounterReplySize, &reply))
        return false;
    *value = qFromLittleEndian<quint64>(reply.constData() + port * 8);
    return true;
}

QString TvDriverSession::textOf(const QByteArray &reply)
{
    if (reply.size() < 2)
        return QString();
    const char *text = reply.constData() + 1;
    return QString::fromUtf8(text, int(qstrnlen(text, uint(reply.size() - 1))));
}
