#pragma once
// The simulated browser applets draw the bars and canvas as draw/browser_look.h describes the
// real ones, so the capture that finds them is tested against the same look. Colours are
// 0x00BBGGRR.

#include <cstdint>
#include <string>

#include "draw/browser_look.h"
#include "pixel_surface.h"

namespace inkrelay {

// The page around canvas and bars, and the label's ink, which the program does not look for.
inline constexpr uint32_t BrowserPage = 0x00FAE6E6u;      // #e6e6fa
inline constexpr uint32_t BrowserBarLabel = 0x00000080u;  // #800000

// The label's glyphs, and where it starts: columns right of the interior's left column.
inline constexpr int32_t BrowserGlyphWidth = 5;
inline constexpr int32_t BrowserGlyphHeight = 7;
inline constexpr int32_t BrowserGlyphGap = 1;
inline constexpr int32_t BrowserLabelIndent = 3;
// The value the alpha box shows: the applet's alpha, never changed by a drawing run.
inline constexpr int BrowserAlphaValue = 255;

// The fill's columns for a channel value 0..255: value x 49 / 255, at least one, at most the
// interior. std::invalid_argument for a value outside 0..255.
int32_t BrowserBarFillWidth(int value);
// "R200", "G0", "B255", "A255"; std::invalid_argument for a channel outside 0..3 or a bad value.
std::string BrowserBarLabelText(int channel, int value);

// One channel's box showing value, its level 0 at levelZeroX on the row middleRow. Pixels off
// the surface are left out. std::invalid_argument as for BrowserBarLabelText.
void DrawBrowserBarBox(PixelSurface& surface, int32_t levelZeroX, int32_t middleRow, int channel,
                       int value);
// The border one pixel outside the canvas whose left-top pixel is (left, top); pixels off the
// surface are left out.
void DrawCanvasBorder(PixelSurface& surface, int32_t left, int32_t top, int32_t width,
                      int32_t height);

}  // namespace inkrelay
