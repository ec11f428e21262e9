#include "picture_corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "code_of.h"
#include "temp_dir.h"

namespace inkrelay::test {

namespace {

// The largest difference of one channel between two pictures of the same sides.
int32_t LargestChannelDifference(const Picture& a, const Picture& b) {
    int32_t largest = 0;
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            const uint32_t p = a.ImagePixelAt(x, y);
            const uint32_t q = b.ImagePixelAt(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                const auto difference = std::abs(static_cast<int32_t>(p >> shift & 0xFF) -
                                                 static_cast<int32_t>(q >> shift & 0xFF));
                largest = std::max(largest, difference);
            }
        }
    }
    return largest;
}

}  // namespace

std::filesystem::path CorpusFolder() {
    // A run outside the build tree (a copy on real Windows) names the folder itself.
    if (const char* folder = std::getenv("INKRELAY_PICTURE_CORPUS"); folder && *folder)
        return folder;
    return INKRELAY_PICTURE_CORPUS;
}

void ExpectCorpusLoads(const std::filesystem::path& folder,
                       const std::function<Picture(const std::string&)>& load) {
    const std::vector<CorpusEntry> entries = ParseCorpusList(ReadFile(folder / "expected.txt"));
    ASSERT_FALSE(entries.empty());
    std::map<std::string, Picture> loaded;
    std::set<std::string> listed;
    for (const CorpusEntry& entry : entries) {
        SCOPED_TRACE(entry.Name);
        listed.insert(entry.Name);
        Picture picture;
        const std::u8string path = (folder / entry.Name).u8string();
        const int32_t code = CodeOf([&] { picture = load(std::string(path.begin(), path.end())); });
        if (entry.Expect == CorpusEntry::Kind::Refused) {
            EXPECT_EQ(code, entry.Code);
            continue;
        }
        ASSERT_EQ(code, 0);
        EXPECT_EQ(picture.Width(), entry.Width);
        EXPECT_EQ(picture.Height(), entry.Height);
        if (entry.Expect == CorpusEntry::Kind::Exact) {
            CorpusEntry found = entry;
            found.Width = picture.Width();
            found.Height = picture.Height();
            found.Hash = PixelHash(picture);
            EXPECT_EQ(FormatCorpusEntry(found), FormatCorpusEntry(entry));
        }
        loaded[entry.Name] = std::move(picture);
    }
    for (const CorpusEntry& entry : entries) {
        if (entry.Expect != CorpusEntry::Kind::Near || !loaded.contains(entry.Name))
            continue;
        SCOPED_TRACE(entry.Name);
        const auto reference = loaded.find(entry.Reference);
        ASSERT_NE(reference, loaded.end()) << "no exact picture " << entry.Reference;
        const Picture& picture = loaded[entry.Name];
        ASSERT_EQ(picture.Width(), reference->second.Width());
        ASSERT_EQ(picture.Height(), reference->second.Height());
        EXPECT_LE(LargestChannelDifference(picture, reference->second), entry.Tolerance);
    }
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        const std::string extension = file.path().extension().string();
        if (extension == ".bmp" || extension == ".gif" || extension == ".jpg" ||
            extension == ".png") {
            EXPECT_TRUE(listed.contains(file.path().filename().string()))
                << file.path().filename().string() << " is not in expected.txt";
        }
    }
}

}  // namespace inkrelay::test
