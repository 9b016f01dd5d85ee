#include "PkLinuxMonitor.h"

#include <chrono>

namespace {

constexpr int LinkModeMessage = 28;
constexpr int LinkStateMessage = 29;
constexpr int LinkUpMessage = 45;
constexpr int LinkDownMessage = 46;

} // namespace

int PkLinuxMonitor::fail(int status, const QByteArray &why) const
{
    const QByteArray text = "Monitor " + m_port.interface.toLocal8Bit() + ": " + why;
    m_reporter.log(text);
    m_reporter.result(text);
    return status;
}

QByteArray PkLinuxMonitor::rate(quint64 before, quint64 after, double seconds)
{
    if (after < before)
        return QByteArrayLiteral("reset");
    if (seconds <= 0)
        return QByteArrayLiteral("-");
    return QByteArray::number(double(after - before) / seconds, 'f', 1) + "/s";
}

void PkLinuxMonitor::showLink(const PkEthtool &ethtool) const
{
    bool up = false;
    const bool known = ethtool.link(&up) == 0;
    m_reporter.cell(1, 0, LinkStateMessage);
    m_reporter.cell(1, 1, known && up ? LinkUpMessage : LinkDownMessage);
}

int PkLinuxMonitor::run() const
{
    const QByteArray driver = m_port.driver.toLocal8Bit();
    if (m_port.interface.isEmpty())
        return fail(NotAvailable, PkEthtool::reason(ENODEV, driver));
    const PkEthtool ethtool(m_port.interface.toLocal8Bit());
    QList<QByteArray> names;
    if (const int error = ethtool.stringSet(PkEthtool::StatisticsSet, &names))
        return fail(error == EOPNOTSUPP ? NotAvailable : Failed, "statistics " + PkEthtool::reason(error, driver));
    if (names.isEmpty())
        return fail(NotAvailable, "the " + driver + " driver reports no statistics");
    const int rows = qMin(names.size(), MaxRows);
    if (rows < names.size())
        m_reporter.log("Monitor " + m_port.interface.toLocal8Bit() + ": the driver reports "
                       + QByteArray::number(names.size()) + " statistics; the first " + QByteArray::number(rows) + " are shown");
    m_reporter.cell(0, 0, LinkModeMessage);
    m_reporter.cellText(0, 1, "Monitor");
    for (int i = 0; i < rows; ++i)
        m_reporter.cellText(FirstCounterRow + i, 0, names.at(i).simplified());
    QVector<quint64> before;
    auto then = std::chrono::steady_clock::now();
    while (true) {
        QVector<quint64> now;
        // A renamed or removed interface answers ENODEV: the run ends
        // with the reason, and no stale value stays shown as current.
        if (const int error = ethtool.statistics(quint32(names.size()), &now)) {
            m_reporter.cell(1, 1, LinkDownMessage);
            return fail(Failed, "statistics " + PkEthtool::reason(error, driver));
        }
        const auto sampled = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(sampled - then).count();
        showLink(ethtool);
        for (int i = 0; i < rows; ++i) {
            m_reporter.cellText(FirstCounterRow + i, 1, QByteArray::number(now.at(i)));
            m_reporter.cellText(FirstCounterRow + i, 2, before.isEmpty() ? QByteArray("-") : rate(before.at(i), now.at(i), seconds));
        }
        before = now;
        then = sampled;
        if (!m_pacer.wait(SampleMs, FloorMs))
            return Cancelled;
    }
}
