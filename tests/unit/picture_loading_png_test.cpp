// Pictures into the working picture where the build has the PNG decoder: which names it takes.

#include <gtest/gtest.h>

#include "picture_loading_fixture.h"
#include "png_writer.h"
#include "temp_dir.h"

namespace inkrelay {
namespace {

using test::PlainPicture;

TEST_F(PictureLoading, pngAndPNGGoThroughThePngDecoderOtherSpellingsThroughTheGeneralLoader) {
    test::PngImage image;
    image.Width = 3;
    image.Height = 2;
    image.Samples = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    const std::string bytes = test::EncodePng(image);
    for (const std::string name : {"lower.png", "upper.PNG"}) {
        SCOPED_TRACE(name);
        const std::string path = (p.Folder / name).string();
        test::WriteFile(path, bytes);
        p.Ui.OpenAnswers.push_back(path);
        File_Open_Click(p.Run);
        EXPECT_TRUE(p.Ui.Messages.empty());
        EXPECT_TRUE(p.Ui.LoadedPaths.empty());
        ASSERT_EQ(p.Image->WorkingPicture.Width(), 3);
        ASSERT_EQ(p.Image->WorkingPicture.Height(), 2);
        EXPECT_EQ(p.Image->WorkingPicture.PixelAt(0, 0), 0x0000FFu);
        EXPECT_EQ(p.Image->WorkingPicture.PixelAt(2, 0), 0xFF0000u);
        EXPECT_EQ(p.Image->WorkingPicture.PixelAt(1, 1), 0x3C3228u);
        p.Image->WorkingPicture = Picture();
    }
    const std::string mixed = (p.Folder / "mixed.Png").string();
    test::WriteFile(mixed, bytes);
    const Picture general = PlainPicture(5, 5, 0x123456);
    p.Ui.PictureFiles[mixed] = general;
    p.Ui.OpenAnswers.push_back(mixed);
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.LoadedPaths, std::vector<std::string>{mixed});
    EXPECT_EQ(p.Image->WorkingPicture, general);
}

TEST_F(PictureLoading, aDamagedOrMissingPngIsAnInvalidPictureNotAnEmptyOne) {
    LoadFirstPicture();
    const std::string damaged = (p.Folder / "damaged.png").string();
    test::WriteFile(damaged, test::PngSignature() + "not a png stream at all");
    p.Ui.OpenAnswers.push_back(damaged);
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), std::vector<std::string>{"ピクチャが不正です。(481)"});
    ExpectFirstPictureKept();

    p.Ui.Messages.clear();
    p.Ui.OpenAnswers.push_back((p.Folder / "missing.png").string());
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), std::vector<std::string>{"ファイルが見つかりません。(53)"});
    ExpectFirstPictureKept();
}

}  // namespace
}  // namespace inkrelay
