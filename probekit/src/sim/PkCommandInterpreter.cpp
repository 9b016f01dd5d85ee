#include "PkCommandInterpreter.h"
#include "PkConsole.h"
#include "PkCore.h"
#include "PkTestRunner.h"

#include <QString>

namespace {

constexpr quint32 LastRegister = 0xFFFC;

QByteArray hexText(quint32 value, int digits)
{
    return "0x" + QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

} // namespace

int PkCommandInterpreter::run(const QByteArray &line) const
{
    using Handler = int (PkCommandInterpreter::*)(const Words &) const;
    static const struct {
        const char *verb;
        Handler handler;
    } commands[] = {
        {"help", &PkCommandInterpreter::help},         {"?", &PkCommandInterpreter::help},
        {"status", &PkCommandInterpreter::status},     {"reg", &PkCommandInterpreter::reg},
        {"stats", &PkCommandInterpreter::stats},       {"selftest", &PkCommandInterpreter::selfTest},
        {"run", &PkCommandInterpreter::selfTest},      {"sleep", &PkCommandInterpreter::sleep},
        {"wait", &PkCommandInterpreter::sleep},        {"repeater", &PkCommandInterpreter::mode},
        {"monitor", &PkCommandInterpreter::mode},
    };
    const Words words = line.simplified().split(' ');
    const QByteArray verb = words.value(0).toLower();
    if (verb.isEmpty())
        return 0;
    for (const auto &command : commands) {
        if (verb == command.verb)
            return (this->*command.handler)(words);
    }
    return unknown(line);
}

int PkCommandInterpreter::help(const Words &) const
{
    static const char *const lines[] = {
        "Commands:",
        "  help, ?                       this list",
        "  status                        the selected adapter, its locate LED and links",
        "  reg read <offset>             read a 32-bit register (offset 0 to FFFC, a multiple of 4)",
        "  reg write <offset> <value>    write a 32-bit register (offset and value in hexadecimal)",
        "  stats                         frame counters of each port",
        "  selftest <id>, run <id>       run a sub-test",
        "  sleep <ms>, wait <ms>         wait, until cancelled at most",
        "  repeater port <a|b>           repeat the frames a port receives, until cancelled",
        "  monitor port <a|b>            count the frames a port receives, until cancelled",
    };
    for (const char *line : lines)
        m_reporter.log(QByteArray(line));
    return 0;
}

int PkCommandInterpreter::status(const Words &) const
{
    return report(m_core.describe(m_modeFlags));
}

int PkCommandInterpreter::stats(const Words &) const
{
    return report(m_core.statistics());
}

int PkCommandInterpreter::report(const QList<QByteArray> &lines) const
{
    if (lines.isEmpty())
        return noAdapter();
    for (const QByteArray &line : lines)
        m_reporter.log(line);
    return 0;
}

int PkCommandInterpreter::reg(const Words &words) const
{
    const QByteArray action = words.value(1).toLower();
    const bool reading = action == "read" && words.size() == 3;
    if (!reading && !(action == "write" && words.size() == 4))
        return usage("reg read <offset> | reg write <offset> <value>");
    quint32 offset = 0;
    if (!hex(words.at(2), LastRegister, &offset) || offset % 4 != 0) {
        m_reporter.log("Bad register offset " + printable(words.at(2))
                       + ": hexadecimal 0 to FFFC, a multiple of 4");
        return BadCommand;
    }
    quint32 value = 0;
    if (!reading && !hex(words.at(3), 0xFFFFFFFFu, &value)) {
        m_reporter.log("Bad register value " + printable(words.at(3))
                       + ": hexadecimal 0 to FFFFFFFF");
        return BadCommand;
    }
    const int status = reading ? m_core.readRegister(offset, &value) : m_core.writeRegister(offset, value);
    if (status != 0)
        return noAdapter();
    m_reporter.log("Register " + hexText(offset, 4) + (reading ? " = " : " := ") + hexText(value, 8));
    return 0;
}

bool PkCommandInterpreter::hex(const QByteArray &text, quint32 maximum, quint32 *out)
{
    QByteArray digits = text.toLower();
    if (digits.startsWith("0x"))
        digits = digits.mid(2);
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    for (const char c : qAsConst(digits)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    *out = digits.toUInt(nullptr, 16);
    return *out <= maximum;
}

int PkCommandInterpreter::sleep(const Words &words) const
{
    return PkConsole::sleep(m_reporter, m_core.pacer(), words);
}

int PkCommandInterpreter::selfTest(const Words &words) const
{
    int id = 0;
    if (!PkConsole::testNumber(words, &id))
        return usage("selftest <id>");
    PkBehaviour behaviour;
    bool seededFailure = false;
    if (const int status = m_core.prepareRun(id, &behaviour, &seededFailure)) {
        noAdapter();
        return status;
    }
    const PkPacer pacer = m_core.pacer();
    const int status = PkTestRunner(m_reporter, pacer).run(behaviour, seededFailure);
    m_reporter.log("Sub-test " + QByteArray::number(id) + " ended with status "
                   + QByteArray::number(status));
    return status;
}

// "Repeater Port A", "Monitor Port B": the port stays in the mode until the
// command is cancelled; the state table shows what it sees, updated every
// half simulated second. Each update waits at least ModeFloorMs of real
// time: instant time still leaves room for the cancel, and the program's
// window is not flooded with cells.
int PkCommandInterpreter::mode(const Words &words) const
{
    const bool repeater = words.value(0).toLower() == "repeater";
    const QByteArray portName = words.value(2).toUpper();
    if (words.size() != 3 || words.value(1).toLower() != "port" || (portName != "A" && portName != "B"))
        return usage("repeater port <a|b> | monitor port <a|b>");
    PkAdapterModel::Port port;
    if (!m_core.port(portName == "A" ? 0 : 1, &port)) {
        m_reporter.log("Port " + portName + " is not present on the selected adapter");
        return NoSuchDevice;
    }
    const QByteArray name = repeater ? "Repeater" : "Monitor";
    m_reporter.log(name + " mode on port " + portName + "; cancel to stop");
    const PkPacer pacer = m_core.pacer();
    qint64 elapsedMs = 0;
    do {
        showMode(repeater, port, elapsedMs);
        elapsedMs += ModeUpdateMs;
    } while (pacer.wait(ModeUpdateMs, ModeFloorMs));
    m_reporter.log(name + " mode stopped");
    return Cancelled;
}

void PkCommandInterpreter::showMode(bool repeater, const PkAdapterModel::Port &port, qint64 elapsedMs) const
{
    // Catalogue numbers: 28 LINK_MODE, 29 LINK_STATE, 45 LINK_UP, 46 LINK_DOWN,
    // 35 FRAMES_RECEIVED, 36 FRAMES_TRANSMITTED, 34 FCS_ERRORS.
    const quint64 frames = port.framesIn(elapsedMs);
    m_reporter.cell(0, 0, 28);
    m_reporter.cellText(0, 1, repeater ? "Repeater" : "Monitor");
    m_reporter.cell(1, 0, 29);
    m_reporter.cell(1, 1, port.link ? 45 : 46);
    m_reporter.cell(2, 0, 35);
    m_reporter.cellText(2, 1, QByteArray::number(frames));
    m_reporter.cell(3, 0, 36);
    m_reporter.cellText(3, 1, QByteArray::number(repeater ? frames : 0));
    m_reporter.cell(4, 0, 34);
    m_reporter.cellText(4, 1, QByteArray::number(port.errorsIn(elapsedMs)));
}

int PkCommandInterpreter::usage(const char *text) const
{
    return PkConsole::usage(m_reporter, text);
}

int PkCommandInterpreter::noAdapter() const
{
    return PkConsole::noAdapter(m_reporter);
}

int PkCommandInterpreter::unknown(const QByteArray &line) const
{
    m_reporter.log("Unknown command: " + printable(line.simplified()) + " (help lists the commands)");
    return BadCommand;
}

QByteArray PkCommandInterpreter::printable(const QByteArray &text)
{
    QString shown = QString::fromLatin1(text);
    for (QChar &c : shown) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            c = QLatin1Char('?');
    }
    return shown.toUtf8();
}
