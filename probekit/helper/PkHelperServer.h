#pragma once
#include "PkPciFunction.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <string>
#include <vector>

// nicdiag-helper's side of the conversation: one request a line on its
// input, one answer on its output, as probekit/README.md ("The privileged
// helper") describes. It does only what needs root or CAP_NET_ADMIN, and
// checks every request first: the interface or PCI address must be a
// network function of this machine, the ethtool request one of the
// privileged ones with sound lengths and values, a VPD write a writable
// keyword with a value that fits, for the adapter the write guard names.
class PkHelperServer
{
public:
    PkHelperServer(int input, int output) : m_input(input), m_output(output) {}

    // Until the input ends: 0, or 2 after a request that broke the framing.
    int run();

    // The ethtool requests the helper makes: those the kernel keeps for
    // root or CAP_NET_ADMIN that the program needs.
    static bool allowedEthtool(const QByteArray &request, QByteArray *why);
    // The longest request the helper takes: a module or adapter EEPROM
    // piece with its header.
    static constexpr int MaxPayload = 1024 * 1024;
    static constexpr unsigned MaxIdentifySeconds = 60;

private:
    // 1 a line, 0 at the end of the input, -1 for a line too long.
    int readLine(QByteArray *line);
    bool readPayload(int size, QByteArray *out);
    bool fill(int timeoutMs);
    void reply(const QByteArray &payload);
    void refuse(int error, const QByteArray &why);

    bool handle(const QByteArray &line);
    void ethtool(const QByteArray &interface, const QByteArray &request);
    void identify(const QByteArray &interface, QByteArray request);
    void cableTest(const QByteArray &interface);
    void vpdRead(const QByteArray &address);
    void vpdWrite(const QList<QByteArray> &words);
    static bool writeChanged(const QString &path, const std::vector<uint8_t> &before,
                             const std::vector<uint8_t> &after, QByteArray *back, std::string *why);
    // The function with this interface or PCI address, if it is a network
    // function of this machine; else the refusal is sent.
    bool networkFunction(const QByteArray &name, bool byAddress, PkPciFunction *out);

    int m_input, m_output;
    QByteArray m_buffer;
    bool m_ended = false;
};
