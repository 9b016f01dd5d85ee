#pragma once
#include "TvRunRecord.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Files run records: "<name>.json" and the same run as JUnit "<name>.xml"
// in the records directory, where <name> is the record's fileBaseName(),
// with "-2", "-3", ... appended when a record of that name exists already
// (old records are never replaced). Each file is written to a temporary
// file beside it and renamed into place once every byte is on disk, the
// JSON first; when the JUnit file then fails, the JSON file goes again. So
// a record is either complete and valid or absent.
//
// Serialising and writing run on a thread of the writer's own, one record
// after the other, so that the window goes on while a long run's record is
// written; written() or failed() follows on the thread that owns the
// writer. The hand-over goes through a standard mutex, which the thread
// sanitizer sees (a thread pool's own locks it would not).
class TvRunRecordWriter : public QObject
{
    Q_OBJECT
public:
    explicit TvRunRecordWriter(QObject *parent = nullptr);
    // Waits for the records still being written.
    ~TvRunRecordWriter() override;

    void write(const TvRunRecord &record, const QString &directory);
    // Blocks until every record handed over has been written or has failed.
    void waitForDone();

    // The writing itself, on the calling thread. *path receives the JSON
    // file's name (the one intended, on failure), *errorText the system's
    // reason for a failure.
    static bool writeFiles(const TvRunRecord &record, const QString &directory, QString *path,
                           QString *errorText);

    // The bytes to a temporary file beside `path`, on disk, then renamed
    // over it: a reader sees the old file whole or the new one whole, and
    // the old one stays when anything fails (*errorText says why).
    static bool writeAtomically(const QString &path, const QByteArray &bytes, QString *errorText);

signals:
    void written(const QString &path);
    void failed(const QString &path, const QString &errorText);

protected:
    void customEvent(QEvent *event) override;

private:
    struct Job {
        TvRunRecord record;
        QString directory;
    };
    struct Outcome {
        bool ok;
        QString path;
        QString errorText;
        // Goes back with the outcome: the record's texts are shared with
        // the window's, so the last reference is dropped on its thread.
        Job job;
    };

    void writeJobs();
    void deliver(const Outcome &outcome);

    std::mutex mutex;
    std::condition_variable jobAdded;
    std::condition_variable allDone;
    std::deque<Job> jobs;
    std::deque<Outcome> outcomes;
    bool writing = false;
    bool stopping = false;
    // Started by the first record: a window that files none has no thread.
    std::thread thread;
};
