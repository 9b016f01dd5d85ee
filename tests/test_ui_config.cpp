// The configuration tab on its own: an adapter record's values, the shared
// font of the item labels, and the export file.
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "ui/config/TvConfigExport.h"
#include "ui/config/TvConfigPage.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Both models described with items 1 to 3 (the third one the port count);
// the single-port adapter has no slot and values holding a field
// separator and quotes.
class Rig : public TvUiRig
{
public:
    Rig()
    {
        CAdapterInfo &info = CAdapterInfo::instance();
        info.pci_conf_path = QStringLiteral("pciconf");
        info.pci_conf_ext = QStringList{QStringLiteral("csv")};
        for (const QString &key : {DualKey, SingleKey})
            describeAdapter(key, key == DualKey ? "Orlin Dual" : "Orlin Single", {});
        for (const QString &key : {DualKey, SingleKey})
            info.adapters.find(key)->miscConfigIds = {1, 2, 3};
        item(1, "MAC address", " ");
        item(2, "Delay", "\u00b5s");
        item(3, "Number of ports", " ");
        QJsonObject single = TvTestMachine::adapter(3, 0, -1, QStringLiteral("0101"));
        single[QStringLiteral("ioBase")] = QStringLiteral("00E0");
        single[QStringLiteral("memBase")] = QStringLiteral("000F0000");
        single[QStringLiteral("misc")] = QJsonArray{"a;b", "say \"hi\"", "1"};
        machine.adapters = {TvTestMachine::adapter(2, 1, 2), single};
    }
    static void item(int number, const QString &label, const QString &unit)
    {
        CAdapterInfo::instance().miscItems.insert(number, CMiscConfigItem{0, unit, label});
    }
    // The adapter at this index shown as the window shows it.
    void show(int index)
    {
        if (!session.table())
            session.enumerate();
        page.reset();
        QVERIFY(session.select(index));
        page.showPciConfig(index);
        page.setSaveEnabled(true);
    }
    QLabel *label(const QString &name) { return page.findChild<QLabel *>(name); }
    void exportTo(const QString &name)
    {
        dialogs.answerFile(name);
        page.findChild<QPushButton *>(QStringLiteral("SaveToFileButton"))->click();
    }
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    TvConfigPage page{&session, &ask};
};

} // namespace

class TestUiConfig : public QObject
{
    Q_OBJECT

private slots:
    void showsEveryValueOfTheRecord();
    void itemLabelsShareOneFittedFont();
    void missingDescriptionsAreReported();
    void exportAppendsOneQuotedLine();
    void failedExportsAreReportedAndLeaveNoHalfLine();
};

void TestUiConfig::showsEveryValueOfTheRecord()
{
    Rig r;
    QVERIFY(r.startCore());
    // An eighth item has no place in the record or on the tab.
    CAdapterInfo::instance().adapters.find(Rig::SingleKey)->miscConfigIds = {1, 2, 3, 1, 2, 3, 1, 2};
    const QList<QPair<QString, QStringList>> fields = {
        {"VendorIDText", {"ABCD", "ABCD"}},    {"DeviceIDText", {"0102", "0101"}},
        {"SubVendorIDText", {"ABCD", "ABCD"}}, {"SubDeviceIDText", {"0001", "0001"}},
        {"IOBaseText", {"E000", "00E0"}},      {"MemBaseText", {"F7E00000", "000F0000"}},
        {"IrqText", {"17", "17"}},             {"BusClockText", {"66", "66"}},
        {"SlotText", {"2", "UNKNOWN"}},        {"SlotSizeText", {"64", "64"}},
        {"CLSText", {"16", "16"}},             {"LatencyText", {"64", "64"}},
        {"Misc1Label", {"MAC address", "MAC address"}},
        {"Misc2Text", {"1000BASE-T \u00b5s", "say \"hi\" \u00b5s"}},
        {"Misc3Text", {"2  ", "1  "}},         {"Misc7Label", {"", "MAC address"}},
    };
    for (int index : {0, 1}) {
        r.show(index);
        for (const auto &field : fields)
            QCOMPARE(r.label(field.first)->text(), field.second.at(index));
        // "2" with a blank unit is a dual-port adapter.
        QCOMPARE(r.page.dualPort(), index == 0);
    }
    QVERIFY(r.dialogs.asked.isEmpty());
    // A change of language retitles the frames (keys without a catalogue).
    r.page.languageChange();
    QStringList titles;
    for (const char *box : {"Pci_ID_Box", "PCIDataBox", "MiscellaneousBox"})
        titles << r.page.findChild<QGroupBox *>(QLatin1String(box))->title();
    QCOMPARE(titles, QStringList({"PCI_IDS", "PCI_DATA", "MISCELLANEOUS"}));
}

void TestUiConfig::itemLabelsShareOneFittedFont()
{
    Rig r;
    QVERIFY(r.startCore());
    Rig::item(1, "MAC", "");
    Rig::item(3, "Ports", "");
    const int pciSize = r.label("VendorIDLabel")->font().pointSize();
    // As a label grows it takes every size from 12 down to 7, then 6.
    QLabel box;
    box.resize(300, 30);
    QList<int> taken{12};
    for (int length = 1; length <= 80; ++length) {
        const int size = TvConfigPage::fitFontSize(&box, QString(length, QLatin1Char('W')), false);
        if (size != taken.last())
            taken << size;
    }
    QCOMPARE(taken, QList<int>({12, 11, 10, 9, 8, 7, 6}));
    // Short labels keep the PCI labels' size; one too long even at 7
    // points brings all of them to 6.
    for (const QString &second : {QStringLiteral("Delay"), QString(60, QLatin1Char('W'))}) {
        Rig::item(2, second, "");
        r.show(0);
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(r.label(QStringLiteral("Misc%1Label").arg(n))->font().pointSize(),
                     second.size() > 10 ? 6 : pciSize);
    }
}

void TestUiConfig::missingDescriptionsAreReported()
{
    Rig r;
    QVERIFY(r.startCore());
    // Items after one that is not described stay empty.
    CAdapterInfo::instance().adapters.find(Rig::DualKey)->miscConfigIds = {1, 99, 3};
    r.show(0);
    QCOMPARE(r.label("Misc1Label")->text(), QStringLiteral("MAC address"));
    QCOMPARE(r.label("Misc3Label")->text(), QString());
    // No such adapter: the page keeps what it shows.
    for (int index : {-1, r.session.count()}) {
        r.page.showPciConfig(index);
        QCOMPARE(r.label("VendorIDText")->text(), QStringLiteral("ABCD"));
    }
    // Both the font fitting and the items say so; so for a missing list.
    CAdapterInfo::instance().adapters.remove(Rig::DualKey);
    r.page.showPciConfig(0);
    QCOMPARE(r.dialogs.messageTexts(),
             QStringList({"MISC_ITEM_NOT_FOUND", "MISC_ITEM_NOT_FOUND",
                          "MISC_CONFIG_LIST_NOT_FOUND", "MISC_CONFIG_LIST_NOT_FOUND"}));
    QCOMPARE(r.dialogs.asked.first().icon, TvDialogSeam::Critical);
}

void TestUiConfig::exportAppendsOneQuotedLine()
{
    Rig r;
    QVERIFY(r.startCore());
    r.show(1);
    QVERIFY(QDir().mkpath(r.basePath("pciconf")));
    const QString chosen = r.basePath("pciconf/adapters");
    r.exportTo(chosen);
    r.exportTo(chosen);
    QCOMPARE(r.dialogs.asked.first().directory, r.basePath("pciconf"));
    QCOMPARE(r.dialogs.asked.first().filter, QStringLiteral("PCI_CONFIG_FILES (*.csv)"));
    // Twenty fields, each ended by ";"; those holding ";" or quotes quoted.
    const QByteArray line = QStringLiteral(
        "Orlin Single;ABCD;0101;ABCD;0001;00E0;000F0000;17;66;UNKNOWN;64;16;64;"
        "\"a;b  \";\"say \"\"hi\"\" \u00b5s\";1  ;;;;;\n").toUtf8();
    QCOMPARE(Rig::contents(chosen + ".csv"), line + line);
    QVERIFY(r.dialogs.messageTexts().isEmpty());

    // Only the name's end counts, not a directory's name; no extensions
    // never extend.
    const QStringList exts = {"csv", ".txt"};
    QCOMPARE(TvConfigExport::withExtension("/csvfiles/pci", exts), QStringLiteral("/csvfiles/pci.csv"));
    QCOMPARE(TvConfigExport::withExtension("/pci.txt", exts), QStringLiteral("/pci.txt"));
    QCOMPARE(TvConfigExport::withExtension("/pci.CSV", exts), QStringLiteral("/pci.CSV.csv"));
    QCOMPARE(TvConfigExport::withExtension("/pci", {}), QStringLiteral("/pci"));
    QCOMPARE(TvConfigExport::filter("F", exts), QStringLiteral("F (*.csv *.txt)"));
    QCOMPARE(TvConfigExport::filter("F", {}), QStringLiteral("F ()"));
}

void TestUiConfig::failedExportsAreReportedAndLeaveNoHalfLine()
{
    Rig r;
    QVERIFY(r.startCore());
    r.show(0);
    CAdapterInfo::instance().pci_conf_ext.clear();
    const auto reason = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    // Not even the superuser writes into a directory that is a file.
    const QString plainFile = r.basePath("plain");
    QVERIFY(QFile(plainFile).open(QIODevice::WriteOnly));
    const QString unwritable = plainFile + QStringLiteral("/pci.csv");

    // A file that reaches its size limit in mid-line, as on a full disk,
    // after a single byte of the line.
    const QString limited = r.basePath("limited.csv");
    r.exportTo(limited);
    const QByteArray firstLine = Rig::contents(limited);
    {
        const TvUiRig::FileSizeLimit limit(rlim_t(firstLine.size() + 1));
        r.exportTo(limited);
    }
    QCOMPARE(Rig::contents(limited), firstLine);

    r.exportTo("/dev/full");
    r.exportTo(unwritable);
    // A FIFO nobody reads fails at once rather than hanging; a device that
    // cannot be synchronised takes the line all the same.
    const QString fifo = r.basePath("fifo.csv");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    r.exportTo(fifo);
    r.exportTo("/dev/null");
    QCOMPARE(r.dialogs.messageTexts(),
             QStringList({"PCI_CONFIG_SAVE_FAILED " + limited + " " + reason(EFBIG),
                          "PCI_CONFIG_SAVE_FAILED /dev/full " + reason(ENOSPC),
                          "PCI_CONFIG_SAVE_FAILED " + unwritable + " " + reason(ENOTDIR),
                          "PCI_CONFIG_SAVE_FAILED " + fifo + " " + reason(ENXIO)}));
}

QTEST_MAIN(TestUiConfig)
#include "test_ui_config.moc"
