#pragma once
#include "TvScriptedDialogs.h"
#include "TvTestMachine.h"

#include "description/CTestCase.h"
#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/log/TvLogBook.h"

#include <QList>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>

#include <sys/resource.h>

class QObject;
class TvDiagMainWindow;
class TvLogModel;
class TvTestProgress;
class TvScriptThread;
class TvWorkerThread;

// The one rig of the user interface tests. It starts from a clean program
// state: the scripted dialogs are installed, the description store knows the
// basics (banner product "Test Diagnostics", vendor ABCD, log directory
// "logs" with extension "log", poll interval 700 ms) and its base directory
// holds the standard pictures (images/empty.png white, passed.png green,
// failed.png red, all 25 x 25; generic.bmp green 32 x 90; led_off.bmp).
// The simulated machine holds one dual-port adapter (bus 2, device 1, slot
// 2) until a test lists others. A test describes its adapters and test
// cases, starts the core and builds what it needs: a page on its own with
// the rig's owners (ask, book, session), or the whole window; the destructor
// takes it all down again in order.
class TvUiRig
{
public:
    static const QString DualKey;   // the machine's default adapter model
    static const QString SingleKey; // device 0101 of the same vendor

    // While it lives, no file of the process grows past `bytes`: a write
    // beyond fails with EFBIG part-way, as on a full disk (SIGXFSZ is
    // ignored meanwhile).
    class FileSizeLimit
    {
    public:
        explicit FileSizeLimit(rlim_t bytes);
        ~FileSizeLimit();
        FileSizeLimit(const FileSizeLimit &) = delete;
        FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    private:
        struct rlimit before {};
        void (*previousHandler)(int) = nullptr;
    };

    TvUiRig();
    ~TvUiRig();
    TvUiRig(const TvUiRig &) = delete;
    TvUiRig &operator=(const TvUiRig &) = delete;

    // A test case whose sub-tests are "Step <id>", with menu entry
    // "&<name>" and accelerator "Ctrl+<first id / 100>".
    static CTestCase testCase(const QString &name, const QList<int> &ids, int allowLoop = 1,
                              int allTests = 0, int advanced = 0);
    void describeAdapter(const QString &key, const QString &name, const QList<int> &testCaseIds,
                         const QString &pixmap = QString());
    void savePicture(const QString &name, const QSize &size, Qt::GlobalColor color) const;
    // Two described models and a machine with four adapters: the dual-port
    // model (DualKey, test cases 1 and 2, picture red 40 x 80) at bus 2
    // device 1 slot 2, the single-port model (SingleKey, test cases 2 and
    // 1, its picture missing) at bus 3 device 0 without slot, an
    // undescribed one at bus 4, and one of another vendor at bus 5. Test
    // cases: 9999 all tests, 1 "Register test" (101, 102), 2 "Memory test"
    // (201, no loop).
    void useFourAdapters();
    QString basePath(const QString &relative) const { return base.filePath(relative); }

    // Writes the machine file and initialises the core.
    bool startCore();
    // Takes an adapter's lock as another running instance of the program
    // would; returns the lock, or -1.
    int holdElsewhere(int bus, int device);
    void release(int lock);

    // The main window, built on first use; with a worker, a real worker
    // thread runs its jobs and a script runner runs script files.
    TvDiagMainWindow &window();
    TvDiagMainWindow &windowWithWorker();
    TvWorkerThread *worker() const { return workerThread.get(); }
    TvScriptThread *script() const { return scriptThread.get(); }

    // Called around every custom event that the window handles.
    std::function<void(int type)> beforeEvent;
    std::function<void(int type)> afterEvent;

    // A child of the window by object name (a warning when there is none).
    template <typename T> T *child(const char *name)
    {
        T *found = windowWidget()->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    void click(const char *button);
    // Sends a close event to the window; whether it was accepted.
    bool closeWindow();

    // The test tab's rows and the run state.
    TvTestProgress *row(int k);
    void tickOnly(const QList<int> &rows);
    bool rowChecksEnabled();
    // The list entry of a test case number becomes the current one.
    void pick(int testCaseNumber);
    bool isRunning();
    bool inAllTests();

    // The log list; texts are read without their time stamps.
    static QStringList texts(const TvLogModel *model, int from = 0);
    TvLogModel *logModel();
    void mark();
    QStringList log();
    QStringList logStarting(const QString &prefix);
    bool logHas(const QString &text) { return log().contains(text); }
    // The texts that show a message key left untranslated: an upper-case
    // word with underscores, alone or among other words.
    static QStringList rawKeys(const QStringList &texts);

    QTemporaryDir base;
    TvTestMachine machine;
    TvScriptedDialogs dialogs;
    // The owners that a page built without the window is handed.
    TvAsk ask;
    TvLogBook book{&ask};
    TvAdapterSession session{&ask, &book};

private:
    QWidget *windowWidget();
    void build(bool withWorker);

    QList<int> heldLocks;
    bool coreStarted = false;
    int logMark = 0;
    std::unique_ptr<QObject> hooks;
    std::unique_ptr<TvDiagMainWindow> mainWindow;
    std::unique_ptr<TvWorkerThread> workerThread;
    std::unique_ptr<TvScriptThread> scriptThread;
};
