#include "TvLogBook.h"

#include "ui/TvAsk.h"
#include "ui/TvContextText.h"

#include "description/CAdapterInfo.h"
#include "engine/TvLogFile.h"
#include "engine/TvLogModel.h"

#include "platform/TvPlatform.h"
#include "text/TvControlText.h"

#include <QFileInfo>

#include <cstring>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

QString &logFileName()
{
    return CAdapterInfo::instance().logFileName;
}

// A saved log file's lines, each made one safe line as the program's own
// lines are: the file may come from anywhere. Only a regular file of a size
// a log view can hold is read, so a FIFO or a device cannot stall the window.
bool readViewedLog(const QString &name, QStringList *read, QString *reason)
{
    constexpr qint64 MaxBytes = 64 * 1024 * 1024;
    QByteArray data;
    const int error = TvPlatform::readRegularFile(name, MaxBytes, &data);
    if (error == TvPlatform::NotRegularFile)
        *reason = msg("NOT_A_REGULAR_FILE");
    else if (error == TvPlatform::TooLarge)
        *reason = msg("LOG_TOO_LARGE_TO_VIEW %1").arg(MaxBytes / (1024 * 1024));
    else if (error != 0)
        *reason = QString::fromLocal8Bit(std::strerror(error));
    if (error != 0)
        return false;
    if (data.endsWith('\n'))
        data.chop(1);
    if (data.isEmpty())
        return true;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        read->append(TvControlText::line(QString::fromUtf8(line)));
    }
    return true;
}

} // namespace

TvLogBook::TvLogBook(TvAsk *ask, QObject *parent)
    : QObject(parent), ask(ask), lines(new TvLogModel(this))
{
}

int TvLogBook::addLogLine(const QString &text)
{
    if (!logging)
        return 1;
    unsaved = true;
    // The first live line below a viewed file changes what the view says.
    const bool firstAfterView = viewedLines > 0 && lines->count() == viewedLines;
    // The model announces new lines once per turn of the event loop; a
    // view follows the last one from there.
    lines->appendLine(TvLogFile::stampedLine(text));
    if (firstAfterView)
        emit viewChanged();
    return 0;
}

QString TvLogBook::viewCaption() const
{
    if (viewedLines <= 0)
        return QString();
    if (lines->count() > viewedLines)
        return msg("LOG_VIEW_THEN_LIVE %1 %2").arg(viewedName).arg(viewedLines + 1);
    return msg("LOG_VIEW_OF %1").arg(viewedName);
}

void TvLogBook::addForcedLine(const QString &text)
{
    const bool wasLogging = logging;
    logging = true;
    addLogLine(text);
    logging = wasLogging;
}

void TvLogBook::addReaderWarnings()
{
    if (readerWarningsLogged)
        return;
    readerWarningsLogged = true;
    for (const QString &warning : CAdapterInfo::instance().warnings)
        addForcedLine(warning);
}

QString TvLogBook::logDirectory() const
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    return info.basePathOf(info.logpath);
}

QString TvLogBook::logFilter() const
{
    return msg("LOGFILE_FILTER %1").arg(CAdapterInfo::instance().log_ext);
}

bool TvLogBook::appendLogFile()
{
    const QString &name = logFileName();
    const int lineCount = lines->count();
    lastLogError.clear();
    const TvLogFile::Result result = TvLogFile::appendBlock(name, *lines, savedLines, &lastLogError);
    if (result == TvLogFile::Saved) {
        savedLines = lineCount;
        unsaved = false;
        return true;
    }
    if (result == TvLogFile::OpenFailed) {
        const TvAsk::Question failed{msg("OPEN_LOGFILE_FAILED %1 %2").arg(name, lastLogError),
                                     TvDialogSeam::Ok};
        ask->showQuestion(&failed);
    }
    // A block written only in part leaves every line unsaved, so the next
    // save writes them all again.
    return false;
}

bool TvLogBook::chooseLogFileName()
{
    const QString name = ask->saveFileName(msg("CHOOSE_LOGFILE_NAME"), logDirectory(), logFilter());
    if (name.isEmpty())
        return false;
    // Only the file's own name counts: the log directory itself is usually
    // called after the extension.
    const QString fileName = QFileInfo(name).fileName();
    logFileName() = name.left(name.size() - fileName.size())
                    + TvLogFile::withExtension(fileName, CAdapterInfo::instance().log_ext);
    return true;
}

bool TvLogBook::chooseNewLogFile()
{
    for (;;) {
        if (!chooseLogFileName())
            return false;
        if (!QFileInfo::exists(logFileName()))
            return true;
        const int choice = ask->message(TvDialogSeam::Warning, msg("FILE_EXISTS"), TvDialogSeam::Yes,
                                        TvDialogSeam::No, TvDialogSeam::Cancel);
        if (choice == TvDialogSeam::Yes)
            return true;
        if (choice != TvDialogSeam::No) {
            logFileName() = QString();
            return false;
        }
    }
}

void TvLogBook::showNothingToSave()
{
    ask->message(TvDialogSeam::Information, msg("LOGFILE_UNCHANGED"), TvDialogSeam::Ok,
                 msg("OK_TEXT"));
}

void TvLogBook::showSaveFailure()
{
    ask->message(TvDialogSeam::Critical,
                 msg("LOGFILE_SAVE_FAILED %1 %2").arg(logFileName(), lastLogError),
                 TvDialogSeam::Cancel, msg("CANCEL_TEXT"));
}

void TvLogBook::saveUnderNewName()
{
    if (chooseNewLogFile() && !appendLogFile())
        showSaveFailure();
}

void TvLogBook::fileSave()
{
    if (!unsaved) {
        showNothingToSave();
        return;
    }
    if (logFileName().isEmpty()) {
        saveUnderNewName();
        return;
    }
    if (!appendLogFile())
        showSaveFailure();
}

void TvLogBook::fileSaveAs()
{
    if (!unsaved) {
        showNothingToSave();
        return;
    }
    saveUnderNewName();
}

bool TvLogBook::confirmLogSaved()
{
    const TvAsk::Question unsavedLines{QStringLiteral("LOGFILE_UNSAVED"), TvDialogSeam::Yes,
                                       TvDialogSeam::No, TvDialogSeam::Cancel};
    const int choice = ask->showQuestion(&unsavedLines);
    if (choice == TvDialogSeam::No)
        return true;
    if (choice != TvDialogSeam::Yes)
        return false;
    if (logFileName().isEmpty() && !chooseLogFileName())
        return false;
    if (appendLogFile())
        return true;
    const TvAsk::Question failed{
        msg("LOGFILE_CHANGES_SAVE_FAILED %1 %2").arg(logFileName(), lastLogError),
        TvDialogSeam::Yes, TvDialogSeam::Cancel};
    return ask->showQuestion(&failed) == TvDialogSeam::Yes;
}

void TvLogBook::emptyLogList(int keepFrom)
{
    const QStringList kept = lines->linesFrom(keepFrom);
    lines->clear();
    lines->appendLines(kept);
    // Lines kept from a save stay saved.
    savedLines = qMax(0, savedLines - keepFrom);
    viewedLines = qMax(0, viewedLines - keepFrom);
    // Rare and cheap: the caption is read again whatever went.
    emit viewChanged();
}

void TvLogBook::switchOnWithFreshList()
{
    if (logging)
        return;
    logging = true;
    emptyLogList(qMax(savedLines, viewedLines));
}

void TvLogBook::fileNew()
{
    // The question runs a nested event loop in which log lines keep coming;
    // what arrived meanwhile belongs to the new list.
    const int asked = lines->count();
    if (!confirmIfUnsaved())
        return;
    logFileName() = QString();
    emptyLogList(asked);
}

void TvLogBook::fileViewLogSlot()
{
    logging = false;
    if (!confirmIfUnsaved())
        return;
    // Nothing of the emptied list stays, so the next save starts at the
    // top of what the list will hold (savedLineCount 0).
    emptyLogList(lines->count());
    const QString name = ask->openFileName(msg("VIEW_LOGFILE_TXT"), logDirectory(), logFilter());
    if (name.isEmpty())
        return;
    QStringList read;
    QString reason;
    if (!readViewedLog(name, &read, &reason)) {
        ask->message(TvDialogSeam::Critical, msg("OPEN_LOGFILE_FAILED %1 %2").arg(name, reason),
                     TvDialogSeam::Ok);
        return;
    }
    lines->appendLines(read);
    viewedLines = read.size();
    viewedName = name;
    emit viewChanged();
    emit logFileShown();
}
