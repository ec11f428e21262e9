#pragma once
// The canvas written as a PNG file through the Windows Imaging Component, which every Windows
// has: the dump of the Win32 practice applet, as the X11 one writes it through Qt.

#include <cstdint>
#include <string>
#include <vector>

namespace inkrelay::practice {

// pixels: width x height colours 0x00BBGGRR row by row. std::runtime_error naming the step that
// failed; a file left half written is removed.
void WriteCanvasPng(const std::wstring& path, int32_t width, int32_t height,
                    const std::vector<uint32_t>& pixels);

}  // namespace inkrelay::practice
