// The configuration file reader: level rules, number forms, vendor lists,
// version check and the missing-file message.
#include "TvScriptedDialogs.h"
#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &xml)
{
    const QString path = dir.filePath(QStringLiteral("config.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(xml);
    return path;
}

QByteArray configFile(const QByteArray &body, const QByteArray &root = "version=\"1.0\"")
{
    return "<?xml version=\"1.0\"?>\n<configfile " + root + ">\n<configuration>\n" + body
           + "\n</configuration>\n</configfile>\n";
}

using Pair = QPair<quint32, quint32>;

QList<Pair> pairs(const CAdapterInfo &store)
{
    QList<Pair> result;
    for (const PciIdEntry &e : store.vendorIds)
        result.append(qMakePair(e.vendorId, e.deviceId));
    return result;
}

} // namespace

class TestDescriptionConfig : public QObject
{
    Q_OBJECT

private slots:
    void init() { TvProgram::reset(); }

    void settingsAndNumbers();
    void vendorEntries();
    void vendorEntryReadAsZeroIsWarned();
    void longProductNameIsCutAtACharacter();
    void versionAttribute_data();
    void versionAttribute();
    void listsKeepTenEntries();
    void levelRules();
    void malformedFileKeepsWhatCameBefore();
    void missingFilesAreReported();
    void clearRestoresStartValues();
    void runRecordsSwitch_data();
    void runRecordsSwitch();
};

void TestDescriptionConfig::settingsAndNumbers()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, configFile(
        "<name>Orlin Test</name><exename>nicdiag</exename><basepath>/opt/x</basepath>"
        "<splash_screen>images/s.png</splash_screen><logpath>log</logpath><log_ext>log</log_ext>"
        "<script_path>scripts</script_path><script_ext>txt</script_ext><script_ext>scr</script_ext>"
        "<flash_path>flash</flash_path><flash_ext>bin</flash_ext><flash_size> 128 </flash_size>"
        "<help_path>help</help_path><help_file>index.html</help_file>"
        "<pci_conf_path>pciconf</pci_conf_path><pci_conf_ext>csv</pci_conf_ext>"
        "<poll_interval>+2000</poll_interval><vendor_id>ABCD</vendor_id>"));
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(store.readConfigFile(path));
    QVERIFY(dialogs.asked.isEmpty());

    QCOMPARE(store.name, QStringLiteral("Orlin Test"));
    QCOMPARE(store.exename, QStringLiteral("nicdiag"));
    QCOMPARE(store.basepath, QStringLiteral("/opt/x"));
    QCOMPARE(store.splash_screen, QStringLiteral("images/s.png"));
    QCOMPARE(store.logpath, QStringLiteral("log"));
    QCOMPARE(store.log_ext, QStringLiteral("log"));
    QCOMPARE(store.script_path, QStringLiteral("scripts"));
    QCOMPARE(store.script_ext, QStringList({"txt", "scr"}));
    QCOMPARE(store.flash_path, QStringLiteral("flash"));
    QCOMPARE(store.flash_ext, QStringList({"bin"}));
    QCOMPARE(store.flash_size, 131072);
    QCOMPARE(store.help_path, QStringLiteral("help"));
    QCOMPARE(store.help_file, QStringLiteral("index.html"));
    QCOMPARE(store.pci_conf_path, QStringLiteral("pciconf"));
    QCOMPARE(store.pci_conf_ext, QStringList({"csv"}));
    QCOMPARE(store.poll_interval, 2000);
    QVERIFY(store.vendorIds.isEmpty()); // vendor_id carries nothing
    QCOMPARE(store.basePathOf(QStringLiteral("images/a.png")), QStringLiteral("/opt/x/images/a.png"));

    // Text that is not a plain decimal number reads as 0.
    const QString bad = writeFile(dir, configFile(
        "<flash_size>12k</flash_size><poll_interval>0x10</poll_interval>"));
    CAdapterInfo other;
    other.readConfigFile(bad);
    QCOMPARE(other.flash_size, 0);
    QCOMPARE(other.poll_interval, 0);
}

void TestDescriptionConfig::vendorEntries()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, configFile(
        "<vendor_entry id=\"ABCD\">0101, 0102</vendor_entry>\n"
        "<vendor_entry id=\"DCBA\"/>\n"
        "<vendor_entry id=\"1111\"></vendor_entry>\n"
        "<vendor_entry id=\"2222\">0201,,0202</vendor_entry>\n"
        "<vendor_entry id=\"3333\">0x0301</vendor_entry>\n"
        "<vendor_entry id=\"4444\">,,</vendor_entry>\n"
        "<vendor_entry whatever=\" 5a5e \" id=\"9999\">a0b1</vendor_entry>\n"
        "<vendor_entry id=\"0x66\">0001</vendor_entry>\n"
        "<vendor_entry>0002</vendor_entry>\n"));
    CAdapterInfo store;
    QVERIFY(store.readConfigFile(path));
    const QList<Pair> expected = {
        {0xABCD, 0x0101}, {0xABCD, 0x0102}, // blank after the comma is allowed
        {0xDCBA, 0},                         // self-closing: every device
        {0x1111, 0},                         // empty content: every device
        {0x2222, 0x0201}, {0x2222, 0x0202},  // empty piece dropped
        {0x3333, 0},                         // 0x prefix reads as 0, once
        {0x4444, 0},                         // only commas: still every device
        {0x5A5E, 0xA0B1},                    // first attribute, whatever its name
        {0, 1},                              // prefixed vendor reads as 0
        {0, 2},                              // no attribute reads as 0
    };
    QCOMPARE(pairs(store), expected);
}

void TestDescriptionConfig::vendorEntryReadAsZeroIsWarned()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, configFile(
        "<vendor_entry id=\"1A5E\"/>\n<vendor_entry id=\"0x1A5E\"/>\n<vendor_entry>0002</vendor_entry>"));
    CAdapterInfo store;
    QVERIFY(store.readConfigFile(path));
    // Read as before, but no longer silently.
    QCOMPARE(pairs(store), QList<Pair>({{0x1A5E, 0}, {0, 0}, {0, 2}}));
    QCOMPARE(store.warnings, QStringList({
        QStringLiteral("VENDOR_ENTRY_READS_AS_ZERO %1 5 0x1A5E").arg(path),
        QStringLiteral("VENDOR_ENTRY_READS_AS_ZERO %1 6 ").arg(path)}));

    // One per line of a hostile file would be no help, and slow to keep.
    CAdapterInfo flooded;
    flooded.readConfigFile(writeFile(dir, configFile(QByteArray("<vendor_entry/>\n").repeated(150))));
    QCOMPARE(flooded.warnings.size(), CAdapterInfo::MaxWarnings + 1);
    QCOMPARE(flooded.warnings.last(), QStringLiteral("MORE_WARNINGS 100"));
}

void TestDescriptionConfig::longProductNameIsCutAtACharacter()
{
    // 255 bytes of banner leave 249 for the name before " v7.12".
    const QString emoji = QString::fromUtf8("\xF0\x9F\x94\x8C");
    const QList<QPair<QString, int>> cases = {
        {QString(100000, QLatin1Char('x')), 249},
        {QString(100000, QChar(0xE4)), 124},             // two bytes each
        {QStringLiteral("ab") + emoji.repeated(50000), 2 + 2 * 61}, // never half a pair
        {QString(248, QLatin1Char('x')) + QChar(0xD83D), 249},     // a lone surrogate is one "?"
    };
    for (const auto &c : cases) {
        TvProgram::setBannerProduct(c.first);
        const QString banner = TvProgram::bannerText();
        QCOMPARE(banner, c.first.left(c.second) + QStringLiteral(" v7.12"));
        QVERIFY(banner.toUtf8().size() <= 255);
    }
}

void TestDescriptionConfig::versionAttribute_data()
{
    QTest::addColumn<QByteArray>("root");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1.0") << QByteArray("version=\"1.0\"") << true;
    QTest::newRow("1") << QByteArray("version=\"1\"") << true;
    QTest::newRow("1.00 other name") << QByteArray("format=\"1.00\"") << true;
    QTest::newRow("1.1") << QByteArray("version=\"1.1\"") << false;
    QTest::newRow("none") << QByteArray() << false;
    QTest::newRow("text") << QByteArray("version=\"one\"") << false;
    QTest::newRow("second attribute") << QByteArray("x=\"2\" version=\"1.0\"") << false;
}

void TestDescriptionConfig::versionAttribute()
{
    QFETCH(QByteArray, root);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path = writeFile(dir, configFile(
        "<name>Named</name><flash_size>4</flash_size><vendor_entry id=\"ABCD\"/>", root));
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    // A refused version still counts as a file that was read.
    QVERIFY(store.readConfigFile(path));
    if (accepted) {
        QVERIFY(dialogs.asked.isEmpty());
        QCOMPARE(store.name, QStringLiteral("Named"));
        QCOMPARE(store.vendorIds.size(), 1);
        return;
    }
    QCOMPARE(dialogs.asked.size(), 1);
    const TvScriptedDialogs::Asked &box = dialogs.asked.first();
    QCOMPARE(box.icon, TvDialogSeam::Critical);
    QCOMPARE(box.caption, TvProgram::bannerText());
    QCOMPARE(box.text, QStringLiteral("CONFIG_WRONG_VERSION"));
    QCOMPARE(box.buttons, QList<int>({TvDialogSeam::Ok}));
    QVERIFY(store.name.isEmpty());
    QCOMPARE(store.flash_size, 0);
    QVERIFY(store.vendorIds.isEmpty());
}

void TestDescriptionConfig::listsKeepTenEntries()
{
    QByteArray body;
    for (int i = 1; i <= 11; ++i) {
        body += "<script_ext>s" + QByteArray::number(i) + "</script_ext>";
        body += "<pci_conf_ext>p" + QByteArray::number(i) + "</pci_conf_ext>";
    }
    body += "<flash_ext> bin </flash_ext>";
    QTemporaryDir dir;
    CAdapterInfo store;
    store.readConfigFile(writeFile(dir, configFile(body)));
    QCOMPARE(store.script_ext.size(), 10);
    QCOMPARE(store.script_ext.first(), QStringLiteral("s1"));
    QCOMPARE(store.script_ext.last(), QStringLiteral("s10"));
    QCOMPARE(store.pci_conf_ext.size(), 10);
    QCOMPARE(store.pci_conf_ext.last(), QStringLiteral("p10"));
    QCOMPARE(store.flash_ext, QStringList({" bin "})); // text unchanged
}

void TestDescriptionConfig::levelRules()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir,
        "<configfile version=\"1.0\">\n"
        "  <name>Outside</name>\n"                         // not inside configuration
        "  <configuration>\n"
        "    <name>First</name>\n"
        "    <logpath>log</logpath>\n"
        "    <logpath/>\n"                                // no text: keeps log
        "    <group><exename>nested</exename></group>\n"  // unknown wrapper is transparent
        "    <help_path>\n      <b>ignored</b>\n    </help_path>\n" // first text counts
        "    <splash_screen><b/>s.png</splash_screen>\n"            // inner end tag closes it
        "    <flash_ext>bin</flash_ext>\n"
        "    <vendor_entry id=\"ABCD\">0001</vendor_entry>\n"
        "    <vendor_entry id=\"BCDE\">0002<b>0003</b></vendor_entry>\n" // first text counts
        "  </configuration>\n"
        "  <log_ext>outside</log_ext>\n"
        "  <configuration>\n"
        "    <name>Second</name>\n"
        "    <flash_ext>img</flash_ext>\n"
        "    <vendor_entry id=\"DCBA\"/>\n"
        "  </configuration>\n"
        "</configfile>\n");
    CAdapterInfo store;
    QVERIFY(store.readConfigFile(path));
    QCOMPARE(store.name, QStringLiteral("Second"));         // second block overwrites
    QCOMPARE(store.flash_ext, QStringList({"bin", "img"})); // and appends
    QCOMPARE(pairs(store), QList<Pair>({{0xABCD, 1}, {0xBCDE, 2}, {0xDCBA, 0}}));
    QCOMPARE(store.logpath, QStringLiteral("log"));
    QCOMPARE(store.exename, QStringLiteral("nested"));
    QCOMPARE(store.help_path, QStringLiteral("\n      "));
    QVERIFY(store.splash_screen.isEmpty());
    QVERIFY(store.log_ext.isEmpty());
}

void TestDescriptionConfig::malformedFileKeepsWhatCameBefore()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir,
        "<configfile version=\"1.0\"><configuration>"
        "<name>Kept</name><vendor_entry id=\"ABCD\"/>"
        "<logpath>log</oops>"
        "<help_path>lost</help_path></configuration></configfile>");
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(store.readConfigFile(path));
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(store.name, QStringLiteral("Kept"));
    QCOMPARE(store.vendorIds.size(), 1);
    QVERIFY(store.help_path.isEmpty());
}

void TestDescriptionConfig::missingFilesAreReported()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no %2 such.xml"));
    const QString reason = QString::fromLocal8Bit(std::strerror(ENOENT));
    TvProgram::setBannerProduct(QStringLiteral("Banner Product"));
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(!store.readConfigFile(missing));
    QVERIFY(!store.readAdapterInfoFile(missing, QStringLiteral("en")));
    QVERIFY(!store.readTestInfoFile(missing, QStringLiteral("en")));

    QCOMPARE(dialogs.asked.size(), 3);
    const QStringList keys = {"CONFIG_OPEN_FAILED", "AIF_OPEN_FAILED", "TIF_OPEN_FAILED"};
    for (int i = 0; i < 3; ++i) {
        const TvScriptedDialogs::Asked &box = dialogs.asked.at(i);
        QCOMPARE(box.icon, TvDialogSeam::Critical);
        QCOMPARE(box.caption, QStringLiteral("Banner Product v7.12"));
        // The path is taken as it stands, even with a placeholder in it.
        QCOMPARE(box.text, keys.at(i) + QLatin1Char(' ') + missing + QLatin1Char(' ') + reason);
        QCOMPARE(box.buttons, QList<int>({TvDialogSeam::Ok}));
    }
    QVERIFY(store.adapters.isEmpty());
    QVERIFY(store.testCases.isEmpty());

    // Something that exists but cannot be opened fails the same way, with
    // the system's reason: a directory, and (unless root) a file without
    // read permission.
    QVERIFY(!store.readConfigFile(dir.path()));
    QVERIFY(!store.readAdapterInfoFile(dir.path(), QStringLiteral("en")));
    QCOMPARE(dialogs.asked.size(), 5);
    QCOMPARE(dialogs.asked.at(3).text, QStringLiteral("CONFIG_OPEN_FAILED %1 %2")
                                           .arg(dir.path(), QString::fromLocal8Bit(std::strerror(EISDIR))));
    const QString locked = writeFile(dir, configFile("<name>N</name>"));
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    if (::geteuid() != 0) {
        QVERIFY(!store.readTestInfoFile(locked, QStringLiteral("en")));
        QCOMPARE(dialogs.asked.last().text, QStringLiteral("TIF_OPEN_FAILED %1 %2")
                                                .arg(locked, QString::fromLocal8Bit(std::strerror(EACCES))));
    }
    QVERIFY(store.name.isEmpty());
}

void TestDescriptionConfig::clearRestoresStartValues()
{
    QTemporaryDir dir;
    CAdapterInfo &store = CAdapterInfo::instance();
    QCOMPARE(&store, &CAdapterInfo::instance());
    store.readConfigFile(writeFile(dir, configFile(
        "<name>N</name><script_ext>txt</script_ext><flash_size>1</flash_size>"
        "<poll_interval>5</poll_interval><vendor_entry id=\"1\"/><run_records>0</run_records>")));
    store.logFileName = QStringLiteral("x.log");
    store.testCases.insert(1, CTestCase());
    QCOMPARE(store.name, QStringLiteral("N"));
    store.clear();
    QVERIFY(store.name.isEmpty());
    QVERIFY(store.script_ext.isEmpty());
    QCOMPARE(store.flash_size, 0);
    QCOMPARE(store.poll_interval, 0);
    QCOMPARE(store.run_records, 1);
    QVERIFY(store.vendorIds.isEmpty());
    QVERIFY(store.logFileName.isNull());
    QVERIFY(store.testCases.isEmpty());
}

void TestDescriptionConfig::runRecordsSwitch_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("warned");
    QTest::newRow("absent: on") << QByteArray() << 1 << false;
    QTest::newRow("off") << QByteArray("<run_records>0</run_records>") << 0 << false;
    QTest::newRow("on") << QByteArray("<run_records> 1 </run_records>") << 1 << false;
    QTest::newRow("empty: unchanged") << QByteArray("<run_records/>") << 1 << false;
    // A word reads as 0, as every number of the file does, but not unseen.
    QTest::newRow("word") << QByteArray("<run_records>yes</run_records>") << 0 << true;
}

void TestDescriptionConfig::runRecordsSwitch()
{
    QFETCH(QByteArray, body);
    QFETCH(int, value);
    QFETCH(bool, warned);
    QTemporaryDir dir;
    const QString path = writeFile(dir, configFile(body));
    CAdapterInfo store;
    QVERIFY(store.readConfigFile(path));
    QCOMPARE(store.run_records, value);
    QCOMPARE(store.warnings,
             warned ? QStringList{QStringLiteral("RUN_RECORDS_READS_AS_ZERO %1 4 yes").arg(path)}
                    : QStringList());
}

QTEST_MAIN(TestDescriptionConfig)
#include "test_description_config.moc"
