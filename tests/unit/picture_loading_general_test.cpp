// Pictures into the working picture where the build has no PNG decoder of its own.

#include <gtest/gtest.h>

#include "picture_loading_fixture.h"
#include "runtime_error.h"

namespace inkrelay {
namespace {

using test::PlainPicture;

TEST_F(PictureLoading, everyNamePngIncludedGoesToTheGeneralLoaderWithItsFailures) {
    LoadFirstPicture();
    const Picture png = PlainPicture(4, 3, 0x0A0B0C);
    for (const std::string path : {"/pictures/lower.png", "/pictures/upper.PNG"}) {
        SCOPED_TRACE(path);
        p.Ui.LoadedPaths.clear();
        p.Image->WorkingPicture = Picture();
        p.Ui.PictureFiles[path] = png;
        p.Ui.OpenAnswers.push_back(path);
        File_Open_Click(p.Run);
        EXPECT_TRUE(p.Ui.Messages.empty());
        EXPECT_EQ(p.Ui.LoadedPaths, std::vector<std::string>{path});
        EXPECT_EQ(p.Image->WorkingPicture, png);
    }

    LoadFirstPicture();
    p.Ui.FailingFiles["/pictures/broken.png"] = ErrorCode::InvalidPicture;
    p.Ui.OpenAnswers.push_back("/pictures/broken.png");
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), std::vector<std::string>{"ピクチャが不正です。(481)"});
    ExpectFirstPictureKept();
}

}  // namespace
}  // namespace inkrelay
