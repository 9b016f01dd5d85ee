#include "PkLinuxDescription.h"
#include "PkEthtool.h"
#include "PkFileWriter.h"
#include "PkLinuxTests.h"
#include "PkPciNames.h"

#include <QDir>
#include <QSet>

namespace {

// Names come from drivers, files and captures: bytes that are not UTF-8
// (the files say they are) or not allowed in XML are shown as "?", rather
// than ending the program's reading of the file there.
QByteArray escaped(const QByteArray &raw)
{
    const QByteArray text = QString::fromUtf8(raw).replace(QChar::ReplacementCharacter, QLatin1Char('?')).toUtf8();
    QByteArray out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            out += (quint8(c) < 0x20 || quint8(c) == 0x7F) ? '?' : c;
        }
    }
    return out;
}

QByteArray hex4(quint32 value)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}

QByteArray element(const char *name, const QByteArray &text, int indent)
{
    return QByteArray(indent, ' ') + '<' + name + '>' + text + "</" + name + ">\n";
}

// The test cases every adapter with an interface can be offered, as the
// shipped description for real hardware words them; %SELFTEST% marks where
// the driver self-test cases go.
struct FixedCase {
    int number, base, allTests, allowLoop;
    const char *pixmap, *accel;
    const char *name[2], *menu[2];
    struct Sub {
        const char *label[2], *hint[2];
    } subs[2];
};

const FixedCase fixedCases[] = {
    {1, 100, 1, 1, "images/test_register.png", "Ctrl+1",
     {"Driver test", "Treibertest"}, {"&amp;Driver test", "&amp;Treibertest"},
     {{{"Driver information", "Treiberinformation"},
       {"Asks the network driver for its name, version and firmware.",
        "Fragt den Netzwerktreiber nach Name, Version und Firmware."}},
      {{"Frame counters", "Rahmenzähler"},
       {"Reads the interface's frame and error counters.", "Liest die Rahmen- und Fehlerzähler der Schnittstelle."}}}},
    {2, 200, 1, 1, "images/test_link.png", "Ctrl+2",
     {"Link test", "Verbindungstest"}, {"&amp;Link test", "&amp;Verbindungstest"},
     {{{"Link state", "Verbindungszustand"},
       {"Asks the driver whether the link is up, and at which speed, duplex and port.",
        "Fragt den Treiber, ob die Verbindung besteht, mit welcher Geschwindigkeit, welchem Duplex und Anschluss."}},
      {{"Link stability", "Verbindungsstabilität"},
       {"Watches the link for ten seconds; it must stay up without a carrier change.",
        "Beobachtet die Verbindung zehn Sekunden lang; sie muss ohne Trägerwechsel bestehen bleiben."}}}},
    {4, 400, 1, 0, "images/test_eeprom.png", "Ctrl+4",
     {"VPD test", "VPD-Test"}, {"&amp;VPD test", "&amp;VPD-Test"},
     {{{"VPD checksum", "VPD-Prüfsumme"},
       {"Reads the vital product data and checks its RV checksum.", "Liest die Produktdaten und prüft ihre RV-Prüfsumme."}},
      {{nullptr, nullptr}, {nullptr, nullptr}}}},
    {5, 500, 1, 0, "images/test_flash.png", "Ctrl+5",
     {"EEPROM test", "EEPROM-Test"}, {"&amp;EEPROM test", "&amp;EEPROM-Test"},
     {{{"EEPROM read", "EEPROM lesen"},
       {"Reads the whole EEPROM through the driver.", "Liest das ganze EEPROM über den Treiber."}},
      {{nullptr, nullptr}, {nullptr, nullptr}}}},
    {6, 600, 0, 0, "images/test_led.png", "Ctrl+6",
     {"Locate test", "Suchtest"}, {"L&amp;ocate test", "&amp;Suchtest"},
     {{{"Locate LED", "Such-LED"},
       {"Makes the adapter's LED blink and asks whether it does.",
        "Lässt die LED des Adapters blinken und fragt, ob sie blinkt."}},
      {{nullptr, nullptr}, {nullptr, nullptr}}}},
    {7, 700, 0, 0, "images/test_loopback.png", "Ctrl+7",
     {"Cable test", "Kabeltest"}, {"Ca&amp;ble test", "&amp;Kabeltest"},
     {{{"Cable pairs", "Kabelpaare"},
       {"Has the PHY test each pair of the cable for opens and shorts and how far away they are; the link drops while it runs.",
        "Lässt den PHY jedes Adernpaar des Kabels auf Unterbrechungen und Kurzschlüsse und deren Entfernung prüfen; die Verbindung fällt dabei aus."}},
      {{nullptr, nullptr}, {nullptr, nullptr}}}},
    {9999, 9990, 0, 1, "images/test_all.png", "Ctrl+0",
     {"All tests", "Alle Tests"}, {"&amp;All tests", "&amp;Alle Tests"},
     {{{"Every test case marked for the series", "Alle Testfälle der Serie"},
       {"Runs, one after another, every test case of this adapter that belongs to the series.",
        "Führt nacheinander alle Testfälle dieses Adapters aus, die zur Serie gehören."}},
      {{nullptr, nullptr}, {nullptr, nullptr}}}},
    {9998, 9980, 0, 1, "images/test_connectivity.png", "Ctrl+9",
     {"Connectivity test", "Verbindungsprüfung"}, {"&amp;Connectivity test", "&amp;Verbindungsprüfung"},
     {{{"Ping remote host", "Entfernten Rechner anpingen"},
       {"Sends echo requests from the adapter's address to a remote host.",
        "Sendet Echo-Anfragen von der Adresse des Adapters an einen entfernten Rechner."}},
      {{nullptr, nullptr}, {nullptr, nullptr}}}},
};

const char *const languages[] = {"en", "de"};

const char *const miscLabels[7][2] = {
    {"MAC address", "MAC-Adresse"},   {"Interface", "Schnittstelle"}, {"Number of ports", "Anzahl der Ports"},
    {"Driver", "Treiber"},            {"Revision", "Revision"},       {"PCI Express link", "PCI-Express-Verbindung"},
    {"PCI address", "PCI-Adresse"}};

QByteArray testCase(int number, const QByteArray &name, const QByteArray &menu, const char *accel,
                    const char *pixmap, int allTests, int allowLoop, int base, const QByteArray &subs)
{
    return "    <testcase id=\"" + QByteArray::number(number) + "\">\n" + element("testname", name, 6)
        + element("menuentry", menu, 6) + element("accel", accel, 6) + element("pixmap", pixmap, 6)
        + element("advanced", "0", 6) + element("all_tests", QByteArray::number(allTests), 6)
        + element("allow_loop", QByteArray::number(allowLoop), 6) + element("test_base", QByteArray::number(base), 6)
        + subs + "    </testcase>\n";
}

QByteArray subTest(int number, const QByteArray &label, const QByteArray &hint)
{
    return "      <subtestcase id=\"" + QByteArray::number(number) + "\">\n" + element("label", label, 8)
        + element("hint", hint, 8) + "      </subtestcase>\n";
}

} // namespace

PkLinuxDescription::PkLinuxDescription(const QVector<PkLinuxAdapter> &adapters) : m_adapters(adapters)
{
    for (const PkLinuxAdapter &adapter : adapters)
        m_offers.append(ask(adapter));
    build();
}

PkLinuxDescription::PkLinuxDescription(const QVector<PkLinuxAdapter> &adapters, const QVector<Offer> &offers)
    : m_adapters(adapters), m_offers(offers)
{
    m_offers.resize(adapters.size());
    build();
}

// A driver that cannot be asked (no privilege, no interface) offers what
// needs no asking; its sub-tests then say why they cannot run.
PkLinuxDescription::Offer PkLinuxDescription::ask(const PkLinuxAdapter &adapter)
{
    Offer offer;
    const PkEthtool ethtool(adapter.ports.first().interface.toLocal8Bit());
    PkEthtool::DriverInfo info;
    if (ethtool.driverInfo(&info) == 0)
        offer.eeprom = info.eepromLength > 0;
    ethtool.testNames(&offer.selfTests);
    return offer;
}

void PkLinuxDescription::build()
{
    for (int i = 0; i < m_adapters.size(); ++i) {
        QList<QByteArray> &tests = m_offers[i].selfTests;
        for (QByteArray &name : tests)
            name = name.simplified();
        if (tests.size() > PkLinuxTests::MaxSelfTests) {
            m_notes << PkLinuxCore::name(m_adapters.at(i)) + ": the driver reports " + QByteArray::number(tests.size())
                    + " self-tests; the first " + QByteArray::number(PkLinuxTests::MaxSelfTests) + " are offered";
            tests = tests.mid(0, PkLinuxTests::MaxSelfTests);
        }
        if (!tests.isEmpty() && !m_lists.contains(tests) && m_lists.size() < PkLinuxTests::MaxSelfTestLists)
            m_lists << tests;
    }
}

QByteArray PkLinuxDescription::configFile() const
{
    // Every vendor present with its devices; the filter then shows them all.
    QMap<quint32, QSet<quint32>> devices;
    for (const PkLinuxAdapter &adapter : m_adapters)
        devices[adapter.model.vendorId].insert(adapter.model.deviceId);
    QByteArray vendors;
    for (auto it = devices.constBegin(); it != devices.constEnd(); ++it) {
        QList<quint32> ids = it.value().values();
        std::sort(ids.begin(), ids.end());
        QByteArrayList list;
        for (const quint32 id : ids)
            list << hex4(id);
        vendors += "    <vendor_entry id=\"" + hex4(it.key()) + "\">" + list.join(',') + "</vendor_entry>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!-- Written by the core library's Linux backend for the adapters of this machine. -->\n"
           "<configfile version=\"1.0\">\n  <configuration>\n"
           "    <name>Orlin Diagnostics</name>\n    <exename>nicdiag</exename>\n    <basepath>.</basepath>\n"
           "    <splash_screen>images/splash.png</splash_screen>\n    <logpath>log</logpath>\n    <log_ext>log</log_ext>\n"
           "    <script_path>scripts</script_path>\n    <script_ext>txt</script_ext>\n    <script_ext>scr</script_ext>\n"
           "    <flash_path>flash</flash_path>\n    <flash_ext>bin</flash_ext>\n    <flash_size>64</flash_size>\n"
           "    <help_path>help</help_path>\n    <help_file>index.html</help_file>\n"
           "    <pci_conf_path>pciconf</pci_conf_path>\n    <pci_conf_ext>csv</pci_conf_ext>\n"
           "    <poll_interval>2000</poll_interval>\n"
        + vendors + "  </configuration>\n</configfile>\n";
}

QByteArray PkLinuxDescription::adapterEntry(const PkLinuxAdapter &adapter, const Offer &offer) const
{
    const PkAdapterModel &m = adapter.model;
    const PkPciFunction &a = adapter.ports.first();
    // The driver test always: without a driver bound it says so, and an
    // empty list would read as test case 0, which nothing describes.
    QByteArrayList cases{"1"};
    if (!a.interface.isEmpty())
        cases << "2";
    const int list = m_lists.indexOf(offer.selfTests);
    if (!a.interface.isEmpty() && list >= 0)
        cases << QByteArray::number(PkLinuxTests::SelfTestCaseFirst + list);
    if (!a.vpdPath.isEmpty())
        cases << "4";
    if (offer.eeprom)
        cases << "5";
    if (!a.interface.isEmpty())
        cases << "6" << "7";
    if (!a.interface.isEmpty())
        cases << "9998";
    const QByteArray name = PkPciNames::name(m.vendorId, m.deviceId, m.subsystemVendorId, m.subsystemId);
    return "  <adapter>\n" + element("id", hex4(m.vendorId) + ':' + hex4(m.deviceId) + ':' + hex4(m.subsystemVendorId)
                                               + ':' + hex4(m.subsystemId), 4)
        + element("name", escaped(name), 4) + element("info", escaped(a.driver.toLocal8Bit()), 4)
        + element("connector", " ", 4) + element("medium", " ", 4) + element("pixmap", "images/generic.bmp", 4)
        + element("miscconfig", "1,2,3,4,5,6,7", 4) + element("testcases", cases.join(','), 4) + "  </adapter>\n";
}

QByteArray PkLinuxDescription::adapterFile() const
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!-- Written by the core library's Linux backend for the adapters of this machine. -->\n"
                     "<adapterinfofile version=\"1.0\">\n";
    QSet<QString> keys;
    for (int i = 0; i < m_adapters.size(); ++i) {
        // One entry a key: the first adapter of a model describes it.
        if (keys.contains(m_adapters.at(i).model.key()))
            continue;
        keys.insert(m_adapters.at(i).model.key());
        out += adapterEntry(m_adapters.at(i), m_offers.at(i));
    }
    for (int l = 0; l < 2; ++l) {
        out += "  <miscconfiginfo lang=\"" + QByteArray(languages[l]) + "\">\n";
        for (int item = 0; item < 7; ++item)
            out += "    <misc_conf id=\"" + QByteArray::number(item + 1) + "\">\n"
                + element("type", QByteArray::number(item + 1), 6) + element("unit", " ", 6)
                + element("label", miscLabels[item][l], 6) + "    </misc_conf>\n";
        out += "  </miscconfiginfo>\n";
    }
    return out + "</adapterinfofile>\n";
}

QByteArray PkLinuxDescription::selfTestCase(int list, const char *language) const
{
    const bool german = qstrcmp(language, "de") == 0;
    QByteArray subs;
    const QList<QByteArray> &names = m_lists.at(list);
    for (int i = 0; i < names.size(); ++i) {
        const bool online = PkLinuxTests::runsOnline(names.at(i));
        const QByteArray hint = german ? (online ? "Selbsttest des Treibers; läuft, ohne die Verbindung zu unterbrechen."
                                                 : "Selbsttest des Treibers; fragt vorher, da die Verbindung dabei unterbrochen wird.")
                                       : (online ? "The driver's own test; runs without taking the link down."
                                                 : "The driver's own test; asks first, since the link drops while it runs.");
        subs += subTest(i + 1, escaped(names.at(i)), hint);
    }
    const int number = PkLinuxTests::SelfTestCaseFirst + list;
    return testCase(number, german ? "Treiber-Selbsttest" : "Driver self-test",
                    german ? "Treiber-&amp;Selbsttest" : "Driver &amp;self-test", "Ctrl+3",
                    "images/test_interrupt.png", 1, 0,
                    PkLinuxTests::SelfTestIdBase + list * PkLinuxTests::SelfTestIdStep, subs);
}

QByteArray PkLinuxDescription::testFile() const
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!-- Written by the core library's Linux backend for the adapters of this machine. -->\n"
                     "<testinfo version=\"1.0\">\n";
    for (int l = 0; l < 2; ++l) {
        out += "  <testcases lang=\"" + QByteArray(languages[l]) + "\">\n";
        for (const FixedCase &c : fixedCases) {
            QByteArray subs;
            for (int s = 0; s < 2 && c.subs[s].label[0]; ++s)
                subs += subTest(s + 1, c.subs[s].label[l], c.subs[s].hint[l]);
            out += testCase(c.number, c.name[l], c.menu[l], c.accel, c.pixmap, c.allTests, c.allowLoop, c.base, subs);
        }
        for (int list = 0; list < m_lists.size(); ++list)
            out += selfTestCase(list, languages[l]);
        out += "  </testcases>\n";
    }
    return out + "</testinfo>\n";
}

bool PkLinuxDescription::write(const QString &dir, QByteArray *why) const
{
    if (!QDir().mkpath(dir)) {
        *why = "cannot make the directory " + QFile::encodeName(dir);
        return false;
    }
    const QDir target(dir);
    return PkFileWriter::replace(target.filePath(QStringLiteral("config.xml")), configFile(), why)
        && PkFileWriter::replace(target.filePath(QStringLiteral("adapterinfofile.xml")), adapterFile(), why)
        && PkFileWriter::replace(target.filePath(QStringLiteral("testinfofile.xml")), testFile(), why);
}
