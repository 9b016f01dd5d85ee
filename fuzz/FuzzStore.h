#pragma once
// What the description reader targets share: a fresh store read from the
// input, and the promises every reader keeps whatever it was fed.
#include "description/CAdapterInfo.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace FuzzStore {

// A kept text never holds a control character other than tab and line
// breaks: a NUL would cut every printed text, an escape drive a terminal.
inline void checkText(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || (u >= 0x7f && u <= 0x9f))
            __builtin_trap();
    }
}

inline void checkTexts(const QStringList &texts)
{
    for (const QString &text : texts)
        checkText(text);
}

// The store stays within the limits every reader keeps.
inline void checkStore(const CAdapterInfo &store)
{
    if (store.warnings.size() > CAdapterInfo::MaxWarnings + 1
        || store.script_ext.size() > CAdapterInfo::MaxExtensions
        || store.flash_ext.size() > CAdapterInfo::MaxExtensions
        || store.pci_conf_ext.size() > CAdapterInfo::MaxExtensions)
        __builtin_trap();
    checkTexts({store.name, store.exename, store.basepath, store.splash_screen, store.logpath,
                store.log_ext, store.script_path, store.flash_path, store.help_path,
                store.help_file, store.pci_conf_path});
    checkTexts(store.script_ext);
    checkTexts(store.flash_ext);
    checkTexts(store.pci_conf_ext);
    for (const CAdapterEntry &adapter : store.adapters)
        checkTexts({adapter.id, adapter.name, adapter.info, adapter.connector, adapter.medium,
                    adapter.pixmap});
    for (const CMiscConfigItem &item : store.miscItems)
        checkTexts({item.unit, item.label});
    for (const CTestCase &test : store.testCases) {
        checkTexts({test.testname, test.pixmap, test.accel, test.menuentry});
        for (const CSubTestCase &sub : test.subtests)
            checkTexts({sub.label, sub.hint});
    }
}

// Reads the input into a fresh store with read(store, contents) and checks
// what it kept. The boxes a refused file brings answer themselves safely
// (no dialogs are installed); their lines on the message log are dropped,
// as a fuzzer shows thousands.
template <typename Read>
int readAndCheck(const uint8_t *data, size_t size, Read read)
{
    static const QtMessageHandler quiet = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &) {});
    Q_UNUSED(quiet);
    CAdapterInfo store;
    read(store, QByteArray(reinterpret_cast<const char *>(data), int(size)));
    checkStore(store);
    return 0;
}

} // namespace FuzzStore
