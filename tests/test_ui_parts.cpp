// The small parts of the main window, each built on its own: the way it asks
// the user.
#include "TvUiRig.h"

#include "text/TvProgram.h"
#include "ui/TvAsk.h"

#include <QtTest>

class TestUiParts : public QObject
{
    Q_OBJECT

private slots:
    void questionsShowTheArrowAndRestoreTheCursor();
};

void TestUiParts::questionsShowTheArrowAndRestoreTheCursor()
{
    TvUiRig rig;
    TvAsk ask;
    QCOMPARE(ask.showQuestion(nullptr), int(TvDialogSeam::Cancel));
    QVERIFY(rig.dialogs.asked.isEmpty());

    // While a test runs with the wait cursor, the user answers with the
    // arrow and the wait cursor comes back.
    const TvAsk::Question question{QStringLiteral("IS_LINK_LED_ON"), TvDialogSeam::Yes,
                                   TvDialogSeam::No};
    Qt::CursorShape during = Qt::BlankCursor;
    rig.dialogs.whileOpen = [&](const QString &) { during = QApplication::overrideCursor()->shape(); };
    ask.setRunning(true);
    ask.setRunCursor(Qt::WaitCursor);
    rig.dialogs.answerMessage(TvDialogSeam::No);
    QCOMPARE(ask.showQuestion(&question), int(TvDialogSeam::No));
    QCOMPARE(during, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    const TvScriptedDialogs::Asked asked = rig.dialogs.asked.first();
    QCOMPARE(asked.icon, TvDialogSeam::Information);
    QCOMPARE(asked.caption, TvProgram::bannerText());
    QCOMPARE(asked.text, QStringLiteral("IS_LINK_LED_ON"));
    QCOMPARE(asked.buttons, QList<int>({TvDialogSeam::Yes, TvDialogSeam::No}));

    // A run that showed no wait cursor shows none after the question either.
    ask.clearRunCursor();
    ask.showQuestion(&question);
    QVERIFY(!QApplication::overrideCursor());
    ask.setRunning(false);
}

QTEST_MAIN(TestUiParts)
#include "test_ui_parts.moc"
