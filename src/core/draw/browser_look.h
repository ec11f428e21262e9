#pragma once
// How PaintBBS NEO and しぃペインター NEO show their colour bars and canvas at a browser zoom of
// 1, as measured on the real applets. The capture finds the exact points by this look; the
// simulated applets draw it. Colours are 0x00BBGGRR.

#include <array>
#include <cstdint>

namespace inkrelay {

inline constexpr uint32_t BrowserCanvasBorder = 0x00996666u;  // (102, 102, 153)
inline constexpr uint32_t BrowserBarBorder = 0x00030303u;
inline constexpr uint32_t BrowserBarBackground = 0x00FFDDDDu;  // #ddddff
// Red, green, blue and alpha: #fa9696, #82f238, #8080ff, #aaaaaa.
inline constexpr std::array<uint32_t, 4> BrowserBarFill = {0x009696FAu, 0x0038F282u, 0x00FF8080u,
                                                           0x00AAAAAAu};

// Four boxes, red on top, each a one-pixel border around its interior. The left border column
// is the bar's level 0 and the middle interior row the bar's row, so the top border is the row
// where a click sets no meaningful value.
inline constexpr int BrowserBarCount = 4;
inline constexpr int32_t BrowserBarPitch = 16;
inline constexpr int32_t BrowserBarInteriorWidth = 48;
inline constexpr int32_t BrowserBarInteriorHeight = 13;
inline constexpr int32_t BrowserBarBoxWidth = BrowserBarInteriorWidth + 2;
inline constexpr int32_t BrowserBarBoxHeight = BrowserBarInteriorHeight + 2;

}  // namespace inkrelay
