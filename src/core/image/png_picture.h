#pragma once
// PNG files loaded into pictures through the PNG library's call protocol.

#include <string>
#include <string_view>

#include "image/picture.h"

namespace inkrelay {

// True exactly when the name ends in "png" or "PNG"; other spellings go to the general loader.
bool TakesPngPath(std::string_view fileName);

// path in the system's narrow encoding. A missing file raises 53, one that cannot be opened 70
// (permission) or 75 (a folder, among others), following the errno rules of file_errors; a file
// the library cannot decode raises invalid picture (481), never an empty picture; no memory for
// the bits raises 7.
Picture LoadPngPicture(const std::string& path);

}  // namespace inkrelay
