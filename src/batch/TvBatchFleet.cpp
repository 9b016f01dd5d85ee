#include "TvBatchFleet.h"
#include "TvBatchConsole.h"

#include "core/TvAdapterListing.h"
#include "description/CAdapterInfo.h"
#include "platform/TvPlatform.h"
#include "text/TvProgram.h"
#include "text/TvText.h"

#include <QCoreApplication>
#include <QProcess>

#include <csignal>
#include <cstring>

namespace {

QString batchText(const char *key)
{
    return TvText::translate("TvBatch", key);
}

QString answerOption(TvBatchSettings::Answer answer)
{
    return answer == TvBatchSettings::AnswerYes ? QStringLiteral("yes") : QStringLiteral("no");
}

} // namespace

TvBatchFleet::TvBatchFleet(const TvBatchSettings &settings, TvBatchConsole *console, QObject *parent)
    : QObject(parent), settings(settings), console(console)
{
}

TvBatchFleet::~TvBatchFleet()
{
    // Only reached with every child ended; a child left over is not waited for.
    for (QProcess *child : qAsConst(children)) {
        if (child->state() != QProcess::NotRunning) {
            child->kill();
            child->waitForFinished();
        }
    }
}

QStringList TvBatchFleet::childArguments(const AdapterRecord &adapter, const QString &report) const
{
    QStringList arguments = settings.descriptionOptions;
    arguments << QStringList{QStringLiteral("-L"), TvProgram::languageCode(), QStringLiteral("--run"), settings.run,
                             QStringLiteral("--loops"), QString::number(settings.loops), QStringLiteral("--answer"),
                             answerOption(settings.answer), QStringLiteral("--adapter"),
                             QStringLiteral("%1:%2").arg(adapter.busNumber).arg(adapter.deviceNumber),
                             QStringLiteral("--batch-child"), report};
    if (!settings.recordsDir.isEmpty())
        arguments << QStringLiteral("--records") << settings.recordsDir;
    if (settings.quiet)
        arguments << QStringLiteral("--quiet");
    if (TvProgram::runSettings()[1] != 0)
        arguments << QStringLiteral("-m");
    return arguments;
}

QList<TvBatchResult> TvBatchFleet::run(const QList<AdapterRecord> &adapters)
{
    results.clear();
    for (const AdapterRecord &adapter : adapters) {
        TvBatchResult unknown;
        unknown.bus = adapter.busNumber;
        unknown.device = adapter.deviceNumber;
        unknown.name = CAdapterInfo::instance().adapterName(TvAdapterListing::adapterKey(adapter));
        unknown.status = TvBatchResult::Failed;
        unknown.start = QDateTime::currentDateTimeUtc();
        results.append(unknown);
    }
    console->progress(0, adapters.size());
    for (int i = 0; i < adapters.size(); ++i)
        startChild(i, adapters.at(i));
    if (running > 0)
        loop.exec();
    return results;
}

void TvBatchFleet::startChild(int index, const AdapterRecord &adapter)
{
    auto *child = new QProcess(this);
    children.append(child);
    pending[0].append(QByteArray());
    pending[1].append(QByteArray());
    connect(child, &QProcess::readyReadStandardOutput, this, [this, index] { relay(index, false); });
    connect(child, &QProcess::readyReadStandardError, this, [this, index] { relay(index, true); });
    connect(child, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this, index] { childFinished(index); });
    const QString report = reports.filePath(QStringLiteral("adapter-%1.json").arg(index));
    child->start(QCoreApplication::applicationFilePath(), childArguments(adapter, report));
    if (!child->waitForStarted()) {
        results[index].message = batchText("BATCH_CHILD_NOT_STARTED %1").arg(child->errorString());
        ++finished;
        return;
    }
    ++running;
}

void TvBatchFleet::relay(int index, bool errorChannel)
{
    QProcess *child = children.at(index);
    QByteArray &buffer = pending[errorChannel ? 1 : 0][index];
    buffer += errorChannel ? child->readAllStandardError() : child->readAllStandardOutput();
    int end;
    while ((end = buffer.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(buffer.left(end));
        buffer.remove(0, end + 1);
        if (errorChannel)
            console->error(QStringLiteral("%1: %2").arg(results.at(index).adapterText(), line));
        else
            console->line(line);
    }
}

bool TvBatchFleet::readReport(int index, TvBatchResult *read) const
{
    QByteArray bytes;
    const QString report = reports.filePath(QStringLiteral("adapter-%1.json").arg(index));
    return TvPlatform::readRegularFile(report, MaxReportBytes, &bytes) == 0 && read->readJson(bytes)
           && read->bus == results.at(index).bus && read->device == results.at(index).device;
}

void TvBatchFleet::childFinished(int index)
{
    QProcess *child = children.at(index);
    relay(index, false);
    relay(index, true);
    TvBatchResult read;
    const bool reported = readReport(index, &read);
    if (reported)
        results[index] = read;
    if (child->exitStatus() == QProcess::CrashExit) {
        // A report written before the end still stands, but the run failed.
        const int signal = child->exitCode();
        results[index].status = TvBatchResult::Failed;
        results[index].message =
            batchText("BATCH_CHILD_SIGNAL %1 %2").arg(signal).arg(QString::fromLocal8Bit(strsignal(signal)));
    } else if (!reported) {
        results[index].message = batchText("BATCH_CHILD_NO_REPORT %1").arg(child->exitCode());
    }
    console->progress(++finished, children.size());
    if (--running == 0)
        loop.quit();
}

void TvBatchFleet::cancel()
{
    for (QProcess *child : qAsConst(children)) {
        if (child->state() == QProcess::Running)
            ::kill(pid_t(child->processId()), SIGTERM);
    }
}
