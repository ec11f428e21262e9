#include "scan/line_art_scan.h"

#include <algorithm>
#include <array>
#include <vector>

#include "checked_int.h"
#include "scan/quantizer.h"

namespace inkrelay {

namespace {

struct Direction {
    int16_t Code;
    int16_t Dx;
    int16_t Dy;
};

// The search order: straight down first, so a line is followed downward before sideways.
constexpr std::array<Direction, 8> SearchOrder = {
    {{2, 0, 1}, {4, -1, 0}, {1, -1, 1}, {6, 1, 0}, {3, 1, 1}, {7, -1, -1}, {8, 0, -1}, {9, 1, -1}}};
constexpr Direction Stop{5, 0, 0};

// The range with a margin of one False cell on every side, so neighbours need no bounds test.
class LineMask {
  public:
    LineMask(int32_t width, int32_t height)
        : stride_(static_cast<size_t>(width) + 2),
          cells_(stride_ * (static_cast<size_t>(height) + 2), 0) {}
    bool At(int32_t i, int32_t j) const { return cells_[Index(i, j)] != 0; }
    void Set(int32_t i, int32_t j, bool value) { cells_[Index(i, j)] = value ? 1 : 0; }

  private:
    size_t Index(int32_t i, int32_t j) const {
        return static_cast<size_t>(j) * stride_ + static_cast<size_t>(i);
    }
    size_t stride_;
    std::vector<uint8_t> cells_;
};

int16_t FineLevel(uint32_t colour, int shift) {
    return static_cast<int16_t>((((colour >> shift) & 0xFF) + 2) / 5);
}

const Direction& FirstNeighbour(const LineMask& mask, int16_t cx, int16_t cy) {
    for (const Direction& d : SearchOrder) {
        if (mask.At(cx + d.Dx, cy + d.Dy))
            return d;
    }
    return Stop;
}

}  // namespace

ScanResult ScanLineArt(const Picture& picture, const RangeSlots& range, uint32_t lineColour,
                       EventMemory& mem, const ScanHooks& hooks) {
    const int16_t height = AddInteger(SubInteger(range.Bottom, range.Top), 1);
    const int16_t width = AddInteger(SubInteger(range.Right, range.Left), 1);
    hooks.SetMaximum(MulLong(2, height));

    const ColourLevels line{FineLevel(lineColour, 0), FineLevel(lineColour, 8),
                            FineLevel(lineColour, 16)};
    LineMask mask(std::max<int16_t>(width, 0), std::max<int16_t>(height, 0));
    for (int16_t y = range.Top; y <= range.Bottom; ++y) {
        const int16_t j = AddInteger(SubInteger(y, range.Top), 1);
        for (int16_t x = range.Left; x <= range.Right; ++x) {
            const uint32_t c = picture.PixelAt(x, y);
            if (ColourLevels{FineLevel(c, 0), FineLevel(c, 8), FineLevel(c, 16)} == line)
                mask.Set(AddInteger(SubInteger(x, range.Left), 1), j, true);
            if (x == range.Right)
                break;
        }
        if (y % 10 == 0)
            hooks.SetProgress(j);
        hooks.YieldOnce();
        if (y == range.Bottom)
            break;
    }
    hooks.SetProgress(height);

    mem[1] = Mk;
    mem[2] = line.R;
    mem[3] = line.G;
    mem[4] = line.B;
    int32_t p = 5;
    ScanOutcome outcome = ScanOutcome::Completed;
    const auto writePoint = [&](EventCode code, int16_t cx, int16_t cy) {
        mem[p] = code;
        mem[p + 1] = SubInteger(cx, 1);
        mem[p + 2] = SubInteger(cy, 1);
        p += 3;
    };
    for (int16_t j = 1; j <= height; ++j) {
        for (int16_t i = 1; i <= width; ++i) {
            if (mask.At(i, j)) {
                writePoint(St, i, j);
                mask.Set(i, j, false);
                int16_t cx = i, cy = j, d = 0, n = 0;
                while (d != Stop.Code) {
                    const Direction& e = FirstNeighbour(mask, cx, cy);
                    if (e.Code == d)
                        n = AddInteger(n, 1);
                    if (e.Code != d || n == MaxRepeatedSteps) {
                        writePoint(Mv, cx, cy);
                        d = e.Code;
                        n = 0;
                    }
                    cx = AddInteger(cx, e.Dx);
                    cy = AddInteger(cy, e.Dy);
                    mask.Set(cx, cy, false);
                    if (p > LineArtStepLimit) {
                        outcome = ScanOutcome::StoppedByCapacity;
                        break;
                    }
                }
                mem[p] = Ed;
                p += 1;
            }
            if (p > LineArtCellLimit) {
                outcome = ScanOutcome::StoppedByCapacity;
                break;
            }
            if (i == width)
                break;
        }
        if (outcome != ScanOutcome::Completed)
            break;
        if (j % 10 == 0)
            hooks.SetProgress(height + j);
        hooks.YieldOnce();
        if (j == height)
            break;
    }
    hooks.SetProgress(2 * height);
    return {outcome, p};
}

}  // namespace inkrelay
