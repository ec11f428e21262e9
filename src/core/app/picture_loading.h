#pragma once
// Pictures into the working picture: the File menu's open command and the Edit menu's paste.

#include <array>
#include <functional>
#include <string>

#include "app/ui_port.h"

namespace inkrelay {

struct Program;

// The open dialog's types, in the order shown.
inline constexpr std::array<FileFilter, 6> PictureFileFilters{{
    {"すべてのピクチャ ファイル", "*.bmp;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.png"},
    {"ビットマップ ファイル (*.bmp)", "*.bmp"},
    {"JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)", "*.jpg;*.jpeg;*.jpe;*.jfif"},
    {"GIF (*.GIF)", "*.gif"},
    {"PNG (*.PNG)", "*.png"},
    {"すべてのファイル", "*.*"},
}};

// Loads one picture file, path in UTF-8.
using GeneralPictureLoader = std::function<Picture(const std::string&)>;

// A picture file by the program's rule: where the build has the PNG decoder, a name ending in
// "png" or "PNG" goes to it and any other to the general loader; where it has none, the general
// loader takes PNG too. A side of 32766 or more is a bad picture (481).
Picture LoadPictureFile(const std::string& path, const GeneralPictureLoader& generalLoader);

// Asks for a file and loads it; a failed load is reported and keeps the previous picture.
void File_Open_Click(Program& program);

// Takes the clipboard's picture, with the same rule for failures.
void Edit_Paste_Click(Program& program);

}  // namespace inkrelay
