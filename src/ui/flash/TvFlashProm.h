#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QByteArray;
class QProgressDialog;
class QWidget;
class TvAdapterSession;
class TvAsk;
class TvLogBook;

// The flash PROM menu: save the selected adapter's PROM to an image file,
// and in advanced mode program an image into it or erase it. The core's
// flash calls take seconds and may ask a question, so each runs on a thread
// of its own while the window goes on handling its events: the controls
// stay locked, a progress dialog (without cancel: the core cannot stop a
// flash write) follows the core's progress, and the core's texts and
// questions come through the window's events as a test's do.
class TvFlashProm : public QObject
{
    Q_OBJECT
public:
    // `window` is where the core's events go (the callbacks' receiver) and
    // the progress dialog's parent; null for none.
    TvFlashProm(bool advanced, TvAsk *ask, TvLogBook *log, TvAdapterSession *session,
                QWidget *window, QObject *parent = nullptr);

    // A flash call is in the core.
    bool isBusy() const { return busy; }
    // The core's progress (event 1050) while busy.
    void showProgress(int value);

    // "FLASH_PROM_FILES (*<ext> ...)" over the configured extensions.
    QString fileFilter() const;
    // The configured flash directory below the base directory.
    QString startDirectory() const;
    // The name with the first configured extension appended with its dot,
    // unless the name ends with one of them already.
    QString withExtension(const QString &name) const;

public slots:
    void flashSaveSlot();
    void flashLoadSlot();
    void flashClearSlot();

signals:
    // True: lock the controls for the time of a flash action.
    void controlsLockRequested(bool lock);
    // A flash call entered (true) or left (false) the core.
    void busyChanged(bool busy);

private:
    bool saveImage();
    QString chooseSaveName() const;
    bool readAndWrite(const QString &name);
    void loadImage(const QString &name);
    bool readImageFile(const QString &name, QByteArray *image);
    // The image buffer of flash_size bytes and `spare` more; a failure
    // has been shown.
    bool allocate(QByteArray *image, int spare = 0) const;
    // Cuts a PROM read larger than configured to flash_size, and logs
    // any difference between the two sizes.
    void logSizeDifference(QByteArray *image) const;
    int callCore(const char *labelKey, const std::function<int()> &call);
    int runOffGuiThread(const std::function<int()> &call);
    void setLocked(bool locked);
    // Yes or No, No the default.
    int confirm(const char *key) const;
    int confirmText(const QString &text) const;
    void showStatus(int status) const;
    void showCoreFailure(const QString &text) const;
    void showFileFailure(const char *key, const QString &name, const QString &reason) const;
    void showDone(const QString &text) const;

    bool advanced;
    TvAsk *ask;
    TvLogBook *log;
    TvAdapterSession *session;
    QPointer<QWidget> window;
    bool busy = false;
    QProgressDialog *progress = nullptr;
};
