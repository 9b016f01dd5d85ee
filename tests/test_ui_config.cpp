// The configuration tab on its own: the PCI values and miscellaneous items
// of an adapter record, their shared label font, and the export file.
#include "TvUiRig.h"

#include "description/CAdapterInfo.h"
#include "ui/TvDiagMainWindow.h"
#include "ui/config/TvConfigExport.h"
#include "ui/config/TvConfigPage.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

// The rig's dual-port model described with items 1 to 3 (the third one the
// port count), and a single-port adapter without slot whose values hold a
// field separator, quotes and a non-ASCII unit.
class Rig : public TvUiRig
{
public:
    Rig()
    {
        CAdapterInfo &info = CAdapterInfo::instance();
        info.pci_conf_path = QStringLiteral("pciconf");
        info.pci_conf_ext = QStringList{QStringLiteral("csv")};
        describeAdapter(DualKey, QStringLiteral("Orlin Dual"), {});
        describeAdapter(SingleKey, QStringLiteral("Orlin Single"), {});
        info.adapters.find(DualKey)->miscConfigIds = {1, 2, 3};
        info.adapters.find(SingleKey)->miscConfigIds = {1, 2, 3};
        item(1, QStringLiteral("MAC address"), QStringLiteral(" "));
        item(2, QStringLiteral("Delay"), QStringLiteral("\u00b5s"));
        item(3, QStringLiteral("Number of ports"), QStringLiteral(" "));
        QJsonObject single = TvTestMachine::adapter(3, 0, -1, QStringLiteral("0101"));
        single[QStringLiteral("ioBase")] = QStringLiteral("00E0");
        single[QStringLiteral("memBase")] = QStringLiteral("000F0000");
        single[QStringLiteral("misc")] = QJsonArray{QStringLiteral("a;b"), QStringLiteral("say \"hi\""),
                                                    QStringLiteral("1")};
        machine.adapters = {TvTestMachine::adapter(2, 1, 2), single};
    }
    static void item(int number, const QString &label, const QString &unit)
    {
        CMiscConfigItem item;
        item.label = label;
        item.unit = unit;
        CAdapterInfo::instance().miscItems.insert(number, item);
    }
    TvConfigPage &page()
    {
        if (!configPage) {
            configPage = std::make_unique<TvConfigPage>(&session, &ask);
            session.enumerate();
        }
        return *configPage;
    }
    // Shows the adapter at this index as the window does.
    void show(int index)
    {
        page().reset();
        QVERIFY(session.select(index));
        page().showPciConfig(index);
        page().setSaveEnabled(true);
    }
    QString text(const char *name) { return page().findChild<QLabel *>(QLatin1String(name))->text(); }
    QLabel *label(int n)
    {
        return page().findChild<QLabel *>(QStringLiteral("Misc%1Label").arg(n));
    }
    // The export into `name`, as the user answers the file dialog.
    void exportTo(const QString &name)
    {
        dialogs.answerFile(name);
        page().findChild<QPushButton *>(QStringLiteral("SaveToFileButton"))->click();
    }
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    std::unique_ptr<TvConfigPage> configPage;
};

} // namespace

class TestUiConfig : public QObject
{
    Q_OBJECT

private slots:
    void showsEveryValueOfTheRecord();
    void miscLabelsShareOneFittedFont();
    void missingDescriptionsAreReported();
    void exportAppendsOneLinePerSave();
    void extensionsFollowTheConfiguration();
    void failedExportsAreReportedAndLeaveNoHalfLine();
    void windowTakesThePortCountFromTheShownValue();
};

void TestUiConfig::showsEveryValueOfTheRecord()
{
    Rig r;
    QVERIFY(r.startCore());
    // Only seven values fit the record and the tab: an eighth item is left out.
    CAdapterInfo::instance().adapters.find(Rig::SingleKey)->miscConfigIds = {1, 2, 3, 1, 2, 3, 1, 2};
    const QList<QPair<QByteArray, QList<QString>>> fields = {
        {"VendorIDText", {"ABCD", "ABCD"}},     {"DeviceIDText", {"0102", "0101"}},
        {"SubVendorIDText", {"ABCD", "ABCD"}},  {"SubDeviceIDText", {"0001", "0001"}},
        {"IOBaseText", {"E000", "00E0"}},       {"MemBaseText", {"F7E00000", "000F0000"}},
        {"IrqText", {"17", "17"}},              {"BusClockText", {"66", "66"}},
        {"SlotText", {"2", "UNKNOWN"}},         {"SlotSizeText", {"64", "64"}},
        {"CLSText", {"16", "16"}},              {"LatencyText", {"64", "64"}},
        {"Misc1Label", {"MAC address", "MAC address"}},
        {"Misc1Text", {"00:0A:5E:11:22:33  ", "a;b  "}},
        {"Misc2Text", {"1000BASE-T \u00b5s", "say \"hi\" \u00b5s"}},
        {"Misc3Label", {"Number of ports", "Number of ports"}},
        {"Misc3Text", {"2  ", "1  "}},
        {"Misc4Label", {"", "MAC address"}},    {"Misc4Text", {"", "  "}},
        {"Misc7Text", {"", "  "}},
    };
    for (int index : {0, 1}) {
        r.show(index);
        for (const auto &field : fields)
            QCOMPARE(r.text(field.first.constData()), field.second.at(index));
        // "2" and a blank unit make the adapter dual-port.
        QCOMPARE(r.page().dualPort(), index == 0);
    }
    QVERIFY(r.dialogs.asked.isEmpty());
}

void TestUiConfig::miscLabelsShareOneFittedFont()
{
    Rig r;
    QVERIFY(r.startCore());
    const int pciSize = r.page().findChild<QLabel *>(QStringLiteral("VendorIDLabel"))->font().pointSize();
    // Short labels keep the PCI labels' size; one too long even at 7 points
    // brings all of them to 6.
    Rig::item(1, QStringLiteral("MAC"), QString());
    Rig::item(3, QStringLiteral("Ports"), QString());
    for (const QString &second : {QStringLiteral("Delay"), QString(60, QLatin1Char('W'))}) {
        Rig::item(2, second, QString());
        r.show(0);
        const int expected = second.size() > 10 ? 6 : pciSize;
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(r.label(n)->font().pointSize(), expected);
    }
}

void TestUiConfig::missingDescriptionsAreReported()
{
    Rig r;
    QVERIFY(r.startCore());
    // An item that is not described: the items before it are shown, the
    // ones after it stay empty.
    CAdapterInfo::instance().adapters.find(Rig::DualKey)->miscConfigIds = {1, 99, 3};
    r.show(0);
    QCOMPARE(r.text("Misc1Label"), QStringLiteral("MAC address"));
    QCOMPARE(r.text("Misc3Label"), QString());
    QCOMPARE(r.dialogs.messageTexts(),
             QStringList({"MISC_ITEM_NOT_FOUND", "MISC_ITEM_NOT_FOUND"}));
    QCOMPARE(r.dialogs.asked.first().icon, TvDialogSeam::Critical);

    // No description at all: said by the font fitting and by the items.
    r.dialogs.asked.clear();
    CAdapterInfo::instance().adapters.remove(Rig::DualKey);
    r.page().showPciConfig(0);
    QCOMPARE(r.dialogs.messageTexts(),
             QStringList({"MISC_CONFIG_LIST_NOT_FOUND", "MISC_CONFIG_LIST_NOT_FOUND"}));
    QCOMPARE(r.text("VendorIDText"), QStringLiteral("ABCD"));
}

void TestUiConfig::exportAppendsOneLinePerSave()
{
    Rig r;
    QVERIFY(r.startCore());
    r.show(1);
    QVERIFY(QDir().mkpath(r.basePath(QStringLiteral("pciconf"))));
    const QString chosen = r.basePath(QStringLiteral("pciconf/adapters"));
    r.exportTo(chosen);
    r.exportTo(chosen);
    const TvScriptedDialogs::Asked asked = r.dialogs.asked.first();
    QCOMPARE(asked.kind, TvScriptedDialogs::Asked::SaveFile);
    QCOMPARE(asked.directory, r.basePath(QStringLiteral("pciconf")));
    QCOMPARE(asked.filter, QStringLiteral("PCI_CONFIG_FILES (*.csv)"));
    QCOMPARE(r.dialogs.asked.size(), 2);
    QVERIFY(r.dialogs.messageTexts().isEmpty());

    // Twenty fields, each ended by ";"; the ones holding ";" or quotes are
    // quoted; UTF-8 throughout.
    const QByteArray line = QStringLiteral(
        "Orlin Single;ABCD;0101;ABCD;0001;00E0;000F0000;17;66;UNKNOWN;64;16;64;"
        "\"a;b  \";\"say \"\"hi\"\" \u00b5s\";1  ;;;;;\n").toUtf8();
    QCOMPARE(Rig::contents(chosen + QStringLiteral(".csv")), line + line);
}

void TestUiConfig::extensionsFollowTheConfiguration()
{
    const QStringList csv = {QStringLiteral("csv"), QStringLiteral(".txt")};
    const struct {
        const char *name;
        QStringList extensions;
        const char *expected;
    } rows[] = {
        {"/tmp/pci", csv, "/tmp/pci.csv"},
        {"/tmp/pci.", csv, "/tmp/pci.csv"},
        {"/tmp/pci.txt", csv, "/tmp/pci.txt"},
        // Found anywhere, a directory name included.
        {"/tmp/csvfiles/pci", csv, "/tmp/csvfiles/pci"},
        // The search is case-sensitive.
        {"/tmp/pci.CSV", csv, "/tmp/pci.CSV.csv"},
        {"/tmp/pci", {}, "/tmp/pci"},
    };
    for (const auto &row : rows)
        QCOMPARE(TvConfigExport::withExtension(QLatin1String(row.name), row.extensions),
                 QLatin1String(row.expected));
    QCOMPARE(TvConfigExport::filter(QStringLiteral("Files"), csv), QStringLiteral("Files (*.csv *.txt)"));
    QCOMPARE(TvConfigExport::filter(QStringLiteral("Files"), {}), QStringLiteral("Files ()"));
}

void TestUiConfig::failedExportsAreReportedAndLeaveNoHalfLine()
{
    Rig r;
    QVERIFY(r.startCore());
    r.show(0);
    CAdapterInfo::instance().pci_conf_ext.clear();
    const auto reason = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    // The superuser may write into any directory but not into sysfs.
    QDir locked(r.basePath(QStringLiteral("locked")));
    QVERIFY(QDir().mkpath(locked.path()));
    QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString unwritable =
        (geteuid() == 0 ? QStringLiteral("/sys") : locked.path()) + QStringLiteral("/pci.csv");

    // A file that grows past the size limit mid-line, as on a full disk.
    const QString limited = r.basePath(QStringLiteral("limited.csv"));
    r.exportTo(limited);
    const QByteArray firstLine = Rig::contents(limited);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = rlim_t(firstLine.size() + 10);
    setrlimit(RLIMIT_FSIZE, &small);
    r.exportTo(limited);
    setrlimit(RLIMIT_FSIZE, &previous);
    QCOMPARE(Rig::contents(limited), firstLine);

    r.exportTo(QStringLiteral("/dev/full"));
    r.exportTo(unwritable);
    QCOMPARE(r.dialogs.messageTexts(),
             QStringList({"PCI_CONFIG_SAVE_FAILED " + limited + " " + reason(EFBIG),
                          "PCI_CONFIG_SAVE_FAILED /dev/full " + reason(ENOSPC),
                          "PCI_CONFIG_SAVE_FAILED " + unwritable + " " + reason(EACCES)}));
    QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestUiConfig::windowTakesThePortCountFromTheShownValue()
{
    Rig r;
    QVERIFY(r.startCore());
    TvDiagMainWindow &w = r.window();
    QCOMPARE(r.child<QLabel>("Misc3Text")->text(), QStringLiteral("2  "));
    QVERIFY(!r.child<QLabel>("PortBLabel")->isHidden());
    w.selectAdapter(1);
    QCOMPARE(r.child<QLabel>("SlotText")->text(), QStringLiteral("UNKNOWN"));
    QVERIFY(r.child<QLabel>("PortBLabel")->isHidden());
}

QTEST_MAIN(TestUiConfig)
#include "test_ui_config.moc"
