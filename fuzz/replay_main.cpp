// Replays a fuzz target's corpus without libFuzzer: every file named on the
// command line, or found in a directory named there, goes once through the
// same entry point. Built when NICDIAG_FUZZ is off, run by CTest.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

int feed(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    int failures = 0, inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto &entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    failures += feed(entry.path());
                    ++inputs;
                }
            }
        } else {
            failures += feed(path);
            ++inputs;
        }
    }
    std::printf("%d input(s) replayed\n", inputs);
    return failures == 0 && inputs > 0 ? 0 : 1;
}
