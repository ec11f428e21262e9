#pragma once
// The drawing-speed benchmark's pictures and draw lists, what the canvas must show after them,
// and the pointer actions the engine makes for a list, taken down once so that they can be
// replayed with nothing else in the way.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/desktop.h"
#include "image/picture.h"
#include "scan/draw_list.h"
#include "scan/read_method.h"

namespace inkrelay::speed {

inline constexpr uint32_t White = 0x00FFFFFFu;
inline constexpr int32_t PictureSide = 200;

// Gradients, a few soft shapes and ±2 noise per channel: hundreds of colours in runs of one or
// two pixels, as a photograph gives. Fixed seed: the same picture every run.
Picture PhotoPicture(int32_t side);
// Black strokes one pixel wide on white: lines at several slopes, circles, a spiral and a wave.
Picture LineArtPicture(int32_t side);

// One read of a whole picture, as the program makes it from the same picture and settings.
struct DrawList {
    std::unique_ptr<EventMemory> Mem = std::make_unique<EventMemory>();
    int32_t End = 0;     // EventMemEnd
    int32_t Events = 0;  // counted by the core's walker
};
DrawList ReadList(ReadMethod method, const Picture& picture);

// The canvas a perfect drawing of the read leaves, row by row: a full-colour read's quantised
// colours (quality 0) with white unpainted, or line art's black pixels.
std::vector<uint32_t> ExpectedCanvas(ReadMethod method, const Picture& picture);

struct PointerAction {
    enum Kind : uint8_t { Move, Button, EventEnd };
    Kind What = Move;
    MouseAction Action = MouseAction::LeftDown;  // for Button
    int16_t X = 0;                               // for Move
    int16_t Y = 0;
};

struct RecordedReplay {
    std::vector<PointerAction> Actions;
    int32_t Events = 0;  // EventEnd marks: the draw-list events replayed
    int32_t Moves = 0;
    int32_t Buttons = 0;
};

// The moves and button events the engine makes for the list on the applet at Speed 5 with the
// check off, each draw-list event closed by an EventEnd. Taken from a real DrawRun: the run
// polls Esc once after every event, which is where the marks go.
RecordedReplay RecordReplay(const DrawList& list, int16_t applet, int16_t mode, ScreenPoint drawPos,
                            ScreenPoint barPos, int32_t width, int32_t height);

// The canvas the simulated applet shows after the first `events` events of the replay, sent to
// it one by one: what a run stopped after them must have drawn. Bars and canvas where the
// practice applet has them, on a screen of 1024 × 768.
std::vector<uint32_t> SimulatedCanvas(const RecordedReplay& replay, int32_t events, int16_t applet,
                                      ScreenPoint canvas, ScreenPoint bars, int32_t width,
                                      int32_t height);

// Pixels of two canvases that differ; the sizes must agree.
int32_t Mismatches(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);

std::string MethodName(ReadMethod method);

}  // namespace inkrelay::speed
