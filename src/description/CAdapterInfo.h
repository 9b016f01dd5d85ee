#pragma once
#include "CAdapterEntry.h"
#include "CMiscConfigItem.h"
#include "CTestCase.h"
#include "PciIdEntry.h"

#include <QList>
#include <QMultiHash>
#include <QObject>
#include <QString>
#include <QStringList>

// The description store: configuration, adapter descriptions, miscellaneous
// configuration items and test cases, read once at start-up from the three
// description files. Its class name is the translation context of the
// readers' own messages.
class CAdapterInfo : public QObject
{
    Q_OBJECT
public:
    CAdapterInfo();
    ~CAdapterInfo() override;

    // The one program-wide store.
    static CAdapterInfo &instance();

    // Forget everything read so far (tests read several files in one process).
    void clear();

    // Each reader returns false when its file is missing, is not a regular
    // file, is larger than MaxFileBytes or nests its elements too deep; a
    // message box has then said why.
    bool readConfigFile(const QString &path);
    bool readAdapterInfoFile(const QString &path, const QString &languageCode);
    bool readTestInfoFile(const QString &path, const QString &languageCode);
    // The same readers over a file's contents already in memory; `path` is
    // the name their messages give. Contents over MaxFileBytes are refused.
    bool readConfigData(const QByteArray &contents, const QString &path);
    bool readAdapterInfoData(const QByteArray &contents, const QString &path,
                             const QString &languageCode);
    bool readTestInfoData(const QByteArray &contents, const QString &path,
                          const QString &languageCode);

    bool hasAdapter(const QString &key) const;
    QString adapterName(const QString &key) const;
    QString adapterPixmap(const QString &key) const;
    const QList<int> *adapterMiscConfig(const QString &key) const;
    const QList<int> *adapterTestCases(const QString &key) const;
    const CMiscConfigItem *miscConfigItem(int number) const;
    const CTestCase *testCase(int number) const;

    // basepath + "/" + relative
    QString basePathOf(const QString &relative) const;

    // Containers filled by the readers. A second entry under the same key
    // hides the first in lookups (QMultiHash returns the newest).
    QMultiHash<QString, CAdapterEntry> adapters;
    QMultiHash<int, CMiscConfigItem> miscItems;
    QMultiHash<int, CTestCase> testCases;

    // Configuration fields, each filled from the element of the same name.
    QString name;
    QString exename;
    QString basepath;
    QString splash_screen;
    QString logpath;
    QString log_ext;
    QString script_path;
    QStringList script_ext;     // at most 10
    QString flash_path;
    QStringList flash_ext;      // at most 10
    qint32 flash_size = 0;      // bytes
    QString help_path;
    QString help_file;
    QString pci_conf_path;
    QStringList pci_conf_ext;   // at most 10
    qint32 poll_interval = 0;   // milliseconds
    // Non-zero: every test run is filed as a run record below the log
    // directory. On unless the file says otherwise.
    qint32 run_records = 1;
    QList<PciIdEntry> vendorIds;

    // The log file that saves append to; null until chosen.
    QString logFileName;

    // What the readers found wrong without refusing the file (a vendor entry
    // that reads as 0, a sub-test left out, the line where reading a
    // malformed file stopped), each naming its file and line, as one
    // printable line, in the order found; after MaxWarnings lines a last one
    // says that more were left out. Each line also went to standard error
    // when it was added.
    QStringList warnings;
    void addWarning(const QString &text);
    static constexpr int MaxWarnings = 100;

    static constexpr int MaxExtensions = 10;
    // No description comes near this; the shipped files are a few KB.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
};
