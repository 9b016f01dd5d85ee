// The flash PROM menu through the main window, over the simulated core:
// images saved and loaded byte for byte with the names and questions on the
// way, failed writes that harm no image, erase and its backup, the controls
// locked around every core call, and a window that lives on while the core
// works on a thread of its own.
#include "TvUiRig.h"

#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"
#include "text/TvCoreEvent.h"
#include "text/TvProgram.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvQtDialogs.h"
#include "ui/flash/TvFlashProm.h"
#include "ui/testpage/TvTestRun.h"

#include <probekit.h>

#include <QAction>
#include <QDir>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int FlashSize = 131072;

class FlashRig : public TvUiRig
{
public:
    explicit FlashRig(const QJsonValue &question = QJsonValue())
    {
        useFourAdapters();
        if (!question.isUndefined()) {
            QJsonObject first = machine.adapters.at(0).toObject();
            first[QStringLiteral("flashQuestion")] = question;
            machine.adapters[0] = first;
        }
        CAdapterInfo &info = CAdapterInfo::instance();
        info.flash_path = QStringLiteral("flash");
        info.flash_ext = QStringList({QStringLiteral("bin")});
        info.flash_size = FlashSize;
        QDir().mkpath(basePath(QStringLiteral("flash")));
    }
    TvDiagMainWindow &open()
    {
        TvProgram::runSettings()[0] = 1;
        if (!startCore())
            qWarning("the core did not start");
        TvDiagMainWindow &w = window();
        w.selectAdapter(0);
        dialogs.asked.clear();
        return w;
    }
    // The first adapter's PROM holds `bytes`; before open().
    void promOf(int bytes)
    {
        QJsonObject first = machine.adapters.at(0).toObject();
        first[QStringLiteral("flashSize")] = bytes;
        machine.adapters[0] = first;
    }
    QString image(const QString &name) const { return basePath(QStringLiteral("flash/") + name); }
    static QByteArray prom()
    {
        QByteArray contents(FlashSize, '\0');
        uint32_t size = FlashSize;
        if (FlashSaveImage(reinterpret_cast<uint8_t *>(contents.data()), &size, nullptr) != 0)
            return QByteArray();
        return contents.left(int(size));
    }
    static QByteArray file(const QString &name)
    {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    static void write(const QString &name, const QByteArray &bytes)
    {
        QFile f(name);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    static QByteArray noise(int size)
    {
        QByteArray bytes(size, '\0');
        std::generate(bytes.begin(), bytes.end(), [] { return char(QRandomGenerator::global()->generate()); });
        return bytes;
    }
    bool flashActionEnabled() { return child<QAction>("flashSaveAction")->isEnabled(); }
};

} // namespace

class TestUiFlash : public QObject
{
    Q_OBJECT

private slots:
    void imagesRoundTripByteForByte();
    void failedWritesAreReportedAndHarmNoImage();
    void saveTakesWhatThePromHolds_data();
    void saveTakesWhatThePromHolds();
    void loadCutsLongFilesAndRefusesUnreadableOnes_data();
    void loadCutsLongFilesAndRefusesUnreadableOnes();
    void eraseNeedsABackupOrASecondYes_data();
    void eraseNeedsABackupOrASecondYes();
    void unattendedEraseErasesNothing();
    void everyCoreFailureReleasesTheControls_data();
    void everyCoreFailureReleasesTheControls();
    void theWindowLivesWhileTheCoreWorks();
};

void TestUiFlash::imagesRoundTripByteForByte()
{
    FlashRig rig;
    TvDiagMainWindow &w = rig.open();
    const QByteArray factory = rig.prom();
    QCOMPARE(factory.size(), FlashSize);

    rig.dialogs.answerFile(rig.image(QStringLiteral("image")));
    w.flashSaveSlot();
    const TvScriptedDialogs::Asked dialog = rig.dialogs.asked.first();
    QCOMPARE(dialog.kind, TvScriptedDialogs::Asked::SaveFile);
    QCOMPARE(dialog.caption, QStringLiteral("SAVE_FLASH_PROM_FILE"));
    QCOMPARE(dialog.objectName, QStringLiteral("CHOOSE_FLASHFILE_SAVE_NAME"));
    QCOMPARE(dialog.directory, rig.basePath(QStringLiteral("flash")));
    QCOMPARE(dialog.filter, QStringLiteral("FLASH_PROM_FILES (*.bin)"));
    // The configured extension comes with its dot.
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList({"FLASH_PROM_SAVE_SUCCESS " + rig.image(QStringLiteral("image.bin"))}));
    QCOMPARE(rig.file(rig.image(QStringLiteral("image.bin"))), factory);

    const QByteArray other = rig.noise(FlashSize);
    rig.write(rig.image(QStringLiteral("other.bin")), other);
    // Programming asks first, naming the file and its size; Return is No.
    const QString confirmLoad = "CONFIRM_FLASHPROM_LOAD " + rig.image(QStringLiteral("other.bin"))
                                + ' ' + QString::number(FlashSize);
    for (int answer : {TvDialogSeam::No, TvDialogSeam::Yes}) {
        rig.dialogs.answerFile(rig.image(QStringLiteral("other.bin")));
        rig.dialogs.answerMessage(answer);
        w.flashLoadSlot();
        QCOMPARE(rig.prom(), answer == TvDialogSeam::No ? factory : other);
    }
    QCOMPARE(rig.dialogs.asked.at(2).objectName, QStringLiteral("CHOOSE_FLASHFILE_LOAD_NAME"));
    QCOMPARE(rig.dialogs.asked.at(3).text, confirmLoad);
    QCOMPARE(rig.dialogs.asked.at(3).defaultButton, int(TvDialogSeam::No));
    QCOMPARE(rig.dialogs.messageTexts().mid(1),
             QStringList({confirmLoad, confirmLoad, "LOAD_FLASH_PROM_SUCCESS"}));
    // Logged with the adapter (bus 2, device 1), the file and its size.
    const QStringList programmed = rig.logStarting(QStringLiteral("FLASH_PROM_PROGRAMMED_LOG"));
    QCOMPARE(programmed.size(), 1);
    QVERIFY2(programmed.first().endsWith(" 2 1 " + rig.image(QStringLiteral("other.bin")) + ' '
                                         + QString::number(FlashSize)),
             qPrintable(programmed.first()));
    rig.dialogs.answerFile(rig.image(QStringLiteral("copy.bin")));
    w.flashSaveSlot();
    QCOMPARE(rig.file(rig.image(QStringLiteral("copy.bin"))), other);
    // Only the images themselves are left in the directory.
    QCOMPARE(QDir(rig.basePath(QStringLiteral("flash"))).entryList(QDir::Files | QDir::Hidden),
             QStringList({"copy.bin", "image.bin", "other.bin"}));

    // An existing file reached only through the appended extension is
    // asked about: No brings the dialog back, Cancel ends.
    rig.dialogs.asked.clear();
    QSignalSpy locks(w.flash(), &TvFlashProm::controlsLockRequested);
    for (int answer : {TvDialogSeam::No, TvDialogSeam::Cancel}) {
        rig.dialogs.answerFile(rig.image(QStringLiteral("image")));
        rig.dialogs.answerMessage(answer);
    }
    w.flashSaveSlot();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"FILE_EXISTS", "FILE_EXISTS"}));
    QCOMPARE(rig.dialogs.asked.size(), 4);
    QCOMPARE(rig.dialogs.asked.at(1).buttons,
             QList<int>({TvDialogSeam::Yes, TvDialogSeam::No, TvDialogSeam::Cancel}));
    QCOMPARE(rig.file(rig.image(QStringLiteral("image.bin"))), factory);
    QCOMPARE(locks.count(), 0);

    // A file saved over keeps its permissions, even none at all.
    const QString kept = rig.image(QStringLiteral("kept.bin"));
    rig.write(kept, factory);
    QVERIFY(QFile::setPermissions(kept, QFileDevice::Permissions()));
    rig.dialogs.answerFile(kept);
    w.flashSaveSlot();
    QCOMPARE(rig.dialogs.messageTexts().last(), "FLASH_PROM_SAVE_SUCCESS " + kept);
    struct stat status {};
    QVERIFY(::stat(QFile::encodeName(kept).constData(), &status) == 0 && (status.st_mode & 07777) == 0);
}

void TestUiFlash::failedWritesAreReportedAndHarmNoImage()
{
    FlashRig rig;
    TvDiagMainWindow &w = rig.open();
    const QByteArray old = rig.noise(1000);
    rig.write(rig.image(QStringLiteral("old.bin")), old);
    // A full device, reached through an image's name.
    const QString full = rig.basePath(QStringLiteral("full.bin"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
    const struct {
        QString name;
        bool shortWrite;
        QString box;
    } cases[] = {
        {full, false, "SAVE_FLASH_PROM_FAILED " + full + ' ' + QString::fromLocal8Bit(strerror(ENOSPC))},
        {rig.image(QStringLiteral("old.bin")), true,
         "SAVE_FLASH_PROM_FAILED " + rig.image(QStringLiteral("old.bin")) + ' '
             + QString::fromLocal8Bit(strerror(EFBIG))},
        // Nor is a half-written new image left behind.
        {rig.image(QStringLiteral("new.bin")), true,
         "SAVE_FLASH_PROM_FAILED " + rig.image(QStringLiteral("new.bin")) + ' '
             + QString::fromLocal8Bit(strerror(EFBIG))},
        {rig.image(QStringLiteral("missing/new.bin")), false,
         "OPEN_FLASHFILE_FAILED " + rig.image(QStringLiteral("missing/new.bin")) + ' '
             + QString::fromLocal8Bit(strerror(ENOENT))},
        // A pipe nobody reads is refused at once, not waited on.
        {rig.image(QStringLiteral("pipe.bin")), false,
         "OPEN_FLASHFILE_FAILED " + rig.image(QStringLiteral("pipe.bin")) + ' '
             + QString::fromLocal8Bit(strerror(ENXIO))},
    };
    QCOMPARE(::mkfifo(QFile::encodeName(rig.image(QStringLiteral("pipe.bin"))).constData(), 0600), 0);
    for (const auto &c : cases) {
        rig.dialogs.asked.clear();
        rig.dialogs.answerFile(c.name);
        if (QFileInfo::exists(c.name))
            rig.dialogs.answerMessage(TvDialogSeam::Yes);
        {
            // A write that stops part-way, as on a full disk.
            const TvUiRig::FileSizeLimit limit(c.shortWrite ? 4096 : RLIM_INFINITY);
            w.flashSaveSlot();
        }
        QCOMPARE(rig.dialogs.messageTexts().last(), c.box);
    }
    QCOMPARE(rig.file(rig.image(QStringLiteral("old.bin"))), old);
    QCOMPARE(QDir(rig.basePath(QStringLiteral("flash"))).entryList(QDir::Files | QDir::Hidden),
             QStringList({"old.bin"}));

    // Temporaries left by this process are passed over; only a hundred of
    // them in the way keep the image from being saved.
    QVERIFY(QDir().mkpath(rig.image(QStringLiteral("stale"))));
    const QString taken = rig.image(QStringLiteral("stale/taken.bin"));
    const QString stale = rig.image(QStringLiteral("stale/.taken.bin.%1.%2")).arg(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt)
        rig.write(stale.arg(attempt), "stale");
    for (const QString &box : {"OPEN_FLASHFILE_FAILED " + taken + ' ' + QString::fromLocal8Bit(strerror(EEXIST)),
                               "FLASH_PROM_SAVE_SUCCESS " + taken}) {
        rig.dialogs.answerFile(taken);
        w.flashSaveSlot();
        QCOMPARE(rig.dialogs.messageTexts().last(), box);
        QFile::remove(stale.arg(0));
    }
    QCOMPARE(rig.file(taken), rig.prom());
}

void TestUiFlash::saveTakesWhatThePromHolds_data()
{
    QTest::addColumn<int>("prom");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("logged");
    QTest::newRow("as configured") << FlashSize << "FLASH_PROM_SAVE_SUCCESS %1" << QString();
    QTest::newRow("smaller") << 4096 << "FLASH_PROM_SAVE_SUCCESS %1"
                             << "FLASH_PROM_SIZE_DIFFERS 4096 " + QString::number(FlashSize);
    QTest::newRow("larger") << 2 * FlashSize << "FLASH_PROM_SAVE_SUCCESS %1"
                            << "FLASH_PROM_LARGER_THAN_CONFIGURED " + QString::number(FlashSize);
    // Nothing read is a failure of the core, and the old image stays.
    QTest::newRow("empty") << 0 << "FLASH_PROM_SAVE_EMPTY" << QString();
}

void TestUiFlash::saveTakesWhatThePromHolds()
{
    QFETCH(int, prom);
    QFETCH(QString, box);
    QFETCH(QString, logged);
    FlashRig rig;
    rig.promOf(prom);
    TvDiagMainWindow &w = rig.open();
    const QString name = rig.image(QStringLiteral("kept.bin"));
    const QByteArray old = rig.noise(1000);
    rig.write(name, old);
    rig.mark();
    rig.dialogs.answerFile(name);
    rig.dialogs.answerMessage(TvDialogSeam::Yes);
    w.flashSaveSlot();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList({"FILE_EXISTS", box.replace("%1", name)}));
    const TvScriptedDialogs::Asked outcome = rig.dialogs.asked.last();
    QCOMPARE(outcome.icon, prom > 0 ? TvDialogSeam::Information : TvDialogSeam::Critical);
    QCOMPARE(rig.file(name), prom > 0 ? rig.prom().left(FlashSize) : old);
    QCOMPARE(rig.logStarting(QStringLiteral("FLASH_PROM_")),
             logged.isEmpty() ? QStringList() : QStringList({logged}));
    QCOMPARE(QDir(rig.basePath(QStringLiteral("flash"))).entryList(QDir::Files | QDir::Hidden),
             QStringList({"kept.bin"}));
}

void TestUiFlash::loadCutsLongFilesAndRefusesUnreadableOnes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("logged");
    QTest::newRow("longer") << FlashSize + 100 << QString("LOAD_FLASH_PROM_SUCCESS")
                            << QString("FLASH_PROM_FILE_CUT %1 100");
    QTest::newRow("empty") << 0 << QString("LOAD_FLASH_PROM_FAILED %1 FLASH_PROM_FILE_EMPTY")
                           << QString();
    QTest::newRow("directory") << -1
                               << "LOAD_FLASH_PROM_FAILED %1 " + QString::fromLocal8Bit(strerror(EISDIR))
                               << QString();
    // Opening a FIFO with no writer would wait for one.
    QTest::newRow("fifo") << -2 << QString("LOAD_FLASH_PROM_FAILED %1 NOT_A_REGULAR_FILE") << QString();
    // A kernel file says 4096 bytes and holds a few: those few are the image.
    QTest::newRow("shorter than it says") << -3 << QString("LOAD_FLASH_PROM_SUCCESS") << QString();
}

void TestUiFlash::loadCutsLongFilesAndRefusesUnreadableOnes()
{
    QFETCH(int, size);
    QFETCH(QString, box);
    QFETCH(QString, logged);
    FlashRig rig;
    TvDiagMainWindow &w = rig.open();
    const QByteArray factory = rig.prom();
    const QString name = rig.image(QStringLiteral("in.bin"));
    QByteArray bytes = rig.noise(qMax(size, 0));
    if (size == -1) {
        QDir().mkpath(name);
    } else if (size == -2) {
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    } else if (size == -3) {
        if (QFile::link(QStringLiteral("/sys/devices/system/cpu/online"), name))
            bytes = rig.file(name);
        // Not every machine has /sys mounted (a chroot has not).
        const QFileInfo linked(name);
        if (!linked.exists() || linked.size() <= bytes.size())
            QSKIP("no file here says it is larger than it is: /sys is not mounted");
    } else {
        rig.write(name, bytes);
    }
    rig.mark();
    rig.dialogs.answerFile(name);
    w.flashLoadSlot();
    QStringList boxes{box.replace(QLatin1String("%1"), name)};
    if (!bytes.isEmpty())
        boxes.prepend(QStringLiteral("CONFIRM_FLASHPROM_LOAD %1 %2")
                          .arg(name)
                          .arg(qMin(bytes.size(), FlashSize)));
    QCOMPARE(rig.dialogs.messageTexts(), boxes);
    QCOMPARE(rig.prom(), bytes.isEmpty() ? factory : bytes.leftJustified(FlashSize, '\xFF', true));
    if (!logged.isEmpty())
        QVERIFY(rig.logHas(logged.arg(name)));
}

void TestUiFlash::eraseNeedsABackupOrASecondYes_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("backup");
    QTest::addColumn<QStringList>("boxes");
    const int yes = TvDialogSeam::Yes, no = TvDialogSeam::No, ok = TvDialogSeam::Ok;
    const QString clear = "CONFIRM_FLASHPROM_CLEAR", backup = "CONFIRM_FLASHPROM_BACKUP",
                  again = "CONFIRM_FLASHPROM_CLEAR_WITHOUT_BACKUP", erased = "ERASE_FLASHPROM_SUCCESS";
    QTest::newRow("not confirmed") << QList<int>{no} << QString() << QStringList{clear};
    QTest::newRow("no backup wanted") << QList<int>{yes, no, ok} << QString()
                                      << QStringList{clear, backup, erased};
    QTest::newRow("backup cancelled, then no") << QList<int>{yes, yes, no} << QString()
                                               << QStringList{clear, backup, again};
    QTest::newRow("backup cancelled, then yes") << QList<int>{yes, yes, yes, ok} << QString()
                                                << QStringList{clear, backup, again, erased};
    QTest::newRow("backup saved") << QList<int>{yes, yes, ok, ok} << QString("backup.bin")
                                  << QStringList{clear, backup, "FLASH_PROM_SAVE_SUCCESS %1", erased};
    // A backup onto a full device is no backup either.
    QTest::newRow("backup failed, then no")
        << QList<int>{yes, yes, yes, ok, no} << QString("full.bin")
        << QStringList{clear, backup, "FILE_EXISTS",
                       "SAVE_FLASH_PROM_FAILED %1 " + QString::fromLocal8Bit(strerror(ENOSPC)), again};
}

void TestUiFlash::eraseNeedsABackupOrASecondYes()
{
    QFETCH(QList<int>, answers);
    QFETCH(QString, backup);
    QFETCH(QStringList, boxes);
    FlashRig rig;
    TvDiagMainWindow &w = rig.open();
    const QByteArray factory = rig.prom();
    for (int answer : answers)
        rig.dialogs.answerMessage(answer);
    rig.dialogs.answerFile(backup.isEmpty() ? QString() : rig.image(backup));
    if (backup == QLatin1String("full.bin"))
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), rig.image(backup)));
    w.flashClearSlot();
    QCOMPARE(rig.dialogs.messageTexts(), boxes.replaceInStrings("%1", rig.image(backup)));
    const bool erased = boxes.last() == QLatin1String("ERASE_FLASHPROM_SUCCESS");
    QCOMPARE(rig.prom(), erased ? QByteArray(FlashSize, '\xFF') : factory);
    // Return alone, pressed at every question, erases nothing.
    for (const TvScriptedDialogs::Asked &a : rig.dialogs.asked) {
        if (a.text.startsWith(QLatin1String("CONFIRM_FLASHPROM")))
            QCOMPARE(a.defaultButton, int(TvDialogSeam::No));
    }
    QCOMPARE(rig.logStarting(QStringLiteral("FLASH_PROM_ERASED_LOG")).size(), erased ? 1 : 0);
    if (boxes.contains("FLASH_PROM_SAVE_SUCCESS " + rig.image(backup)))
        QCOMPARE(rig.file(rig.image(backup)), factory);
}

void TestUiFlash::unattendedEraseErasesNothing()
{
    FlashRig rig;
    TvDiagMainWindow &w = rig.open();
    const QByteArray factory = rig.prom();
    // The real dialogs on a screen nobody sees answer every question No.
    TvQtDialogs unattended;
    TvDialogSeam::install(&unattended);
    QTest::ignoreMessage(QtWarningMsg, ": CONFIRM_FLASHPROM_CLEAR");
    w.flashClearSlot();
    TvDialogSeam::install(&rig.dialogs);
    QCOMPARE(rig.prom(), factory);
}

void TestUiFlash::everyCoreFailureReleasesTheControls_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QList<int>>("answers");
    const int yes = TvDialogSeam::Yes, no = TvDialogSeam::No;
    QTest::newRow("save") << QByteArray("flashSaveSlot") << QByteArray("FlashSaveImage=23")
                          << QList<int>();
    QTest::newRow("load") << QByteArray("flashLoadSlot") << QByteArray("FlashLoadImage=28")
                          << QList<int>();
    QTest::newRow("erase") << QByteArray("flashClearSlot") << QByteArray("FlashErase=27")
                           << QList<int>{yes, no};
}

void TestUiFlash::everyCoreFailureReleasesTheControls()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArray, fault);
    QFETCH(QList<int>, answers);
    FlashRig rig;
    TvDiagMainWindow &w = rig.open();
    rig.write(rig.image(QStringLiteral("in.bin")), "image");
    rig.dialogs.answerFile(rig.image(QStringLiteral("in.bin")));
    for (int answer : answers)
        rig.dialogs.answerMessage(answer);
    const int status = fault.split('=').last().toInt();
    bool lockedWhileShown = false;
    rig.dialogs.whileOpen = [&](const QString &text) {
        if (text == TvStatusCodes::statusText(status))
            lockedWhileShown = !rig.flashActionEnabled();
    };
    QSignalSpy locks(w.flash(), &TvFlashProm::controlsLockRequested);
    qputenv("PROBEKIT_FAULT", fault);
    QMetaObject::invokeMethod(&w, slot.constData());
    qunsetenv("PROBEKIT_FAULT");
    QCOMPARE(rig.dialogs.messageTexts().last(), TvStatusCodes::statusText(status));
    QVERIFY(lockedWhileShown);
    QCOMPARE(locks.count(), 2);
    QCOMPARE(locks.at(0).at(0).toBool(), true);
    QCOMPARE(locks.at(1).at(0).toBool(), false);
    QVERIFY(rig.flashActionEnabled());
    QVERIFY(!w.run()->coreIsBusy());
}

void TestUiFlash::theWindowLivesWhileTheCoreWorks()
{
    // The core asks before it reads; OK lets it read.
    FlashRig rig(QJsonObject{{"message", 24}, {"buttons", QJsonArray{1, 2, 0}}, {"expect", 1}});
    TvDiagMainWindow &w = rig.open();
    qputenv("PROBEKIT_TIME_SCALE", "1");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    QList<int> progress;
    bool lockedDuringProgress = true;
    rig.afterEvent = [&](int type) {
        if (type != TvCoreEvent::Progress)
            return;
        auto *dialog = w.findChild<QProgressDialog *>();
        progress.append(dialog && dialog->isVisible() ? dialog->value() : -1);
        lockedDuringProgress = lockedDuringProgress && !rig.flashActionEnabled();
    };
    // Before the core has read anything its bar stands at 0.
    int beforeReading = -1;
    rig.dialogs.whileOpen = [&](const QString &text) {
        if (auto *dialog = text == QLatin1String("CHECK_LINK") ? w.findChild<QProgressDialog *>() : nullptr)
            beforeReading = dialog->value();
    };
    rig.dialogs.answerFile(rig.image(QStringLiteral("slow.bin")));
    rig.dialogs.answerMessage(TvDialogSeam::Ok);
    w.flashSaveSlot();
    qputenv("PROBEKIT_TIME_SCALE", "0");

    QVERIFY(ticks > 0);
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList({"CHECK_LINK", "FLASH_PROM_SAVE_SUCCESS " + rig.image("slow.bin")}));
    QCOMPARE(rig.dialogs.asked.at(1).buttons, QList<int>({TvDialogSeam::Ok, TvDialogSeam::Cancel}));
    QCOMPARE(beforeReading, 0);
    QCOMPARE(progress.size(), 21);
    QCOMPARE(progress.last(), 100);
    QVERIFY(lockedDuringProgress);
    QVERIFY(!w.findChild<QProgressDialog *>());
    QVERIFY(rig.logHas(QStringLiteral("Flash PROM: 131072 bytes read")));
    QCOMPARE(rig.file(rig.image("slow.bin")), rig.prom());
}

QTEST_MAIN(TestUiFlash)
#include "test_ui_flash.moc"
