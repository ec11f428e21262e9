// A fuzz target's corpus replayed without libFuzzer: every file of the folders given, in name
// order, through LLVMFuzzerTestOneInput, within the target's memory budget. Every seed and every
// input that ever found a fault is thus a test in each build; a fault ends the replay with the
// input's name printed just before.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "replay_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// What each find in a corpus was; not an input.
constexpr const char* NotesName = "NOTES";

std::vector<fs::path> InputsOf(int count, char** arguments) {
    std::vector<fs::path> inputs;
    for (int i = 0; i < count; ++i) {
        const fs::path given = arguments[i];
        if (!fs::is_directory(given)) {
            inputs.push_back(given);
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(given))
            if (entry.is_regular_file() && entry.path().filename() != NotesName)
                inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s corpus-folder-or-file...\n", argv[0]);
        return 2;
    }
    const std::string budget = inkrelay::fuzz::LimitReplayMemory();
    const std::vector<fs::path> inputs = InputsOf(argc - 1, argv + 1);
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 2;
    }
    std::printf("replay: %zu inputs, %s\n", inputs.size(), budget.c_str());
    for (const fs::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "replay: cannot open %s\n", path.c_str());
            return 2;
        }
        const std::string read((std::istreambuf_iterator<char>(in)), {});
        // Exactly as long as the input, as libFuzzer hands it over: a read one byte past the
        // end must reach the sanitizer, not a string's terminator.
        const auto bytes = std::make_unique<uint8_t[]>(read.size());
        std::copy(read.begin(), read.end(), bytes.get());
        std::printf("%s (%zu bytes)\n", path.filename().c_str(), read.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(bytes.get(), read.size());
    }
    std::printf("replay: all %zu inputs passed\n", inputs.size());
    return 0;
}
