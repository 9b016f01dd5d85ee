// The Linux backend on the machine the tests run on: its network functions
// are found, and the program lists them by their database names from the
// description the backend writes, or with the shipped files for real
// hardware when they are named. Skipped where the machine shows none.
#include <probekit.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <linux/ethtool.h>

namespace {

struct Function {
    int bus = 0, device = 0;
    quint32 vendor = 0, deviceId = 0;
};

quint32 hexFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toUInt(nullptr, 16) : 0;
}

// The machine's network functions, read straight from sysfs.
QList<Function> networkFunctions()
{
    QList<Function> found;
    const QDir devices(QStringLiteral("/sys/bus/pci/devices"));
    for (const QString &name : devices.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString dir = devices.filePath(name) + QLatin1Char('/');
        if ((hexFile(dir + "class") >> 16) != 0x02 || name.section(':', 0, 0).toInt(nullptr, 16) != 0)
            continue;
        Function f;
        f.bus = name.section(':', 1, 1).toInt(nullptr, 16);
        f.device = name.section(':', 2, 2).section('.', 0, 0).toInt(nullptr, 16);
        f.vendor = hexFile(dir + "vendor");
        f.deviceId = hexFile(dir + "device");
        found << f;
    }
    return found;
}

} // namespace

class TestLinuxMachine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("PROBEKIT_BACKEND", "linux");
        qputenv("PROBEKIT_STATE_DIR", m_dir.filePath("state").toLocal8Bit());
        qputenv("PROBEKIT_LOCK_DIR", m_dir.filePath("locks").toLocal8Bit());
        qunsetenv("PROBEKIT_SYSFS_ROOT");
        m_functions = networkFunctions();
    }

    // The program on a capture of a dual-port XL710-Q2 (i40e), as lspci
    // shows it at 18:00.0: named from the PCI ID database, its test cases
    // from what the driver offers, without description files named.
    void programDescribesTheAdaptersOfACapture()
    {
        QTemporaryDir capture;
        const auto file = [&capture](const QString &path, const QByteArray &bytes) {
            QDir().mkpath(QFileInfo(capture.filePath(path)).absolutePath());
            QFile f(capture.filePath(path));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        for (const char *function : {"0", "1"}) {
            const QString dir = QStringLiteral("sys/bus/pci/devices/0000:18:00.") + function + '/';
            file(dir + "class", "0x020000\n");
            file(dir + "vendor", "0x8086\n");
            file(dir + "device", "0x1583\n");
            file(dir + "subsystem_vendor", "0x8086\n");
            file(dir + "subsystem_device", "0x0002\n");
            file(dir + "revision", "0x02\n");
            file(dir + "net/enp24s0f" + function + "/address", "3c:fd:fe:00:00:0" + QByteArray(function) + "\n");
        }
        ethtool_drvinfo info {};
        info.cmd = ETHTOOL_GDRVINFO;
        qstrncpy(info.driver, "i40e", sizeof info.driver);
        file("ethtool/enp24s0f0/GDRVINFO", QByteArray(reinterpret_cast<const char *>(&info), sizeof info));
        const auto run = [](const QString &replay, const QStringList &arguments, int *exitCode) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("PROBEKIT_REPLAY", replay);
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(NICDIAG_RUN_DIR "/nicdiag"), arguments);
            program.waitForFinished(60000);
            *exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
            return program.readAllStandardOutput() + program.readAllStandardError();
        };
        int exitCode = -1;
        const QByteArray listing = run(capture.path(), {"-l"}, &exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY2(listing.contains("Intel Corporation Ethernet Controller XL710 for 40GbE QSFP+"), listing);
        // Both functions are the ports of one adapter at bus 0x18.
        QCOMPARE(listing.count("Intel Corporation"), 1);
        QVERIFY(listing.contains("NA   24  0"));

        // --capture takes what the backend reads; replayed, it lists the same.
        QTemporaryDir again;
        const QByteArray said = run(capture.path(), {"--capture", again.path()}, &exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY2(said.contains("of 1 adapter(s) written to " + QFile::encodeName(again.path())), said);
        QCOMPARE(run(again.path(), {"-l"}, &exitCode), listing);
        QCOMPARE(exitCode, 0);
    }

    // The capture of this machine's virtio device that the backend's own
    // "capture" command took (tests/captures/virtio-net), replayed.
    void virtioCaptureReplays()
    {
        qputenv("PROBEKIT_REPLAY", NICDIAG_SOURCE_DIR "/tests/captures/virtio-net");
        QCOMPARE(CoreInit(), 0);
        const AdapterRecord *r = AdapterEnumerate(nullptr);
        QVERIFY(r);
        QCOMPARE(r->vendorId, 0x1AF4u);
        QCOMPARE(r->deviceId, 0x1041u);
        QCOMPARE(QByteArray(r->miscText[1]), QByteArray("eth0"));
        QCOMPARE(QByteArray(r->miscText[3]), QByteArray("virtio_net"));
        QCOMPARE(AdapterSelect(r), 0);
        DriverHandle driver = DriverOpen();
        char reply[256] = {};
        uint32_t size = sizeof reply;
        QCOMPARE(DriverQueryOid(driver, 0xff020211, reply, &size), 0);
        QCOMPARE(reply + 1, "virtio_net");
        DriverClose(driver);
        uint8_t isStatic = 0;
        QCOMPARE(GetIpAddress(0, &isStatic), "192.0.2.2");
        QCOMPARE(int(isStatic), 1);
        // The link is up; virtio has no self-test and no EEPROM.
        const struct { int id, status; } runs[] = {{101, 0}, {201, 0}, {1001, 4}, {501, 4}, {701, 4}};
        for (const auto &run : runs)
            QCOMPARE(TestRun(run.id, nullptr, nullptr), run.status);
        QCOMPARE(CoreDeinit(), 0);
        qunsetenv("PROBEKIT_REPLAY");
    }

    void enumerationFindsEveryNetworkFunction()
    {
        if (m_functions.isEmpty())
            QSKIP("this machine shows no network function on its PCI bus");
        QCOMPARE(CoreInit(), 0);
        QList<QPair<int, int>> listed;
        for (const AdapterRecord *r = AdapterEnumerate(nullptr); r && (r->busNumber || r->deviceNumber || r->vendorId); ++r)
            listed << qMakePair(r->busNumber, r->deviceNumber);
        for (const Function &f : qAsConst(m_functions))
            QVERIFY2(listed.contains(qMakePair(f.bus, f.device)), qPrintable(QString::number(f.bus)));
        QCOMPARE(CoreDeinit(), 0);
    }

    void programListsTheVirtioDevice()
    {
        if (m_functions.isEmpty())
            QSKIP("this machine shows no network function on its PCI bus");
        bool virtio = false;
        for (const Function &f : qAsConst(m_functions))
            virtio = virtio || (f.vendor == 0x1AF4 && f.deviceId == 0x1041);
        if (!virtio)
            QSKIP("no virtio 1.0 network device (1AF4:1041) on this machine");
        const QString data = QStringLiteral(NICDIAG_SOURCE_DIR "/data/linux/");
        const QStringList shipped{"-l", "-C", data + "config.xml", "-I", data + "adapterinfofile.xml", "-T",
                                  data + "testinfofile.xml"};
        // Without description files named, the name from the PCI ID database.
        for (const QStringList &arguments : {shipped, QStringList{"-l"}}) {
            QProcess program;
            program.start(QStringLiteral(NICDIAG_RUN_DIR "/nicdiag"), arguments);
            QVERIFY(program.waitForFinished(60000));
            QCOMPARE(program.exitCode(), 0);
            const QByteArray name = arguments.size() == 1 ? "Red Hat, Inc. Virtio 1.0 network device" : "Virtio 1.0 network device";
            QVERIFY2(program.readAllStandardOutput().contains(name), program.readAllStandardError().constData());
        }
        // The cable test asked of the kernel: a virtio device has no PHY,
        // which the kernel's ethtool netlink says at once.
        QCOMPARE(CoreInit(), 0);
        const AdapterRecord *r = AdapterEnumerate(nullptr);
        while (r && r->vendorId && !(r->vendorId == 0x1AF4 && r->deviceId == 0x1041))
            ++r;
        QVERIFY(r && r->vendorId);
        QCOMPARE(AdapterSelect(r), 0);
        QCOMPARE(TestRun(701, nullptr, nullptr), 4);
        QCOMPARE(CoreDeinit(), 0);
    }

private:
    QTemporaryDir m_dir;
    QList<Function> m_functions;
};

QTEST_GUILESS_MAIN(TestLinuxMachine)
#include "test_linux_machine.moc"
