// Texts: status codes, the language table, the core catalogue, and what the
// core callbacks hand to the window.
#include "core/TvStatusCodes.h"
#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvCoreCatalogue.h"
#include "text/TvDialogSeam.h"
#include "text/TvLanguageTable.h"
#include "text/TvText.h"
#include "ui/TvQtDialogs.h"

#include <QList>
#include <QtTest>

#include <memory>
#include <thread>

namespace {

// Stands in for the main window: records events, answers questions.
class Receiver : public QObject
{
public:
    QList<TvCoreEvent *> events;
    int answerWith = 0;
    bool holdQuestions = false;                 // keep them unanswered
    std::shared_ptr<TvAnswerGate> heldGate;
    ~Receiver() override { qDeleteAll(events); }

protected:
    void customEvent(QEvent *event) override
    {
        auto *core = static_cast<TvCoreEvent *>(event);
        auto *copy = new TvCoreEvent(core->kind());
        copy->value = core->value;
        copy->text = core->text;
        copy->row = core->row;
        copy->column = core->column;
        std::copy(core->buttons, core->buttons + 3, copy->buttons);
        events.append(copy);
        if (core->gate && holdQuestions)
            heldGate = std::move(core->gate);
        else if (core->gate)
            core->gate->post(answerWith);
    }
};

} // namespace

class TextTest : public QObject
{
    Q_OBJECT

private slots:
    void statusTexts()
    {
        QCOMPARE(TvStatusCodes::statusKey(0), QStringLiteral("EVERYTHING_OK"));
        QCOMPARE(TvStatusCodes::statusKey(16), TvStatusCodes::statusKey(20));
        QCOMPARE(TvStatusCodes::statusKey(35), QStringLiteral("ADAPTER_ALREADY_SELECTED_BUT_NOT_DIAG"));
        // Without a translator the key stays, with its placeholder filled.
        QCOMPARE(TvStatusCodes::statusText(36), QStringLiteral("ERROR_ERROR 36"));
        QCOMPARE(TvStatusCodes::statusText(-1), QStringLiteral("ERROR_ERROR -1"));
        QCOMPARE(TvStatusCodes::statusText(29), QStringLiteral("ADAPTER_LOCK_FAILED"));
    }

    void englishCatalogueCoversStatusTexts()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral("diag_en"), QStringLiteral(NICDIAG_RUN_DIR)));
        QCoreApplication::installTranslator(&english);
        for (int code = 0; code <= 36; ++code)
            QVERIFY2(!TvStatusCodes::statusText(code).contains(QLatin1Char('_')),
                     qPrintable(TvStatusCodes::statusText(code)));
        QVERIFY(TvStatusCodes::statusText(99).contains(QStringLiteral("99")));
        QCOMPARE(TvText::translate("NoGUIText", "%1 OPTIONS").arg(QString()), QStringLiteral("Options:\n"));
        QCoreApplication::removeTranslator(&english);
    }

    void languageTable()
    {
        QCOMPARE(TvLanguageTable::rowCount(), 133);
        QCOMPARE(TvLanguageTable::lookupLanguageCode(0x807), QStringLiteral("de_ch"));
        QCOMPARE(TvLanguageTable::lookupLanguageCode(0x407), QStringLiteral("de_de"));
        QCOMPARE(TvLanguageTable::lookupLanguageCode(0x81A), QStringLiteral("sr_sp"));
        QCOMPARE(TvLanguageTable::lookupLanguageCode(0xC1A), QStringLiteral("sr_sp"));
        QVERIFY(TvLanguageTable::lookupLanguageCode(0x9999).isEmpty());
        // The terminating row must not match identifier 0.
        QVERIFY(TvLanguageTable::lookupLanguageCode(0).isEmpty());
        QCOMPARE(TvLanguageTable::localeIdOf(QStringLiteral("en_us")), 0x409u);
    }

    void coreCatalogue()
    {
        QCOMPARE(TvCoreCatalogue::size(), 52);
        QCOMPARE(TvCoreCatalogue::coreMessageKey(0), QStringLiteral("CONFIRM_LOOP"));
        QCOMPARE(TvCoreCatalogue::coreMessageKey(21), QStringLiteral("LINK DOWN!"));
        QCOMPARE(TvCoreCatalogue::coreMessageKey(26), QStringLiteral("REMOVE_AND_PLUG "));
        QCOMPARE(TvCoreCatalogue::coreMessageKey(51), QStringLiteral("COMM_FAILURE"));
        QCOMPARE(TvCoreCatalogue::coreMessageKey(52), QStringLiteral("Message 52 not found"));
        QCOMPARE(TvCoreCatalogue::coreMessageKey(-3), QStringLiteral("Message -3 not found"));
        // The confirmations of a core on real hardware, beyond the 52 rows.
        QCOMPARE(TvCoreCatalogue::coreMessageKey(100), QStringLiteral("CONFIRM_OFFLINE_TEST"));
        QCOMPARE(TvCoreCatalogue::coreMessageKey(101), QStringLiteral("CONFIRM_HARDWARE_WRITE"));
        QCOMPARE(TvCoreCatalogue::coreMessageKey(99), QStringLiteral("Message 99 not found"));
    }

    void callbacksWithoutWindowReturnOne()
    {
        TvCoreCallbacks::setReceiver(nullptr);
        const CoreCallbacks *table = TvCoreCallbacks::table();
        QCOMPARE(table->stampedText("%s", "x"), 1);
        QCOMPARE(table->logText("%s", "x"), 1);
        QCOMPARE(table->resultText("%s", "x"), 1);
        QCOMPARE(table->catalogMessage(0, 0, 1), 1);
        QCOMPARE(table->formattedMessage(0, 0, "%d", 1), 1);
        QCOMPARE(table->progress(5), 1);
        QCOMPARE(table->askUser(12, 3, 4, 0), 1);
    }

    void callbacksPostTheirEvents()
    {
        Receiver receiver;
        TvCoreCallbacks::setReceiver(&receiver);
        const CoreCallbacks *table = TvCoreCallbacks::table();
        const QByteArray longText(300, 'x');
        QCOMPARE(table->stampedText("%s", longText.constData()), 0);
        QCOMPARE(table->resultText("%d frames", 1000), 0);
        QCOMPARE(table->catalogMessage(2, 1, 45), 0);
        QCOMPARE(table->formattedMessage(0, 3, "%d errors", 7), 0);
        QCOMPARE(table->progress(40), 0);
        QCoreApplication::sendPostedEvents(&receiver);
        TvCoreCallbacks::setReceiver(nullptr);

        QCOMPARE(receiver.events.size(), 5);
        QCOMPARE(receiver.events[0]->kind(), TvCoreEvent::LogText);
        QCOMPARE(receiver.events[0]->text, QString(255, QLatin1Char('x')));
        QCOMPARE(receiver.events[1]->kind(), TvCoreEvent::ResultText);
        QCOMPARE(receiver.events[1]->text, QStringLiteral("1000 frames"));
        QCOMPARE(receiver.events[2]->kind(), TvCoreEvent::StateCell);
        QCOMPARE(receiver.events[2]->text, QStringLiteral("LINK_UP"));
        QCOMPARE(receiver.events[2]->row, 2);
        QCOMPARE(receiver.events[2]->column, 1);
        QCOMPARE(receiver.events[3]->text, QStringLiteral("7 errors"));
        QCOMPARE(receiver.events[4]->kind(), TvCoreEvent::Progress);
        QCOMPARE(receiver.events[4]->value, 40);
        // The flash table leaves the state-cell entries empty.
        QVERIFY(!TvCoreCallbacks::flashTable()->catalogMessage);
        QVERIFY(TvCoreCallbacks::flashTable()->askUser);
    }

    void questionFromAnotherThreadGetsTheAnswer()
    {
        Receiver receiver;
        receiver.answerWith = 4;
        TvCoreCallbacks::setReceiver(&receiver);
        int answer = 0;
        // std::thread: its join is visible to ThreadSanitizer, QThread's is not.
        std::thread asker([&answer] { answer = TvCoreCallbacks::table()->askUser(12, 3, 4, 0); });
        QTRY_COMPARE(receiver.events.size(), 1);
        asker.join();
        TvCoreCallbacks::setReceiver(nullptr);
        QCOMPARE(answer, 4);
        QCOMPARE(receiver.events[0]->kind(), TvCoreEvent::Question);
        QCOMPARE(receiver.events[0]->text, QStringLiteral("IS_LINK_LED_ON"));
        QCOMPARE(receiver.events[0]->buttons[0], 3);
        QCOMPARE(receiver.events[0]->buttons[1], 4);
        QCOMPARE(receiver.events[0]->buttons[2], 0);
    }

    void windowGoingAwayReleasesAWaitingQuestion()
    {
        Receiver receiver;
        receiver.holdQuestions = true;
        TvCoreCallbacks::setReceiver(&receiver);
        int answer = 0;
        std::thread asker([&answer] { answer = TvCoreCallbacks::table()->askUser(27, 1, 2, 0); });
        // The question arrives but is never answered; the window closes instead.
        QTRY_VERIFY(receiver.heldGate);
        TvCoreCallbacks::setReceiver(nullptr);
        asker.join();
        QCOMPARE(answer, 2);
    }

    // A box that nobody can answer (no screen, no dialogs set up yet) must
    // never be taken as a Yes or an OK to go on.
    void unansweredBoxesGetTheirSafeButton()
    {
        using S = TvDialogSeam;
        const struct {
            QList<int> buttons;
            int safe;
        } cases[] = {
            {{S::Yes, S::No}, S::No},           {{S::Yes, S::No, S::Cancel}, S::No},
            {{S::Ok, S::Cancel}, S::Cancel},    {{S::Yes, S::Cancel}, S::Cancel},
            {{S::Abort, S::Retry, S::Ignore}, S::Abort}, {{S::Retry, S::Ignore}, S::Ignore},
            {{S::Ok}, S::Ok},                   {{}, S::Ok},
        };
        TvQtDialogs headless; // the offscreen platform has no screen
        for (const auto &c : cases) {
            QList<S::ButtonSpec> specs;
            for (int code : c.buttons)
                specs.append({code, QString()});
            QCOMPARE(S::safeAnswer(specs), c.safe);
            QCOMPARE(S::current().messageBox(nullptr, S::Question, QString(), QStringLiteral("q"), specs),
                     c.safe);
            QCOMPARE(headless.messageBox(nullptr, S::Question, QString(), QStringLiteral("q"), specs),
                     c.safe);
        }
    }
};

QTEST_MAIN(TextTest)
#include "test_text.moc"
