// Fuzz target: the VPD parser, fed any bytes, and the rewrite of the
// writable section that a guarded write would make from what it found.
#include "PkVpdImage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const PkVpdImage image = PkVpdImage::parse(data, size);
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<uint8_t> rewritten;
    std::string why;
    const std::string value = "fuzz";
    if (image.rewriteWritable(bytes, "Y1", &value, &rewritten, &why)) {
        // What the rewrite makes must parse again with the value in it.
        const PkVpdImage again = PkVpdImage::parse(rewritten.data(), rewritten.size());
        bool found = false;
        for (const PkVpdImage::Keyword &keyword : again.keywords)
            found = found || (keyword.writable && keyword.name == "Y1" && keyword.value == value);
        if (!found || !again.problems.empty() || rewritten.size() != size)
            __builtin_trap();
    }
    image.rewriteWritable(bytes, "Y1", nullptr, &rewritten, &why);
    return 0;
}
