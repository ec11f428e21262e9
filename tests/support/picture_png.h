#pragma once
// A picture written as an 8-bit RGB PNG with the tests' libpng writer: what a user would open.

#include <filesystem>

#include "image/picture.h"
#include "png_writer.h"
#include "temp_dir.h"

namespace inkrelay::test {

inline void WritePicturePng(const Picture& picture, const std::filesystem::path& path) {
    PngImage png;
    png.Width = static_cast<uint32_t>(picture.Width());
    png.Height = static_cast<uint32_t>(picture.Height());
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const uint32_t p = picture.PixelAt(x, y);
            png.Samples.insert(png.Samples.end(), {static_cast<uint16_t>(p & 0xFF),
                                                   static_cast<uint16_t>(p >> 8 & 0xFF),
                                                   static_cast<uint16_t>(p >> 16 & 0xFF)});
        }
    }
    WriteFile(path, EncodePng(png));
}

}  // namespace inkrelay::test
