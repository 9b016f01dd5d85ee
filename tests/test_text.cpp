// Texts: status codes, the language table, the core catalogue, and what the
// core callbacks hand to the window.
#include "core/TvStatusCodes.h"
#include "text/TvAnswerGate.h"
#include "text/TvCoreEvent.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvControlText.h"
#include "text/TvCoreCatalogue.h"
#include "text/TvDialogSeam.h"
#include "text/TvEventChannel.h"
#include "text/TvLanguageTable.h"
#include "text/TvText.h"
#include "ui/TvQtDialogs.h"

#include <QList>
#include <QtTest>

#include <functional>
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
    qint64 busyNs = 0;                          // work per event, so that a burst spans batches
    ~Receiver() override { qDeleteAll(events); }

protected:
    void customEvent(QEvent *event) override
    {
        QElapsedTimer busy;
        busy.start();
        while (busy.nsecsElapsed() < busyNs) {
        }
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

// Counts the wake-ups of a receiver's channel: more than one means that a
// burst was delivered in several batches.
class WakeUps : public QObject
{
public:
    explicit WakeUps(QObject *receiver) { TvEventChannel::of(receiver)->installEventFilter(this); }
    int count = 0;

protected:
    // Wake-ups are all the channel receives. The event itself is not read:
    // the filter runs before the channel has taken the lock that orders
    // the posting thread's writes before this thread's reads.
    bool eventFilter(QObject *, QEvent *) override
    {
        ++count;
        return false;
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
        // Languages of one row each, whose neighbouring ids are free: only
        // their own id says they are right.
        const QStringList single = QStringLiteral("af 436 fa 429 fo 438 lt 427 mr 44e mt 43a sa 44f sw 441 "
                                                  "ta 449 tn 432 tt 444 xh 434").split(QLatin1Char(' '));
        for (int i = 0; i < single.size(); i += 2)
            QCOMPARE(TvLanguageTable::localeIdOf(single[i]), single[i + 1].toUInt(nullptr, 16));
        // A locale id is its language's primary id (the low ten bits) and a
        // sublanguage: all codes of a language share one primary id, and only
        // Croatian and Serbian share theirs. Every row is found by its own id.
        QMap<QString, quint32> primaryOf;
        int found = 0;
        for (quint32 id = 1; id < 0x10000; ++id) {
            const QString language = TvLanguageTable::lookupLanguageCode(id).section(QLatin1Char('_'), 0, 0);
            if (language.isEmpty())
                continue;
            ++found;
            QCOMPARE(primaryOf.value(language, id & 0x3FF), id & 0x3FF);
            primaryOf.insert(language, id & 0x3FF);
        }
        QCOMPARE(found, 133);
        const QList<quint32> primaries = primaryOf.values();
        QCOMPARE(QSet<quint32>(primaries.begin(), primaries.end()).size(), primaryOf.size() - 1);
        QCOMPARE(primaryOf.value(QStringLiteral("hr")), primaryOf.value(QStringLiteral("sr")));
    }

    void terminalLinesLoseWhatReordersTheTerminal()
    {
        // The isolates U+2066 to U+2069 included; U+2070 is text again.
        const QString text = QStringLiteral("a") + QChar(0x202e) + QChar(0x200b) + QChar(0x061c) + QChar(0x2066)
                             + QChar(0x2069) + QStringLiteral("b\u00e9\u2030\u2070");
        QCOMPARE(TvControlText::terminalLine(text), QStringLiteral("a?????b\u00e9\u2030\u2070"));
        QCOMPARE(TvControlText::isLine(text), true);
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
        // Each of the numbers 0 to 51 names a message of its own.
        QSet<QString> keys;
        for (int n = 0; n < TvCoreCatalogue::size(); ++n) {
            keys.insert(TvCoreCatalogue::coreMessageKey(n));
            QVERIFY2(!TvCoreCatalogue::coreMessageKey(n).startsWith(QLatin1String("Message ")), qPrintable(QString::number(n)));
        }
        QCOMPARE(keys.size(), 52);
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
        QCoreApplication::sendPostedEvents();
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

    // A burst through every callback, with a question in the middle: each
    // event arrives once, in posting order, with its own fields, over several
    // batches; the question is answered and its asker goes on.
    void burstArrivesWholeAndInOrder()
    {
        const struct {
            std::function<void(const CoreCallbacks *, int)> post;
            std::function<bool(const TvCoreEvent &, int)> arrived;
        } kinds[] = {
            {[](const CoreCallbacks *t, int i) { t->stampedText("text %d", i); },
             [](const TvCoreEvent &e, int i) { return e.kind() == TvCoreEvent::LogText && e.text == QStringLiteral("text %1").arg(i); }},
            {[](const CoreCallbacks *t, int i) { t->logText("log %d", i); },
             [](const TvCoreEvent &e, int i) { return e.kind() == TvCoreEvent::CoreLogText && e.text == QStringLiteral("log %1").arg(i); }},
            {[](const CoreCallbacks *t, int i) { t->resultText("result %d", i); },
             [](const TvCoreEvent &e, int i) { return e.kind() == TvCoreEvent::ResultText && e.text == QStringLiteral("result %1").arg(i); }},
            {[](const CoreCallbacks *t, int i) { t->formattedMessage(i % 7, 2, "cell %d", i); },
             [](const TvCoreEvent &e, int i) {
                 return e.kind() == TvCoreEvent::StateCell && e.row == i % 7 && e.column == 2
                     && e.text == QStringLiteral("cell %1").arg(i);
             }},
            {[](const CoreCallbacks *t, int i) { t->progress(i); },
             [](const TvCoreEvent &e, int i) { return e.kind() == TvCoreEvent::Progress && e.value == i; }},
        };
        constexpr int Count = 10000;
        constexpr int Asked = Count / 2;
        Receiver receiver;
        receiver.answerWith = TvDialogSeam::No;
        receiver.busyNs = 2000;
        WakeUps wakeUps(&receiver);
        TvCoreCallbacks::setReceiver(&receiver);
        int answer = 0;
        std::thread core([&] {
            for (int i = 0; i < Count; ++i) {
                if (i == Asked)
                    answer = TvCoreCallbacks::table()->askUser(12, TvDialogSeam::Yes, TvDialogSeam::No, 0);
                kinds[i % 5].post(TvCoreCallbacks::table(), i);
            }
        });
        QTRY_COMPARE_WITH_TIMEOUT(receiver.events.size(), Count + 1, 60000);
        core.join();
        TvCoreCallbacks::setReceiver(nullptr);

        QCOMPARE(answer, int(TvDialogSeam::No));
        const std::unique_ptr<TvCoreEvent> question(receiver.events.takeAt(Asked));
        QCOMPARE(question->kind(), TvCoreEvent::Question);
        for (int i = 0; i < Count; ++i)
            QVERIFY2(kinds[i % 5].arrived(*receiver.events[i], i), qPrintable(QString::number(i)));
        QVERIFY(wakeUps.count > 1);
    }

    // A question nobody will answer any more gets Cancel, whether it was
    // handed over or still waits in the channel, and whether the core
    // callbacks let go of the receiver or the receiver itself goes away.
    void questionsOfAGoneReceiverAreCancelled()
    {
        const struct {
            bool handedOver;
            bool receiverDeleted;
        } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
        for (const auto &c : cases) {
            auto receiver = std::make_unique<Receiver>();
            receiver->holdQuestions = true;
            // The worker's receiver is not known to the core callbacks.
            if (!c.receiverDeleted)
                TvCoreCallbacks::setReceiver(receiver.get());
            TvCoreEvent *question = TvCoreEvent::question(QStringLiteral("q"), TvDialogSeam::Yes, TvDialogSeam::No, 0);
            const std::shared_ptr<TvAnswerGate> gate = question->gate;
            TvEventChannel::of(receiver.get())->post(question);
            if (c.handedOver)
                QCoreApplication::sendPostedEvents();
            QCOMPARE(bool(receiver->heldGate), c.handedOver);
            QVERIFY(!gate->isAnswered());
            if (c.receiverDeleted)
                receiver.reset();
            else
                TvCoreCallbacks::setReceiver(nullptr);
            QVERIFY(gate->isAnswered());
            QCOMPARE(gate->wait(), int(TvDialogSeam::Cancel));
        }
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
