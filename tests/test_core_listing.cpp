// The console listing's own rules: names from the core or the description
// reach the terminal as one plain line in a column of 63 characters, a
// configuration without vendors lists no adapter at all, and a listing that
// cannot be written is told, not the end of the program. And what the
// adapter table gives two instances that start at the same moment.
#include "TvTestMachine.h"
#include "TvUiRig.h"
#include "core/TvAdapterListing.h"
#include "description/CAdapterInfo.h"
#include "ui/adapters/TvAdapterPage.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A child process: the start of a window over a machine with two free
// adapters, with the lock directory shared with another instance, started
// when the gate opens. Prints
// the refresh's code, the adapter picked and the boxes shown, then holds
// the adapter until its standard input ends.
int startLikeTheWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    TvUiRig rig;
    rig.describeAdapter(TvUiRig::DualKey, QStringLiteral("Orlin Dual"), {});
    rig.machine.adapters = {TvTestMachine::adapter(2, 1, 2), TvTestMachine::adapter(3, 1, 3)};
    if (!rig.startCore())
        return 2;
    qputenv("PROBEKIT_LOCK_DIR", argv[2]);
    TvAdapterPage page(&rig.session, &rig.ask, &rig.book);
    // What the window does with a pick.
    QObject::connect(&page, &TvAdapterPage::adapterPicked, &page, [&](int index) {
        rig.session.clear();
        if (rig.session.select(index))
            page.adapterTimerExpired();
    });
    // Both instances wait at the same gate: a read lock on a file the test
    // holds locked for writing until both are ready.
    const int gate = ::open(argv[3], O_RDONLY | O_CLOEXEC);
    struct flock shared {};
    shared.l_type = F_RDLCK;
    shared.l_whence = SEEK_SET;
    std::cout << "ready" << std::endl;
    if (gate < 0 || ::fcntl(gate, F_OFD_SETLKW, &shared) != 0)
        return 3;
    const int code = page.adapterTimerExpired();
    std::cout << code << ' ' << rig.session.currentBus() << '-' << rig.session.currentDevice() << ' '
              << rig.dialogs.asked.size() << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}

QByteArray nextLine(QProcess &process)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(30000))
            return process.readAllStandardError();
    }
    return process.readLine().trimmed();
}

} // namespace

class TestCoreListing : public QObject
{
    Q_OBJECT

private slots:
    void namesArePrintedAsOneLineInTheirColumn();
    void emptyVendorListListsNothing();
    void windowsStartingTogetherTakeOneAdapterEach();
    void listingPastTheFileSizeLimitIsTold();
};

void TestCoreListing::namesArePrintedAsOneLineInTheirColumn()
{
    AdapterRecord record = {};
    record.busNumber = 2;
    record.deviceNumber = 1;
    record.slotNumber = 3;
    const QString plug = QString::fromUtf8("\xF0\x9F\x94\x8C");
    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("Orlin\x1b[2J Dual"), QStringLiteral("Orlin?[2J Dual")},
        {QStringLiteral("Fake\n") + QString(59, QLatin1Char('F')) + QStringLiteral(" 3    2   1 "),
         QStringLiteral("Fake ") + QString(58, QLatin1Char('F'))},
        {QStringLiteral("A\tB") + QChar(0x9b) + QChar(0x2028), QStringLiteral("A B? ")},
        {QString(70, QChar(0xE4)), QString(63, QChar(0xE4))},   // 63 characters, not bytes
        {QString(62, QLatin1Char('x')) + plug + plug, QString(62, QLatin1Char('x')) + plug},
        // Bidirectional controls would reorder the columns that follow,
        // zero-width characters narrow the name's column.
        {QStringLiteral("Orlin") + QChar(0x202E) + QStringLiteral("laud") + QChar(0x200B) + QChar(0x2066)
             + QChar(0x061C),
         QStringLiteral("Orlin?laud???")},
    };
    for (const auto &c : cases) {
        const QString column = c.second + QString(63 - c.second.size() + c.second.count(plug), QLatin1Char(' '));
        QCOMPARE(QString::fromUtf8(TvAdapterListing::adapterLine(record, c.first)),
                 column + QStringLiteral(" 3    2   1 \n"));
    }
}

void TestCoreListing::emptyVendorListListsNothing()
{
    TvTestMachine machine;
    machine.adapters = {TvTestMachine::adapter(2, 1, 3)};
    machine.install();
    QCOMPARE(CoreInit(), 0);
    CAdapterInfo &store = CAdapterInfo::instance();
    store.clear();
    // A null filter would have listed the machine's adapter, of any vendor.
    QCOMPARE(TvAdapterListing::vendorFilter(), QVector<uint32_t>({0, 0}));
    const AdapterRecord *none = TvAdapterListing::enumerateAdapters();
    QVERIFY(none && TvAdapterListing::isEndRecord(none[0]));

    store.vendorIds.append(PciIdEntry{0xABCD, 0});
    const AdapterRecord *one = TvAdapterListing::enumerateAdapters();
    QVERIFY(one && !TvAdapterListing::isEndRecord(one[0]) && TvAdapterListing::isEndRecord(one[1]));
    store.clear();
    QCOMPARE(CoreDeinit(), 0);
}

// Two windows started at the same moment on a machine with two free
// adapters: each ends with an adapter of its own and no box, whichever of
// them reaches the first one first.
void TestCoreListing::windowsStartingTogetherTakeOneAdapterEach()
{
    QTemporaryDir locks;
    const QString gatePath = locks.filePath("gate");
    for (int pair = 0; pair < 20; ++pair) {
        const int gate = ::open(QFile::encodeName(gatePath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        struct flock closed {};
        closed.l_type = F_WRLCK;
        closed.l_whence = SEEK_SET;
        QVERIFY(gate >= 0 && ::fcntl(gate, F_OFD_SETLK, &closed) == 0);
        QProcess first, second;
        const QList<QProcess *> both{&first, &second};
        for (QProcess *window : both)
            window->start(QCoreApplication::applicationFilePath(),
                          {"--start-window", locks.filePath("locks"), gatePath});
        for (QProcess *window : both)
            QCOMPARE(nextLine(*window), QByteArray("ready"));
        ::close(gate);
        QStringList picks;
        for (QProcess *window : both)
            picks << QString::fromUtf8(nextLine(*window));
        for (QProcess *window : both) {
            window->closeWriteChannel();
            QVERIFY(window->waitForFinished(30000));
        }
        picks.sort();
        QCOMPARE(picks, QStringList({"0 2-1 0", "0 3-1 0"}));
    }
}

void TestCoreListing::listingPastTheFileSizeLimitIsTold()
{
    // Standard output is a file already at the size limit, appended to: the
    // first write fails, where SIGXFSZ would end the program. (The limit is
    // not 0, since a sanitizer's runtime writes a file of its own at start.)
    QTemporaryDir state;
    const QString list = state.filePath("list.txt");
    const QByteArray full(4 * 1024 * 1024, 'x');
    {
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(full) == full.size());
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("PROBEKIT_MACHINE"));
    env.insert(QStringLiteral("PROBEKIT_STATE_DIR"), state.path());
    env.insert(QStringLiteral("PROBEKIT_LOCK_DIR"), state.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(QStringLiteral(NICDIAG_RUN_DIR));
    program.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("ulimit -f 4096 && exec \"$0\" -l >>\"$1\""),
                                         QStringLiteral(NICDIAG_RUN_DIR "/nicdiag"), list});
    QVERIFY(program.waitForFinished(60000));
    const QByteArray said = program.readAllStandardError();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(said.contains(std::strerror(EFBIG)), said.constData());
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QFileInfo(list).size(), full.size());
}

int main(int argc, char **argv)
{
    if (argc > 3 && std::strcmp(argv[1], "--start-window") == 0)
        return startLikeTheWindow(argc, argv);
    QApplication app(argc, argv);
    TestCoreListing test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_core_listing.moc"
