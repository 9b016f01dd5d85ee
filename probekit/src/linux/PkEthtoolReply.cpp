#include "PkEthtoolReply.h"

#include <cerrno>
#include <cstring>

#include <linux/ethtool.h>

namespace {

constexpr size_t MaxMaskWords = 127;
constexpr size_t MaxEntries = 65536;
constexpr size_t MaxEeprom = 16 * 1024 * 1024;
constexpr uint32_t SetBits = 64;

template <typename Header>
Header headerOf(const void *data)
{
    Header header;
    std::memcpy(&header, data, sizeof header);
    return header;
}

int refuse(QByteArray *why, const QByteArray &text)
{
    *why = text;
    return EPROTO;
}

uint32_t commandOf(const void *request)
{
    uint32_t command = 0;
    std::memcpy(&command, request, sizeof command);
    return command;
}

size_t fixedSize(uint32_t command)
{
    switch (command) {
    case ETHTOOL_GDRVINFO:
        return sizeof(ethtool_drvinfo);
    case ETHTOOL_GLINK:
    case ETHTOOL_PHYS_ID:
        return sizeof(ethtool_value);
    case ETHTOOL_GMODULEINFO:
        return sizeof(ethtool_modinfo);
    default:
        return 0;
    }
}

// The header and its variable part, as long as the header says.
struct Parts {
    size_t header = 0, element = 0;
};

Parts partsOf(uint32_t command)
{
    switch (command) {
    case ETHTOOL_GLINKSETTINGS:
        return {sizeof(ethtool_link_settings), 3 * 4};
    case ETHTOOL_GSSET_INFO:
        return {sizeof(ethtool_sset_info), 4};
    case ETHTOOL_GSTRINGS:
        return {sizeof(ethtool_gstrings), ETH_GSTRING_LEN};
    case ETHTOOL_GSTATS:
        return {sizeof(ethtool_stats), 8};
    case ETHTOOL_TEST:
        return {sizeof(ethtool_test), 8};
    case ETHTOOL_GEEPROM:
    case ETHTOOL_GMODULEEEPROM:
        return {sizeof(ethtool_eeprom), 1};
    default:
        return {};
    }
}

// How many elements a header announces.
size_t countOf(uint32_t command, const void *data)
{
    switch (command) {
    case ETHTOOL_GLINKSETTINGS: {
        const int words = headerOf<ethtool_link_settings>(data).link_mode_masks_nwords;
        return words > 0 ? size_t(words) : 0;
    }
    case ETHTOOL_GSSET_INFO:
        return size_t(__builtin_popcountll(headerOf<ethtool_sset_info>(data).sset_mask));
    case ETHTOOL_GSTRINGS:
        return headerOf<ethtool_gstrings>(data).len;
    case ETHTOOL_GSTATS:
        return headerOf<ethtool_stats>(data).n_stats;
    case ETHTOOL_TEST:
        return headerOf<ethtool_test>(data).len;
    case ETHTOOL_GEEPROM:
    case ETHTOOL_GMODULEEEPROM:
        return headerOf<ethtool_eeprom>(data).len;
    default:
        return 0;
    }
}

int fillSetInfo(const QByteArray &recording, void *request)
{
    const auto recorded = headerOf<ethtool_sset_info>(recording.constData());
    auto asked = headerOf<ethtool_sset_info>(request);
    const uint32_t *counts = reinterpret_cast<const uint32_t *>(recording.constData() + sizeof recorded);
    auto *out = reinterpret_cast<uint8_t *>(request) + sizeof asked;
    uint64_t answered = 0;
    size_t from = 0, to = 0;
    for (uint32_t bit = 0; bit < SetBits; ++bit) {
        const uint64_t mask = 1ULL << bit;
        if (!(recorded.sset_mask & mask))
            continue;
        if (asked.sset_mask & mask) {
            std::memcpy(out + 4 * to++, reinterpret_cast<const uint8_t *>(counts) + 4 * from, 4);
            answered |= mask;
        }
        ++from;
    }
    asked.sset_mask = answered;
    std::memcpy(request, &asked, sizeof asked);
    return 0;
}

int fillLinkSettings(const QByteArray &recording, void *request, QByteArray *why)
{
    auto recorded = headerOf<ethtool_link_settings>(recording.constData());
    const int words = recorded.link_mode_masks_nwords;
    if (words <= 0 || size_t(words) > MaxMaskWords)
        return refuse(why, "link mode masks of " + QByteArray::number(words) + " words");
    const int asked = headerOf<ethtool_link_settings>(request).link_mode_masks_nwords;
    // The kernel's hand-shake: asked with no words, it says how many.
    if (asked == 0) {
        recorded.link_mode_masks_nwords = int8_t(-words);
        std::memcpy(request, &recorded, sizeof recorded);
        return 0;
    }
    if (asked != words)
        return refuse(why, "asked for " + QByteArray::number(asked) + " mask words, recorded " + QByteArray::number(words));
    std::memcpy(request, recording.constData(), size_t(recording.size()));
    return 0;
}

int fillEeprom(const QByteArray &recording, void *request, QByteArray *why)
{
    const auto recorded = headerOf<ethtool_eeprom>(recording.constData());
    auto asked = headerOf<ethtool_eeprom>(request);
    const uint64_t end = uint64_t(asked.offset) + asked.len;
    if (asked.offset < recorded.offset || end > uint64_t(recorded.offset) + recorded.len) {
        *why = "bytes " + QByteArray::number(asked.offset) + ".." + QByteArray::number(qulonglong(end)) + " are not recorded";
        return EINVAL;
    }
    asked.magic = recorded.magic;
    std::memcpy(request, &asked, sizeof asked);
    std::memcpy(reinterpret_cast<uint8_t *>(request) + sizeof asked,
                recording.constData() + sizeof recorded + (asked.offset - recorded.offset), asked.len);
    return 0;
}

} // namespace

size_t PkEthtoolReply::capacity(const void *request)
{
    const uint32_t command = commandOf(request);
    if (const size_t fixed = fixedSize(command))
        return fixed;
    const Parts parts = partsOf(command);
    if (!parts.header)
        return 0;
    return parts.header + parts.element * countOf(command, request);
}

size_t PkEthtoolReply::maxRecording(uint32_t command)
{
    if (const size_t fixed = fixedSize(command))
        return fixed;
    const Parts parts = partsOf(command);
    switch (command) {
    case ETHTOOL_GLINKSETTINGS:
        return parts.header + parts.element * MaxMaskWords;
    case ETHTOOL_GSSET_INFO:
        return parts.header + parts.element * SetBits;
    case ETHTOOL_GEEPROM:
    case ETHTOOL_GMODULEEEPROM:
        return parts.header + MaxEeprom;
    default:
        return parts.header + parts.element * MaxEntries;
    }
}

QByteArray PkEthtoolReply::fileName(const void *request)
{
    switch (commandOf(request)) {
    case ETHTOOL_GDRVINFO: return "GDRVINFO";
    case ETHTOOL_GLINK: return "GLINK";
    case ETHTOOL_PHYS_ID: return "PHYS_ID";
    case ETHTOOL_GMODULEINFO: return "GMODULEINFO";
    case ETHTOOL_GLINKSETTINGS: return "GLINKSETTINGS";
    case ETHTOOL_GSSET_INFO: return "GSSET_INFO";
    case ETHTOOL_GSTATS: return "GSTATS";
    case ETHTOOL_TEST: return "TEST";
    case ETHTOOL_GEEPROM: return "GEEPROM";
    case ETHTOOL_GMODULEEEPROM: return "GMODULEEEPROM";
    case ETHTOOL_GSTRINGS: {
        const uint32_t set = headerOf<ethtool_gstrings>(request).string_set;
        return set == ETH_SS_TEST ? "GSTRINGS-TEST" : set == ETH_SS_STATS ? "GSTRINGS-STATS" : QByteArray();
    }
    default:
        return QByteArray();
    }
}

int PkEthtoolReply::fill(const QByteArray &recording, void *request, QByteArray *why)
{
    const uint32_t command = commandOf(request);
    const size_t size = size_t(recording.size());
    const size_t fixed = fixedSize(command);
    const Parts parts = partsOf(command);
    const size_t header = fixed ? fixed : parts.header;
    if (!header)
        return refuse(why, "no recording answers this request");
    if (size < header)
        return refuse(why, QByteArray::number(qulonglong(size)) + " bytes, shorter than its structure of "
                               + QByteArray::number(qulonglong(header)));
    if (commandOf(recording.constData()) != command)
        return refuse(why, "recorded for another request");
    const size_t whole = fixed ? fixed : header + parts.element * countOf(command, recording.constData());
    if (size != whole)
        return refuse(why, QByteArray::number(qulonglong(size)) + " bytes where its header makes "
                               + QByteArray::number(qulonglong(whole)));
    switch (command) {
    case ETHTOOL_GSSET_INFO:
        return fillSetInfo(recording, request);
    case ETHTOOL_GLINKSETTINGS:
        return fillLinkSettings(recording, request, why);
    case ETHTOOL_GEEPROM:
    case ETHTOOL_GMODULEEEPROM:
        return fillEeprom(recording, request, why);
    case ETHTOOL_TEST:
        // An online run says nothing of the offline tests: their results
        // read 0, which must not pass for a pass.
        if ((headerOf<ethtool_test>(request).flags & ETH_TEST_FL_OFFLINE)
            && !(headerOf<ethtool_test>(recording.constData()).flags & ETH_TEST_FL_OFFLINE)) {
            *why = "the capture holds the online self-test only";
            return EOPNOTSUPP;
        }
        break;
    case ETHTOOL_GSTRINGS:
        if (headerOf<ethtool_gstrings>(recording.constData()).string_set
            != headerOf<ethtool_gstrings>(request).string_set)
            return refuse(why, "recorded for another string set");
        break;
    default:
        break;
    }
    // The kernel writes every entry the driver has; a recording with more
    // than the caller made room for cannot be given without overrunning.
    if (size > capacity(request))
        return refuse(why, QByteArray::number(qulonglong(countOf(command, recording.constData())))
                               + " entries, more than the " + QByteArray::number(qulonglong(countOf(command, request)))
                               + " asked for");
    std::memcpy(request, recording.constData(), size);
    return 0;
}
