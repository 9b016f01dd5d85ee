// Fuzz target: the configuration file reader, fed any bytes as the file's
// contents.
#include "FuzzStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FuzzStore::readAndCheck(data, size, [](CAdapterInfo &store, const QByteArray &contents) {
        store.readConfigData(contents, QStringLiteral("config.xml"));
    });
}
