#include <cinttypes>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "picture_corpus.h"

namespace inkrelay::test {

uint64_t PixelHash(const Picture& picture) {
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(picture.Width()) *
                   static_cast<std::size_t>(picture.Height()));
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x) pixels.push_back(picture.ImagePixelAt(x, y));
    return PixelHash(pixels);
}

std::vector<CorpusEntry> ParseCorpusList(const std::string& text) {
    std::vector<CorpusEntry> entries;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (const auto comment = line.find('#'); comment != std::string::npos)
            line.erase(comment);
        std::istringstream fields(line);
        CorpusEntry entry;
        if (!(fields >> entry.Name))
            continue;
        const auto fail = [&] {
            throw std::runtime_error("expected.txt line " + std::to_string(number) +
                                     " does not parse");
        };
        std::string kind;
        if (!(fields >> kind))
            fail();
        if (kind == "refused") {
            entry.Expect = CorpusEntry::Kind::Refused;
            if (!(fields >> entry.Code))
                fail();
        } else {
            std::istringstream sides(kind);
            if (!(sides >> entry.Width) || !(fields >> entry.Height >> kind))
                fail();
            if (kind == "exact") {
                std::string hex;
                if (!(fields >> hex) || hex.size() != 16)
                    fail();
                std::size_t used = 0;
                entry.Hash = std::stoull(hex, &used, 16);
                if (used != hex.size())
                    fail();
            } else if (kind == "near") {
                entry.Expect = CorpusEntry::Kind::Near;
                if (!(fields >> entry.Reference >> entry.Tolerance))
                    fail();
            } else {
                fail();
            }
        }
        std::string extra;
        if (fields >> extra)
            fail();
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string FormatCorpusEntry(const CorpusEntry& entry) {
    switch (entry.Expect) {
        case CorpusEntry::Kind::Refused:
            return entry.Name + " refused " + std::to_string(entry.Code);
        case CorpusEntry::Kind::Near:
            return entry.Name + " " + std::to_string(entry.Width) + " " +
                   std::to_string(entry.Height) + " near " + entry.Reference + " " +
                   std::to_string(entry.Tolerance);
        case CorpusEntry::Kind::Exact: break;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, entry.Hash);
    return entry.Name + " " + std::to_string(entry.Width) + " " + std::to_string(entry.Height) +
           " exact " + hex;
}

}  // namespace inkrelay::test
