// Fuzz target: the test information file reader, fed any bytes as the
// file's contents. German is asked for, so a file without a German block
// is read a second time for English, as at a German start.
#include "FuzzStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FuzzStore::readAndCheck(data, size, [](CAdapterInfo &store, const QByteArray &contents) {
        store.readTestInfoData(contents, QStringLiteral("testinfofile.xml"), QStringLiteral("de"));
    });
}
