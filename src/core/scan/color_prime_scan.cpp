#include "scan/color_prime_scan.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "checked_int.h"
#include "scan/inkjet_scan.h"
#include "scan/quantizer.h"

namespace inkrelay {

namespace {

struct DecodedKey {
    ColourLevels Colour = NoColour;
    int16_t X = 0;
    int16_t Y = 0;
};

DecodedKey Decode(int64_t key) {
    const auto part = [key](int64_t divisor, int64_t modulus) {
        return static_cast<int16_t>(key / divisor % modulus);
    };
    return {{part(1'000'000'000'000, 100), part(10'000'000'000, 100), part(100'000'000, 100)},
            part(1, 10'000),
            part(10'000, 10'000)};
}

bool SameRun(const DecodedKey& left, const DecodedKey& right) {
    return left.Colour == right.Colour && left.Y == right.Y && left.X + 1 == right.X;
}

}  // namespace

int64_t PixelKey(int16_t r, int16_t g, int16_t b, int16_t x, int16_t y) {
    return 100'000'000'000'000 + r * int64_t{1'000'000'000'000} + g * int64_t{10'000'000'000} +
           b * int64_t{100'000'000} + y * int64_t{10'000} + x;
}

int32_t NextCombGap(int32_t gap) {
    // ⌊gap / 1.3⌋ in double precision, as written, not gap × 10 \ 13.
    auto next = static_cast<int32_t>(static_cast<double>(gap) / 1.3);
    if (next == 9 || next == 10)
        next = 11;
    return next < 1 ? 1 : next;
}

void SortKeys(std::span<int64_t> keys) {
    auto gap = static_cast<int32_t>(keys.size());
    bool sorted = false;
    while (gap > 1 || !sorted) {
        gap = NextCombGap(gap);
        sorted = true;
        for (size_t i = 0; i + static_cast<size_t>(gap) < keys.size(); ++i) {
            if (keys[i] > keys[i + static_cast<size_t>(gap)]) {
                std::swap(keys[i], keys[i + static_cast<size_t>(gap)]);
                sorted = false;
            }
        }
    }
}

ScanResult ScanColorPrime(const Picture& picture, const RangeSlots& range, int16_t quality,
                          EventMemory& mem, const ScanHooks& hooks) {
    const QuantizerRules rules = QuantizerRulesFor(quality);
    const int16_t height = AddInteger(SubInteger(range.Bottom, range.Top), 1);
    const int16_t width = AddInteger(SubInteger(range.Right, range.Left), 1);
    hooks.SetMaximum(MulLong(2, height));

    // Room for every pixel of the range, which is what 1,440,000 is for the largest one.
    std::vector<int64_t> keys;
    keys.reserve(static_cast<size_t>(std::max<int32_t>(0, MulLong(width, height))));
    for (int16_t y = range.Top; y <= range.Bottom; ++y) {
        const int16_t row = SubInteger(y, range.Top);
        for (int16_t x = range.Left; x <= range.Right; ++x) {
            const ColourLevels c = QuantizeColour(rules, picture.PixelAt(x, y));
            if (!IsWhite(c))
                keys.push_back(PixelKey(c.R, c.G, c.B, SubInteger(x, range.Left), row));
            if (x == range.Right)
                break;
        }
        if (y % 10 == 0)
            hooks.SetProgress(row + 1);
        hooks.YieldOnce();
        if (y == range.Bottom)
            break;
    }
    hooks.SetProgress(height);

    SortKeys(keys);

    const auto count = static_cast<int32_t>(keys.size());
    hooks.SetMaximum(MulLong(2, AddLong(count, 1)));
    hooks.SetProgress(count + 1);
    int32_t p = 1;
    ScanOutcome outcome = ScanOutcome::Completed;
    DecodedKey previous;
    DecodedKey current;
    DecodedKey next = count > 0 ? Decode(keys[0]) : DecodedKey{};
    for (int32_t i = 1; i <= count; ++i) {
        previous = current;
        current = next;
        next = i < count ? Decode(keys[static_cast<size_t>(i)]) : DecodedKey{};

        if (current.Colour != previous.Colour)
            p = WriteMk(mem, p, current.Colour, previous.Colour);
        const bool fromPrevious = SameRun(previous, current);
        const bool intoNext = SameRun(current, next);
        if (fromPrevious && !intoNext) {
            mem[p + 2] = current.X;
            mem[p + 3] = current.Y;
            p += 4;
        } else if (!fromPrevious && intoNext) {
            mem[p] = CL;
            mem[p + 1] = current.X;
        } else if (!fromPrevious && !intoNext) {
            mem[p] = CD;
            mem[p + 1] = current.X;
            mem[p + 2] = current.Y;
            p += 3;
        }
        if (p > FullColourCellLimit) {
            outcome = ScanOutcome::StoppedByCapacity;
            break;
        }
        if (i % 1000 == 0)
            hooks.SetProgress(count + 1 + i);
        hooks.YieldOnce();
    }
    hooks.SetProgress(2 * (count + 1));
    return {outcome, p};
}

}  // namespace inkrelay
