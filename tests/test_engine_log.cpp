// The log list model and the log file block writer.

#include "TvUiRig.h"
#include "engine/TvLogFile.h"
#include "engine/TvLogModel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

class TestEngineLog : public QObject
{
    Q_OBJECT

private slots:
    void modelStoresAtOnceAndAnnouncesInOneBatch();
    void modelKeepsLinesIntactAcrossBlocks();
    void modelLinesFromAndClear();
    void blockFormatAndTwoSaves();
    void failedSavesReportTheSystemError();
    void extensionIsAppendedOnlyWhenMissing();
    void stampedLineFlattensTabsAndLineFeeds();

private:
    static QByteArray readAll(const QString &name);
};

QByteArray TestEngineLog::readAll(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void TestEngineLog::modelStoresAtOnceAndAnnouncesInOneBatch()
{
    TvLogModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    for (int i = 0; i < 1000; ++i)
        model.appendLine(QStringLiteral("line %1").arg(i));
    // Stored (the saver and the window read them) before any view is told.
    QCOMPARE(model.count(), 1000);
    QCOMPARE(model.line(999), QStringLiteral("line 999"));
    QCOMPARE(model.rowCount(), 0);

    QTRY_COMPARE(model.rowCount(), 1000);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 999);
    QCOMPARE(model.data(model.index(7)).toString(), QStringLiteral("line 7"));

    model.appendLines({QStringLiteral("a"), QStringLiteral("b")});
    model.appendLine(QStringLiteral("c"));
    model.flush();
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(inserted.at(1).at(1).toInt(), 1000);
    QCOMPARE(inserted.at(1).at(2).toInt(), 1002);
    QCOMPARE(model.data(model.index(1002)).toString(), QStringLiteral("c"));
    QVERIFY(!model.data(model.index(1002), Qt::EditRole).isValid());
    // Rows outside the announced ones have no index.
    QVERIFY(!model.index(1003).isValid() && !model.index(-1).isValid() && !model.index(0, 1).isValid());
    QTest::qWait(20); // the flush done by hand must not come again
    QCOMPARE(inserted.count(), 2);
}

void TestEngineLog::modelKeepsLinesIntactAcrossBlocks()
{
    TvLogModel model;
    QStringList expected;
    // Enough text to fill several storage blocks, with non-ASCII and empty
    // lines and one line larger than a block.
    for (int i = 0; i < 30000; ++i) {
        QString text = QStringLiteral("%1 Prüfung µ € ").arg(i).repeated(1 + i % 5);
        if (i % 1000 == 0)
            text.clear();
        if (i == 12345)
            text = QString(1 << 21, QLatin1Char('x')) + QStringLiteral("end");
        expected.append(text);
        model.appendLine(text);
    }
    QCOMPARE(model.count(), expected.size());
    QCOMPARE(model.linesFrom(0), expected);
    model.flush();
    QCOMPARE(model.data(model.index(12345)).toString(), expected.at(12345));
    QCOMPARE(model.data(model.index(29999)).toString(), expected.at(29999));
}

void TestEngineLog::modelLinesFromAndClear()
{
    TvLogModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.appendLines({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});

    QCOMPARE(model.linesFrom(0).size(), 3);
    QCOMPARE(model.linesFrom(1), QStringList({QStringLiteral("two"), QStringLiteral("three")}));
    QVERIFY(model.linesFrom(3).isEmpty());
    QVERIFY(model.linesFrom(10).isEmpty());
    QCOMPARE(model.linesFrom(-2).size(), 3);
    QVERIFY(model.line(3).isNull());
    QVERIFY(model.line(-1).isNull());

    // Cleared before the pending lines were announced: nothing stale may be
    // announced afterwards.
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.clear();
    QCOMPARE(model.count(), 0);
    QCOMPARE(model.rowCount(), 0);
    QTest::qWait(20);
    QCOMPARE(inserted.count(), 0);

    model.appendLine(QStringLiteral("after"));
    QTRY_COMPARE(model.rowCount(), 1);
    QCOMPARE(model.data(model.index(0)).toString(), QStringLiteral("after"));
}

void TestEngineLog::blockFormatAndTwoSaves()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("run.log"));
    const std::time_t first = 1700000000;
    const std::time_t second = first + 61;
    const QByteArray separator = "\n" + QByteArray(43, '=') + "\n";
    QString error;

    TvLogModel model;
    model.appendLines({QStringLiteral("alpha"), QStringLiteral("beta µ")});
    QCOMPARE(TvLogFile::appendBlock(name, model, 0, &error, first), TvLogFile::Saved);
    const int saved = model.count();
    model.appendLines({QStringLiteral("c1"), QStringLiteral("c2"), QStringLiteral("c3")});
    QCOMPARE(TvLogFile::appendBlock(name, model, saved, &error, second), TvLogFile::Saved);

    const QByteArray heading1 = "\nSAVE_LOG_FILE " + TvLogFile::ctimeText(first).toUtf8() + "\n";
    const QByteArray heading2 = "\nSAVE_LOG_FILE " + TvLogFile::ctimeText(second).toUtf8() + "\n";
    QVERIFY(heading1.endsWith("\n\n"));
    const QByteArray expected = heading1 + "alpha\nbeta µ\n" + separator
                                + heading2 + "c1\nc2\nc3\n" + separator;
    QCOMPARE(readAll(name), expected);

    // An empty block still has its heading and separator.
    const QString other = dir.filePath(QStringLiteral("empty.log"));
    QCOMPARE(TvLogFile::appendBlock(other, model, model.count(), &error, first), TvLogFile::Saved);
    QCOMPARE(readAll(other), heading1 + separator);

    // Lines spread over several storage blocks come out whole and in order,
    // from any row on.
    TvLogModel many;
    QByteArray lines;
    for (int i = 0; i < 40000; ++i) {
        const QString text = QStringLiteral("%1 Prüfung ").arg(i).repeated(1 + i % 7);
        many.appendLine(text);
        if (i >= 777)
            lines += text.toUtf8() + "\n";
    }
    const QString big = dir.filePath(QStringLiteral("big.log"));
    QCOMPARE(TvLogFile::appendBlock(big, many, 777, &error, first), TvLogFile::Saved);
    QCOMPARE(readAll(big), heading1 + lines + separator);
}

void TestEngineLog::failedSavesReportTheSystemError()
{
    QString error;
    TvLogModel small;
    small.appendLine(QStringLiteral("x"));
    // Lines larger than the stdio buffer fail in the write itself, short
    // ones in the buffer's flush.
    TvLogModel big;
    const QString chunk(100000, QLatin1Char('y'));
    big.appendLines({chunk, chunk, chunk});
    for (const TvLogModel *lines : {&small, &big}) {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            break;
        error.clear();
        QCOMPARE(TvLogFile::appendBlock(QStringLiteral("/dev/full"), *lines, 0, &error),
                 TvLogFile::WriteFailed);
        QCOMPARE(error, QString::fromLocal8Bit(std::strerror(ENOSPC)));
    }
    QTemporaryDir dir;
    // A FIFO without a reader would block the window.
    const QString fifo = dir.filePath(QStringLiteral("fifo.log"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(TvLogFile::appendBlock(fifo, small, 0, &error), TvLogFile::OpenFailed);
    QCOMPARE(error, QStringLiteral("NOT_A_REGULAR_FILE"));
    error.clear();
    QCOMPARE(TvLogFile::appendBlock(dir.filePath(QStringLiteral("missing/run.log")), small, 0, &error),
             TvLogFile::OpenFailed);
    QCOMPARE(error, QString::fromLocal8Bit(std::strerror(ENOENT)));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing"))));

    // A regular file reaches its size limit (as a disk fills) in the middle
    // of a block: the block is cut off again and the earlier one stays whole.
    const QString name = dir.filePath(QStringLiteral("full.log"));
    QCOMPARE(TvLogFile::appendBlock(name, small, 0, &error), TvLogFile::Saved);
    const QByteArray before = readAll(name);
    // Taking the cut block off works here, so there is nothing to warn of.
    static int warnings;
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &, const QString &) { warnings += type == QtWarningMsg; });
    for (const TvLogModel *lines : {&small, &big}) {
        error.clear();
        const TvUiRig::FileSizeLimit full(rlim_t(before.size()) + 20);
        QCOMPARE(TvLogFile::appendBlock(name, *lines, 0, &error), TvLogFile::WriteFailed);
        QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(readAll(name), before);
    }
    qInstallMessageHandler(previous);
    QCOMPARE(warnings, 0);
}

void TestEngineLog::extensionIsAppendedOnlyWhenMissing()
{
    const QString ext = QStringLiteral("log");
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("/tmp/run"), ext), QStringLiteral("/tmp/run.log"));
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("/tmp/run.log"), ext), QStringLiteral("/tmp/run.log"));
    // Only the end of the name counts, with its dot: not the middle, not
    // a directory.
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("/tmp/catalog.txt"), ext), QStringLiteral("/tmp/catalog.txt.log"));
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("/logs/run"), ext), QStringLiteral("/logs/run.log"));
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("A-log"), ext), QStringLiteral("A-log.log"));
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("walkimage"), QStringList{"bin", "img"}),
             QStringLiteral("walkimage.bin"));
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("walk.img"), QStringList{"bin", "img"}),
             QStringLiteral("walk.img"));
    QCOMPARE(TvLogFile::patterns({"txt", ".scr"}), QStringLiteral("*.txt *.scr"));
    // Case-sensitive.
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("RUN.LOG"), ext), QStringLiteral("RUN.LOG.log"));
    // No double dot.
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("run."), ext), QStringLiteral("run.log"));
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("run"), QStringLiteral(".txt")), QStringLiteral("run.txt"));
    QCOMPARE(TvLogFile::withExtension(QStringLiteral("run"), QString()), QStringLiteral("run"));
}

void TestEngineLog::stampedLineFlattensTabsAndLineFeeds()
{
    const std::time_t when = 1700000000;
    const QString line = TvLogFile::stampedLine(QStringLiteral("a\tb\nc"), when);
    const QString stamp = TvLogFile::ctimeText(when);
    QVERIFY(stamp.endsWith(QLatin1Char('\n')));
    QCOMPARE(stamp.size(), 25);
    QVERIFY(QRegularExpression(QStringLiteral("^[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}\n$"))
                .match(stamp).hasMatch());
    QCOMPARE(line, stamp.left(24) + QStringLiteral(" a   b c"));
    // Adapter data and file names in a text: an escape sequence or a
    // carriage return must not reach the saved file raw.
    // The C1 controls end at 0x9f; a no-break space is text.
    const QString hostile = QStringLiteral("Name\x1b[2J\r\x07") + QChar(0x9b) + QChar(0x7f) + QChar(0x9f)
                            + QChar(0xa0) + QChar(0x2028) + QStringLiteral("end\t");
    QCOMPARE(TvLogFile::stampedLine(hostile, when),
             stamp.left(24) + QStringLiteral(" Name?[2J ????") + QChar(0xa0) + QStringLiteral(" end   "));
}

QTEST_MAIN(TestEngineLog)
#include "test_engine_log.moc"
