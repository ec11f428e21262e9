// Qt's general picture loader behind the open command: formats, failures and their codes.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "picture_reader.h"
#include "runtime_error.h"
#include "temp_dir.h"

namespace inkrelay::test {
namespace {

int32_t FailureCode(const std::string& path) {
    try {
        ui::ReadPictureFile(path);
    } catch (const RuntimeError& error) {
        return error.Code();
    }
    return 0;
}

TEST(PictureReader, fileFailuresAndUndecodableDataHaveTheirCodes) {
    TempDir folder;
    EXPECT_EQ(FailureCode((folder / "missing.bmp").string()), ErrorCode::FileNotFound);
    std::filesystem::create_directory(folder / "folder.bmp");
    EXPECT_EQ(FailureCode((folder / "folder.bmp").string()), ErrorCode::PathFileAccessError);
    WriteFile(folder / "garbage.jpg", "\xFF\xD8\xFF this is no JPEG");
    EXPECT_EQ(FailureCode((folder / "garbage.jpg").string()), ErrorCode::InvalidPicture);
    WriteFile(folder / "empty.gif", "");
    EXPECT_EQ(FailureCode((folder / "empty.gif").string()), ErrorCode::InvalidPicture);
}

TEST(PictureReader, aSideOf32766IsRefusedAndOneLessIsRead) {
    TempDir folder;
    for (const auto& [width, height, code] : {std::tuple{32766, 1, ErrorCode::InvalidPicture},
                                              {1, 32766, ErrorCode::InvalidPicture},
                                              {32765, 1, 0}}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(1, 2, 3));
        const std::string path = (folder / "side.bmp").string();
        ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP"));
        EXPECT_EQ(FailureCode(path), code);
    }
    EXPECT_EQ(ui::ReadPictureFile((folder / "side.bmp").string()).PixelAt(32764, 0), 0x030201u);
}

TEST(PictureReader, alphaIsCompositedOntoWhiteAndPixelsAreBgr) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 100, 50, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    image.setPixel(2, 0, qRgba(0, 0, 255, 128));
    const Picture picture = ui::PictureFromImage(image);
    EXPECT_EQ(picture.PixelAt(0, 0), 0x3264C8u);
    EXPECT_EQ(picture.PixelAt(1, 0), 0xFFFFFFu);
    // 255 · 128/255 + 255 · 127/255 for blue, 127 for red and green.
    EXPECT_EQ(picture.PixelAt(2, 0), 0xFF7F7Fu);
    EXPECT_THROW(ui::PictureFromImage(QImage()), RuntimeError);
}

}  // namespace
}  // namespace inkrelay::test
