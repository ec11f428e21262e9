#pragma once
// The picture files of tests/pictures and what each must load as, read from the list beside them
// (expected.txt), so that every build's loaders are held to one account of the same files.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "image/picture.h"

namespace inkrelay::test {

// FNV-1a, 64 bits, over each pixel's four bytes 0x00BBGGRR from the low byte up, top row first.
inline uint64_t PixelHash(std::span<const uint32_t> pixels) {
    uint64_t hash = 0xCBF29CE484222325u;
    for (const uint32_t pixel : pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (pixel >> shift) & 0xFFu;
            hash *= 0x100000001B3u;
        }
    }
    return hash;
}

uint64_t PixelHash(const Picture& picture);

struct CorpusEntry {
    enum class Kind {
        Exact,    // lossless: these sides and exactly these pixels
        Near,     // lossy: every channel within Tolerance of Reference's pixels, same sides
        Refused,  // the loader raises Code
    };
    std::string Name;
    Kind Expect = Kind::Exact;
    int32_t Width = 0;
    int32_t Height = 0;
    uint64_t Hash = 0;
    std::string Reference;
    int32_t Tolerance = 0;
    int32_t Code = 0;
};

// Lines "name width height exact HASH", "name width height near REFERENCE TOLERANCE" or
// "name refused CODE"; '#' starts a comment. Throws std::runtime_error naming the line that does
// not parse.
std::vector<CorpusEntry> ParseCorpusList(const std::string& text);
std::string FormatCorpusEntry(const CorpusEntry& entry);

// The folder of the corpus the build was configured with.
std::filesystem::path CorpusFolder();

// Loads every listed file of folder with load (its path as UTF-8) and checks it against the list
// with gtest's EXPECTs; also fails for a picture file of the folder the list does not name.
void ExpectCorpusLoads(const std::filesystem::path& folder,
                       const std::function<Picture(const std::string&)>& load);

}  // namespace inkrelay::test
