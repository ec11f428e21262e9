#pragma once
// File names travel through the program as UTF-8. Windows' narrow calls would read them in the
// ANSI code page, which cannot name a folder of Japanese characters on most systems, so every
// file the core opens, tests or moves goes through here.

#include <cstdio>
#include <filesystem>
#include <string>

#include "file_handle.h"

namespace inkrelay {

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// std::fopen by a UTF-8 name; errno says why on failure.
FileHandle OpenFile(const std::string& utf8Path, const char* mode);
// std::remove by a UTF-8 name.
int RemoveFile(const std::string& utf8Path);
// Whether this process may create files in the folder (access W_OK).
bool FolderIsWritable(const std::string& utf8Path);

}  // namespace inkrelay
