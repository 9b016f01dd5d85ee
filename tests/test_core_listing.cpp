// The console listing's own rules: names from the core or the description
// reach the terminal as one plain line in a column of 63 characters, a
// configuration without vendors lists no adapter at all, and a listing that
// cannot be written is told, not the end of the program.
#include "TvTestMachine.h"
#include "core/TvAdapterListing.h"
#include "description/CAdapterInfo.h"

#include <QProcess>
#include <QtTest>

#include <cerrno>
#include <cstring>

class TestCoreListing : public QObject
{
    Q_OBJECT

private slots:
    void namesArePrintedAsOneLineInTheirColumn();
    void emptyVendorListListsNothing();
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

void TestCoreListing::listingPastTheFileSizeLimitIsTold()
{
    // Standard output is a file that may not grow at all: the first write
    // fails, where SIGXFSZ would end the program.
    QTemporaryDir state;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("PROBEKIT_MACHINE"));
    env.insert(QStringLiteral("PROBEKIT_STATE_DIR"), state.path());
    env.insert(QStringLiteral("PROBEKIT_LOCK_DIR"), state.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(QStringLiteral(NICDIAG_RUN_DIR));
    program.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("ulimit -f 0 && exec \"$0\" -l >\"$1\""),
                                         QStringLiteral(NICDIAG_RUN_DIR "/nicdiag"), state.filePath("list.txt")});
    QVERIFY(program.waitForFinished(60000));
    const QByteArray said = program.readAllStandardError();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(said.contains(std::strerror(EFBIG)), said.constData());
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QFileInfo(state.filePath("list.txt")).size(), 0);
}

QTEST_MAIN(TestCoreListing)
#include "test_core_listing.moc"
