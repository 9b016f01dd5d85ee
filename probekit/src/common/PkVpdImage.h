#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The vital product data of a PCI function as the bytes of its VPD space:
// an identifier string, a read-only section (VPD-R) closed by the RV
// checksum and a writable section (VPD-W) closed by the RW filler, each a
// large resource, then the small end tag. A pure function of the bytes, so
// that anything, however damaged, can be fed to it; it reads nothing past
// the buffer and keeps what it found before a fault.
class PkVpdImage
{
public:
    enum class Checksum { Missing, Good, Bad };

    struct Keyword {
        std::string name;        // two characters
        std::string value;       // bytes, not text
        bool writable = false;   // found in VPD-W
        size_t offset = 0;       // of the keyword's header in the image
    };

    // Reads the image. `problems` says, a line each, what was left out and
    // why; an empty list means a sound image.
    static PkVpdImage parse(const uint8_t *data, size_t size);

    // The image with the VPD-W section rewritten to set (or, with a null
    // value, remove) one keyword, the other writable keywords kept and the
    // RW filler taking what is left, so that the image keeps its size.
    // False, with the reason, when the image has no sound VPD-W section or
    // the new contents do not fit. Only a sound image (complete, no
    // problems, one writable section) is rewritten: guessing at a damaged one could
    // destroy what is left of it.
    bool rewriteWritable(const std::vector<uint8_t> &image, const std::string &name,
                         const std::string *value, std::vector<uint8_t> *out,
                         std::string *why) const;

    bool complete = false; // the end tag was reached
    bool hasIdentifier = false;
    std::string identifier;
    std::vector<Keyword> keywords; // RV and RW are structure, not listed
    Checksum checksum = Checksum::Missing;
    // The VPD-W section's data: where it starts and how long it is; 0 when
    // there is none.
    size_t writableOffset = 0;
    size_t writableLength = 0;
    int writableSections = 0;
    size_t checksumOffset = 0; // of the RV checksum byte, when found
    std::vector<std::string> problems;

    const Keyword *find(const std::string &name) const;

private:
    // Parses the keywords of one section's data at [begin, end).
    void readSection(const uint8_t *data, size_t begin, size_t end, bool writable);
};
