// The VPD menu on its own, over the simulated core: what the view shows,
// what the edit dialog writes back and refuses, what delete removes, how
// core failures stop each action, and the dialog's own shape; then the
// window's menu reaching it, and the texts of the VPD and flash PROM menus
// in both languages.
#include "TvUiRig.h"

#include "core/TvStatusCodes.h"
#include "text/TvProgram.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/vpd/TvVpdActions.h"
#include "ui/vpd/VPDDlgImpl.h"

#include <probekit.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QResizeEvent>
#include <QTranslator>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

namespace {

// A rig whose first adapter holds the VPD a test describes, selected.
class VpdRig : public TvUiRig
{
public:
    explicit VpdRig(const QJsonObject &vpd, const QJsonObject &second = QJsonObject())
    {
        QJsonObject first = machine.adapters.at(0).toObject();
        first[QStringLiteral("vpd")] = vpd;
        machine.adapters = {first};
        if (!second.isEmpty()) {
            QJsonObject other = TvTestMachine::adapter(3, 0, 3);
            other[QStringLiteral("vpd")] = second;
            machine.adapters.append(other);
        }
    }
    bool open(int index = 0)
    {
        if (!coreOpen && !startCore())
            return false;
        coreOpen = true;
        return session.enumerate() && session.select(index);
    }
    // Keeps the table rows of the dialogs run from now on in `rows`, as
    // "keyword=value".
    void recordRows()
    {
        dialogs.onDialog = [this](QDialog *dialog) {
            auto *shown = static_cast<VPDDlgImpl *>(dialog);
            headersAndHelpHidden = shown->helpLabel()->isHidden()
                                   && shown->table()->verticalHeader()->isHidden();
            auto *table = shown->table();
            valuesWhole = table->columnWidth(1) >= static_cast<QAbstractItemView *>(table)->sizeHintForColumn(1);
            for (int r = 0; r < table->rowCount(); ++r)
                rows.append(table->item(r, 0)->text() + QLatin1Char('=') + table->item(r, 1)->text());
            return int(QDialog::Accepted);
        };
    }
    static QByteArray read(const char *keyword)
    {
        char buffer[256];
        uint32_t size = sizeof buffer;
        return VpdReadKeyword(keyword, buffer, &size) == 0 ? QByteArray(buffer, int(size)) : QByteArray("<none>");
    }

    TvVpdActions vpd{true, &ask, &book, &session, nullptr};
    QStringList rows;
    bool headersAndHelpHidden = false;
    bool valuesWhole = false;
    bool coreOpen = false;
};

QLineEdit *editor(QTableWidget *table, int row, int column)
{
    return qobject_cast<QLineEdit *>(table->cellWidget(row, column));
}

int rowOf(QTableWidget *table, const QString &keyword)
{
    for (int r = 0; r < table->rowCount(); ++r) {
        if (editor(table, r, 0)->text() == keyword)
            return r;
    }
    return -1;
}

} // namespace

class TestUiVpd : public QObject
{
    Q_OBJECT

private slots:
    void viewShowsEveryValueWhole();
    void coreFailuresStopBeforeTheDialog_data();
    void coreFailuresStopBeforeTheDialog();
    void editWritesOnlyWhatTheUserChanged();
    void deleteRemovesTheSelectedWritableKeywords_data();
    void deleteRemovesTheSelectedWritableKeywords();
    void theDialogKeepsTheTableAboveTheButtons();
    void theWindowMenuOpensEachDialog();
    void everyTextHasEnglishAndGerman();
};

void TestUiVpd::viewShowsEveryValueWhole()
{
    QByteArray hundred;
    for (int i = 0; i < 100; ++i)
        hundred.append(char(i));
    QJsonObject many;
    // 200 keywords: more than 32, and a list longer than 512 bytes.
    for (int i = 0; i < 200; ++i)
        many[QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0'))] = QStringLiteral("v");
    // The printable bytes end at '~'.
    VpdRig rig({{"Name", "Orlin"}, {"PN", "PN-1"}, {"V1", "hex:4100"},
                {"V2", QStringLiteral("hex:") + QString::fromLatin1(hundred.toHex())}, {"V3", "a~"},
                {"V4", "hex:417f"}, {"module.a.vendor", "Intel Corp"}},
               many);
    QVERIFY(rig.open(0));

    rig.recordRows();
    rig.vpd.vpdviewSlot();
    QVERIFY(rig.dialogs.messageTexts().isEmpty());
    QCOMPARE(rig.dialogs.asked.last().caption, QStringLiteral("VIEW_VPD"));
    QVERIFY(rig.headersAndHelpHidden && rig.valuesWhole);
    // A module's entry is named as the module's.
    QCOMPARE(rig.rows.mid(0, 3),
             QStringList({"PN=PN-1", "VPD_MODULE_KEYWORD A VPD_MODULE_VENDOR=Intel Corp", "V1=0x41 0x00 "}));
    const QString dump = rig.rows.at(3).mid(3);
    QCOMPARE(dump.size(), 500);
    QVERIFY(dump.startsWith(QLatin1String("0x00 0x01 ")) && dump.endsWith(QLatin1String("0x63 ")));
    QCOMPARE(rig.rows.mid(4, 2), QStringList({"V3=a~", "V4=0x41 0x7F "}));

    QVERIFY(rig.open(1));
    rig.rows.clear();
    rig.vpd.vpdviewSlot();
    QVERIFY(rig.dialogs.messageTexts().isEmpty());
    QCOMPARE(rig.rows.size(), TvVpdActions::MaxEntries);
    QCOMPARE(rig.rows.first(), QStringLiteral("R000=v"));
}

void TestUiVpd::coreFailuresStopBeforeTheDialog_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<int>("status");
    QTest::newRow("list") << QByteArray("VpdListKeywords=17") << 17;
    QTest::newRow("read") << QByteArray("VpdReadKeyword=16") << 16;
}

void TestUiVpd::coreFailuresStopBeforeTheDialog()
{
    QFETCH(QByteArray, fault);
    QFETCH(int, status);
    VpdRig rig({{"PN", "PN-1"}, {"V1", "one"}});
    QVERIFY(rig.open());
    qputenv("PROBEKIT_FAULT", fault);
    for (void (TvVpdActions::*action)() :
         {&TvVpdActions::vpdviewSlot, &TvVpdActions::vpdEditSlot, &TvVpdActions::vpdDelete}) {
        rig.dialogs.asked.clear();
        (rig.vpd.*action)();
        QCOMPARE(rig.dialogs.asked.size(), 1);
        const TvScriptedDialogs::Asked box = rig.dialogs.asked.first();
        QCOMPARE(box.text, TvStatusCodes::statusText(status));
        QCOMPARE(box.icon, TvDialogSeam::Critical);
        QVERIFY(box.caption.isEmpty());
        QCOMPARE(box.buttonTexts, QStringList({"CANCEL_TEXT"}));
    }
    qunsetenv("PROBEKIT_FAULT");
}

void TestUiVpd::editWritesOnlyWhatTheUserChanged()
{
    const QString long200(200, QLatin1Char('x'));
    VpdRig rig({{"PN", "PN-1"}, {"V1", "one"}, {"V2", "hex:01ff7f"}, {"V3", long200},
                {"V4", "hex:4100"}, {"Y1", "kept"}});
    QVERIFY(rig.open());
    // Outside advanced mode nothing is edited or deleted, nor even asked.
    TvVpdActions basic{false, &rig.ask, &rig.book, &rig.session, nullptr};
    basic.vpdEditSlot();
    basic.vpdDelete();
    QVERIFY(rig.dialogs.asked.isEmpty());
    int shown = 0;
    rig.dialogs.onDialog = [&](QDialog *dialog) {
        QTableWidget *table = static_cast<VPDDlgImpl *>(dialog)->table();
        QLineEdit *v1 = editor(table, rowOf(table, "V1"), 1);
        if (++shown == 2) {
            // Back after the refused value, with everything as it was left.
            [&] {
                QCOMPARE(v1->text(), QStringLiteral("uno\u20AC"));
                QCOMPARE(editor(table, 5, 1)->text(), QStringLiteral("f\u00FCnf"));
            }();
            v1->setText(QStringLiteral("uno"));
            // The first write (V1) fails and is reported; the rows after it
            // are written all the same.
            qputenv("PROBEKIT_FAULT", "VpdWriteKeyword=22");
            return int(QDialog::Accepted);
        }
        [&] {
            QCOMPARE(table->rowCount(), TvVpdActions::EditRows);
            QCOMPARE(rowOf(table, "PN"), -1);
            // A long value is shown whole; one character changed at its end.
            QLineEdit *v3 = editor(table, rowOf(table, "V3"), 1);
            QCOMPARE(v3->text(), long200);
            v3->end(false);
            QTest::keyClick(v3, Qt::Key_Backspace);
            QTest::keyClicks(v3, QStringLiteral("y"));
            // Not storable as 8-bit text: refused, and the dialog comes back.
            v1->setText(QStringLiteral("uno\u20AC"));
            // A value shown in hexadecimal cannot be typed into; renamed,
            // its bytes go under the new name.
            QLineEdit *v2value = editor(table, rowOf(table, "V2"), 1);
            QVERIFY(v2value->isReadOnly());
            QCOMPARE(v2value->toolTip(), QStringLiteral("VPD_VALUE_NOT_EDITABLE"));
            QTest::keyClicks(v2value, QStringLiteral("9"));
            QCOMPARE(v2value->text(), QStringLiteral("0x01 0xFF 0x7F "));
            QLineEdit *v2 = editor(table, rowOf(table, "V2"), 0);
            v2->clear();
            QTest::keyClicks(v2, QStringLiteral("v7"));
            QCOMPARE(v2->text(), QStringLiteral("V7"));
            // Renamed, a value holding a zero byte cannot go as text.
            editor(table, rowOf(table, "V4"), 0)->setText(QStringLiteral("Y4"));
            // Typed into empty rows: a refused first character, a new
            // keyword, and one left at one character.
            QLineEdit *fresh = editor(table, 5, 0);
            QTest::keyClicks(fresh, QStringLiteral("p"));
            QCOMPARE(fresh->text(), QString());
            QTest::keyClicks(fresh, QStringLiteral("v5"));
            editor(table, 5, 1)->setText(QStringLiteral("f\u00FCnf"));
            QTest::keyClicks(editor(table, 6, 0), QStringLiteral("y"));
            editor(table, 6, 1)->setText(QStringLiteral("x"));
        }();
        return int(QDialog::Accepted);
    };
    rig.dialogs.whileOpen = [](const QString &text) {
        if (text == TvStatusCodes::statusText(22))
            qunsetenv("PROBEKIT_FAULT");
    };
    const int windows = QApplication::topLevelWidgets().size();
    rig.vpd.vpdEditSlot();

    QCOMPARE(shown, 2);
    QCOMPARE(QApplication::topLevelWidgets().size(), windows); // every editor went with the table
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList({"INVALID_FIRST_VPD_KEY_CHAR P",
                          QStringLiteral("VPD_VALUE_NOT_8BIT V1 \u20AC U+20AC"),
                          TvStatusCodes::statusText(22), "VPD_VALUE_NOT_WRITABLE Y4", "VPD_KEY_READONLY Y",
                          "VPD_KEYS_WRITTEN V7, V3, V5"}));
    // Each change is logged with the adapter and the old and new values,
    // in hexadecimal where the dialogs show them so.
    const QString changed = "VPD_KEYWORD_WRITTEN_LOG " + rig.session.logName();
    QCOMPARE(TvUiRig::texts(rig.book.model()),
             QStringList({changed + " V7  0x01 0xFF 0x7F ",
                          changed + ' ' + "V3 " + long200 + ' ' + long200.left(199) + 'y',
                          changed + " V5  0x66 0xFC 0x6E 0x66 "}));
    QCOMPARE(rig.dialogs.asked.first().caption, QStringLiteral("EDIT_VPD"));
    QCOMPARE(rig.read("V1"), QByteArray("one"));
    QCOMPARE(rig.read("V7"), QByteArray::fromHex("01ff7f"));
    QCOMPARE(rig.read("V3"), long200.left(199).toLatin1() + 'y');
    QCOMPARE(rig.read("Y"), QByteArray("<none>"));
    QCOMPARE(rig.read("Y4"), QByteArray("<none>"));
    // Kept by the core across a restart.
    QCOMPARE(CoreDeinit(), 0);
    QCOMPARE(CoreInit(), 0);
    QVERIFY(rig.open());
    QCOMPARE(rig.read("V5"), QByteArray("f\xFCnf"));
}

void TestUiVpd::deleteRemovesTheSelectedWritableKeywords_data()
{
    QTest::addColumn<QJsonObject>("vpd");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("confirmed");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QByteArray>("left");
    const QJsonObject writable{{"PN", "PN-1"}, {"V1", "one"}, {"V2", "two"}, {"Y1", "y"}};
    const int yes = TvDialogSeam::Yes, no = TvDialogSeam::No;
    const QString ask = "CONFIRM_VPD_DELETE V1, Y1";
    // A module's entry, whose name holds "V" and a capital, is read-only.
    QTest::newRow("read-only only") << QJsonObject{{"PN", "PN-1"}, {"SN", "S"}, {"module.a.VN", "x"}}
                                    << int(QDialog::Accepted) << yes << QStringList({"NO_DELETABLE_VPD_KEY"})
                                    << QByteArray("PN SN module.a.VN");
    QTest::newRow("cancelled") << writable << int(QDialog::Rejected) << yes
                               << QStringList({"NO_VPD_KEY_DELETED"}) << QByteArray("PN V1 V2 Y1");
    QTest::newRow("two selected, not confirmed") << writable << int(QDialog::Accepted) << no
                                                 << QStringList({ask, "NO_VPD_KEY_DELETED"})
                                                 << QByteArray("PN V1 V2 Y1");
    QTest::newRow("two selected") << writable << int(QDialog::Accepted) << yes
                                  << QStringList({ask, "VPD_KEY_DELETED V1, Y1"}) << QByteArray("PN V2");
}

void TestUiVpd::deleteRemovesTheSelectedWritableKeywords()
{
    QFETCH(QJsonObject, vpd);
    QFETCH(int, result);
    QFETCH(int, confirmed);
    QFETCH(QStringList, boxes);
    QFETCH(QByteArray, left);
    VpdRig rig(vpd);
    QVERIFY(rig.open());
    rig.dialogs.answerMessage(confirmed);
    QString firstValue;
    rig.dialogs.onDialog = [&](QDialog *dialog) {
        QTableWidget *table = static_cast<VPDDlgImpl *>(dialog)->table();
        firstValue = table->item(0, 1) ? table->item(0, 1)->text() : QString();
        table->selectRow(0);
        table->selectRow(2);
        return result;
    };
    rig.vpd.vpdDelete();
    QCOMPARE(firstValue, vpd.contains("V1") ? QStringLiteral("one") : QString());
    QCOMPARE(rig.dialogs.messageTexts(), boxes);
    if (boxes.size() > 1)
        QCOMPARE(rig.dialogs.asked.at(1).defaultButton, int(TvDialogSeam::No));
    const QString deleted = "VPD_KEYWORD_DELETED_LOG " + rig.session.logName();
    QCOMPARE(TvUiRig::texts(rig.book.model()),
             left == "PN V2" ? QStringList({deleted + " V1 one", deleted + " Y1 y"}) : QStringList());
    char list[512];
    uint32_t size = sizeof list;
    uint32_t count = 0;
    QCOMPARE(VpdListKeywords(list, &size, &count), 0);
    QCOMPARE(QByteArray(list), left);
}

void TestUiVpd::theDialogKeepsTheTableAboveTheButtons()
{
    TvUiRig rig;
    VPDDlgImpl dialog;
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("buttonOk"));
    auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("buttonCancel"));
    for (bool help : {true, false}) {
        dialog.setHelpShown(help);
        QResizeEvent resize(QSize(600, 400), dialog.size());
        QApplication::sendEvent(&dialog, &resize);
        const QRect table = dialog.table()->geometry();
        QCOMPARE(table.left(), 10);
        QCOMPARE(table.right(), 589);
        QCOMPARE(table.top(), help ? dialog.helpLabel()->geometry().bottom() + 6 : 10);
        // A one-line help keeps the room of two.
        if (help)
            QCOMPARE(dialog.helpLabel()->height(), 32);
        QVERIFY(table.bottom() < ok->y() && ok->y() == cancel->y());
        QCOMPARE(ok->geometry().bottom(), 389);
        // OK left of the middle, Cancel right of it, apart.
        QVERIFY(ok->geometry().right() < 300 && cancel->x() > 300);
    }
    dialog.resize(2000, 2000);
    QCOMPARE(dialog.size(), QSize(VPDDlgImpl::MaximumWidth, VPDDlgImpl::MaximumHeight));
}

void TestUiVpd::theWindowMenuOpensEachDialog()
{
    VpdRig rig({{"PN", "PN-1"}, {"V1", "one"}});
    rig.describeAdapter(TvUiRig::DualKey, QStringLiteral("Orlin Dual"), {});
    TvProgram::runSettings()[0] = 1;
    QVERIFY(rig.startCore());
    TvDiagMainWindow &w = rig.window();
    w.selectAdapter(0);
    rig.dialogs.asked.clear();
    rig.dialogs.onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    for (const char *action : {"vpdDisplayAction", "vpdModifyAction", "vpdDeleteKeywordsAction"})
        rig.child<QAction>(action)->trigger();
    QStringList captions;
    for (const TvScriptedDialogs::Asked &a : rig.dialogs.asked)
        captions.append(a.dialogClass + QLatin1Char(' ') + a.caption + a.text);
    QCOMPARE(captions, QStringList({"VPDDlgImpl VIEW_VPD", "VPDDlgImpl EDIT_VPD",
                                    "VPDDlgImpl DELETE_VPD", " NO_VPD_KEY_DELETED"}));
}

void TestUiVpd::everyTextHasEnglishAndGerman()
{
    const struct {
        const char *context;
        QStringList keys;
    } texts[] = {
        {"TvDiagMainWindow",
         {"VIEW_VPD", "EDIT_VPD", "DELETE_VPD", "VPD_KEY_READONLY %1", "VPD_VALUE_NOT_WRITABLE %1",
          "VPD_VALUE_NOT_EDITABLE", "VPD_VALUE_NOT_8BIT %1 %2 %3", "FLASH_PROM_SAVE_EMPTY",
          "FLASH_PROM_SIZE_DIFFERS %1 %2", "FLASH_PROM_LARGER_THAN_CONFIGURED %1",
          "NO_DELETABLE_VPD_KEY", "VPD_KEY_DELETED %1", "NO_VPD_KEY_DELETED", "FLASH_PROM_FILES",
          "SAVE_FLASH_PROM_FILE", "CHOOSE_FLASHFILE_SAVE_NAME", "LOAD_FLASH_PROM_FILE",
          "CHOOSE_FLASHFILE_LOAD_NAME", "ALLOC_FLASHPROM_RAM_FAILED %1",
          "OPEN_FLASHFILE_FAILED %1 %2", "SAVE_FLASH_PROM_FAILED %1 %2",
          "FLASH_PROM_SAVE_SUCCESS %1", "LOAD_FLASH_PROM_FAILED %1 %2", "LOAD_FLASH_PROM_SUCCESS",
          "CONFIRM_FLASHPROM_CLEAR", "CONFIRM_FLASHPROM_BACKUP",
          "CONFIRM_FLASHPROM_CLEAR_WITHOUT_BACKUP", "ERASE_FLASHPROM_SUCCESS",
          "FLASH_PROM_FILE_EMPTY", "FLASH_PROM_FILE_CUT %1 %2", "FLASH_PROM_READING",
          "FLASH_PROM_PROGRAMMING", "FLASH_PROM_ERASING", "ADAPTER_LOG_NAME %1 %2 %3",
          "VPD_KEYWORD_WRITTEN_LOG %1 %2 %3 %4", "VPD_KEYWORD_DELETED_LOG %1 %2 %3",
          "VPD_KEYS_WRITTEN %1", "CONFIRM_VPD_DELETE %1", "CONFIRM_FLASHPROM_LOAD %1 %2",
          "FLASH_PROM_PROGRAMMED_LOG %1 %2 %3", "FLASH_PROM_ERASED_LOG %1", "VPD_MODULE_KEYWORD %1 %2",
          "VPD_MODULE_VENDOR", "VPD_MODULE_PART", "VPD_MODULE_REVISION", "VPD_MODULE_SERIAL", "VPD_MODULE_DATE",
          "VPD_MODULE_CONNECTOR", "VPD_MODULE_WAVELENGTH", "CURRENT", "CURRENT_UNIT", "OPTICAL_POWER",
          "OPTICAL_POWER_UNIT", "POWER_DBM_UNIT"}},
        {"VPDDlgImpl",
         {"VPD_DIALOG", "VPD_HELP_TEXT", "OK_TEXT", "CANCEL_TEXT", "VPD_KEYWORD", "VPD_DATA"}},
        {"VPDValidator",
         {"INVALID_FIRST_VPD_KEY_CHAR %1", "INVALID_SECOND_VPD_KEY_CHAR %1", "CANCEL_TEXT"}},
    };
    for (const char *language : {"diag_en", "diag_de"}) {
        QTranslator catalogue;
        QVERIFY(catalogue.load(QLatin1String(language), QStringLiteral(NICDIAG_RUN_DIR)));
        for (const auto &t : texts) {
            for (const QString &key : t.keys)
                QVERIFY2(!catalogue.translate(t.context, key.toLatin1()).isEmpty(),
                         qPrintable(QLatin1String(language) + ' ' + key));
        }
        // The flash PROM's overwrite question is not the log's append one.
        const QString overwrite = catalogue.translate("TvDiagMainWindow", "FILE_EXISTS", "Flash PROM image");
        QVERIFY(!overwrite.isEmpty());
        QVERIFY(overwrite != catalogue.translate("TvDiagMainWindow", "FILE_EXISTS"));
    }
}

QTEST_MAIN(TestUiVpd)
#include "test_ui_vpd.moc"
