#pragma once
// The one program-wide state record: settings, state flags, the coordinate table and the draw
// list. It is created zero-initialised before the main window loads and passed by reference.

#include <array>
#include <cstdint>
#include <string>

#include "scan/draw_list.h"

namespace inkrelay {

// A 16-bit Boolean: True is -1, False is 0.
class Flag {
  public:
    constexpr Flag() = default;
    constexpr Flag(bool value) : raw_(value ? -1 : 0) {}  // NOLINT: reads like the Boolean it is
    constexpr operator bool() const { return raw_ != 0; }
    constexpr int16_t Raw() const { return raw_; }

  private:
    int16_t raw_ = 0;
};

// Slots of the coordinate table.
namespace Coord {
enum Slot : int {
    ViewX = 0,
    ViewY = 1,
    RangeLeft = 2,
    RangeTop = 3,
    RangeRight = 4,
    RangeBottom = 5,
    DrawPosX = 6,
    DrawPosY = 7,
    RGBBarX = 8,
    RGBBarY = 9,
    ScreenWidthPx = 10,
    ScreenHeightPx = 11,
};
inline constexpr int SlotCount = 12;
}  // namespace Coord

// Fields in their declaration order.
struct AppState {
    Flag AutoClose;
    Flag Check;
    Flag ImageMouseDown;
    Flag RangeDragging;
    Flag ImageLoaded;
    Flag RangeSelected;
    Flag ScanReady;
    Flag DrawPosSet;
    Flag RGBBarPosSet;
    Flag DrawSucceeded;
    Flag Closing;
    Flag PickingColour;
    Flag Scanning;
    Flag CapturingDrawPos;
    Flag CapturingRGBBarPos;
    Flag Drawing;
    int16_t Applet = 0;
    int16_t Formula = 0;
    int16_t Mode = 0;
    int16_t Quality = 0;
    int16_t Speed = 0;
    int16_t RangeGrip = 0;
    std::array<int16_t, Coord::SlotCount> Coords{};
    EventMemory EventMem;
    int32_t ScanCol = 0;
    int32_t EventMemEnd = 0;
    // Scratch: the answer of the last yes/no box (6 Yes, 7 No), or a pixel colour.
    int32_t LastAnswer = 0;
    // What the last capture found on a browser applet's screen, for the status line until the
    // next capture, reading or drawing; empty for none.
    std::string CaptureNote;
};

}  // namespace inkrelay
