#pragma once
// The general picture loader over Qt's image readers, and Qt images turned into pictures.

#include <QImage>
#include <string>
#include <string_view>

#include "image/picture.h"

namespace inkrelay::ui {

// Any format Qt reads, stored orientation kept (no EXIF rotation), the decoded image at most
// 128 MB; a file whose structure shows it cut or damaged is refused before it is decoded.
// A file that cannot be read raises 53, 70 or 75; data Qt cannot decode, or a side of 32766
// or more, raises 481.
Picture ReadPictureFile(const std::string& path);
// The same for a file's bytes already in memory; Qt reads them in place, so they must stay put
// until the call returns. Raises 481 only.
Picture ReadPictureBytes(std::string_view bytes);

// 0x00BBGGRR pixels with any alpha composited onto white; raises 481 for a null image.
Picture PictureFromImage(QImage image);

}  // namespace inkrelay::ui
