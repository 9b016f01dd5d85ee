// Hostile and broken description files, the same for all three readers:
// nesting that once overflowed the stack, files that are no description
// (a FIFO, a huge file), and texts that must not reach the store.
#include "TvScriptedDialogs.h"
#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Reader {
    const char *root;
    const char *head;     // the root with version 1.0 and the block of records
    const char *tail;
    const char *openKey;
    // A record on one line that sets the name nameOf() reads.
    const char *record;
};

const Reader Readers[] = {
    {"configfile", "<configfile version=\"1.0\"><configuration>", "</configuration></configfile>",
     "CONFIG_OPEN_FAILED", "<name>%1</name>"},
    {"adapterinfofile", "<adapterinfofile version=\"1.0\"><miscconfiginfo lang=\"en\"/>",
     "</adapterinfofile>", "AIF_OPEN_FAILED", "<adapter><id>K</id><name>%1</name></adapter>"},
    {"testinfo", "<testinfo version=\"1.0\"><testcases lang=\"en\">", "</testcases></testinfo>",
     "TIF_OPEN_FAILED", "<testcase id=\"1\"><testname>%1</testname></testcase>"},
};

bool read(CAdapterInfo &store, int reader, const QString &path)
{
    if (reader == 0)
        return store.readConfigFile(path);
    if (reader == 1)
        return store.readAdapterInfoFile(path, QStringLiteral("en"));
    return store.readTestInfoFile(path, QStringLiteral("en"));
}

// The same reader given the contents in memory, under the same path.
bool readContents(CAdapterInfo &store, int reader, const QByteArray &contents, const QString &path)
{
    if (reader == 0)
        return store.readConfigData(contents, path);
    if (reader == 1)
        return store.readAdapterInfoData(contents, path, QStringLiteral("en"));
    return store.readTestInfoData(contents, path, QStringLiteral("en"));
}

QString nameOf(const CAdapterInfo &store, int reader)
{
    if (reader == 0)
        return store.name;
    if (reader == 1)
        return store.adapterName(QStringLiteral("K"));
    return store.testCase(1) ? store.testCase(1)->testname : QString();
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &xml)
{
    const QString path = dir.filePath(QStringLiteral("description.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(xml);
    return path;
}

// Line 1 opens the root, then one line per entry of `lines`, then the end.
QByteArray document(const Reader &reader, const QByteArrayList &lines,
                    const QByteArray &prolog = QByteArray())
{
    return prolog + reader.head + "\n" + lines.join('\n') + "\n" + reader.tail + "\n";
}

QByteArray record(const Reader &reader, const QByteArray &name)
{
    return QByteArray(reader.record).replace("%1", name);
}

} // namespace

class TestDescriptionFaults : public QObject
{
    Q_OBJECT

private slots:
    void init() { TvProgram::reset(); }

    void deepNestingIsRefused();
    void onlyRegularFilesOfSaneSizeAreRead();
    void badTextStopsReadingWithAWarning();
};

void TestDescriptionFaults::deepNestingIsRefused()
{
    QTemporaryDir dir;
    // Depth counts the root; 30000 levels once crashed the program.
    for (int depth : {64, 65, 30000}) {
        for (int r = 0; r < 3; ++r) {
            const QByteArray root = Readers[r].root;
            const QString path = writeFile(dir, "<" + root + " version=\"1.0\">\n"
                                                    + QByteArray("<x>").repeated(depth - 1)
                                                    + QByteArray("</x>").repeated(depth - 1)
                                                    + "</" + root + ">\n");
            TvScriptedDialogs dialogs;
            CAdapterInfo store;
            const bool accepted = read(store, r, path);
            QCOMPARE(accepted, depth <= 64);
            const QStringList expected = accepted ? QStringList()
                : QStringList{QStringLiteral("NESTED_TOO_DEEP %1 2 64").arg(path)};
            QCOMPARE(dialogs.messageTexts(), expected);
        }
    }
}

void TestDescriptionFaults::onlyRegularFilesOfSaneSizeAreRead()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.xml"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString large = dir.filePath(QStringLiteral("large.xml"));
    QFile file(large);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(CAdapterInfo::MaxFileBytes + 1));
    file.close();

    // Without standard input a file opened here gets descriptor 0, which
    // a refusal must close like any other.
    ::close(0);
    const QByteArray largeContents(CAdapterInfo::MaxFileBytes + 1, ' ');
    const QList<QPair<QString, QString>> cases = {
        {fifo, QStringLiteral("NOT_A_REGULAR_FILE")},   // would block in open()
        {large, QStringLiteral("FILE_TOO_LARGE 4")},
        {QString(), QStringLiteral("FILE_TOO_LARGE 4")}, // the same contents in memory
    };
    for (const auto &c : cases) {
        for (int r = 0; r < 3; ++r) {
            TvScriptedDialogs dialogs;
            CAdapterInfo store;
            const QString path = c.first.isNull() ? large : c.first;
            QVERIFY(!(c.first.isNull() ? readContents(store, r, largeContents, path) : read(store, r, path)));
            QCOMPARE(::fcntl(0, F_GETFD), -1);
            QCOMPARE(dialogs.messageTexts(), QStringList(QLatin1String(Readers[r].openKey) + QLatin1Char(' ')
                                                         + path + QLatin1Char(' ') + c.second));
        }
    }
}

void TestDescriptionFaults::badTextStopsReadingWithAWarning()
{
    struct Case {
        const char *what;
        int reader;
        QByteArray bad;        // the text of the record on line 3
        QByteArray prolog;
        QString kept;          // the name read from line 2
        int line;
        QString reason;        // null: the XML reader's own words
    };
    const QList<Case> cases = {
        {"NUL", 0, "A&#0;B", {}, "kept", 3, QString()},
        {"CSI", 1, "A&#x9b;[2J", {}, "kept", 3, "CONTROL_CHARACTER"},
        {"DEL", 2, "A&#127;", {}, "kept", 3, "CONTROL_CHARACTER"},
        {"last C1", 0, "A&#x9f;", {}, "kept", 3, "CONTROL_CHARACTER"},
        {"tag mismatch", 2, "A</b>", {}, "kept", 3, QString()},
        {"entities", 1, "&e;", "<!DOCTYPE adapterinfofile [<!ENTITY e \"x\">]>", QString(), 1,
         "ENTITY_DECLARATIONS"},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        const Reader &reader = Readers[c.reader];
        const QByteArray contents = document(reader, {record(reader, "kept"), record(reader, c.bad)}, c.prolog);
        const QString path = writeFile(dir, contents);
        for (bool inMemory : {false, true}) {
            TvScriptedDialogs dialogs;
            CAdapterInfo store;
            QVERIFY2(inMemory ? readContents(store, c.reader, contents, path) : read(store, c.reader, path), c.what);
            QVERIFY2(dialogs.asked.isEmpty(), c.what);
            QCOMPARE(nameOf(store, c.reader), c.kept);
            QCOMPARE(store.warnings.size(), 1);
            const QString located = QStringLiteral("READING_STOPPED %1 %2 ").arg(path, QString::number(c.line));
            QVERIFY2(store.warnings.first().startsWith(located), qPrintable(store.warnings.first()));
            if (!c.reason.isNull())
                QCOMPARE(store.warnings.first(), located + c.reason);
        }
    }
}

QTEST_MAIN(TestDescriptionFaults)
#include "test_description_faults.moc"
