// The picture corpus of tests/pictures through the loaders of the Linux build, against the list
// the Windows build is held to as well.

#include <gtest/gtest.h>

#include "app/picture_loading.h"
#include "code_of.h"
#include "picture_corpus.h"
#include "picture_reader.h"
#include "temp_dir.h"

namespace inkrelay::test {
namespace {

// The open command's road: PNG through the program's decoder, the rest through Qt.
TEST(PictureCorpus, everyFileLoadsThroughTheOpenCommandsLoadersAsListed) {
    ExpectCorpusLoads(CorpusFolder(), [](const std::string& path) {
        return LoadPictureFile(path, ui::ReadPictureFile);
    });
}

// A PNG named otherwise than "png" or "PNG" goes to Qt, which reads past a damaged ancillary
// chunk; it must refuse what the PNG decoder (and WIC) refuse under the usual name.
TEST(PictureCorpus, aRefusedPngIsRefusedUnderEveryNameItMayHave) {
    const TempDir folder;
    int checked = 0;
    for (const CorpusEntry& entry : ParseCorpusList(ReadFile(CorpusFolder() / "expected.txt"))) {
        if (entry.Expect != CorpusEntry::Kind::Refused || !entry.Name.ends_with(".png"))
            continue;
        SCOPED_TRACE(entry.Name);
        const std::filesystem::path renamed =
            folder / (entry.Name.substr(0, entry.Name.size() - 4) + ".Png");
        std::filesystem::copy_file(CorpusFolder() / entry.Name, renamed);
        EXPECT_EQ(CodeOf([&] { LoadPictureFile(renamed.string(), ui::ReadPictureFile); }),
                  entry.Code);
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

}  // namespace
}  // namespace inkrelay::test
