#pragma once
#include <QString>
#include <QStringList>

// One piece of work for the worker thread. The main window creates it and
// hands it to TvWorkerThread::appendJob, which owns it from then on.
class TestJob
{
public:
    // Numbers that are not test numbers.
    enum Special { ConsoleCommand = -1, Connectivity = -6 };

    // number: the sub-test id for TestRun, ConsoleCommand or Connectivity.
    // row: the index of the progress row that shows the job, or -1; the
    //      worker only carries it back to the window.
    // text: console command: the command line; connectivity job:
    //       "<source address>-<destination address>"; otherwise empty.
    TestJob(int number, int row, const QString &text = QString());

    bool isCommand() const { return number == ConsoleCommand; }
    bool isConnectivity() const { return number == Connectivity; }

    // The two addresses of a connectivity job: the text split at "-", only
    // the first two parts used; missing parts are empty.
    QStringList addresses() const;

    int number;
    int row;
    QString text;
};
