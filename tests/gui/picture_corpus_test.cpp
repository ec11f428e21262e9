// The picture corpus of tests/pictures through the loaders of the Linux build, against the list
// the Windows build is held to as well.

#include <gtest/gtest.h>

#include "app/picture_loading.h"
#include "picture_corpus.h"
#include "picture_reader.h"

namespace inkrelay::test {
namespace {

// The open command's road: PNG through the program's decoder, the rest through Qt.
TEST(PictureCorpus, everyFileLoadsThroughTheOpenCommandsLoadersAsListed) {
    ExpectCorpusLoads(CorpusFolder(), [](const std::string& path) {
        return LoadPictureFile(path, ui::ReadPictureFile);
    });
}

}  // namespace
}  // namespace inkrelay::test
