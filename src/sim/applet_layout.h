#pragma once
// Where a simulated applet's canvas and colour bars lie on its surface, and what lies under a
// point: the geometry the program's captured positions and bar clicks must agree with.

#include <cstdint>
#include <optional>

#include "desktop/desktop.h"
#include "draw/applet_profile.h"

namespace inkrelay {

inline constexpr int16_t TopLevel = 51;  // the highest bar level, channel value 255
inline constexpr int16_t BarHalfHeight = 1;
// The browser applets' bars: 13 rows, a fourth (alpha) bar below the blue one, clicks a little
// past either end, and an unsafe row above each bar.
inline constexpr int16_t BrowserBarHalfHeight = 6;
inline constexpr int32_t BrowserSlackLeft = 5;
inline constexpr int32_t BrowserSlackRight = 3;
inline constexpr int AlphaChannel = 3;

struct AppletPlace {
    ScreenPoint Canvas;  // left-top pixel of the canvas
    int16_t CanvasWidth = 0;
    int16_t CanvasHeight = 0;
    ScreenPoint Bars;  // the red bar's pixel of level Origin on its centre row
};

struct BarHit {
    int Channel = 0;  // 0 red, 1 green, 2 blue, 3 alpha
    int16_t Level = 0;
    bool Unsafe = false;  // the row above a browser bar: a click there sets some other level
};

class AppletLayout {
  public:
    // Bars at the pitch of layout (0 or 1). std::invalid_argument for another layout, an empty
    // canvas, a part with pixels outside 0..32767, or a canvas overlapping the bars.
    AppletLayout(const AppletProfile& profile, const AppletPlace& place, int16_t layout,
                 bool browserBars = false);

    const AppletPlace& Place() const { return place_; }
    bool InCanvas(ScreenPoint p) const;
    // The bar and level at p, or nothing off the bars.
    std::optional<BarHit> BarUnder(ScreenPoint p) const;
    // The level of column x, held to 0..TopLevel past the ends of the bars.
    int16_t LevelAt(int32_t x) const;
    int32_t BarLeft() const { return barLeft_; }  // column of level 0
    int32_t BarRow(int channel) const { return place_.Bars.Y + channel * pitch_; }
    int32_t HalfHeight() const { return halfHeight_; }
    int BarCount() const { return browserBars_ ? 4 : 3; }
    // One past the rightmost and the lowest pixel of canvas and bars, a browser bar's box
    // included.
    int32_t Right() const;
    int32_t Bottom() const;

  private:
    AppletPlace place_;
    int32_t pitch_;
    int32_t barLeft_;
    bool browserBars_;
    int32_t halfHeight_;
};

}  // namespace inkrelay
