// Headless runs as a production line or a timer starts them: the built
// program over a private copy of the shipped simulated machine, judged by
// its exit status, its lines, its run records and its metrics file.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <probekit.h>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class BatchTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    // The shipped machine, its state and locks private to this test.
    QProcessEnvironment environment(const QByteArray &timeScale = "0", const QByteArray &fault = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PROBEKIT_MACHINE"), path(QStringLiteral("machine.json")));
        env.insert(QStringLiteral("PROBEKIT_STATE_DIR"), path(QStringLiteral("state")));
        env.insert(QStringLiteral("PROBEKIT_LOCK_DIR"), path(QStringLiteral("locks")));
        env.insert(QStringLiteral("PROBEKIT_TIME_SCALE"), QString::fromLatin1(timeScale));
        env.remove(QStringLiteral("PROBEKIT_FAULT"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!fault.isEmpty())
            env.insert(QStringLiteral("PROBEKIT_FAULT"), QString::fromLatin1(fault));
        return env;
    }

    void start(QProcess &process, const QStringList &arguments, const QProcessEnvironment &env,
               const QString &program = QStringLiteral(NICDIAG_RUN_DIR "/nicdiag")) const
    {
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QStringLiteral(NICDIAG_RUN_DIR));
        process.start(program, arguments);
        QVERIFY(process.waitForStarted());
    }

    static Run finish(QProcess &process)
    {
        Run run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    Run runBatch(const QStringList &arguments, const QByteArray &fault = {}, const QByteArray &input = {})
    {
        QProcess process;
        start(process, arguments, environment("0", fault));
        process.write(input);
        process.closeWriteChannel();
        return finish(process);
    }

    // Waits until the program has printed `count` sub-test lines (at the
    // slow time scale a run then still has seconds to go).
    static void waitForLines(QProcess &process, int count, QByteArray *seen)
    {
        while (seen->count('\n') < count && process.state() == QProcess::Running) {
            process.waitForReadyRead(30000);
            *seen += process.readAllStandardOutput();
        }
    }

    static QJsonObject onlyRecord(const QString &directory)
    {
        const QStringList records = QDir(directory).entryList({QStringLiteral("*.json")});
        if (records.size() != 1)
            return {};
        return QJsonDocument::fromJson(readAll(QDir(directory).filePath(records.first()))).object();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(QFile::copy(QStringLiteral(NICDIAG_RUN_DIR "/machine.json"), path(QStringLiteral("machine.json"))));
        QVERIFY(QDir().mkpath(path(QStringLiteral("state"))));
        QVERIFY(QDir().mkpath(path(QStringLiteral("locks"))));
        QFile tests(path(QStringLiteral("tests.xml")));
        QVERIFY(tests.open(QIODevice::WriteOnly));
        tests.write(readAll(QStringLiteral(NICDIAG_RUN_DIR "/testinfofile.xml"))
                        .replace("<testname>Register test</testname>", "<testname>Quick test</testname>"));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        const QStringList one = {QStringLiteral("--adapter"), QStringLiteral("2:1")};
        const QStringList leds = QStringList{QStringLiteral("--run"), QStringLiteral("5")} + one;
        auto row = [](const char *name, const QStringList &arguments, int status, const char *said,
                      const QByteArray &fault = {}, const QByteArray &input = {}) {
            QTest::newRow(name) << arguments << fault << input << status << QString::fromUtf8(said);
        };
        row("usage text names every option and status", {QStringLiteral("-?")}, 0, "--all-adapters");
        row("test case by number passes", QStringList{QStringLiteral("--run"), QStringLiteral("1")} + one, 0,
            "2:1 Register test / MAC address registers: Passed");
        row("test case by name", {QStringLiteral("--run"), QStringLiteral("memory TEST"), QStringLiteral("--adapter"), QStringLiteral("3:0")},
            0, "3:0 Memory test / SRAM pattern walk: Passed");
        row("a question answered no fails", leds, 1, "Question \"Is the link LED on?\" answered: No");
        row("--answer yes", leds + QStringList{QStringLiteral("--answer"), QStringLiteral("yes")}, 0, "Speed LEDs: Passed");
        row("--answer ask, yes on the terminal", leds + QStringList{QStringLiteral("--answer"), QStringLiteral("ask")}, 0,
            "Is the link LED on?", {}, "y\n3\nyes\nY\ny\n");
        row("--answer ask, no on the terminal", leds + QStringList{QStringLiteral("--answer"), QStringLiteral("ask")}, 1,
            "answered: No", {}, "n\n");
        row("--answer ask, end of input", leds + QStringList{QStringLiteral("--answer"), QStringLiteral("ask")}, 1,
            "answered: No");
        row("unknown test case", QStringList{QStringLiteral("--run"), QStringLiteral("42")} + one, 2, "no test case 42");
        row("connectivity needs the window", QStringList{QStringLiteral("--run"), QStringLiteral("9998")} + one, 2, "no test case 9998");
        row("unknown adapter", {QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--adapter"), QStringLiteral("9:9")}, 2, "no adapter 9:9");
        row("malformed adapter", {QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--adapter"), QStringLiteral("2-1")}, 2, "bus:device");
        for (const char *loops : {"0", "-1", "99999999999", "two"})
            row(QByteArray("--loops ").append(loops).constData(),
                QStringList{QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--loops"), QString::fromLatin1(loops)} + one,
                2, "from 1 to 10000");
        row("--loops 2 runs twice", QStringList{QStringLiteral("--run"), QStringLiteral("3"), QStringLiteral("--loops"), QStringLiteral("2")} + one,
            0, "MSI delivery: Passed\n2:1 Interrupt test / Interrupt line: Passed");
        row("bad answer", leds + QStringList{QStringLiteral("--answer"), QStringLiteral("maybe")}, 2, "no, yes or ask");
        row("no --run", one, 2, "--run <");
        row("no adapter named", {QStringLiteral("--run"), QStringLiteral("1")}, 2, "--all-adapters");
        row("--adapter and --all-adapters", QStringList{QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--all-adapters")} + one,
            2, "--adapter --all-adapters cannot");
        row("one adapter twice", QStringList{QStringLiteral("--run"), QStringLiteral("1")} + one + one, 2, "2:1 is named twice");
        row("ask with many adapters", {QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--all-adapters"), QStringLiteral("--answer"), QStringLiteral("ask")},
            2, "--answer ask cannot");
        row("with -l", QStringList{QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("-l")} + one, 2, "-l cannot");
        row("in German", QStringList{QStringLiteral("-L"), QStringLiteral("de"), QStringLiteral("--run"), QStringLiteral("42")} + one, 2,
            "keinen Testfall 42");
        const QStringList two = one + QStringList{QStringLiteral("--adapter"), QStringLiteral("3:0")};
        row("many adapters get the description files", QStringList{QStringLiteral("-T"), QString(), QStringLiteral("--run"),
                                                                   QStringLiteral("quick test")} + two,
            0, "3:0 Quick test / MAC address registers: Passed");
        row("many adapters get the language", QStringList{QStringLiteral("-L"), QStringLiteral("de"), QStringLiteral("--run"), QStringLiteral("1")} + two,
            0, "3:0 Registertest / MAC-Adressregister: Bestanden");
        row("unsupported adapter", {QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--adapter"), QStringLiteral("4:0")}, 3,
            "not in the adapter information file");
        row("metrics directory missing", QStringList{QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--prometheus"),
                                                     QStringLiteral("/nonexistent/nicdiag.prom")} + one,
            3, "/nonexistent/nicdiag.prom could not be written");
        row("core does not start", QStringList{QStringLiteral("--run"), QStringLiteral("1")} + one, 3, "", "CoreInit=3");
        row("adapter vanishes mid-run", QStringList{QStringLiteral("--run"), QStringLiteral("1")} + one, 1,
            "no longer there", "TestRun=11");
    }

    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, fault);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QFETCH(QString, said);
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^$")), path(QStringLiteral("tests.xml")));
        const Run run = runBatch(arguments + QStringList{QStringLiteral("--records"), path(QStringLiteral("records"))}, fault, input);
        QVERIFY2(run.out.contains(said) || run.err.contains(said), qPrintable(run.out + run.err));
        QCOMPARE(run.exitCode, status);
        // A usage error is told before anything runs.
        if (status == 2)
            QCOMPARE(run.out, QString());
    }

    void recordAndLogOfAnAnsweredQuestion()
    {
        const QString records = path(QStringLiteral("answered"));
        const Run run = runBatch({QStringLiteral("--run"), QStringLiteral("5"), QStringLiteral("--adapter"), QStringLiteral("2:1"),
                                  QStringLiteral("--records"), records, QStringLiteral("--quiet")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        const QJsonObject record = onlyRecord(records);
        QCOMPARE(record[QStringLiteral("kind")].toString(), QStringLiteral("testCase"));
        const QJsonObject question = record[QStringLiteral("questions")].toArray().at(0).toObject();
        QCOMPARE(question[QStringLiteral("text")].toString(), QStringLiteral("Is the link LED on?"));
        QCOMPARE(question[QStringLiteral("answer")].toString(), QStringLiteral("no"));
        const QJsonObject first = record[QStringLiteral("testCases")].toArray().at(0).toObject()[QStringLiteral("subTests")].toArray().at(0).toObject();
        QCOMPARE(first[QStringLiteral("result")].toString(), QStringLiteral("failed"));
        QVERIFY(first[QStringLiteral("resultText")].toString().contains(QStringLiteral("Is the link LED on?")));
        const QStringList logs = QDir(records).entryList({QStringLiteral("*.log")});
        QCOMPARE(logs.size(), 1);
        QVERIFY(readAll(QDir(records).filePath(logs.first())).contains("Link LED switched on"));
    }

    // The fleet's nightly command on the shipped machine: one adapter model
    // is unknown to the description files, and the link stability test
    // drops the link of the others.
    void allAdaptersPublishMetrics()
    {
        const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
        const QString metrics = path(QStringLiteral("nicdiag.prom"));
        QFile old(metrics);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        old.close();
        const QString records = path(QStringLiteral("fleet"));
        const Run run = runBatch({QStringLiteral("--run"), QStringLiteral("all"), QStringLiteral("--all-adapters"),
                                  QStringLiteral("--answer"), QStringLiteral("yes"), QStringLiteral("--prometheus"), metrics,
                                  QStringLiteral("--records"), records});
        QCOMPARE(run.exitCode, 1);
        for (const char *row : {"2:1     FAILED", "3:0     FAILED", "4:0     NOT RUN", "6:0     FAILED", "7:0     FAILED"})
            QVERIFY2(run.out.contains(QLatin1String(row)), qPrintable(run.out));
        const QStringList filed = QDir(records).entryList({QStringLiteral("*.json")});
        QCOMPARE(filed.size(), 4);
        for (const QString &name : filed)
            QCOMPARE(QJsonDocument::fromJson(readAll(QDir(records).filePath(name))).object()[QStringLiteral("kind")].toString(),
                     QStringLiteral("allTests"));
        QCOMPARE(QDir(records).entryList({QStringLiteral("*.log")}).size(), 4);
        const QByteArray text = readAll(metrics);
        const QByteArray adapter = "bus=\"3\",device=\"0\",name=\"Orlin GE 4320-T Gigabit Ethernet Adapter\",serial=\"OR42200388\"";
        for (const QByteArray &sample : QList<QByteArray>{"nicdiag_last_run_passed{" + adapter + "} 0",
                                         "nicdiag_last_run_status{" + adapter + "} 1",
                                         "nicdiag_subtest_passed{" + adapter + ",test=\"Link test\",subtest=\"Cable diagnostics\"} 1",
                                         "nicdiag_last_run_status{bus=\"4\",device=\"0\",name=\"\",serial=\"\"} 3",
                                         "nicdiag_subtest_passed{" + adapter + ",test=\"Link test\",subtest=\"Link stability\"} 0",
                                         "nicdiag_sensor_in_band{" + adapter + ",sensor=\"Voltage 3.3 V\"} 0",
                                         "nicdiag_link_speed_bytes_per_second{" + adapter + ",port=\"0\"} 12500000",
                                         QByteArray("nicdiag_link_up{bus=\"6\",device=\"0\",name=\"Orlin GE 4320-T Gigabit Ethernet Adapter\",serial=\"OR42200512\",port=\"0\"} 0")})
            QVERIFY2(text.contains(sample), sample.constData());
        QVERIFY(!text.contains("old"));
        if (promtool.isEmpty())
            QSKIP("promtool (package prometheus) is not installed");
        QProcess check;
        check.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
        check.write(text);
        check.closeWriteChannel();
        QVERIFY(check.waitForFinished(60000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardError().constData());
    }

    // A full disk, played by the file size limit: the run is told it could
    // not publish, and the collector still reads the old file whole.
    void fullDiskKeepsTheOldMetrics()
    {
        QTemporaryDir metricsDir;
        const QString metrics = metricsDir.filePath(QStringLiteral("nicdiag.prom"));
        QFile old(metrics);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        old.close();
        QProcess process;
        start(process, {QStringLiteral("-c"), QStringLiteral("ulimit -f 1; exec ./nicdiag \"$@\""), QStringLiteral("sh"),
                        QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--adapter"), QStringLiteral("2:1"),
                        QStringLiteral("--records"), path(QStringLiteral("full")), QStringLiteral("--prometheus"), metrics},
              environment(), QStringLiteral("/bin/sh"));
        const Run run = finish(process);
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.err.contains(metrics + QLatin1String(" could not be written")), qPrintable(run.err));
        QCOMPARE(readAll(metrics), QByteArray("old\n"));
        QCOMPARE(QDir(metricsDir.path()).entryList(QDir::Files), QStringList{QStringLiteral("nicdiag.prom")});
    }

    void signalCancelsCleanly_data()
    {
        QTest::addColumn<QStringList>("adapters");
        QTest::addColumn<QList<int>>("signalsSent");
        QTest::newRow("Ctrl+C") << QStringList{QStringLiteral("--adapter"), QStringLiteral("2:1")} << QList<int>{SIGINT};
        QTest::newRow("Ctrl+C twice") << QStringList{QStringLiteral("--adapter"), QStringLiteral("2:1")} << QList<int>{SIGINT, SIGINT};
        QTest::newRow("timer's stop, every adapter") << QStringList{QStringLiteral("--adapter"), QStringLiteral("2:1"),
                                                                   QStringLiteral("--adapter"), QStringLiteral("3:0")}
                                                    << QList<int>{SIGTERM};
    }

    void signalCancelsCleanly()
    {
        QFETCH(QStringList, adapters);
        QFETCH(QList<int>, signalsSent);
        const QString records = path(QStringLiteral("cancelled-%1").arg(QTest::currentDataTag()));
        const QString metrics = path(QStringLiteral("cancelled.prom"));
        QProcess process;
        start(process, QStringList{QStringLiteral("--run"), QStringLiteral("7"), QStringLiteral("--records"), records,
                                   QStringLiteral("--prometheus"), metrics} + adapters, environment("1"));
        QByteArray seen;
        waitForLines(process, 1, &seen);
        for (const int number : signalsSent)
            ::kill(pid_t(process.processId()), number);
        const Run run = finish(process);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QLatin1String("Cancelling")), qPrintable(run.err));
        const QStringList filed = QDir(records).entryList({QStringLiteral("*.json")});
        QCOMPARE(filed.size(), adapters.size() / 2);
        for (const QString &name : filed)
            QVERIFY(QJsonDocument::fromJson(readAll(QDir(records).filePath(name))).object()[QStringLiteral("result")].toString() == QLatin1String("cancelled"));
        QVERIFY(readAll(metrics).contains("nicdiag_last_run_passed{bus=\"2\",device=\"1\""));
    }

    // The core's lock keeps a second run off an adapter this test holds.
    void adapterInUseIsNotRun()
    {
        const QProcessEnvironment env = environment();
        for (const QString &name : {QStringLiteral("PROBEKIT_MACHINE"), QStringLiteral("PROBEKIT_STATE_DIR"), QStringLiteral("PROBEKIT_LOCK_DIR")})
            qputenv(name.toLatin1().constData(), env.value(name).toLocal8Bit());
        QCOMPARE(CoreInit(), 0);
        const AdapterRecord *table = AdapterEnumerate(nullptr);
        QVERIFY(table);
        QCOMPARE(AdapterSelect(&table[0]), 0);
        const QString held = QStringLiteral("%1:%2").arg(table[0].busNumber).arg(table[0].deviceNumber);
        const Run alone = runBatch({QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--adapter"), held});
        const Run beside = runBatch({QStringLiteral("--run"), QStringLiteral("1"), QStringLiteral("--adapter"), held,
                                     QStringLiteral("--adapter"), QStringLiteral("3:0")});
        CoreDeinit();
        QCOMPARE(alone.exitCode, 3);
        QVERIFY2(alone.out.contains(QLatin1String("in use")), qPrintable(alone.out));
        QCOMPARE(beside.exitCode, 1);
        QVERIFY(beside.out.contains(QLatin1String("3:0     passed")));
        QVERIFY(beside.out.contains(held + QLatin1String("     NOT RUN")));
    }

    void crashedChildIsReportedWithItsSignal()
    {
        QProcess process;
        start(process, {QStringLiteral("--run"), QStringLiteral("7"), QStringLiteral("--adapter"), QStringLiteral("2:1"),
                        QStringLiteral("--adapter"), QStringLiteral("3:0"), QStringLiteral("--records"), path(QStringLiteral("crash"))},
              environment("1"));
        QByteArray seen;
        waitForLines(process, 1, &seen);
        const QByteArray children = readAll(QStringLiteral("/proc/%1/task/%1/children").arg(process.processId())).trimmed();
        QCOMPARE(children.split(' ').size(), 2);
        ::kill(children.split(' ').first().toInt(), SIGKILL);
        const Run run = finish(process);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.contains(QLatin1String("ended by signal 9")), qPrintable(run.out));
    }
};

QTEST_GUILESS_MAIN(BatchTest)
#include "test_batch.moc"
