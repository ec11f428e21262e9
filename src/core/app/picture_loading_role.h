#pragma once
// Which decoder a picture file goes to. The build chooses, by the source it compiles:
// picture_loading_png.cpp where libpng is linked, picture_loading_general.cpp where it is not
// (Windows, whose general loader reads PNG itself).

#include <string>

#include "app/picture_loading.h"

namespace inkrelay {

Picture DecodePictureFile(const std::string& path, const GeneralPictureLoader& generalLoader);

}  // namespace inkrelay
