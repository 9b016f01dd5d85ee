// The adapter information file reader: keys, number lists, inherited
// scratch values, language blocks with the English second pass.
#include "TvScriptedDialogs.h"
#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &xml)
{
    const QString path = dir.filePath(QStringLiteral("adapterinfofile.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(xml);
    return path;
}

QByteArray aif(const QByteArray &body, const QByteArray &root = "version=\"1.0\"")
{
    return "<?xml version=\"1.0\"?>\n<adapterinfofile " + root + ">\n" + body
           + "\n</adapterinfofile>\n";
}

QByteArray adapter(const QByteArray &id, const QByteArray &name, const QByteArray &extra = {})
{
    QByteArray idElement = id.isNull() ? QByteArray() : "<id>" + id + "</id>\n";
    return "<adapter>\n" + idElement + "<name>" + name + "</name>\n" + extra + "</adapter>\n";
}

QByteArray miscBlock(const QByteArray &lang, const QByteArray &label)
{
    return "<miscconfiginfo lang=\"" + lang + "\">\n<misc_conf id=\"1\">\n<type>0</type>\n"
           "<unit>V</unit>\n<label>" + label + "</label>\n</misc_conf>\n</miscconfiginfo>\n";
}

const QString Key = QStringLiteral("ABCD:0102:ABCD:0001");

} // namespace

class TestDescriptionAdapters : public QObject
{
    Q_OBJECT

private slots:
    void init() { TvProgram::reset(); }

    void adapterFieldsAndLookups();
    void keysAreUpperCasedButNotTrimmed();
    void adapterWithoutIdHidesThePreviousOne();
    void numberLists_data();
    void numberLists();
    void miscItemsInheritAndHide();
    void languageSelection();
    void wrongVersionIsRefusedTwice();
    void malformedFileKeepsWhatCameBefore();
};

void TestDescriptionAdapters::adapterFieldsAndLookups()
{
    CAdapterInfo store;
    QVERIFY(!store.hasAdapter(Key));
    QVERIFY(!store.adapterMiscConfig(Key));

    QTemporaryDir dir;
    const QString path = writeFile(dir, aif(adapter(
        "ABCD:0102:ABCD:0001", "Adapter A",
        "<info>Info</info><connector>RJ-45</connector><medium>copper</medium>"
        "<pixmap>images/a.png</pixmap><miscconfig>1,2,3</miscconfig>"
        "<testcases>3,1,2</testcases><name/>\n")));
    TvScriptedDialogs dialogs;
    QVERIFY(store.readAdapterInfoFile(path, QStringLiteral("en")));
    QVERIFY(dialogs.asked.isEmpty());

    QVERIFY(store.hasAdapter(Key));
    QCOMPARE(store.adapterName(Key), QStringLiteral("Adapter A")); // empty <name/> keeps it
    QCOMPARE(store.adapterPixmap(Key), QStringLiteral("images/a.png"));
    QCOMPARE(*store.adapterMiscConfig(Key), QList<int>({1, 2, 3}));
    QCOMPARE(*store.adapterTestCases(Key), QList<int>({3, 1, 2}));
    const CAdapterEntry entry = store.adapters.value(Key);
    QCOMPARE(entry.info, QStringLiteral("Info"));
    QCOMPARE(entry.connector, QStringLiteral("RJ-45"));
    QCOMPARE(entry.medium, QStringLiteral("copper"));

    const QString other = QStringLiteral("ABCD:0102:ABCD:0002");
    QVERIFY(!store.hasAdapter(other));
    QVERIFY(store.adapterName(other).isEmpty());
    QVERIFY(store.adapterPixmap(other).isEmpty());
    QVERIFY(!store.adapterMiscConfig(other));
    QVERIFY(!store.adapterTestCases(other));
    QVERIFY(!store.miscConfigItem(1)); // the file has no misc block
}

void TestDescriptionAdapters::keysAreUpperCasedButNotTrimmed()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, aif(
        adapter("abcd:0102:abcd:0001", "lower")
        + adapter(" ABCD:4320:ABCD:0001", "leading blank")
        + adapter("ABCD:4321 :ABCD:0001", "inner blank")));
    CAdapterInfo store;
    store.readAdapterInfoFile(path, QStringLiteral("en"));
    QCOMPARE(store.adapterName(Key), QStringLiteral("lower"));
    QVERIFY(!store.hasAdapter(QStringLiteral("ABCD:4320:ABCD:0001")));
    QVERIFY(!store.hasAdapter(QStringLiteral("ABCD:4321:ABCD:0001")));
    QVERIFY(store.hasAdapter(QStringLiteral(" ABCD:4320:ABCD:0001")));
}

void TestDescriptionAdapters::adapterWithoutIdHidesThePreviousOne()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, aif(
        adapter("ABCD:0102:ABCD:0001", "first", "<pixmap>first.png</pixmap><testcases>1</testcases>")
        + adapter(QByteArray(), "second", "<testcases>2</testcases>")
        + miscBlock("en", "Label")));
    CAdapterInfo store;
    store.readAdapterInfoFile(path, QStringLiteral("en"));
    QCOMPARE(store.adapters.count(Key), 2);
    QCOMPARE(store.adapterName(Key), QStringLiteral("second"));
    // The other fields start afresh with each adapter.
    QVERIFY(store.adapterPixmap(Key).isEmpty());
    QCOMPARE(*store.adapterTestCases(Key), QList<int>({2}));
}

void TestDescriptionAdapters::numberLists_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("plain") << QByteArray("1,2,3") << QList<int>({1, 2, 3});
    QTest::newRow("blank after comma") << QByteArray("1, 2") << QList<int>({1, 2});
    QTest::newRow("double comma") << QByteArray("1,,2") << QList<int>({1, 0, 2});
    QTest::newRow("trailing comma") << QByteArray("1,2,") << QList<int>({1, 2, 0});
    QTest::newRow("not a number") << QByteArray("7,x,0x9,-4") << QList<int>({7, 0, 0, -4});
    QTest::newRow("blank only") << QByteArray(" ") << QList<int>({0});
}

void TestDescriptionAdapters::numberLists()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, expected);
    QTemporaryDir dir;
    const QString path = writeFile(dir, aif(adapter(
        "ABCD:0102:ABCD:0001", "A", "<miscconfig>" + text + "</miscconfig><testcases>" + text
                                        + "</testcases>")));
    CAdapterInfo store;
    store.readAdapterInfoFile(path, QStringLiteral("en"));
    QCOMPARE(*store.adapterMiscConfig(Key), expected);
    QCOMPARE(*store.adapterTestCases(Key), expected);
}

void TestDescriptionAdapters::miscItemsInheritAndHide()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, aif(
        "<miscconfiginfo lang=\"en\">\n"
        "<misc_conf id=\"1\"><type>4</type><unit>  KB \n</unit><label>Flash</label></misc_conf>\n"
        "<misc_conf id=\"2\"><label>Bus width</label></misc_conf>\n"   // type and unit of 1
        "<misc_conf id=\"3\"><type>1</type><unit/><label/></misc_conf>\n"   // unit, label of 2
        "<misc_conf id=\"2\"><type>2</type><unit>bit</unit><label>Bus</label></misc_conf>\n"
        "<misc_conf no=\" 5 \"><unit></unit></misc_conf>\n"
        "</miscconfiginfo>\n"
        "<misc_conf id=\"9\"><label>outside</label></misc_conf>\n"));
    CAdapterInfo store;
    store.readAdapterInfoFile(path, QStringLiteral("en"));

    const CMiscConfigItem *first = store.miscConfigItem(1);
    QVERIFY(first);
    QCOMPARE(first->type, 4);
    QCOMPARE(first->unit, QStringLiteral("KB")); // stripped at both ends
    QCOMPARE(first->label, QStringLiteral("Flash"));

    QCOMPARE(store.miscItems.count(2), 2);
    QCOMPARE(store.miscItems.values(2).last().unit, QStringLiteral("KB")); // inherited
    QCOMPARE(store.miscItems.values(2).last().type, 4);
    QCOMPARE(store.miscConfigItem(2)->label, QStringLiteral("Bus")); // the newer hides

    const CMiscConfigItem *third = store.miscConfigItem(3);
    QCOMPARE(third->type, 1);
    QCOMPARE(third->unit, QStringLiteral("KB"));
    QCOMPARE(third->label, QStringLiteral("Bus width"));

    QVERIFY(store.miscConfigItem(5));
    QCOMPARE(store.miscConfigItem(5)->unit, QStringLiteral("bit"));
    QVERIFY(!store.miscConfigItem(9));
}

void TestDescriptionAdapters::languageSelection()
{
    QTemporaryDir dir;
    const QByteArray adapters = adapter("ABCD:0102:ABCD:0001", "A");

    struct Case {
        const char *file;
        QByteArray blocks;
        QString language;
        int adapterCopies;
        QString label; // null: no misc item
    };
    const QList<Case> cases = {
        {"de and en", miscBlock("en", "Label") + miscBlock("de", "Bezeichnung"), "de", 1, "Bezeichnung"},
        {"only en", miscBlock("en", "Label"), "de", 2, "Label"},
        {"exact code", miscBlock("de", "Bezeichnung"), "de_de", 2, QString()},
        {"neither", miscBlock("fr", "Libelle"), "de", 2, QString()},
        {"no block, en", QByteArray(), "en", 2, QString()},
        {"en twice", miscBlock("en", "One") + miscBlock("en", "Two"), "en", 1, "Two"},
    };
    for (const Case &c : cases) {
        CAdapterInfo store;
        store.readAdapterInfoFile(writeFile(dir, aif(adapters + c.blocks)), c.language);
        QVERIFY2(store.adapters.count(Key) == c.adapterCopies, c.file);
        if (c.label.isNull()) {
            QVERIFY2(store.miscItems.isEmpty(), c.file);
        } else {
            QVERIFY2(store.miscConfigItem(1), c.file);
            QCOMPARE(store.miscConfigItem(1)->label, c.label);
        }
    }
}

void TestDescriptionAdapters::wrongVersionIsRefusedTwice()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, aif(
        adapter("ABCD:0102:ABCD:0001", "A") + miscBlock("en", "Label"), "version=\"2.0\""));
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(store.readAdapterInfoFile(path, QStringLiteral("en")));
    QCOMPARE(dialogs.messageTexts(),
             QStringList({"AIF_WRONG_VERSION", "AIF_WRONG_VERSION"}));
    QCOMPARE(dialogs.asked.first().caption, TvProgram::bannerText());
    QCOMPARE(dialogs.asked.first().icon, TvDialogSeam::Critical);
    QVERIFY(store.adapters.isEmpty());
    QVERIFY(store.miscItems.isEmpty());
}

void TestDescriptionAdapters::malformedFileKeepsWhatCameBefore()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir,
        "<adapterinfofile version=\"1.0\">"
        "<miscconfiginfo lang=\"en\"><misc_conf id=\"1\"><label>L</label></misc_conf></miscconfiginfo>"
        "<adapter><id>ABCD:0102:ABCD:0001</id><name>kept</name></adapter>"
        "<adapter><id>ABCD:0103:ABCD:0001</id><name>lost</nam></adapter>"
        "</adapterinfofile>");
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(store.readAdapterInfoFile(path, QStringLiteral("en")));
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(store.adapterName(Key), QStringLiteral("kept"));
    QVERIFY(!store.hasAdapter(QStringLiteral("ABCD:0103:ABCD:0001")));
    QVERIFY(store.miscConfigItem(1));
}

QTEST_MAIN(TestDescriptionAdapters)
#include "test_description_adapters.moc"
