// Fuzz target: a recorded ethtool reply of a capture put into a request,
// as the Linux backend's replay does. The first bytes make the request
// (which command, what the caller asks for); the rest is the recording.
// The request lies in a buffer exactly as large as the caller's would be,
// so a write past it is caught by the address sanitizer.
#include "PkEthtoolReply.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <linux/ethtool.h>

namespace {

const uint32_t commands[] = {ETHTOOL_GDRVINFO, ETHTOOL_GLINK,   ETHTOOL_GMODULEINFO, ETHTOOL_GLINKSETTINGS,
                             ETHTOOL_GSSET_INFO, ETHTOOL_GSTRINGS, ETHTOOL_GSTATS,     ETHTOOL_TEST,
                             ETHTOOL_GEEPROM,  ETHTOOL_GMODULEEEPROM, ETHTOOL_PHYS_ID};
constexpr size_t Prefix = 1 + 8 + 4;
// Keeps the caller's buffers small enough for many runs a second.
constexpr uint32_t MaxAsked = 4096;

// The request's header as the backend makes it, from the input's prefix.
std::vector<uint8_t> header(uint32_t command, uint64_t wide, uint32_t narrow)
{
    std::vector<uint8_t> out(64, 0);
    std::memcpy(out.data(), &command, 4);
    switch (command) {
    case ETHTOOL_GLINKSETTINGS: {
        ethtool_link_settings s {};
        s.cmd = command;
        s.link_mode_masks_nwords = int8_t(narrow % 128);
        out.assign(reinterpret_cast<uint8_t *>(&s), reinterpret_cast<uint8_t *>(&s) + sizeof s);
        break;
    }
    case ETHTOOL_GSSET_INFO: {
        ethtool_sset_info s {};
        s.cmd = command;
        s.sset_mask = wide;
        out.assign(reinterpret_cast<uint8_t *>(&s), reinterpret_cast<uint8_t *>(&s) + sizeof s);
        break;
    }
    case ETHTOOL_GSTRINGS: {
        ethtool_gstrings s {};
        s.cmd = command;
        s.string_set = uint32_t(wide & 1);
        s.len = narrow % MaxAsked;
        out.assign(reinterpret_cast<uint8_t *>(&s), reinterpret_cast<uint8_t *>(&s) + sizeof s);
        break;
    }
    case ETHTOOL_GSTATS: {
        ethtool_stats s {};
        s.cmd = command;
        s.n_stats = narrow % MaxAsked;
        out.assign(reinterpret_cast<uint8_t *>(&s), reinterpret_cast<uint8_t *>(&s) + sizeof s);
        break;
    }
    case ETHTOOL_TEST: {
        ethtool_test s {};
        s.cmd = command;
        s.len = narrow % MaxAsked;
        out.assign(reinterpret_cast<uint8_t *>(&s), reinterpret_cast<uint8_t *>(&s) + sizeof s);
        break;
    }
    case ETHTOOL_GEEPROM:
    case ETHTOOL_GMODULEEEPROM: {
        ethtool_eeprom s {};
        s.cmd = command;
        s.offset = uint32_t(wide);
        s.len = narrow % MaxAsked;
        out.assign(reinterpret_cast<uint8_t *>(&s), reinterpret_cast<uint8_t *>(&s) + sizeof s);
        break;
    }
    default:
        break;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < Prefix)
        return 0;
    const uint32_t command = commands[data[0] % (sizeof commands / sizeof commands[0])];
    uint64_t wide = 0;
    uint32_t narrow = 0;
    std::memcpy(&wide, data + 1, 8);
    std::memcpy(&narrow, data + 9, 4);
    const std::vector<uint8_t> made = header(command, wide, narrow);
    const size_t capacity = PkEthtoolReply::capacity(made.data());
    if (capacity < 4)
        __builtin_trap();
    // Exactly the caller's room: one byte more written is a heap overflow.
    std::vector<uint8_t> request(made.begin(), made.begin() + std::min(made.size(), capacity));
    request.resize(capacity);
    request.shrink_to_fit();
    const QByteArray recording(reinterpret_cast<const char *>(data + Prefix), int(size - Prefix));
    QByteArray why;
    const int error = PkEthtoolReply::fill(recording, request.data(), &why);
    uint32_t after = 0;
    std::memcpy(&after, request.data(), 4);
    // A reply taken keeps the request's command; a refused one says why.
    if ((error == 0 && after != command) || (error != 0 && why.isEmpty()))
        __builtin_trap();
    return 0;
}
