#pragma once
#include "TvBatchResult.h"
#include "TvBatchSettings.h"

#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <probekit.h>

class QProcess;
class TvBatchConsole;

// Many adapters at once: the program runs itself again once per adapter
// (with the private --batch-child option), so that every adapter has a
// process, a core and a worker of its own and they all test at the same
// time. A child's lines are passed on as they come; its result comes back
// as a report file in a directory of the parent's, which is read only when
// it is a regular file of sensible size holding a report for that adapter.
// A child that ends without one (killed, crashed) counts as failed, with
// the signal that ended it. GUI thread only.
class TvBatchFleet : public QObject
{
    Q_OBJECT
public:
    TvBatchFleet(const TvBatchSettings &settings, TvBatchConsole *console, QObject *parent = nullptr);
    ~TvBatchFleet() override;

    // One result per adapter, in the order given.
    QList<TvBatchResult> run(const QList<AdapterRecord> &adapters);
    // Asks every child still running to cancel (SIGTERM); they file what
    // they have and end.
    void cancel();

    // A report larger than this is no report of a child.
    static constexpr qint64 MaxReportBytes = 4 * 1024 * 1024;

private:
    QStringList childArguments(const AdapterRecord &adapter, const QString &report) const;
    void startChild(int index, const AdapterRecord &adapter);
    void relay(int index, bool errorChannel);
    void childFinished(int index);
    bool readReport(int index, TvBatchResult *read) const;

    const TvBatchSettings &settings;
    TvBatchConsole *console;
    QTemporaryDir reports;
    QEventLoop loop;
    QList<QProcess *> children;
    QList<TvBatchResult> results;
    QList<QByteArray> pending[2];
    int running = 0;
    int finished = 0;
};
