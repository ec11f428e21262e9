// The account the picture corpus is checked against: a loader that strays from the list by one
// level, one picture or one file is caught.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <map>

#include "picture_corpus.h"
#include "runtime_error.h"
#include "temp_dir.h"
#include "test_pictures.h"

namespace inkrelay::test {
namespace {

class CorpusCheck : public testing::Test {
  protected:
    CorpusCheck() {
        for (const char* name : {"exact.bmp", "lossy.jpg", "broken.png"})
            WriteFile(folder / name, "");
        CorpusEntry exact;
        exact.Name = "exact.bmp";
        exact.Width = 3;
        exact.Height = 2;
        exact.Hash = PixelHash(source);
        CorpusEntry lossy = exact;
        lossy.Name = "lossy.jpg";
        lossy.Expect = CorpusEntry::Kind::Near;
        lossy.Reference = "exact.bmp";
        lossy.Tolerance = 2;
        CorpusEntry broken;
        broken.Name = "broken.png";
        broken.Expect = CorpusEntry::Kind::Refused;
        broken.Code = ErrorCode::InvalidPicture;
        WriteFile(folder / "expected.txt", "# a comment\n\n" + FormatCorpusEntry(exact) + "\n" +
                                               FormatCorpusEntry(lossy) + "  # lossy\n" +
                                               FormatCorpusEntry(broken) + "\n");
        pictures["exact.bmp"] = source;
        pictures["lossy.jpg"] = source;
    }

    // The failures the check reports for a loader that gives these pictures and raises 481 for
    // any other name.
    std::vector<std::string> Failures() {
        testing::TestPartResultArray results;
        {
            testing::ScopedFakeTestPartResultReporter reporter(
                testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
            ExpectCorpusLoads(folder.Path(), [&](const std::string& path) {
                const auto found = pictures.find(std::filesystem::path(path).filename().string());
                if (found == pictures.end())
                    throw RuntimeError(ErrorCode::InvalidPicture);
                return found->second;
            });
        }
        std::vector<std::string> failures;
        for (int k = 0; k < results.size(); ++k)
            failures.push_back(results.GetTestPartResult(k).message());
        return failures;
    }

    static Picture Shifted(const Picture& picture, uint32_t level) {
        std::vector<uint32_t> pixels;
        for (int32_t y = 0; y < picture.Height(); ++y)
            for (int32_t x = 0; x < picture.Width(); ++x)
                pixels.push_back(picture.ImagePixelAt(x, y) + (x == 1 && y == 1 ? level : 0));
        return Picture(picture.Width(), picture.Height(), std::move(pixels));
    }

    TempDir folder;
    Picture source = GradientPicture(3, 2);
    std::map<std::string, Picture> pictures;
};

TEST_F(CorpusCheck, aLoaderGivingTheListedPicturesPasses) {
    EXPECT_TRUE(Failures().empty());
    pictures["lossy.jpg"] = Shifted(source, 2);
    EXPECT_TRUE(Failures().empty());
}

TEST_F(CorpusCheck, oneLevelOffInALosslessPictureFails) {
    pictures["exact.bmp"] = Shifted(source, 1);
    const std::vector<std::string> failures = Failures();
    ASSERT_FALSE(failures.empty());
    EXPECT_NE(failures[0].find("exact.bmp"), std::string::npos) << failures[0];
}

TEST_F(CorpusCheck, aLossyPictureBeyondItsToleranceOrOfOtherSidesFails) {
    pictures["lossy.jpg"] = Shifted(source, 3);
    EXPECT_EQ(Failures().size(), 1u);
    pictures["lossy.jpg"] = GradientPicture(2, 3);
    EXPECT_FALSE(Failures().empty());
}

TEST_F(CorpusCheck, aRefusalOfAGoodFileALoadOfABadOneAndAnUnlistedFileFail) {
    pictures.erase("exact.bmp");
    EXPECT_FALSE(Failures().empty());
    pictures["exact.bmp"] = source;
    pictures["broken.png"] = source;
    EXPECT_EQ(Failures().size(), 1u);
    pictures.erase("broken.png");
    WriteFile(folder / "stray.gif", "");
    const std::vector<std::string> failures = Failures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("stray.gif is not in expected.txt"), std::string::npos);
}

TEST(CorpusList, aLineThatDoesNotParseIsNamedNotSkipped) {
    for (const std::string bad :
         {"a.bmp 3", "a.bmp 3 2 exact 12", "a.bmp 3 2 near b.bmp", "a.bmp refused",
          "a.bmp 3 2 exact 0123456789abcdef extra", "a.bmp 3 2 blurred 0123456789abcdef"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ParseCorpusList("# fine\n" + bad + "\n"), std::runtime_error);
    }
}

}  // namespace
}  // namespace inkrelay::test
