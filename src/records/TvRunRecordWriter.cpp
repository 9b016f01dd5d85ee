#include "TvRunRecordWriter.h"
#include "TvJUnitFile.h"
#include "TvRunRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QEvent::Type OutcomesReady = QEvent::Type(QEvent::registerEventType());

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool makeDirectory(const QString &directory, QString *errorText)
{
    if (QDir().mkpath(directory))
        return true;
    // mkpath does not say why: the last step, tried again, does.
    int error = ::mkdir(QFile::encodeName(directory).constData(), 0777) == 0 ? 0 : errno;
    if (error == 0)
        return true;
    // Something that is not a directory stands in the way.
    if (error == EEXIST)
        error = ENOTDIR;
    *errorText = systemText(error);
    return false;
}

QString freeBaseName(const QString &directory, const QString &name)
{
    const QString base = QDir(directory).filePath(name);
    QString candidate = base;
    for (int n = 2; QFile::exists(candidate + QLatin1String(".json"))
                    || QFile::exists(candidate + QLatin1String(".xml"));
         ++n)
        candidate = base + QLatin1Char('-') + QString::number(n);
    return candidate;
}

bool writeTemporary(QSaveFile &file, const QByteArray &bytes, QString *errorText)
{
    // Unbuffered, every write reaches the system here, where a short write
    // (a full disk) and the error of the next one are seen: QSaveFile on
    // its own lets both pass into a committed, partial file. Nor does it
    // look at the sync.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *errorText = file.errorString();
        return false;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            *errorText = file.errorString().isEmpty() ? systemText(ENOSPC) : file.errorString();
            return false;
        }
        done += n;
    }
    if (::fsync(file.handle()) != 0) {
        *errorText = systemText(errno);
        return false;
    }
    return true;
}

bool commit(QSaveFile &file, QString *errorText)
{
    if (file.commit())
        return true;
    *errorText = file.errorString();
    return false;
}

} // namespace

TvRunRecordWriter::TvRunRecordWriter(QObject *parent) : QObject(parent) {}

TvRunRecordWriter::~TvRunRecordWriter()
{
    waitForDone();
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    jobAdded.notify_one();
    if (thread.joinable())
        thread.join();
}

void TvRunRecordWriter::waitForDone()
{
    std::unique_lock<std::mutex> lock(mutex);
    allDone.wait(lock, [this] { return jobs.empty() && !writing; });
}

void TvRunRecordWriter::write(const TvRunRecord &record, const QString &directory)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        // One at a time: records go out in the order the runs ended.
        jobs.push_back({record, directory});
        if (!thread.joinable())
            thread = std::thread(&TvRunRecordWriter::writeJobs, this);
    }
    jobAdded.notify_one();
}

void TvRunRecordWriter::writeJobs()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        jobAdded.wait(lock, [this] { return stopping || !jobs.empty(); });
        if (jobs.empty())
            return;
        Outcome outcome{false, QString(), QString(), std::move(jobs.front())};
        jobs.pop_front();
        writing = true;
        lock.unlock();
        outcome.ok = writeFiles(outcome.job.record, outcome.job.directory, &outcome.path,
                                &outcome.errorText);
        lock.lock();
        writing = false;
        // Posted under the lock, taken under it: the event's hand-over is
        // ordered by the mutex as well.
        if (outcomes.empty())
            QCoreApplication::postEvent(this, new QEvent(OutcomesReady));
        outcomes.push_back(std::move(outcome));
        allDone.notify_all();
    }
}

void TvRunRecordWriter::customEvent(QEvent *event)
{
    if (event->type() != OutcomesReady)
        return QObject::customEvent(event);
    std::deque<Outcome> ready;
    {
        std::lock_guard<std::mutex> lock(mutex);
        ready.swap(outcomes);
    }
    for (const Outcome &outcome : ready)
        deliver(outcome);
}

void TvRunRecordWriter::deliver(const Outcome &outcome)
{
    if (outcome.ok)
        emit written(outcome.path);
    else
        emit failed(outcome.path, outcome.errorText);
}

bool TvRunRecordWriter::writeFiles(const TvRunRecord &record, const QString &directory,
                                   QString *path, QString *errorText)
{
    *path = QDir(directory).filePath(record.fileBaseName() + QLatin1String(".json"));
    const QByteArray json = QJsonDocument(record.toJson()).toJson(QJsonDocument::Indented);
    const QByteArray xml = TvJUnitFile::toXml(record);
    if (!makeDirectory(directory, errorText))
        return false;
    const QString base = freeBaseName(directory, record.fileBaseName());
    *path = base + QLatin1String(".json");
    // Unless committed, a save file takes its temporary file with it.
    QSaveFile jsonFile(*path);
    QSaveFile xmlFile(base + QLatin1String(".xml"));
    if (!writeTemporary(jsonFile, json, errorText) || !writeTemporary(xmlFile, xml, errorText)
        || !commit(jsonFile, errorText))
        return false;
    if (commit(xmlFile, errorText))
        return true;
    QFile::remove(*path);
    return false;
}

bool TvRunRecordWriter::writeAtomically(const QString &path, const QByteArray &bytes, QString *errorText)
{
    QSaveFile file(path);
    return writeTemporary(file, bytes, errorText) && commit(file, errorText);
}
