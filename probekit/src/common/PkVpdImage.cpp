#include "PkVpdImage.h"

#include <algorithm>

namespace {

constexpr uint8_t IdentifierTag = 0x82;
constexpr uint8_t ReadOnlyTag = 0x90;
constexpr uint8_t WritableTag = 0x91;
constexpr uint8_t EndTag = 0x78;
constexpr size_t KeywordHeader = 3;
constexpr size_t LargeHeader = 3;

std::string number(size_t value)
{
    return std::to_string(value);
}

} // namespace

PkVpdImage PkVpdImage::parse(const uint8_t *data, size_t size)
{
    PkVpdImage image;
    if (!data)
        size = 0;
    size_t at = 0;
    while (at < size) {
        const uint8_t tag = data[at];
        if (tag == EndTag) {
            image.complete = true;
            return image;
        }
        if (!(tag & 0x80)) {
            // A small resource other than the end: skip it by its length.
            at += 1 + (tag & 0x07);
            continue;
        }
        if (size - at < LargeHeader) {
            image.problems.push_back("VPD: a resource header is cut off at byte " + number(at));
            return image;
        }
        const size_t length = data[at + 1] | (size_t(data[at + 2]) << 8);
        const size_t begin = at + LargeHeader;
        if (length > size - begin) {
            image.problems.push_back("VPD: a resource of " + number(length) + " bytes at byte "
                                     + number(at) + " runs past the end of the image ("
                                     + number(size) + " bytes)");
            return image;
        }
        if (tag == IdentifierTag) {
            image.hasIdentifier = true;
            image.identifier.assign(reinterpret_cast<const char *>(data + begin), length);
        } else if (tag == ReadOnlyTag || tag == WritableTag) {
            if (tag == WritableTag) {
                ++image.writableSections;
                image.writableOffset = begin;
                image.writableLength = length;
            }
            image.readSection(data, begin, begin + length, tag == WritableTag);
        }
        at = begin + length;
    }
    // Erased VPD space reads as 0xFF; running out without an end tag is
    // worth saying only when something was found.
    if (image.hasIdentifier || !image.keywords.empty())
        image.problems.push_back("VPD: no end tag within " + number(size) + " bytes");
    return image;
}

void PkVpdImage::readSection(const uint8_t *data, size_t begin, size_t end, bool writable)
{
    size_t at = begin;
    while (end - at >= KeywordHeader) {
        const std::string name(reinterpret_cast<const char *>(data + at), 2);
        const size_t length = data[at + 2];
        const size_t valueAt = at + KeywordHeader;
        if (length > end - valueAt) {
            problems.push_back("VPD: keyword " + name + " of " + number(length)
                               + " bytes runs past the end of its section");
            return;
        }
        if (name == "RV" && !writable) {
            if (length == 0) {
                problems.push_back("VPD: the RV keyword holds no checksum");
                checksum = Checksum::Bad;
                return;
            }
            // Every byte from the start of the image up to and including
            // the checksum byte adds up to zero.
            uint8_t sum = 0;
            for (size_t i = 0; i <= valueAt; ++i)
                sum = static_cast<uint8_t>(sum + data[i]);
            checksum = sum == 0 ? Checksum::Good : Checksum::Bad;
            checksumOffset = valueAt;
            if (checksum == Checksum::Bad)
                problems.push_back("VPD: the RV checksum does not add up (sum " + number(sum) + ")");
            return; // what follows RV is reserved
        }
        if (name == "RW" && writable)
            return; // the rest of the section is free space
        Keyword keyword;
        keyword.name = name;
        keyword.value.assign(reinterpret_cast<const char *>(data + valueAt), length);
        keyword.writable = writable;
        keyword.offset = at;
        keywords.push_back(keyword);
        at = valueAt + length;
    }
}

const PkVpdImage::Keyword *PkVpdImage::find(const std::string &name) const
{
    for (const Keyword &keyword : keywords)
        if (keyword.name == name)
            return &keyword;
    return nullptr;
}

bool PkVpdImage::rewriteWritable(const std::vector<uint8_t> &image, const std::string &name,
                                 const std::string *value, std::vector<uint8_t> *out,
                                 std::string *why) const
{
    if (writableLength == 0 || writableOffset + writableLength > image.size()) {
        *why = "the VPD has no writable section";
        return false;
    }
    // The checksum covers every byte before it: a writable section there
    // would need a new checksum, which this program never writes.
    if (!complete || !problems.empty() || writableSections != 1
        || (checksum != Checksum::Missing && writableOffset < checksumOffset)) {
        *why = "the VPD is damaged; it is not rewritten";
        return false;
    }
    if (name.size() != 2 || (value && value->size() > 255)) {
        *why = "a keyword has a two-character name and at most 255 bytes";
        return false;
    }
    std::vector<uint8_t> section;
    const auto append = [&section](const std::string &key, const std::string &data) {
        section.insert(section.end(), key.begin(), key.end());
        section.push_back(static_cast<uint8_t>(data.size()));
        section.insert(section.end(), data.begin(), data.end());
    };
    bool found = false;
    for (const Keyword &keyword : keywords) {
        if (!keyword.writable)
            continue;
        if (keyword.name != name) {
            append(keyword.name, keyword.value);
            continue;
        }
        found = true;
        if (value)
            append(name, *value);
    }
    if (!found && value)
        append(name, *value);
    if (!found && !value) {
        *why = "keyword " + name + " is not in the writable section";
        return false;
    }
    // RW fills the rest. One RW holds at most 255 free bytes, so a large
    // rest takes several; none may leave a gap too short for a header.
    if (section.size() + KeywordHeader > writableLength) {
        *why = "the writable section has no room for it";
        return false;
    }
    for (size_t rest = writableLength - section.size(); rest > 0;) {
        size_t chunk = std::min<size_t>(255, rest - KeywordHeader);
        const size_t after = rest - KeywordHeader - chunk;
        if (after > 0 && after < KeywordHeader)
            chunk -= KeywordHeader - after;
        append("RW", std::string(chunk, '\0'));
        rest -= KeywordHeader + chunk;
    }
    *out = image;
    std::copy(section.begin(), section.end(), out->begin() + long(writableOffset));
    return true;
}
