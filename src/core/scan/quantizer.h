#pragma once
// The colour quantiser shared by the full-colour scanners: channel values 0..255 to levels
// 0..51 by a fine or a coarse rule for each half of the channel, chosen by the quality.

#include <cstdint>

#include "scan/draw_list.h"

namespace inkrelay {

// level = (c + Add) \ Divisor × Multiplier
struct QuantizerRule {
    int16_t Add;
    int16_t Divisor;
    int16_t Multiplier;
};

inline constexpr QuantizerRule FineRule{2, 5, 1};
inline constexpr QuantizerRule CoarseRule{7, 15, 3};

// The six-entry table of one scan.
struct QuantizerRules {
    QuantizerRule Dark;   // c <= 127
    QuantizerRule Light;  // c >= 128
};

// Coarse dark half for any quality but 0, coarse light half for quality 2 only.
QuantizerRules QuantizerRulesFor(int16_t quality);

int16_t QuantizeChannel(const QuantizerRules& rules, int32_t channel);

struct ColourLevels {
    int16_t R = 0;
    int16_t G = 0;
    int16_t B = 0;
    bool operator==(const ColourLevels&) const = default;
};

// No pixel / nothing selected yet; outside the level range, and white.
inline constexpr ColourLevels NoColour{52, 52, 52};

inline bool IsWhite(const ColourLevels& c) {
    return c.R + c.G + c.B >= 153;
}

// Quantises the three channels of a 0x00BBGGRR value independently.
ColourLevels QuantizeColour(const QuantizerRules& rules, uint32_t colour);

// Writes Mk at cells p .. p + 3, negating each level equal to the same channel of the colour
// selected before (a zero stays zero); returns the next free cell.
int32_t WriteMk(EventMemory& mem, int32_t p, const ColourLevels& colour,
                const ColourLevels& before);

}  // namespace inkrelay
