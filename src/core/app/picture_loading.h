#pragma once
// Pictures into the working picture: the File menu's open command and the Edit menu's paste.

#include <array>

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

// Sides from here on overflow the image window's 16-bit layout.
inline constexpr int32_t RefusedPictureSide = 32766;

// Asks for a file and loads it; a failed load is reported and keeps the previous picture.
void File_Open_Click(Program& program);

// Takes the clipboard's picture, with the same rule for failures.
void Edit_Paste_Click(Program& program);

}  // namespace inkrelay
