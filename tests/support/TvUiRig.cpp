#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "engine/TvScriptThread.h"
#include "engine/TvWorkerThread.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvProgram.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/testpage/TvTestListItem.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestProgress.h"
#include "ui/testpage/TvTestRun.h"
#include "ui/log/TvLogBook.h"

#include <probekit.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

const QString TvUiRig::DualKey = QStringLiteral("ABCD:0102:ABCD:0001");
const QString TvUiRig::SingleKey = QStringLiteral("ABCD:0101:ABCD:0001");

namespace {

// Runs the hooks around the window's own handling of a custom event.
class EventHooks : public QObject
{
public:
    explicit EventHooks(TvUiRig *rig) : rig(rig) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() < QEvent::User)
            return false;
        const int type = event->type();
        if (rig->beforeEvent)
            rig->beforeEvent(type);
        watched->event(event);
        if (rig->afterEvent)
            rig->afterEvent(type);
        return true;
    }

private:
    TvUiRig *rig;
};

} // namespace

TvUiRig::FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &before);
    struct rlimit small = before;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
}

TvUiRig::FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
}

TvUiRig::TvUiRig()
{
    TvProgram::reset();
    // The window's remembered size and place stay with this rig.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, base.filePath(QStringLiteral("config")));
    QDir().mkpath(base.filePath(QStringLiteral("images")));
    QDir().mkpath(base.filePath(QStringLiteral("logs")));
    savePicture(QStringLiteral("images/empty.png"), QSize(25, 25), Qt::white);
    savePicture(QStringLiteral("images/passed.png"), QSize(25, 25), Qt::green);
    savePicture(QStringLiteral("images/failed.png"), QSize(25, 25), Qt::red);
    savePicture(QStringLiteral("images/generic.bmp"), QSize(32, 90), Qt::green);
    savePicture(QStringLiteral("images/led_off.bmp"), QSize(16, 16), Qt::darkGray);

    CAdapterInfo &info = CAdapterInfo::instance();
    info.clear();
    info.name = QStringLiteral("Test Diagnostics");
    info.basepath = base.path();
    info.logpath = QStringLiteral("logs");
    info.log_ext = QStringLiteral("log");
    info.poll_interval = 700;
    info.vendorIds = {PciIdEntry{0xABCD, 0}};
    machine.adapters = {TvTestMachine::adapter(2, 1, 2)};
}

TvUiRig::~TvUiRig()
{
    if (workerThread) {
        // Questions still open are answered Cancel, so the worker can end.
        workerThread->setReceiver(nullptr);
        TvCoreCallbacks::setReceiver(nullptr);
        // A core command that runs until cancelled (the monitor modes)
        // would keep the worker from ending.
        workerThread->requestCancel();
        workerThread->stop();
    }
    mainWindow.reset();
    scriptThread.reset();
    workerThread.reset();
    for (int fd : heldLocks)
        ::close(fd);
    if (coreStarted)
        CoreDeinit();
    CAdapterInfo::instance().clear();
    TvProgram::reset();
}

CTestCase TvUiRig::testCase(const QString &name, const QList<int> &ids, int allowLoop,
                            int allTests, int advanced)
{
    CTestCase t;
    t.testname = name;
    t.menuentry = QLatin1Char('&') + name;
    t.accel = QStringLiteral("Ctrl+%1").arg(ids.isEmpty() ? 0 : ids.first() / 100);
    t.allow_loop = allowLoop;
    t.all_tests = allTests;
    t.advanced = advanced;
    for (int id : ids)
        t.subtests.append({QStringLiteral("Step %1").arg(id), QString(), id});
    return t;
}

void TvUiRig::describeAdapter(const QString &key, const QString &name,
                              const QList<int> &testCaseIds, const QString &pixmap)
{
    CAdapterEntry entry;
    entry.id = key;
    entry.name = name;
    entry.pixmap = pixmap;
    entry.testCaseIds = testCaseIds;
    CAdapterInfo::instance().adapters.insert(key, entry);
}

void TvUiRig::savePicture(const QString &name, const QSize &size, Qt::GlobalColor color) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    image.save(base.filePath(name));
}

void TvUiRig::useFourAdapters()
{
    savePicture(QStringLiteral("images/dual.png"), QSize(40, 80), Qt::red);
    describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {1, 2}, QStringLiteral("images/dual.png"));
    describeAdapter(SingleKey, QStringLiteral("Orlin Single"), {2, 1},
                    QStringLiteral("images/missing.png"));
    CAdapterInfo &info = CAdapterInfo::instance();
    info.testCases.insert(9999, testCase(QStringLiteral("All tests"), {}));
    info.testCases.insert(1, testCase(QStringLiteral("Register test"), {101, 102}));
    info.testCases.insert(2, testCase(QStringLiteral("Memory test"), {201}, 0));
    QJsonObject unknown = TvTestMachine::adapter(4, 0, 4, QStringLiteral("01FF"));
    QJsonObject other = TvTestMachine::adapter(5, 0, 5);
    other[QStringLiteral("vendorId")] = QStringLiteral("1B2C");
    machine.adapters = {TvTestMachine::adapter(2, 1, 2),
                        TvTestMachine::adapter(3, 0, -1, QStringLiteral("0101")), unknown, other};
}

bool TvUiRig::startCore()
{
    machine.install();
    coreStarted = CoreInit() == 0;
    return coreStarted;
}

int TvUiRig::holdElsewhere(int bus, int device)
{
    const QString path =
        machine.lockDir() + QStringLiteral("/adapter-%1-%2.lock").arg(bus).arg(device);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0644);
    // The same kind of lock the core takes for the adapter it selects.
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &whole) == 0) {
        heldLocks.append(fd);
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    return -1;
}

void TvUiRig::release(int lock)
{
    heldLocks.removeAll(lock);
    ::close(lock);
}

void TvUiRig::build(bool withWorker)
{
    if (mainWindow)
        return;
    mainWindow = std::make_unique<TvDiagMainWindow>();
    hooks = std::make_unique<EventHooks>(this);
    mainWindow->installEventFilter(hooks.get());
    if (!withWorker)
        return;
    workerThread = std::make_unique<TvWorkerThread>();
    mainWindow->setWorker(workerThread.get());
    scriptThread = std::make_unique<TvScriptThread>();
    mainWindow->setScriptThread(scriptThread.get());
    workerThread->start(mainWindow.get());
}

TvDiagMainWindow &TvUiRig::window()
{
    build(false);
    return *mainWindow;
}

TvDiagMainWindow &TvUiRig::windowWithWorker()
{
    build(true);
    return *mainWindow;
}

QWidget *TvUiRig::windowWidget()
{
    return &window();
}

void TvUiRig::click(const char *button)
{
    child<QPushButton>(button)->click();
}

bool TvUiRig::closeWindow()
{
    QCloseEvent event;
    QApplication::sendEvent(&window(), &event);
    return event.isAccepted();
}

TvTestProgress *TvUiRig::row(int k)
{
    return window().tests()->row(k);
}

void TvUiRig::tickOnly(const QList<int> &rows)
{
    for (int k = 0; k < TvTestPage::RowCount; ++k)
        row(k)->setChecked(rows.contains(k));
}

bool TvUiRig::rowChecksEnabled()
{
    for (int k = 0; k < TvTestPage::RowCount; ++k) {
        if (!row(k)->findChild<QCheckBox *>(QStringLiteral("test_checkbox"))->isEnabled())
            return false;
    }
    return true;
}

void TvUiRig::pick(int testCaseNumber)
{
    auto *list = child<QTreeWidget>("TestCasesListView");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        auto *item = static_cast<TvTestListItem *>(list->topLevelItem(i));
        if (item->testCaseNumber() == testCaseNumber)
            list->setCurrentItem(item);
    }
}

bool TvUiRig::isRunning()
{
    return window().run()->isRunning();
}

bool TvUiRig::inAllTests()
{
    return window().run()->isAllTests();
}

TvLogModel *TvUiRig::logModel()
{
    return window().log()->model();
}

void TvUiRig::mark()
{
    logMark = logModel()->count();
}

QStringList TvUiRig::texts(const TvLogModel *model, int from)
{
    QStringList all;
    for (const QString &line : model->linesFrom(from))
        all.append(line.mid(25));
    return all;
}

QStringList TvUiRig::log()
{
    return texts(logModel(), logMark);
}

QStringList TvUiRig::logStarting(const QString &prefix)
{
    QStringList texts;
    for (const QString &text : log()) {
        if (text.startsWith(prefix))
            texts.append(text);
    }
    return texts;
}

QStringList TvUiRig::rawKeys(const QStringList &texts)
{
    static const QRegularExpression rawKey(QStringLiteral("(^|\\s)[A-Z][A-Z0-9]*(_[A-Z0-9]+)+(\\s|$)"));
    QStringList raw;
    for (const QString &text : texts) {
        if (rawKey.match(text).hasMatch())
            raw.append(text);
    }
    return raw;
}
