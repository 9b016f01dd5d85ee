#include "PkLinuxCommands.h"
#include "PkConsole.h"
#include "PkEthtool.h"
#include "PkLinuxCapture.h"
#include "PkLinuxDescription.h"
#include "PkLog.h"
#include "PkLinuxMonitor.h"
#include "PkLinuxTests.h"
#include "PkSysfs.h"
#include "PkVpdWriter.h"

#include <QFile>
#include <QString>

int PkLinuxCommands::run(const QByteArray &line) const
{
    using Handler = int (PkLinuxCommands::*)(const Words &) const;
    static const struct {
        const char *verb;
        Handler handler;
    } commands[] = {
        {"help", &PkLinuxCommands::help},         {"?", &PkLinuxCommands::help},
        {"status", &PkLinuxCommands::status},     {"stats", &PkLinuxCommands::stats},
        {"selftest", &PkLinuxCommands::selfTest}, {"run", &PkLinuxCommands::selfTest},
        {"sleep", &PkLinuxCommands::sleep},       {"wait", &PkLinuxCommands::sleep},
        {"vpd", &PkLinuxCommands::vpd},           {"reg", &PkLinuxCommands::unavailable},
        {"repeater", &PkLinuxCommands::unavailable}, {"monitor", &PkLinuxCommands::monitor},
        {"describe", &PkLinuxCommands::describe}, {"capture", &PkLinuxCommands::capture},
    };
    const Words words = line.simplified().split(' ');
    const QByteArray verb = words.value(0).toLower();
    if (verb.isEmpty())
        return 0;
    for (const auto &command : commands) {
        if (verb == command.verb)
            return (this->*command.handler)(words);
    }
    m_reporter.log("Unknown command: " + QString::fromLatin1(line).toUtf8());
    return BadCommand;
}

int PkLinuxCommands::help(const Words &) const
{
    static const char *const lines[] = {
        "Commands (real adapters):",
        "  help, ?                       this list",
        "  status                        the selected adapter, its ports, VPD and notes",
        "  stats                         frame counters of each port",
        "  selftest <id>, run <id>       run a sub-test",
        "  sleep <ms>, wait <ms>         wait, until cancelled at most",
        "  vpd write <keyword> <value>   write a VPD keyword (guarded)",
        "  vpd delete <keyword>          delete a VPD keyword (guarded)",
        "  monitor port <a|b>            the driver's statistics each second, until cancelled",
        "  describe <directory>          write description files for the adapters present",
        "  capture <directory>           write a capture of the adapters present (PROBEKIT_REPLAY)",
    };
    for (const char *line : lines)
        m_reporter.log(QByteArray(line));
    return 0;
}

int PkLinuxCommands::noAdapter() const
{
    return PkConsole::noAdapter(m_reporter);
}

int PkLinuxCommands::usage(const char *text) const
{
    return PkConsole::usage(m_reporter, text);
}

int PkLinuxCommands::status(const Words &) const
{
    const PkLinuxCore::Snapshot s = m_core.snapshot();
    if (!s.valid)
        return noAdapter();
    const PkAdapterModel &m = s.adapter.model;
    const auto hex = [](quint32 value) { return QByteArray::number(value, 16).toUpper().rightJustified(4, '0'); };
    m_reporter.log("Adapter " + PkLinuxCore::name(s.adapter) + ", PCI " + hex(m.vendorId) + ":" + hex(m.deviceId)
                   + " subsystem " + hex(m.subsystemVendorId) + ":" + hex(m.subsystemId));
    for (int i = 0; i < s.adapter.ports.size(); ++i) {
        const PkPciFunction &p = s.adapter.ports.at(i);
        m_reporter.log("Port " + QByteArray(1, char('A' + i)) + ": " + p.address.toLatin1() + " "
                       + (p.interface.isEmpty() ? QByteArray("(no interface)") : p.interface.toLocal8Bit())
                       + linkText(p));
    }
    m_reporter.log("VPD: " + (s.vpdImage.isEmpty() ? s.vpdError : QByteArray::number(s.vpd.size()) + " keyword(s)"));
    m_reporter.log(QByteArray("Locate LED: ") + (s.locating ? "on" : "off")
                   + (s.locateFailure.isEmpty() ? QByteArray() : " (" + s.locateFailure + ")"));
    m_reporter.log(QByteArray("Test series: ") + (s.seriesDepth > 0 ? "running" : "none"));
    m_reporter.log(QByteArray("Advanced mode: ") + (m_modeFlags && m_modeFlags[0] ? "on" : "off"));
    for (const QByteArray &note : s.adapter.notes)
        m_reporter.log("Note: " + note);
    return 0;
}

// ", link up at 2500 Mb/s, full duplex, ...": any speed, as the driver
// gives it.
QByteArray PkLinuxCommands::linkText(const PkPciFunction &port)
{
    if (port.interface.isEmpty())
        return QByteArray();
    const PkEthtool ethtool(port.interface.toLocal8Bit());
    bool up = false;
    if (const int error = ethtool.link(&up))
        return ", link " + PkEthtool::reason(error, port.driver.toLocal8Bit());
    PkEthtool::LinkSettings settings;
    if (!up || ethtool.linkSettings(&settings) != 0)
        return up ? ", link up" : ", link down";
    return ", link up at " + settings.describe();
}

int PkLinuxCommands::stats(const Words &) const
{
    const PkLinuxCore::Snapshot s = m_core.snapshot();
    if (!s.valid)
        return noAdapter();
    for (int i = 0; i < s.adapter.ports.size(); ++i) {
        const QString dir = s.adapter.ports.at(i).netDir + QStringLiteral("/statistics/");
        QByteArray line = "Port " + QByteArray(1, char('A' + i)) + ":";
        for (const char *name : {"rx_packets", "tx_packets", "rx_crc_errors"}) {
            const std::optional<qint64> value = PkSysfs::decimal(dir + QLatin1String(name));
            line += ' ' + QByteArray(name) + ' ' + (value ? QByteArray::number(*value) : QByteArray("unreadable"));
        }
        m_reporter.log(line);
    }
    return 0;
}

int PkLinuxCommands::selfTest(const Words &words) const
{
    int id = 0;
    if (!PkConsole::testNumber(words, &id))
        return usage("selftest <id>");
    const PkLinuxCore::Snapshot s = m_core.snapshot();
    if (!s.valid)
        return noAdapter();
    const PkPacer pacer = m_core.pacer();
    const int status = PkLinuxTests(s, m_reporter, pacer).run(id);
    m_reporter.log("Sub-test " + QByteArray::number(id) + " ended with status " + QByteArray::number(status));
    return status;
}

int PkLinuxCommands::sleep(const Words &words) const
{
    return PkConsole::sleep(m_reporter, m_core.pacer(), words);
}

// "vpd write V1 some text": the value is the rest of the line as typed,
// blanks between words kept single.
int PkLinuxCommands::vpd(const Words &words) const
{
    const QByteArray action = words.value(1).toLower();
    const bool writing = action == "write" && words.size() >= 4;
    if (!writing && !(action == "delete" && words.size() == 3))
        return usage("vpd write <keyword> <value> | vpd delete <keyword>");
    if (!m_core.snapshot().valid)
        return noAdapter();
    const QString keyword = QString::fromLatin1(words.at(2)).toUpper();
    const QByteArray value = words.mid(3).join(' ');
    const int status = PkVpdWriter(m_core, m_reporter, m_modeFlags).write(keyword, writing ? &value : nullptr);
    m_reporter.log("VPD " + action + " " + keyword.toLatin1() + " ended with status " + QByteArray::number(status));
    return status;
}

// "Monitor Port A": the driver's statistics. The repeater has no
// counterpart in the kernel's interface and stays refused.
int PkLinuxCommands::monitor(const Words &words) const
{
    const QByteArray port = words.value(2).toLower();
    if (words.size() != 3 || words.value(1).toLower() != "port" || (port != "a" && port != "b"))
        return usage("monitor port <a|b>");
    const PkLinuxCore::Snapshot s = m_core.snapshot();
    if (!s.valid)
        return noAdapter();
    const int index = port == "a" ? 0 : 1;
    if (index >= s.adapter.ports.size()) {
        m_reporter.log("Monitor: the adapter has no port B");
        return PkConsole::NoSuchDevice;
    }
    const PkPacer pacer = m_core.pacer();
    return PkLinuxMonitor(s.adapter.ports.at(index), m_reporter, pacer).run();
}

// "describe <directory>": the description files for the adapters present,
// which the program reads at start-up in place of the shipped ones.
int PkLinuxCommands::describe(const Words &words) const
{
    if (words.size() < 2)
        return usage("describe <directory>");
    const QString dir = QString::fromLocal8Bit(words.mid(1).join(' '));
    const PkLinuxDescription description(m_core.adapters());
    for (const QByteArray &note : description.notes()) {
        // At start-up nobody reads the callbacks: standard error does.
        m_reporter.log(note);
        PkLog::line(note);
    }
    QByteArray why;
    if (!description.write(dir, &why)) {
        m_reporter.log("Description files not written: " + why);
        return PkLinuxMonitor::Failed;
    }
    m_reporter.log("Description files written to " + QFile::encodeName(dir));
    return 0;
}

// "capture <directory>": what the backend reads of every adapter, in the
// format PROBEKIT_REPLAY replays.
int PkLinuxCommands::capture(const Words &words) const
{
    if (words.size() < 2)
        return usage("capture <directory>");
    const QString dir = QString::fromLocal8Bit(words.mid(1).join(' '));
    return PkLinuxCapture(dir, m_reporter).write(m_core.adapters()) ? PkLinuxMonitor::Failed : 0;
}

int PkLinuxCommands::unavailable(const Words &words) const
{
    m_reporter.log(words.value(0) + ": not available on real adapters (no counterpart in the Linux driver interface)");
    return BadCommand;
}
