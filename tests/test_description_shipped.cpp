// The shipped description files, pictures, help pages and reader messages:
// they parse, and they describe what the simulated machine and the window
// rely on.
#include "TvScriptedDialogs.h"
#include "description/CAdapterInfo.h"
#include "text/TvText.h"

#include <QDir>
#include <QImage>
#include <QKeySequence>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>
#include <QtTest>

namespace {

const QString Dual = QStringLiteral("1A5E:4322:1A5E:0002");
const QString Single = QStringLiteral("1A5E:4320:1A5E:0001");

QDir dataDir()
{
    return QDir(QStringLiteral(NICDIAG_SOURCE_DIR "/data"));
}

// Relative names in the files are read against the base directory ".",
// which is the run directory, a copy of data/.
QString dataPath(const CAdapterInfo &store, const QString &relative)
{
    return dataDir().filePath(store.basePathOf(relative));
}

void readShipped(CAdapterInfo *store, const QString &language)
{
    const QDir dir = dataDir();
    QVERIFY(store->readConfigFile(dir.filePath(QStringLiteral("config.xml"))));
    QVERIFY(store->readAdapterInfoFile(dir.filePath(QStringLiteral("adapterinfofile.xml")), language));
    QVERIFY(store->readTestInfoFile(dir.filePath(QStringLiteral("testinfofile.xml")), language));
}

QList<int> range(int from, int to)
{
    QList<int> list;
    for (int i = from; i <= to; ++i)
        list.append(i);
    return list;
}

} // namespace

class TestDescriptionShipped : public QObject
{
    Q_OBJECT

private slots:
    void configuration();
    void adapters_data();
    void adapters();
    void testCases_data();
    void testCases();
    void languagesDescribeTheSameTests();
    void pictures();
    void helpPagesLinkToExistingPages();
    void readerMessagesAreTranslated();
};

void TestDescriptionShipped::configuration()
{
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(store.readConfigFile(dataDir().filePath(QStringLiteral("config.xml"))));
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(store.name, QStringLiteral("Orlin Diagnostics"));
    QCOMPARE(store.exename, QStringLiteral("nicdiag"));
    QCOMPARE(store.basepath, QStringLiteral("."));
    QCOMPARE(store.flash_size, 128 * 1024);
    QCOMPARE(store.poll_interval, 2000);
    QCOMPARE(store.script_ext, QStringList({"txt", "scr"}));
    QCOMPARE(store.flash_ext, QStringList({"bin"}));
    QCOMPARE(store.pci_conf_ext, QStringList({"csv"}));
    QCOMPARE(store.log_ext, QStringLiteral("log"));

    // Every device of the Orlin vendor, nothing of any other vendor.
    QCOMPARE(store.vendorIds.size(), 1);
    QCOMPARE(store.vendorIds.first().vendorId, 0x1A5Eu);
    QCOMPARE(store.vendorIds.first().deviceId, 0u);

    for (const QString &dir : {store.logpath, store.script_path, store.flash_path,
                               store.help_path, store.pci_conf_path})
        QVERIFY2(QDir(dataPath(store, dir)).exists(), qPrintable(dir));
    QVERIFY(QFile::exists(dataPath(store, store.help_path + QLatin1Char('/') + store.help_file)));
    const QStringList scripts = QDir(dataPath(store, store.script_path))
                                    .entryList({"*." + store.script_ext.first()}, QDir::Files);
    QVERIFY(!scripts.isEmpty());
}

void TestDescriptionShipped::adapters_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("flashLabel");
    QTest::newRow("en") << "en" << "Flash PROM size";
    QTest::newRow("de") << "de" << QString::fromUtf8("Größe des Flash-PROM");
}

void TestDescriptionShipped::adapters()
{
    QFETCH(QString, language);
    QFETCH(QString, flashLabel);
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    readShipped(&store, language);
    QVERIFY(dialogs.asked.isEmpty());

    QCOMPARE(store.adapterName(Dual), QStringLiteral("Orlin GE 4322-T Dual Port Gigabit Ethernet Adapter"));
    QCOMPARE(store.adapterName(Single), QStringLiteral("Orlin GE 4320-T Gigabit Ethernet Adapter"));
    QVERIFY(!store.hasAdapter(QStringLiteral("1A5E:43FF:1A5E:00FF")));
    QVERIFY(!store.hasAdapter(QStringLiteral("1B2C:0A01:1B2C:0001")));
    // The language block was found: one pass, one entry per adapter.
    QCOMPARE(store.adapters.count(Dual), 1);
    QCOMPARE(*store.adapterTestCases(Dual), range(1, 8));
    QCOMPARE(*store.adapterTestCases(Single), range(1, 7));

    for (const QString &key : {Dual, Single}) {
        QCOMPARE(*store.adapterMiscConfig(key), range(1, 7));
        QVERIFY2(!QImage(dataPath(store, store.adapterPixmap(key))).isNull(), qPrintable(key));
    }
    // The window reads "2" plus a blank plus the unit of item 3 as a number:
    // any unit there would make the dual-port adapter single-port.
    const QStringList units = {"", "", "", "KB", "bit", "", ""};
    for (int n = 1; n <= 7; ++n) {
        const CMiscConfigItem *item = store.miscConfigItem(n);
        QVERIFY(item);
        QCOMPARE(item->unit, units.at(n - 1));
        QVERIFY(!item->label.isEmpty());
    }
    QCOMPARE(store.miscConfigItem(4)->label, flashLabel);
}

void TestDescriptionShipped::testCases_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("de") << "de";
}

void TestDescriptionShipped::testCases()
{
    QFETCH(QString, language);
    CAdapterInfo store;
    readShipped(&store, language);

    const QList<int> numbers = range(1, 8) << 9999 << 9998;
    const QSet<int> inSeries = {1, 2, 3, 4, 6, 7, 8};
    const QSet<int> notLooped = {4, 5};
    QSet<int> subTestIds;
    for (int number : numbers) {
        const QByteArray what = QByteArray::number(number);
        QCOMPARE(store.testCases.count(number), 1);
        const CTestCase *t = store.testCase(number);
        QVERIFY2(t, what);
        QVERIFY2(!t->testname.isEmpty(), what);
        QVERIFY2(t->menuentry.contains(QLatin1Char('&')), what);
        QVERIFY2(!QKeySequence(t->accel, QKeySequence::PortableText).isEmpty(), what);
        const QImage icon(dataPath(store, t->pixmap));
        QVERIFY2(icon.size() == QSize(16, 16), what);
        QCOMPARE(t->all_tests, inSeries.contains(number) ? 1 : 0);
        QCOMPARE(t->allow_loop, notLooped.contains(number) ? 0 : 1);
        QCOMPARE(t->advanced, number == 8 ? 1 : 0);
        // The test tab has seven rows; a test case needs at least one to start.
        QVERIFY2(!t->subtests.isEmpty() && t->subtests.size() <= 7, what);
        for (int i = 0; i < t->subtests.size(); ++i) {
            const CSubTestCase &s = t->subtests.at(i);
            QCOMPARE(s.id, t->test_base + i + 1);
            QVERIFY2(!subTestIds.contains(s.id), what);
            subTestIds.insert(s.id);
            QVERIFY2(!s.label.isEmpty() && !s.hint.isEmpty(), what);
        }
    }
    QCOMPARE(store.testCase(9998)->subtests.first().id, 9981);
    QCOMPARE(store.testCases.uniqueKeys().size(), numbers.size());
}

void TestDescriptionShipped::languagesDescribeTheSameTests()
{
    CAdapterInfo en;
    CAdapterInfo de;
    readShipped(&en, QStringLiteral("en"));
    readShipped(&de, QStringLiteral("de"));
    QList<int> enKeys = en.testCases.uniqueKeys();
    QList<int> deKeys = de.testCases.uniqueKeys();
    std::sort(enKeys.begin(), enKeys.end());
    std::sort(deKeys.begin(), deKeys.end());
    QCOMPARE(deKeys, enKeys);
    for (int number : enKeys) {
        const CTestCase *a = en.testCase(number);
        const CTestCase *b = de.testCase(number);
        QCOMPARE(b->test_base, a->test_base);
        QCOMPARE(b->accel, a->accel);
        QCOMPARE(b->pixmap, a->pixmap);
        QCOMPARE(b->all_tests, a->all_tests);
        QCOMPARE(b->allow_loop, a->allow_loop);
        QCOMPARE(b->advanced, a->advanced);
        QCOMPARE(b->subtests.size(), a->subtests.size());
        for (int i = 0; i < a->subtests.size(); ++i)
            QCOMPARE(b->subtests.at(i).id, a->subtests.at(i).id);
    }
    QVERIFY(de.testCase(2)->testname != en.testCase(2)->testname);
    QCOMPARE(de.miscItems.uniqueKeys().size(), en.miscItems.uniqueKeys().size());
}

void TestDescriptionShipped::pictures()
{
    CAdapterInfo store;
    readShipped(&store, QStringLiteral("en"));
    struct Picture {
        const char *name;
        QSize min;
        QSize max;
    };
    const QList<Picture> pictures = {
        {"images/passed.png", {16, 16}, {25, 25}},
        {"images/failed.png", {16, 16}, {25, 25}},
        {"images/empty.png", {16, 16}, {25, 25}},
        {"images/led_on.bmp", {12, 12}, {20, 20}},
        {"images/led_off.bmp", {12, 12}, {20, 20}},
        // Tall enough for the two text lines of an adapter list row.
        {"images/generic.bmp", {48, 48}, {80, 64}},
        {"images/filenew.png", {16, 16}, {16, 16}},
        {"images/fileopen.png", {16, 16}, {16, 16}},
        {"images/filesave.png", {16, 16}, {16, 16}},
        {"images/back.png", {24, 25}, {24, 25}},
        {"images/forward.png", {24, 25}, {24, 25}},
        {"images/splash.png", {300, 200}, {640, 480}},
    };
    for (const Picture &p : pictures) {
        const QImage image(dataPath(store, QString::fromLatin1(p.name)));
        QVERIFY2(!image.isNull(), p.name);
        QVERIFY2(image.width() >= p.min.width() && image.height() >= p.min.height(), p.name);
        QVERIFY2(image.width() <= p.max.width() && image.height() <= p.max.height(), p.name);
    }
    QCOMPARE(store.splash_screen, QStringLiteral("images/splash.png"));
}

void TestDescriptionShipped::helpPagesLinkToExistingPages()
{
    const QDir help(dataDir().filePath(QStringLiteral("help")));
    const QStringList pages = {"index.html", "adapters.html", "tests.html", "log.html",
                               "configuration.html", "sensors.html", "general.html",
                               "advanced.html"};
    const QRegularExpression hrefs(QStringLiteral("href=\"([^\"]+)\""));
    QSet<QString> linkedFromIndex;
    for (const QString &page : pages) {
        QFile file(help.filePath(page));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page));
        const QString html = QString::fromUtf8(file.readAll());
        auto it = hrefs.globalMatch(html);
        while (it.hasNext()) {
            const QStringList target = it.next().captured(1).split(QLatin1Char('#'));
            const QString link = page + QLatin1String(" -> ") + target.join(QLatin1Char('#'));
            QFile linked(help.filePath(target.first()));
            QVERIFY2(linked.open(QIODevice::ReadOnly), qPrintable(link));
            if (target.size() > 1) {
                const QString anchor = QStringLiteral("name=\"%1\"").arg(target.at(1));
                QVERIFY2(QString::fromUtf8(linked.readAll()).contains(anchor), qPrintable(link));
            }
            if (page == QLatin1String("index.html"))
                linkedFromIndex.insert(target.first());
        }
    }
    for (const QString &page : pages.mid(1))
        QVERIFY2(linkedFromIndex.contains(page), qPrintable(page));
}

void TestDescriptionShipped::readerMessagesAreTranslated()
{
    const QList<QPair<const char *, const char *>> keys = {
        {"CAdapterInfo", "CONFIG_OPEN_FAILED %1 %2"},
        {"CAdapterInfo", "AIF_OPEN_FAILED %1 %2"},
        {"CAdapterInfo", "TIF_OPEN_FAILED %1 %2"},
        {"CAdapterInfo", "NOT_A_REGULAR_FILE"},
        {"CAdapterInfo", "FILE_TOO_LARGE %1"},
        {"CAdapterInfo", "NESTED_TOO_DEEP %1 %2 %3"},
        {"CAdapterInfo", "READING_STOPPED %1 %2 %3"},
        {"CAdapterInfo", "CONTROL_CHARACTER"},
        {"CAdapterInfo", "ENTITY_DECLARATIONS"},
        {"CAdapterInfo", "MORE_WARNINGS %1"},
        {"ConfigParser", "CONFIG_WRONG_VERSION"},
        {"ConfigParser", "VENDOR_ENTRY_READS_AS_ZERO %1 %2 %3"},
        {"AdapterInfoParser", "AIF_WRONG_VERSION"},
        {"TestInfoParser", "TIF_WRONG_VERSION"},
        {"TestInfoParser", "SUBTEST_ID_OUT_OF_RANGE %1 %2 %3 %4"},
    };
    const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    for (const char *language : {"diag_en", "diag_de"}) {
        QTranslator translator;
        QVERIFY(translator.load(QLatin1String(language), QStringLiteral(NICDIAG_RUN_DIR)));
        QCoreApplication::installTranslator(&translator);
        for (const auto &key : keys) {
            const QString text = TvText::translate(key.first, key.second);
            QVERIFY2(text != QLatin1String(key.second), key.second);
            auto places = placeholder.globalMatch(QLatin1String(key.second));
            while (places.hasNext())
                QVERIFY2(text.contains(places.next().captured()), key.second);
        }
        QCoreApplication::removeTranslator(&translator);
    }
}

QTEST_MAIN(TestDescriptionShipped)
#include "test_description_shipped.moc"
