#include "PkCommandInterpreter.h"
#include "PkCore.h"
#include "PkTestRunner.h"

int PkCommandInterpreter::run(const QByteArray &line) const
{
    const QList<QByteArray> words = line.simplified().split(' ');
    const QByteArray verb = words.value(0).toLower();
    if (verb.isEmpty())
        return 0;
    if (verb == "help" || verb == "?")
        return help();
    if (verb == "status")
        return status();
    if (verb == "wait")
        return wait(words);
    if (verb == "run")
        return runTest(words);
    if (verb == "repeater" || verb == "monitor")
        return mode(words);
    return unknown(line);
}

int PkCommandInterpreter::help() const
{
    static const char *const lines[] = {
        "Commands:",
        "  help, ?                 this list",
        "  status                  the selected adapter",
        "  wait <ms>               wait, until cancelled at most",
        "  run <id>                run a sub-test",
        "  repeater port <a|b>     repeat the frames a port receives, until cancelled",
        "  monitor port <a|b>      count the frames a port receives, until cancelled",
    };
    for (const char *line : lines)
        m_reporter.log(QByteArray(line));
    return 0;
}

int PkCommandInterpreter::status() const
{
    const QList<QByteArray> lines = m_core.describe(m_modeFlags);
    if (lines.isEmpty()) {
        m_reporter.log(QByteArrayLiteral("No adapter selected"));
        return NoSuchDevice;
    }
    for (const QByteArray &line : lines)
        m_reporter.log(line);
    return 0;
}

int PkCommandInterpreter::wait(const QList<QByteArray> &words) const
{
    bool ok = false;
    const int ms = words.value(1).toInt(&ok);
    if (!ok || ms < 0 || words.size() != 2) {
        m_reporter.log(QByteArrayLiteral("Usage: wait <ms>"));
        return UnknownCommand;
    }
    m_reporter.log("Waiting " + QByteArray::number(ms) + " ms");
    return m_core.pacer().wait(ms) ? 0 : Cancelled;
}

int PkCommandInterpreter::runTest(const QList<QByteArray> &words) const
{
    bool ok = false;
    const int id = words.value(1).toInt(&ok);
    if (!ok || words.size() != 2) {
        m_reporter.log(QByteArrayLiteral("Usage: run <id>"));
        return UnknownCommand;
    }
    PkBehaviour behaviour;
    bool seededFailure = false;
    if (const int status = m_core.prepareRun(id, &behaviour, &seededFailure)) {
        m_reporter.log(QByteArrayLiteral("No adapter selected"));
        return status;
    }
    const PkPacer pacer = m_core.pacer();
    const int status = PkTestRunner(m_reporter, pacer).run(behaviour, seededFailure);
    m_reporter.log("Sub-test " + QByteArray::number(id) + " ended with status "
                   + QByteArray::number(status));
    return status;
}

// "Repeater Port A", "Monitor Port B": the port stays in the mode until the
// command is cancelled; the state table shows what it sees.
int PkCommandInterpreter::mode(const QList<QByteArray> &words) const
{
    const bool repeater = words.value(0).toLower() == "repeater";
    const QByteArray portName = words.value(2).toUpper();
    if (words.size() != 3 || words.value(1).toLower() != "port" || (portName != "A" && portName != "B")) {
        m_reporter.log(QByteArrayLiteral("Usage: repeater|monitor port <a|b>"));
        return UnknownCommand;
    }
    bool linkUp = false;
    if (!m_core.portLink(portName == "A" ? 0 : 1, &linkUp)) {
        m_reporter.log("Port " + portName + " is not present on the selected adapter");
        return NoSuchDevice;
    }
    m_reporter.log(QByteArray(repeater ? "Repeater" : "Monitor") + " mode on port " + portName
                   + "; cancel to stop");
    const PkPacer pacer = m_core.pacer();
    quint64 frames = 0;
    showMode(repeater, linkUp, frames);
    // Without simulated time the table is shown once and the mode just waits
    // for its cancel; with it, the counts move once a simulated second.
    const bool ticking = pacer.scale() > 0.0;
    const PkPacer idle(1.0, nullptr);
    while (!pacer.cancelled()) {
        if (!ticking) {
            idle.wait(PkPacer::SliceMs);
            continue;
        }
        if (!pacer.wait(1000))
            break;
        frames += linkUp ? 120 : 0;
        showMode(repeater, linkUp, frames);
    }
    m_reporter.log(QByteArray(repeater ? "Repeater" : "Monitor") + " mode stopped");
    return Cancelled;
}

void PkCommandInterpreter::showMode(bool repeater, bool linkUp, quint64 frames) const
{
    // Catalogue numbers: 28 LINK_MODE, 29 LINK_STATE, 45 LINK_UP, 46 LINK_DOWN,
    // 35 FRAMES_RECEIVED, 36 FRAMES_TRANSMITTED, 34 FCS_ERRORS.
    m_reporter.cell(0, 0, 28);
    m_reporter.cellText(0, 1, repeater ? "Repeater" : "Monitor");
    m_reporter.cell(1, 0, 29);
    m_reporter.cell(1, 1, linkUp ? 45 : 46);
    m_reporter.cell(2, 0, 35);
    m_reporter.cellText(2, 1, QByteArray::number(frames));
    m_reporter.cell(3, 0, 36);
    m_reporter.cellText(3, 1, QByteArray::number(repeater ? frames : 0));
    m_reporter.cell(4, 0, 34);
    m_reporter.cellText(4, 1, "0");
}

int PkCommandInterpreter::unknown(const QByteArray &line) const
{
    m_reporter.log("Unknown command: " + line.simplified() + " (help lists the commands)");
    return UnknownCommand;
}
