// Fuzz target: the configuration file reader, fed any bytes as the file's
// contents.
#include "FuzzStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CAdapterInfo store;
    store.readConfigData(FuzzStore::bytes(data, size), QStringLiteral("config.xml"));
    FuzzStore::checkStore(store);
    return 0;
}
