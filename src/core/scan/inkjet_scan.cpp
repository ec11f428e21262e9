#include "scan/inkjet_scan.h"

#include <vector>

#include "checked_int.h"
#include "scan/quantizer.h"

namespace inkrelay {

namespace {

struct Offset {
    int16_t X = -1;
    int16_t Y = -1;
};

size_t FirstPosIndex(const ColourLevels& c) {
    return (static_cast<size_t>(c.R) * 52 + static_cast<size_t>(c.G)) * 52 +
           static_cast<size_t>(c.B);
}

bool Continues(const ColourLevels& neighbour, const ColourLevels& current) {
    return !IsWhite(neighbour) && neighbour == current;
}

}  // namespace

ScanResult ScanInkjet(const Picture& picture, const RangeSlots& range, int16_t quality,
                      EventMemory& mem, const ScanHooks& hooks) {
    const QuantizerRules rules = QuantizerRulesFor(quality);
    std::vector<Offset> firstPos(size_t{52} * 52 * 52);
    int32_t p = 1;
    ColourLevels last = NoColour;
    hooks.SetMaximum(AddInteger(SubInteger(range.Bottom, range.Top), 1));

    for (int16_t y = range.Top; y <= range.Bottom; ++y) {
        const int16_t rowOffset = SubInteger(y, range.Top);
        ColourLevels previous = NoColour;
        ColourLevels current = NoColour;
        ColourLevels next = NoColour;
        for (int16_t x = range.Left; x <= range.Right; ++x) {
            const int16_t column = SubInteger(x, range.Left);
            if (x == range.Left) {
                previous = NoColour;
                current = QuantizeColour(rules, picture.PixelAt(x, y));
            } else {
                previous = current;
                current = next;
            }
            next = x == range.Right ? NoColour
                                    : QuantizeColour(rules, picture.PixelAt(AddInteger(x, 1), y));

            if (!IsWhite(current)) {
                if (current != last) {
                    Offset& first = firstPos[FirstPosIndex(current)];
                    if (first.X == -1 && first.Y == -1) {
                        first = {column, rowOffset};
                        p = WriteMk(mem, p, current, last);
                    } else {
                        mem[p] = Gt;
                        mem[p + 1] = first.X;
                        mem[p + 2] = first.Y;
                        p += 3;
                    }
                    last = current;
                }
                const bool fromPrevious = Continues(previous, current);
                const bool intoNext = Continues(next, current);
                if (fromPrevious && !intoNext) {
                    mem[p + 2] = column;
                    p += 3;
                } else if (!fromPrevious && intoNext) {
                    mem[p] = Ln;
                    mem[p + 1] = column;
                } else if (!fromPrevious && !intoNext) {
                    mem[p] = Dt;
                    mem[p + 1] = column;
                    p += 2;
                }
            }
            if (x == range.Right) {
                mem[p] = Cr;
                p += 1;
            }
            if (p > FullColourCellLimit)
                return {ScanOutcome::StoppedByCapacity, p};
            if (x == range.Right)
                break;  // x + 1 could pass the 16-bit range at column 32767
        }
        if (y % 10 == 0)
            hooks.SetProgress(rowOffset + 1);
        hooks.YieldOnce();
        if (y == range.Bottom)
            break;
    }
    return {ScanOutcome::Completed, p};
}

}  // namespace inkrelay
