#include "scan/quantizer.h"

#include "checked_int.h"

namespace inkrelay {

QuantizerRules QuantizerRulesFor(int16_t quality) {
    return {quality != 0 ? CoarseRule : FineRule, quality == 2 ? CoarseRule : FineRule};
}

int16_t QuantizeChannel(const QuantizerRules& rules, int32_t channel) {
    const QuantizerRule& rule = channel <= 127 ? rules.Dark : rules.Light;
    return ToInteger((channel + rule.Add) / rule.Divisor * rule.Multiplier);
}

ColourLevels QuantizeColour(const QuantizerRules& rules, uint32_t colour) {
    return {QuantizeChannel(rules, static_cast<int32_t>(colour & 0xFF)),
            QuantizeChannel(rules, static_cast<int32_t>((colour >> 8) & 0xFF)),
            QuantizeChannel(rules, static_cast<int32_t>((colour >> 16) & 0xFF))};
}

namespace {
int16_t MarkedLevel(int16_t level, int16_t before) {
    return level == before ? NegInteger(level) : level;
}
}  // namespace

int32_t WriteMk(EventMemory& mem, int32_t p, const ColourLevels& colour,
                const ColourLevels& before) {
    mem[p] = Mk;
    mem[p + 1] = MarkedLevel(colour.R, before.R);
    mem[p + 2] = MarkedLevel(colour.G, before.G);
    mem[p + 3] = MarkedLevel(colour.B, before.B);
    return p + 4;
}

}  // namespace inkrelay
