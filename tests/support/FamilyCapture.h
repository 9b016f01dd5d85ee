#pragma once
// A replay capture of one adapter of a driver family, written as the
// driver fills its replies: the PCI function(s) below sys/, and per
// interface the driver information, the link at its speed, the self-test
// names with one recorded result each, and two statistics. Header-only, so
// that the core's own tests, which link nothing of the program, share it.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <linux/ethtool.h>

struct FamilyCapture {
    QByteArray ids;      // vendor:device:subsystem vendor:subsystem device, hex
    bool dual = false;   // functions .0 and .1 of one device
    QByteArray driver;
    QStringList tests;   // the driver's self-test names, in its order
    int failing = -1;    // the self-test recorded as failed, or -1
    int speed = 1000;    // Mb/s
    QByteArray moduleA;  // the EEPROM of a module plugged into port A, if any

    // A module's EEPROM from tests/captures/modules (a hex dump), or empty.
    static QByteArray moduleDump(const char *name)
    {
        QFile f(QStringLiteral(NICDIAG_SOURCE_DIR "/tests/captures/modules/") + QLatin1String(name));
        return f.open(QIODevice::ReadOnly) ? QByteArray::fromHex(f.readAll().simplified().replace(' ', "")) : QByteArray();
    }

    // Interface of function `function`: eth0, eth1.
    static QString interface(int function) { return QStringLiteral("eth") + QString::number(function); }

    template <typename T> static QByteArray raw(const T &structure)
    {
        return QByteArray(reinterpret_cast<const char *>(&structure), sizeof structure);
    }

    static bool file(const QString &root, const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(root + QLatin1Char('/') + path).absolutePath());
        QFile f(root + QLatin1Char('/') + path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    // The first 64 bytes of the function's configuration space.
    QByteArray configHeader() const
    {
        const QList<QByteArray> id = ids.split(':');
        QByteArray config(64, '\0');
        const auto put16 = [&config](int at, const QByteArray &hex) {
            const quint16 v = quint16(hex.toUInt(nullptr, 16));
            config[at] = char(v & 0xff);
            config[at + 1] = char(v >> 8);
        };
        put16(0, id.value(0));
        put16(2, id.value(1));
        config[0x0b] = 0x02; // network controller
        put16(0x2c, id.value(2));
        put16(0x2e, id.value(3));
        return config;
    }

    bool writeFunction(const QString &root, int function) const
    {
        const QList<QByteArray> id = ids.split(':');
        const QString dir = QStringLiteral("sys/bus/pci/devices/0000:03:00.") + QString::number(function) + '/';
        const QString eth = interface(function);
        bool ok = file(root, dir + "class", "0x020000\n") && file(root, dir + "config", configHeader());
        const char *fields[] = {"vendor", "device", "subsystem_vendor", "subsystem_device"};
        for (int i = 0; i < 4; ++i)
            ok = ok && file(root, dir + fields[i], "0x" + id.value(i).toLower() + '\n');
        ok = ok && file(root, dir + "net/" + eth + "/address", "00:1b:21:00:00:0" + QByteArray::number(function) + '\n');
        QDir().mkpath(root + '/' + dir + "net/" + eth + "/device");
        ok = ok && QFile::link("drivers/" + driver, root + '/' + dir + "net/" + eth + "/device/driver");
        const QString e = QStringLiteral("ethtool/") + eth + '/';
        return ok && writeReplies(root, e) && (function != 0 || writeModule(root, e));
    }

    // Without a module the driver's request fails, as a port without one does.
    bool writeModule(const QString &root, const QString &e) const
    {
        if (moduleA.isEmpty())
            return true;
        const quint32 type = moduleA.size() == 640 ? ETH_MODULE_SFF_8636 : ETH_MODULE_SFF_8472;
        return file(root, e + "GMODULEINFO", raw(ethtool_modinfo {ETHTOOL_GMODULEINFO, type, quint32(moduleA.size()), {}}))
            && file(root, e + "GMODULEEEPROM", raw(ethtool_eeprom {ETHTOOL_GMODULEEEPROM, 0, 0, quint32(moduleA.size())}) + moduleA);
    }

    bool writeReplies(const QString &root, const QString &e) const
    {
        ethtool_drvinfo info {};
        info.cmd = ETHTOOL_GDRVINFO;
        qstrncpy(info.driver, driver.constData(), sizeof info.driver);
        info.testinfo_len = quint32(tests.size());
        ethtool_link_settings link {};
        link.cmd = ETHTOOL_GLINKSETTINGS;
        link.speed = quint32(speed);
        link.duplex = DUPLEX_FULL;
        link.autoneg = AUTONEG_ENABLE;
        link.link_mode_masks_nwords = 3;
        QByteArray sets = raw(ethtool_sset_info {ETHTOOL_GSSET_INFO, 0, (1ULL << ETH_SS_TEST) | (1ULL << ETH_SS_STATS)});
        sets += raw(quint32(tests.size())) + raw(quint32(2));
        QByteArray names = raw(ethtool_gstrings {ETHTOOL_GSTRINGS, ETH_SS_TEST, quint32(tests.size())});
        const quint32 flags = quint32(ETH_TEST_FL_OFFLINE) | (failing >= 0 ? quint32(ETH_TEST_FL_FAILED) : 0u);
        QByteArray results = raw(ethtool_test {ETHTOOL_TEST, flags, 0, quint32(tests.size())});
        for (int i = 0; i < tests.size(); ++i) {
            names += tests.at(i).toLatin1().leftJustified(ETH_GSTRING_LEN, '\0');
            results += raw(quint64(i == failing ? 1 : 0));
        }
        return file(root, e + "GDRVINFO", raw(info)) && file(root, e + "GLINK", raw(ethtool_value {ETHTOOL_GLINK, 1}))
            && file(root, e + "GLINKSETTINGS", raw(link) + QByteArray(3 * 3 * 4, '\0'))
            && file(root, e + "GSSET_INFO", sets) && file(root, e + "GSTRINGS-TEST", names)
            && file(root, e + "TEST", results)
            && file(root, e + "GSTRINGS-STATS", raw(ethtool_gstrings {ETHTOOL_GSTRINGS, ETH_SS_STATS, 2})
                                                    + QByteArray("rx_packets").leftJustified(ETH_GSTRING_LEN, '\0')
                                                    + QByteArray("tx_packets").leftJustified(ETH_GSTRING_LEN, '\0'))
            && file(root, e + "GSTATS", raw(ethtool_stats {ETHTOOL_GSTATS, 2}) + raw(quint64(1000)) + raw(quint64(500)));
    }

    bool write(const QString &root) const
    {
        for (int function = 0; function < (dual ? 2 : 1); ++function)
            if (!writeFunction(root, function))
                return false;
        return true;
    }
};
