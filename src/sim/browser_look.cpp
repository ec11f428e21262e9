#include "browser_look.h"

#include <algorithm>
#include <stdexcept>

namespace inkrelay {

namespace {

using Glyph = std::array<uint8_t, BrowserGlyphHeight>;  // rows top down, bit 4 the left column

// Only what a label needs: the channels' letters and the digits.
constexpr std::array<Glyph, 10> Digits = {{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
}};
constexpr std::array<Glyph, 4> Letters = {{
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},  // R
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F},  // G
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},  // B
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
}};
constexpr char ChannelLetters[] = "RGBA";

const Glyph& GlyphOf(char c) {
    if (c >= '0' && c <= '9')
        return Digits[static_cast<size_t>(c - '0')];
    for (size_t k = 0; k < Letters.size(); ++k)
        if (ChannelLetters[k] == c)
            return Letters[k];
    throw std::invalid_argument("BrowserBarLabel: no glyph");
}

void Put(PixelSurface& surface, int32_t x, int32_t y, uint32_t colour) {
    if (x >= 0 && y >= 0 && x < surface.Width() && y < surface.Height())
        surface.SetPixel(x, y, colour);
}

void Fill(PixelSurface& surface, int32_t left, int32_t top, int32_t width, int32_t height,
          uint32_t colour) {
    for (int32_t y = top; y < top + height; ++y)
        for (int32_t x = left; x < left + width; ++x) Put(surface, x, y, colour);
}

}  // namespace

int32_t BrowserBarFillWidth(int value) {
    if (value < 0 || value > 255)
        throw std::invalid_argument("BrowserBarFillWidth: value outside 0..255");
    // The applet scales to 49 columns, one more than the interior holds, so 255 overflows by one.
    return std::clamp<int32_t>(value * 49 / 255, 1, BrowserBarInteriorWidth);
}

std::string BrowserBarLabelText(int channel, int value) {
    if (channel < 0 || channel > 3)
        throw std::invalid_argument("BrowserBarLabelText: channel outside 0..3");
    if (value < 0 || value > 255)
        throw std::invalid_argument("BrowserBarLabelText: value outside 0..255");
    return ChannelLetters[channel] + std::to_string(value);
}

void DrawBrowserBarBox(PixelSurface& surface, int32_t levelZeroX, int32_t middleRow, int channel,
                       int value) {
    const std::string label = BrowserBarLabelText(channel, value);
    const int32_t top = middleRow - BrowserBarInteriorHeight / 2 - 1;
    Fill(surface, levelZeroX, top, BrowserBarBoxWidth, BrowserBarBoxHeight, BrowserBarBorder);
    const int32_t innerLeft = levelZeroX + 1;
    const int32_t innerTop = top + 1;
    Fill(surface, innerLeft, innerTop, BrowserBarInteriorWidth, BrowserBarInteriorHeight,
         BrowserBarBackground);
    Fill(surface, innerLeft, innerTop, BrowserBarFillWidth(value), BrowserBarInteriorHeight,
         BrowserBarFill[static_cast<size_t>(channel)]);
    const int32_t labelTop = middleRow - BrowserGlyphHeight / 2;
    int32_t x = innerLeft + BrowserLabelIndent;
    for (const char c : label) {
        const Glyph& glyph = GlyphOf(c);
        for (int32_t row = 0; row < BrowserGlyphHeight; ++row)
            for (int32_t column = 0; column < BrowserGlyphWidth; ++column)
                if ((glyph[static_cast<size_t>(row)] >> (BrowserGlyphWidth - 1 - column)) & 1u)
                    Put(surface, x + column, labelTop + row, BrowserBarLabel);
        x += BrowserGlyphWidth + BrowserGlyphGap;
    }
}

void DrawCanvasBorder(PixelSurface& surface, int32_t left, int32_t top, int32_t width,
                      int32_t height) {
    Fill(surface, left - 1, top - 1, width + 2, 1, BrowserCanvasBorder);
    Fill(surface, left - 1, top + height, width + 2, 1, BrowserCanvasBorder);
    Fill(surface, left - 1, top, 1, height, BrowserCanvasBorder);
    Fill(surface, left + width, top, 1, height, BrowserCanvasBorder);
}

}  // namespace inkrelay
