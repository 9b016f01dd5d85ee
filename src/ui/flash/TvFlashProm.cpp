#include "TvFlashProm.h"
#include "TvFlashImageFile.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"
#include "ui/log/TvLogBook.h"

#include "core/TvCoreRefusal.h"
#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"
#include "engine/TvLogFile.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvEventChannel.h"
#include "text/TvProgram.h"

#include <probekit.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <limits>
#include <memory>
#include <new>
#include <thread>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

const uint8_t *bytesOf(const QByteArray &image)
{
    return reinterpret_cast<const uint8_t *>(image.constData());
}

} // namespace

TvFlashProm::TvFlashProm(bool advanced, TvAsk *ask, TvLogBook *log, TvAdapterSession *session,
                         QWidget *window, QObject *parent)
    : QObject(parent), advanced(advanced), ask(ask), log(log), session(session), window(window)
{
}

QString TvFlashProm::fileFilter() const
{
    // Qt reads the patterns in the parentheses as separated by blanks.
    return msg("FLASH_PROM_FILES") + QStringLiteral(" (")
           + TvLogFile::patterns(CAdapterInfo::instance().flash_ext) + QLatin1Char(')');
}

QString TvFlashProm::startDirectory() const
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    return info.basePathOf(info.flash_path);
}

QString TvFlashProm::withExtension(const QString &name) const
{
    return TvLogFile::withExtension(name, CAdapterInfo::instance().flash_ext);
}

// ---------------------------------------------------------------------------
// Boxes
// ---------------------------------------------------------------------------

int TvFlashProm::confirm(const char *key) const
{
    return confirmText(msg(key));
}

int TvFlashProm::confirmText(const QString &text) const
{
    // Return alone changes nothing on the adapter.
    return ask->untitled(TvAsk::OverOwner, TvDialogSeam::Information, text,
                         {{TvDialogSeam::Yes, QString()}, {TvDialogSeam::No, QString(), true}});
}

void TvFlashProm::showStatus(int status) const
{
    // The core logged its reason with the call's texts; the box says it too.
    showCoreFailure(TvCoreRefusal::explained(TvStatusCodes::statusText(status)));
}

void TvFlashProm::showCoreFailure(const QString &text) const
{
    ask->untitled(TvAsk::OverOwner, TvDialogSeam::Critical, text, {{TvDialogSeam::Cancel, QString()}});
}

void TvFlashProm::showFileFailure(const char *key, const QString &name,
                                  const QString &reason) const
{
    ask->untitled(TvAsk::Alone, TvDialogSeam::Critical, msg(key).arg(name, reason),
                  {{TvDialogSeam::Ok, QString()}});
}

void TvFlashProm::showDone(const QString &text) const
{
    ask->untitled(TvAsk::Alone, TvDialogSeam::Information, text, {{TvDialogSeam::Ok, QString()}});
}

// ---------------------------------------------------------------------------
// Running a core call
// ---------------------------------------------------------------------------

void TvFlashProm::setLocked(bool locked)
{
    emit controlsLockRequested(locked);
}

bool TvFlashProm::allocate(QByteArray *image, int spare) const
{
    const qint64 size = qint64(CAdapterInfo::instance().flash_size) + spare;
    int error = EINVAL;
    if (size > spare && size <= std::numeric_limits<int>::max()) {
        try {
            image->resize(int(size));
            return true;
        } catch (const std::bad_alloc &) {
            error = ENOMEM;
        }
    }
    ask->untitled(TvAsk::Alone, TvDialogSeam::Critical,
                  msg("ALLOC_FLASHPROM_RAM_FAILED %1").arg(TvFlashImageFile::errorText(error)),
                  {{TvDialogSeam::Cancel, QString()}});
    return false;
}

void TvFlashProm::showProgress(int value)
{
    if (progress)
        progress->setValue(qBound(0, value, 100));
}

int TvFlashProm::callCore(const char *labelKey, const std::function<int()> &call)
{
    TvCoreRefusal::clear();
    busy = true;
    emit busyChanged(true);
    // The core's stamped texts belong in the log, as an adapter
    // selection's lines do, whether a test has switched logging on or not.
    const bool wasLogging = log->loggingOn();
    log->setLoggingOn(true);
    const std::unique_ptr<QProgressDialog> dialog(
        new QProgressDialog(msg(labelKey), QString(), 0, 100, window));
    dialog->setWindowTitle(TvProgram::bannerText());
    // Not modal: a modal one would run the event loop inside setValue.
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->setValue(0);
    dialog->show();
    progress = dialog.get();

    const int status = runOffGuiThread(call);
    // The call's last texts and progress come before its outcome.
    if (window)
        TvEventChannel::of(window)->deliverPending();

    progress = nullptr;
    log->setLoggingOn(wasLogging);
    busy = false;
    emit busyChanged(false);
    return status;
}

int TvFlashProm::runOffGuiThread(const std::function<int()> &call)
{
    std::atomic<bool> done{false};
    int status = 0;
    QEventLoop loop;
    // Polled rather than posted: an event made on the core's thread would
    // reach this one through Qt's own locks, which the thread sanitizer
    // does not see, and the poll costs nothing beside a flash call's seconds.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start(10);
    std::thread thread([&] {
        status = call();
        done = true;
    });
    loop.exec();
    // An application that quits ends every event loop at once, while the
    // core call goes on and may still ask (its box then gets its safe answer).
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    thread.join();
    return status;
}

// ---------------------------------------------------------------------------
// Save
// ---------------------------------------------------------------------------

void TvFlashProm::flashSaveSlot()
{
    saveImage();
}

bool TvFlashProm::saveImage()
{
    const QString name = chooseSaveName();
    if (name.isEmpty())
        return false;
    setLocked(true);
    const bool saved = readAndWrite(name);
    setLocked(false);
    return saved;
}

QString TvFlashProm::chooseSaveName() const
{
    for (;;) {
        const QString chosen = ask->namedSaveFileName(
            msg("CHOOSE_FLASHFILE_SAVE_NAME"), msg("SAVE_FLASH_PROM_FILE"), startDirectory(),
            fileFilter());
        if (chosen.isEmpty())
            return QString();
        // With the extension that the image will get, so that an existing
        // "image.bin" is asked about when the user typed "image.".
        const QString name = withExtension(chosen);
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink())
            return name;
        const int choice = ask->untitled(
            TvAsk::Alone, TvDialogSeam::Warning,
            QCoreApplication::translate(TvContextText::MainWindow, "FILE_EXISTS", "Flash PROM image"),
            {{TvDialogSeam::Yes, QString()}, {TvDialogSeam::No, QString()},
             {TvDialogSeam::Cancel, QString()}});
        if (choice == TvDialogSeam::Yes)
            return name;
        if (choice != TvDialogSeam::No)
            return QString();
    }
}

bool TvFlashProm::readAndWrite(const QString &name)
{
    QByteArray image;
    // One byte more than configured: a PROM that fills it is larger than
    // flash_size says, which the log is told.
    if (!allocate(&image, 1))
        return false;
    uint32_t size = uint32_t(image.size());
    const int status = callCore("FLASH_PROM_READING", [&] {
        return FlashSaveImage(reinterpret_cast<uint8_t *>(image.data()), &size,
                              TvCoreCallbacks::flashTable());
    });
    if (status != 0) {
        showStatus(status);
        return false;
    }
    // Nothing read is no image: saved, it would replace a good one.
    if (size == 0) {
        showCoreFailure(msg("FLASH_PROM_SAVE_EMPTY"));
        return false;
    }
    image.truncate(int(qMin<uint32_t>(size, uint32_t(image.size()))));
    logSizeDifference(&image);
    QString reason;
    switch (TvFlashImageFile::save(name, image, &reason)) {
    case TvFlashImageFile::Done:
        showDone(msg("FLASH_PROM_SAVE_SUCCESS %1").arg(name));
        return true;
    case TvFlashImageFile::OpenFailed:
        showFileFailure("OPEN_FLASHFILE_FAILED %1 %2", name, reason);
        return false;
    default:
        showFileFailure("SAVE_FLASH_PROM_FAILED %1 %2", name, reason);
        return false;
    }
}

void TvFlashProm::logSizeDifference(QByteArray *image) const
{
    const int configured = CAdapterInfo::instance().flash_size;
    if (image->size() > configured) {
        image->truncate(configured);
        log->addForcedLine(msg("FLASH_PROM_LARGER_THAN_CONFIGURED %1").arg(configured));
    } else if (image->size() < configured) {
        log->addForcedLine(msg("FLASH_PROM_SIZE_DIFFERS %1 %2").arg(image->size()).arg(configured));
    }
}

// ---------------------------------------------------------------------------
// Load
// ---------------------------------------------------------------------------

void TvFlashProm::flashLoadSlot()
{
    if (!advanced)
        return;
    const QString name = ask->namedOpenFileName(msg("CHOOSE_FLASHFILE_LOAD_NAME"),
                                                msg("LOAD_FLASH_PROM_FILE"), startDirectory(),
                                                fileFilter());
    if (name.isEmpty())
        return;
    setLocked(true);
    loadImage(name);
    setLocked(false);
}

bool TvFlashProm::readImageFile(const QString &name, QByteArray *image)
{
    QString reason;
    qint64 leftOut = 0;
    switch (TvFlashImageFile::load(name, image, &leftOut, &reason)) {
    case TvFlashImageFile::Done:
        break;
    case TvFlashImageFile::OpenFailed:
        showFileFailure("OPEN_FLASHFILE_FAILED %1 %2", name, reason);
        return false;
    case TvFlashImageFile::Empty:
        showFileFailure("LOAD_FLASH_PROM_FAILED %1 %2", name, msg("FLASH_PROM_FILE_EMPTY"));
        return false;
    case TvFlashImageFile::NotRegular:
        showFileFailure("LOAD_FLASH_PROM_FAILED %1 %2", name, msg("NOT_A_REGULAR_FILE"));
        return false;
    default:
        showFileFailure("LOAD_FLASH_PROM_FAILED %1 %2", name, reason);
        return false;
    }
    if (leftOut > 0)
        log->addForcedLine(msg("FLASH_PROM_FILE_CUT %1 %2").arg(name).arg(leftOut));
    return true;
}

void TvFlashProm::loadImage(const QString &name)
{
    QByteArray image;
    // A failed allocation is said here too: the user asked for the PROM to
    // be programmed.
    if (!allocate(&image) || !readImageFile(name, &image))
        return;
    if (confirmText(msg("CONFIRM_FLASHPROM_LOAD %1 %2").arg(name).arg(image.size()))
        != TvDialogSeam::Yes)
        return;
    const int status = callCore("FLASH_PROM_PROGRAMMING", [&] {
        return FlashLoadImage(bytesOf(image), uint32_t(image.size()), TvCoreCallbacks::flashTable());
    });
    if (status != 0) {
        showStatus(status);
        return;
    }
    QString done = msg("LOAD_FLASH_PROM_SUCCESS");
    if (done.contains(QLatin1String("%1")))
        done = done.arg(name);
    log->addForcedLine(msg("FLASH_PROM_PROGRAMMED_LOG %1 %2 %3")
                           .arg(session->logName(), name)
                           .arg(image.size()));
    showDone(done);
}

// ---------------------------------------------------------------------------
// Erase
// ---------------------------------------------------------------------------

void TvFlashProm::flashClearSlot()
{
    if (!advanced || confirm("CONFIRM_FLASHPROM_CLEAR") != TvDialogSeam::Yes)
        return;
    // A backup that was asked for and did not happen (its dialog cancelled,
    // or the save failed) is no backup: erasing then needs a second yes.
    if (confirm("CONFIRM_FLASHPROM_BACKUP") == TvDialogSeam::Yes && !saveImage()
        && confirm("CONFIRM_FLASHPROM_CLEAR_WITHOUT_BACKUP") != TvDialogSeam::Yes)
        return;
    setLocked(true);
    const int status =
        callCore("FLASH_PROM_ERASING", [] { return FlashErase(TvCoreCallbacks::flashTable()); });
    if (status != 0) {
        showStatus(status);
    } else {
        log->addForcedLine(msg("FLASH_PROM_ERASED_LOG %1").arg(session->logName()));
        showDone(msg("ERASE_FLASHPROM_SUCCESS"));
    }
    setLocked(false);
}
