// The test information file reader: test case and sub-test records, the
// resets at each test case, language blocks and the English second pass.
#include "TvScriptedDialogs.h"
#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &xml)
{
    const QString path = dir.filePath(QStringLiteral("testinfofile.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(xml);
    return path;
}

QByteArray tif(const QByteArray &body, const QByteArray &root = "version=\"1.0\"")
{
    return "<?xml version=\"1.0\"?>\n<testinfo " + root + ">\n" + body + "\n</testinfo>\n";
}

QByteArray block(const QByteArray &lang, const QByteArray &testcases)
{
    return "<testcases lang=\"" + lang + "\">\n" + testcases + "</testcases>\n";
}

QByteArray simpleCase(int number, const QByteArray &name)
{
    return "<testcase id=\"" + QByteArray::number(number) + "\">\n<testname>" + name
           + "</testname>\n<test_base>" + QByteArray::number(number * 100)
           + "</test_base>\n<subtestcase id=\"1\"><label>" + name
           + " 1</label></subtestcase>\n</testcase>\n";
}

QList<int> subTestIds(const CTestCase *t)
{
    QList<int> ids;
    for (const CSubTestCase &s : t->subtests)
        ids.append(s.id);
    return ids;
}

} // namespace

class TestDescriptionTests : public QObject
{
    Q_OBJECT

private slots:
    void init() { TvProgram::reset(); }

    void fullTestCase();
    void fieldsStartAfreshWithEachTestCase();
    void subTestIdsUseTheBaseOfTheirEndTag();
    void subTestIdsBeyond32BitsAreLeftOut();
    void blocksAndLanguages();
    void sameNumberHidesTheFirst();
    void wrongVersionIsRefusedTwice();
    void malformedFileKeepsCompletedTestCases();
};

void TestDescriptionTests::fullTestCase()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, tif(block("en",
        "<testcase id=\" 3 \">\n"
        "  <testname>Interrupt test</testname>\n"
        "  <menuentry>&amp;Interrupt test</menuentry>\n"
        "  <accel>Ctrl+3</accel>\n"
        "  <pixmap>images/test_irq.png</pixmap>\n"
        "  <advanced>1</advanced>\n"
        "  <all_tests>1</all_tests>\n"
        "  <allow_loop>x</allow_loop>\n"
        "  <test_base>300</test_base>\n"
        "  <subtestcase id=\"2\">\n"
        "    <label>MSI delivery</label>\n"
        "    <hint>Needs MSI</hint>\n"
        "  </subtestcase>\n"
        "  <subtestcase id=\"1\">\n"
        "    <label>Interrupt line</label>\n"
        "  </subtestcase>\n"
        "  <subtestcase id=\"7\"/>\n"
        "</testcase>\n")));
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(!store.testCase(3));
    QVERIFY(store.readTestInfoFile(path, QStringLiteral("en")));
    QVERIFY(dialogs.asked.isEmpty());

    const CTestCase *t = store.testCase(3);
    QVERIFY(t);
    QCOMPARE(t->testname, QStringLiteral("Interrupt test"));
    QCOMPARE(t->menuentry, QStringLiteral("&Interrupt test"));
    QCOMPARE(t->accel, QStringLiteral("Ctrl+3"));
    QCOMPARE(t->pixmap, QStringLiteral("images/test_irq.png"));
    QCOMPARE(t->advanced, 1);
    QCOMPARE(t->all_tests, 1);
    QCOMPARE(t->allow_loop, 0);
    QCOMPARE(t->test_base, 300);
    // File order, not number order; label and hint start empty per sub-test.
    QCOMPARE(subTestIds(t), QList<int>({302, 301, 307}));
    QCOMPARE(t->subtests.at(0).label, QStringLiteral("MSI delivery"));
    QCOMPARE(t->subtests.at(0).hint, QStringLiteral("Needs MSI"));
    QCOMPARE(t->subtests.at(1).label, QStringLiteral("Interrupt line"));
    QVERIFY(t->subtests.at(1).hint.isEmpty());
    QVERIFY(t->subtests.at(2).label.isEmpty());
    QVERIFY(!store.testCase(4));
}

void TestDescriptionTests::fieldsStartAfreshWithEachTestCase()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, tif(block("en",
        "<testcase id=\"1\"><testname>One</testname><accel>Ctrl+1</accel>"
        "<menuentry>&amp;One</menuentry><pixmap>one.png</pixmap><all_tests>1</all_tests>"
        "<test_base>100</test_base></testcase>\n"
        "<testcase id=\"2\"><menuentry>&amp;Two</menuentry></testcase>\n"
        "<testcase id=\"3\"><accel>Ctrl+3</accel><accel/><testname>A<![CDATA[B]]></testname>"
        "<hint>orphan</hint><subtestcase id=\"1\"><hint>h</hint><hint/></subtestcase>"
        "<label>stray</label><hint>stray</hint></testcase>\n"
        "<testcase id=\"4\"><subtestcase id=\"1\"/></testcase>\n")));
    CAdapterInfo store;
    store.readTestInfoFile(path, QStringLiteral("en"));

    const CTestCase *two = store.testCase(2);
    QVERIFY(two);
    QVERIFY(two->testname.isEmpty()); // not the name of test case 1
    QVERIFY(two->accel.isEmpty());
    QVERIFY(two->pixmap.isEmpty());
    QCOMPARE(two->all_tests, 0);
    QCOMPARE(two->test_base, 0);

    const CTestCase *three = store.testCase(3);
    QVERIFY(three->accel.isEmpty());                 // an empty accel resets it
    QCOMPARE(three->testname, QStringLiteral("B"));  // the last piece of text counts
    QCOMPARE(three->subtests.size(), 1);
    QVERIFY(three->subtests.first().hint.isEmpty()); // an empty hint resets it too

    // Text left over after the last sub-test does not reach the next test case.
    const CTestCase *four = store.testCase(4);
    QCOMPARE(four->subtests.size(), 1);
    QVERIFY(four->subtests.first().label.isEmpty());
    QVERIFY(four->subtests.first().hint.isEmpty());
}

void TestDescriptionTests::subTestIdsUseTheBaseOfTheirEndTag()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, tif(block("en",
        "<testcase id=\"5\">\n"
        "  <subtestcase id=\"1\"><label>early</label></subtestcase>\n"
        "  <test_base>500</test_base>\n"
        "  <subtestcase id=\"2\"><label>late</label></subtestcase>\n"
        "  <subtestcase id=\"3\"><test_base>900</test_base></subtestcase>\n"
        "</testcase>\n"
        "<subtestcase id=\"4\"><label>loose</label></subtestcase>\n"
        "<testcase id=\"6\"><test_base>600</test_base></testcase>\n")));
    CAdapterInfo store;
    store.readTestInfoFile(path, QStringLiteral("en"));
    QCOMPARE(subTestIds(store.testCase(5)), QList<int>({1, 502, 903}));
    QCOMPARE(store.testCase(5)->test_base, 900);
    // A sub-test between test cases joins the list of the next one, with the
    // base still standing from the test case before.
    QCOMPARE(subTestIds(store.testCase(6)), QList<int>({904}));
    QCOMPARE(store.testCase(6)->subtests.first().label, QStringLiteral("loose"));
}

void TestDescriptionTests::subTestIdsBeyond32BitsAreLeftOut()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir,
        "<testinfo version=\"1.0\"><testcases lang=\"en\">\n"
        "<testcase id=\"1\"><test_base>2147483647</test_base><subtestcase id=\"0\"/>\n"
        "<subtestcase id=\"1\"/><subtestcase id=\"-1\"/></testcase>\n"
        "<testcase id=\"2\"><test_base>-2147483648</test_base><subtestcase id=\"-1\"/>\n"
        "<subtestcase id=\"0\"/></testcase>\n"
        "</testcases></testinfo>\n");
    CAdapterInfo store;
    QVERIFY(store.readTestInfoFile(path, QStringLiteral("en")));
    QCOMPARE(subTestIds(store.testCase(1)), QList<int>({2147483647, 2147483646}));
    QCOMPARE(subTestIds(store.testCase(2)), QList<int>({-2147483647 - 1}));
    QCOMPARE(store.warnings, QStringList({
        QStringLiteral("SUBTEST_ID_OUT_OF_RANGE %1 3 2147483647 1").arg(path),
        QStringLiteral("SUBTEST_ID_OUT_OF_RANGE %1 4 -2147483648 -1").arg(path)}));
}

void TestDescriptionTests::blocksAndLanguages()
{
    QTemporaryDir dir;
    struct Case {
        const char *file;
        QByteArray body;
        QString language;
        QList<int> numbers; // sorted
        int copiesOfOne;
        QString nameOfOne;
    };
    const QByteArray en = block("en", simpleCase(1, "Register test"));
    const QByteArray de = block("de", simpleCase(1, "Registertest") + simpleCase(2, "Speichertest"));
    const QByteArray outside = simpleCase(7, "Outside");
    const QList<Case> cases = {
        {"selected", en + de, "de", {1, 2}, 1, "Registertest"},
        {"fallback", en, "de", {1}, 1, "Register test"},
        {"neither", block("fr", simpleCase(1, "Test des registres")), "de", {}, 0, QString()},
        {"outside any block", outside + en + outside, "en", {1}, 1, "Register test"},
        {"two blocks", en + block("en", simpleCase(2, "Memory test")), "en", {1, 2}, 1, "Register test"},
        {"exact code", de, "de_de", {}, 0, QString()},
    };
    for (const Case &c : cases) {
        CAdapterInfo store;
        store.readTestInfoFile(writeFile(dir, tif(c.body)), c.language);
        QList<int> numbers = store.testCases.uniqueKeys();
        std::sort(numbers.begin(), numbers.end());
        QVERIFY2(numbers == c.numbers, c.file);
        QVERIFY2(store.testCases.count(1) == c.copiesOfOne, c.file);
        if (!c.nameOfOne.isNull())
            QCOMPARE(store.testCase(1)->testname, c.nameOfOne);
    }
}

void TestDescriptionTests::sameNumberHidesTheFirst()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, tif(block("en",
        simpleCase(4, "EEPROM test") + simpleCase(4, "EEPROM test, newer"))));
    CAdapterInfo store;
    store.readTestInfoFile(path, QStringLiteral("en"));
    QCOMPARE(store.testCases.count(4), 2);
    QCOMPARE(store.testCase(4)->testname, QStringLiteral("EEPROM test, newer"));
    // Each test case has its own sub-test list.
    QCOMPARE(store.testCase(4)->subtests.size(), 1);
}

void TestDescriptionTests::wrongVersionIsRefusedTwice()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, tif(block("en", simpleCase(1, "A")), "v=\"0.9\""));
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(store.readTestInfoFile(path, QStringLiteral("en")));
    QCOMPARE(dialogs.messageTexts(), QStringList({"TIF_WRONG_VERSION", "TIF_WRONG_VERSION"}));
    QCOMPARE(dialogs.asked.first().caption, TvProgram::bannerText());
    QCOMPARE(dialogs.asked.first().buttons, QList<int>({TvDialogSeam::Ok}));
    QVERIFY(store.testCases.isEmpty());
}

void TestDescriptionTests::malformedFileKeepsCompletedTestCases()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir,
        "<testinfo version=\"1\"><testcases lang=\"en\">" + simpleCase(1, "kept")
        + "<testcase id=\"2\"><testname>lost</testname><broken></testcase>"
          "</testcases></testinfo>");
    TvScriptedDialogs dialogs;
    CAdapterInfo store;
    QVERIFY(store.readTestInfoFile(path, QStringLiteral("en")));
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(store.testCase(1)->testname, QStringLiteral("kept"));
    QVERIFY(!store.testCase(2));
}

QTEST_MAIN(TestDescriptionTests)
#include "test_description_tests.moc"
