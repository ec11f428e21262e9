#include "sim_canvas.h"

#include <cstdlib>
#include <utility>

#include "line_pixels.h"
#include "runtime_error.h"

namespace inkrelay {

namespace {
uint32_t ColourOfLevels(int16_t r, int16_t g, int16_t b) {
    // A negated level only marks an unchanged bar; the magnitude is the level.
    const auto value = [](int16_t level) { return static_cast<uint32_t>(std::abs(level) * 5); };
    return value(r) | value(g) << 8 | value(b) << 16;
}
}  // namespace

SimCanvas::SimCanvas(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), White),
      painted_(pixels_.size(), false) {
    if (width < 0 || height < 0)
        throw RuntimeError(ErrorCode::InvalidArgument);
}

size_t SimCanvas::IndexOf(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw RuntimeError(ErrorCode::SubscriptOutOfRange);
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
}

uint32_t SimCanvas::PixelAt(int32_t x, int32_t y) const {
    return pixels_[IndexOf(x, y)];
}

bool SimCanvas::Painted(int32_t x, int32_t y) const {
    return painted_[IndexOf(x, y)];
}

void SimCanvas::Paint(int32_t x, int32_t y) {
    const size_t index = IndexOf(x, y);
    pixels_[index] = colour_;
    painted_[index] = true;
}

void SimCanvas::PaintRow(int32_t x1, int32_t x2, int32_t y) {
    if (x1 >= x2)
        throw RuntimeError(ErrorCode::InvalidArgument);
    for (int32_t x = x1; x <= x2; ++x) Paint(x, y);
}

void SimCanvas::PaintSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // Stroke points are canvas offsets of at most 1200, so they fit a ScreenPoint.
    for (const ScreenPoint p : LinePixels({static_cast<int16_t>(x1), static_cast<int16_t>(y1)},
                                          {static_cast<int16_t>(x2), static_cast<int16_t>(y2)}))
        Paint(p.X, p.Y);
}

void SimCanvas::Replay(const EventMemory& mem, int32_t end) {
    int32_t row = 0;
    bool stroking = false;
    int32_t penX = 0;
    int32_t penY = 0;
    for (EventWalker walker(mem, end); !walker.AtEnd(); walker.Next()) {
        const auto operand = [&](int32_t i) { return int32_t{walker.Operand(i)}; };
        switch (walker.Current().Code) {
            case Mk:
                colour_ = ColourOfLevels(walker.Operand(0), walker.Operand(1), walker.Operand(2));
                break;
            case Gt: colour_ = PixelAt(operand(0), operand(1)); break;
            case Dt: Paint(operand(0), row); break;
            case Ln: PaintRow(operand(0), operand(1), row); break;
            case CD: Paint(operand(0), operand(1)); break;
            case CL: PaintRow(operand(0), operand(1), operand(2)); break;
            case Cr: ++row; break;
            case St:
                if (stroking)
                    throw RuntimeError(ErrorCode::InvalidArgument);
                stroking = true;
                penX = operand(0);
                penY = operand(1);
                Paint(penX, penY);
                break;
            case Mv:
                if (!stroking)
                    throw RuntimeError(ErrorCode::InvalidArgument);
                PaintSegment(penX, penY, operand(0), operand(1));
                penX = operand(0);
                penY = operand(1);
                break;
            case Ed:
                if (!stroking)
                    throw RuntimeError(ErrorCode::InvalidArgument);
                stroking = false;
                break;
        }
    }
}

}  // namespace inkrelay
