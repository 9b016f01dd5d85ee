// The splash screen and about box, and the help browser.
#include "TvUiRig.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "ui/TvDiagHelpDlgImpl.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/TvSplash.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

namespace {

// A base directory with a 400 x 300 splash picture and two help pages.
class Fixture : public TvUiRig
{
public:
    Fixture()
    {
        QDir().mkpath(base.filePath(QStringLiteral("help")));
        savePicture(QStringLiteral("images/splash.png"), QSize(400, 300), Qt::darkBlue);
        writePage("index.html", "<html><body><p>Welcome page</p><a href=\"page2.html\">next</a></body></html>");
        writePage("page2.html", "<html><body><p>Second page</p></body></html>");

        CAdapterInfo &info = CAdapterInfo::instance();
        info.splash_screen = QStringLiteral("images/splash.png");
        info.help_path = QStringLiteral("help");
        info.help_file = QStringLiteral("index.html");
    }

    void writePage(const char *name, const char *html)
    {
        QFile page(base.filePath(QStringLiteral("help/") + QLatin1String(name)));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write(html);
    }
};

QList<QLabel *> splashLines(TvSplash &splash)
{
    return {splash.findChild<QLabel *>(QStringLiteral("nameLabel")),
            splash.findChild<QLabel *>(QStringLiteral("versionLabel")),
            splash.findChild<QLabel *>(QStringLiteral("copyrightLabel"))};
}

} // namespace

class TestUiSplashHelp : public QObject
{
    Q_OBJECT

private slots:
    void splashLinesSitOnThePicture_data();
    void splashLinesSitOnThePicture();
    void splashClosesItselfAboutBoxWaits();
    void splashWithoutPicture();
    void helpShowsAndWalksItsPages();
    void helpResizesOnlyBeyondItsDesign();
    void menuEntriesRunTheirDialogs();
};

void TestUiSplashHelp::splashLinesSitOnThePicture_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::newRow("keys") << QString();
    QTest::newRow("English") << "diag_en";
    QTest::newRow("German") << "diag_de";
}

void TestUiSplashHelp::splashLinesSitOnThePicture()
{
    QFETCH(QString, catalogue);
    QTranslator language;
    if (!catalogue.isEmpty()) {
        QVERIFY(language.load(catalogue, QStringLiteral(NICDIAG_RUN_DIR)));
        QCoreApplication::installTranslator(&language);
    }
    Fixture f;
    TvSplash about(true);
    QCoreApplication::removeTranslator(&language);
    QVERIFY(about.isVisible());
    QVERIFY(about.isModal());
    QCOMPARE(about.objectName(), QStringLiteral("Test"));
    QCOMPARE(about.windowTitle(), TvProgram::bannerText());
    // The picture, and below it the OK button's strip.
    QCOMPARE(about.size(), QSize(400, 300 + TvSplash::ButtonHeight + 2 * TvSplash::Margin));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(about.geometry().topLeft(),
             QPoint(desktop.width() / 2 - 200, desktop.height() / 2 - about.height() / 2));

    // Each line on the picture, as tall as its font, with room between.
    const QList<QLabel *> lines = splashLines(about);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(lines[i]);
        const QRect line = lines[i]->geometry();
        QVERIFY(line.x() == 0 && line.width() == 400 && line.top() >= 0 && line.bottom() < 300);
        QVERIFY(line.height() >= qMax(lines[i]->fontMetrics().height(), lines[i]->heightForWidth(400)));
        if (i > 0)
            QVERIFY2(line.top() > lines[i - 1]->geometry().bottom() + 1, qPrintable(lines[i]->text()));
        QCOMPARE(lines[i]->alignment(), Qt::AlignCenter);
        QVERIFY(!lines[i]->autoFillBackground());
    }
    QVERIFY(lines[0]->y() >= 200);
    QCOMPARE(lines[0]->text(), QStringLiteral("Test Diagnostics"));
    if (catalogue.isEmpty())
        QCOMPARE(lines[1]->text(), QStringLiteral("VERSION_OS 7.12 Linux"));
    QVERIFY(lines[1]->font().bold() && !lines[0]->font().bold());
    QCOMPARE(lines[0]->font().pointSize(), 11);
    QVERIFY(!lines[2]->text().isEmpty());

    // The button covers no line and stays inside the box.
    auto *ok = about.findChild<QPushButton *>(QStringLiteral("okButton"));
    QVERIFY(ok->y() >= 300 && ok->geometry().bottom() < about.height());
    QCOMPARE(ok->geometry().center().x(), about.width() / 2 - 1);
    QCOMPARE(ok->text(), catalogue.isEmpty() ? QStringLiteral("OK_TEXT") : QStringLiteral("OK"));
}

void TestUiSplashHelp::splashClosesItselfAboutBoxWaits()
{
    Fixture f;
    TvSplash splash(false);
    QVERIFY(splash.isVisible());
    QVERIFY(splash.findChild<QPushButton *>(QStringLiteral("okButton"))->isHidden());

    // The about box is a second dialog of its own and stays until OK.
    TvSplash about(true);
    QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 10000);
    QCOMPARE(splash.result(), int(QDialog::Accepted));
    // Closed, it no longer wakes the program.
    QVERIFY(!splash.findChild<QTimer *>()->isActive());
    QVERIFY(about.isVisible());
    about.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void TestUiSplashHelp::splashWithoutPicture()
{
    Fixture f;
    CAdapterInfo::instance().splash_screen = QStringLiteral("images/none.png");
    TvSplash about(true);
    QCOMPARE(about.size(), QSize(0, 0));
    for (QLabel *line : splashLines(about))
        QCOMPARE(line->height(), 0);
}

void TestUiSplashHelp::helpShowsAndWalksItsPages()
{
    Fixture f;
    TvDiagHelpDlgImpl help;
    auto *browser = help.findChild<QTextBrowser *>(QStringLiteral("HelpTextBrowser"));
    QCOMPARE(help.windowTitle(), QStringLiteral("HELP_BROWSER Test Diagnostics"));
    QCOMPARE(help.findChild<QPushButton *>(QStringLiteral("buttonOk"))->text(), QStringLiteral("OK_TEXT"));
    QVERIFY(help.findChild<QPushButton *>(QStringLiteral("BackwardBtn"))->text().isEmpty());
    QVERIFY(help.findChild<QPushButton *>(QStringLiteral("ForwardBtn"))->text().isEmpty());
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Welcome page")));

    // A relative link is found in the help directory.
    browser->setSource(QUrl(QStringLiteral("page2.html")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Second page")));
    help.findChild<QPushButton *>(QStringLiteral("BackwardBtn"))->click();
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Welcome page")));
    help.findChild<QPushButton *>(QStringLiteral("ForwardBtn"))->click();
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Second page")));

    // The language's pages where they exist, the English ones otherwise.
    QDir().mkpath(f.basePath(QStringLiteral("help/de")));
    f.writePage("de/index.html", "<html><body><p>Willkommen</p></body></html>");
    for (const char *language : {"de", "de_CH", "fr", "en"}) {
        TvProgram::setLanguageCode(QLatin1String(language));
        TvDiagHelpDlgImpl shown;
        auto *pages = shown.findChild<QTextBrowser *>(QStringLiteral("HelpTextBrowser"));
        const bool german = QByteArray(language).startsWith("de");
        QVERIFY(pages->toPlainText().contains(german ? QStringLiteral("Willkommen") : QStringLiteral("Welcome page")));
        pages->setSource(QUrl(QStringLiteral("page2.html")));
        QVERIFY(pages->toPlainText().contains(QStringLiteral("Second page")));
    }
    TvProgram::setLanguageCode(QString());

    // Another configured name, another caption.
    CAdapterInfo::instance().name = QStringLiteral("Other");
    TvDiagHelpDlgImpl other;
    QCOMPARE(other.windowTitle(), QStringLiteral("HELP_BROWSER Other"));

    help.show();
    help.findChild<QPushButton *>(QStringLiteral("buttonOk"))->click();
    QCOMPARE(help.result(), int(QDialog::Accepted));
}

void TestUiSplashHelp::helpResizesOnlyBeyondItsDesign()
{
    Fixture f;
    TvDiagHelpDlgImpl help;
    QCOMPARE(help.minimumSize(), QSize(555, 460));
    QCOMPARE(help.maximumSize(), QSize(640, 480));
    QVERIFY(!help.isSizeGripEnabled());
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    auto *browser = help.findChild<QTextBrowser *>(QStringLiteral("HelpTextBrowser"));
    auto *back = help.findChild<QPushButton *>(QStringLiteral("BackwardBtn"));
    auto *ok = help.findChild<QPushButton *>(QStringLiteral("buttonOk"));
    auto *forward = help.findChild<QPushButton *>(QStringLiteral("ForwardBtn"));
    const QSize designed = help.designedBrowserSize();
    const QPoint corner = browser->pos();
    QCOMPARE(browser->size(), designed);

    auto resizeTo = [&help](int w, int h) {
        help.resize(w, h);
        QTRY_COMPARE(help.size(), QSize(w, h));
    };
    resizeTo(640, 480);
    QCOMPARE(browser->geometry(), QRect(corner, QSize(600, 430)));
    const int buttonTop = corner.y() + 430 + 5;
    QCOMPARE(back->pos(), QPoint(corner.x(), buttonTop));
    QCOMPARE(ok->pos(), QPoint(600 / 2 - ok->width() / 2, buttonTop));
    QCOMPARE(forward->geometry().right(), browser->geometry().right() - 1);
    QCOMPARE(forward->y(), buttonTop);

    resizeTo(designed.width() + 45, designed.height() + 55);
    QCOMPARE(browser->size(), designed + QSize(5, 5));

    // Back at the designed size the rule no longer applies: the last layout stays.
    resizeTo(designed.width() + 40, designed.height() + 55);
    QCOMPARE(browser->size(), designed + QSize(5, 5));
    resizeTo(555, 460);
    QCOMPARE(browser->size(), designed + QSize(5, 5));
}

void TestUiSplashHelp::menuEntriesRunTheirDialogs()
{
    Fixture f;
    f.describeAdapter(TvUiRig::DualKey, QStringLiteral("Orlin Dual"), {1});
    CAdapterInfo::instance().testCases.insert(1, CTestCase());
    QVERIFY(f.startCore());
    TvDiagMainWindow &w = f.window();
    QVERIFY(!w.constructionFailed());
    QVector<QSize> shown;
    f.dialogs.onDialog = [&shown](QDialog *dialog) {
        shown.append(dialog->size());
        return int(QDialog::Accepted);
    };
    f.child<QAction>("helpManualAction")->trigger();
    f.child<QAction>("helpAboutAction")->trigger();
    QCOMPARE(f.dialogs.asked.size(), 2);
    QCOMPARE(f.dialogs.asked[0].dialogClass, QStringLiteral("TvDiagHelpDlgImpl"));
    QCOMPARE(f.dialogs.asked[0].caption, QStringLiteral("HELP_BROWSER Test Diagnostics"));
    QCOMPARE(f.dialogs.asked[1].dialogClass, QStringLiteral("TvSplash"));
    QCOMPARE(shown[1], QSize(400, 300 + TvSplash::ButtonHeight + 2 * TvSplash::Margin));
}

QTEST_MAIN(TestUiSplashHelp)
#include "test_ui_splash_help.moc"
