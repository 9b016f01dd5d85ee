#pragma once
#include "TvBatchResult.h"
#include "TvBatchSettings.h"

#include "records/TvRunRecord.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QObject>

#include <memory>
#include <probekit.h>

class TvBatchConsole;
class TvLogModel;
class TvWorkerThread;

// One adapter's headless run in this process: the adapter is selected,
// its sub-tests go one after the other to the same worker thread the
// window uses, and the core's texts, questions and completions come back
// as the same events. The course of the run becomes a run record and a
// log saved as the window saves one. A failed sub-test ends the run, as in
// the window's all-tests run; cancel() ends the sub-test in progress as
// cancelled. GUI thread only.
class TvBatchAdapterRun : public QObject
{
    Q_OBJECT
public:
    // The core's status when the adapter's lock is held by another process.
    static constexpr int AdapterLockFailed = 29;
    static constexpr int NoSuchDevice = 11;

    TvBatchAdapterRun(const TvBatchSettings &settings, TvBatchConsole *console, QObject *parent = nullptr);
    ~TvBatchAdapterRun() override;

    // Runs the test cases (their numbers) on the adapter, as the all-tests
    // series when `allTests`; returns when the run is over and its record
    // and log are written.
    TvBatchResult run(const AdapterRecord &adapter, const QList<int> &testCases, bool allTests);
    void cancel();

    // Where records go: --records, else "runs" below the log directory.
    QString recordsDirectory() const;

protected:
    void customEvent(QEvent *event) override;

private:
    struct Step {
        int testCase;
        int subTest;
        int pass;
    };

    bool selectAdapter(const AdapterRecord &adapter);
    void beginRecord(const AdapterRecord &adapter, const QList<int> &testCases);
    void startStep();
    void subTestDone(int status);
    void subTestCancelled();
    void endSubTest(TvRunRecord::Result result, const QString &text);
    void finishRun(bool cancelled);
    void answerQuestion(class TvCoreEvent &event);
    void sampleSensors();
    void readLinks();
    void fileRecord();
    void logLine(const QString &text);
    TvRunRecord::SubTest &currentSubTest();

    const TvBatchSettings &settings;
    TvBatchConsole *console;
    std::unique_ptr<TvWorkerThread> worker;
    std::unique_ptr<TvLogModel> log;
    QEventLoop loop;
    QList<Step> steps;
    int stepIndex = 0;
    int ended = 0;
    int portCount = 1;
    bool cancelRequested = false;
    bool finished = true;
    bool series = false;
    QString pendingAnswerText;
    TvRunRecord record;
    TvBatchResult result;
    QElapsedTimer clock;
    QElapsedTimer subTestClock;
};
