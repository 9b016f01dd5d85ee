#pragma once
#include "records/TvRunRecord.h"
#include "records/TvRunRecordWriter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class TvAdapterSession;
class TvAsk;
class TvLogBook;
class TvSensorPage;
class TvTestPage;
class TvTestRun;

// Files a record of every test run (a test case, all tests, a loop, the
// connectivity test) when it ends, passed, failed or cancelled, into
// "runs" below the log directory, unless the configuration switched run
// records off. The record is assembled from what the window handles anyway:
// the test run's course, the rows, the core's texts and questions, the log
// lines added since the run started, and the sensors read between two
// sub-tests. Writing happens on the writer's own thread; a record that
// cannot be written is logged each time and shown once until one is
// written again. The run and its log never depend on it. GUI thread only.
class TvRunRecorder : public QObject
{
    Q_OBJECT
public:
    // `sensors` may be null: the record then lists no sensors.
    TvRunRecorder(TvTestRun *run, TvTestPage *page, TvAdapterSession *session, TvLogBook *log,
                  TvAsk *ask, TvSensorPage *sensors, QObject *parent = nullptr);

    // "<basepath>/<logpath>/runs"
    static QString directory();
    bool isRecording() const { return state == Active; }
    TvRunRecordWriter *writer() { return &recordWriter; }

    // A core question and the answer it got, while a run is recorded.
    void questionAnswered(const QString &text, int answer);
    // The window goes away: a run still going is filed as cancelled, and
    // the records handed to the writer are written before this returns.
    void closeForExit();

private slots:
    void runStarting();
    void subTestStarted(int row);
    void subTestEnded(int row, int outcome);
    void coreResultText(const QString &text);
    void runFinished(bool cancelled);
    void writeFailed(const QString &path, const QString &errorText);

private:
    enum State { Idle, Armed, Active };

    void beginRecord();
    void readAdapter();
    bool startsNewTestCase(int row) const;
    void openTestCase();
    TvRunRecord::SubTest *subTestOfRow(int row);
    void sampleSensors();

    TvTestRun *run;
    TvTestPage *page;
    TvAdapterSession *session;
    TvLogBook *log;
    TvAsk *ask;
    TvSensorPage *sensors;
    TvRunRecordWriter recordWriter;

    State state = Idle;
    TvRunRecord record;
    int logMark = 0;
    // The row of the sub-test in progress (-1: none) and of the one before.
    int openRow = -1;
    int lastRow = -1;
    QElapsedTimer subTestClock;
    bool failureShown = false;
};
