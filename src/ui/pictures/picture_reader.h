#pragma once
// The general picture loader over Qt's image readers, and Qt images turned into pictures.

#include <QImage>
#include <string>

#include "image/picture.h"

namespace inkrelay::ui {

// Any format Qt reads, stored orientation kept (no EXIF rotation), Qt's allocation limit kept.
// A file that cannot be read raises 53, 70 or 75; data Qt cannot decode, or a side of 32766
// or more, raises 481.
Picture ReadPictureFile(const std::string& path);

// 0x00BBGGRR pixels with any alpha composited onto white; raises 481 for a null image.
Picture PictureFromImage(const QImage& image);

}  // namespace inkrelay::ui
