// Replays a fuzz target over the files of its corpus directories, so the committed seeds
// and every input that once broke a target run in the ordinary test builds too.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int a = 1; a < argc; ++a)
        for (const auto& entry : std::filesystem::directory_iterator(argv[a]))
            if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        std::printf("%s (%zu bytes)\n", file.filename().c_str(), bytes.size());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    if (files.empty()) std::fprintf(stderr, "no inputs\n");
    return files.empty() ? 1 : 0;
}
