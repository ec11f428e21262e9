#pragma once
// A channel of a picture with alpha as it shows on white, rounded to nearest: the one rule for
// every loader, so a picture's colours do not depend on the format it came in.

#include <cstdint>

namespace inkrelay {

// (c·a + max·(max − a)) / max scaled to 0..255; the divisors are odd, so there are no ties.
constexpr uint8_t OnWhite8(uint32_t c, uint32_t a) {
    return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

constexpr uint8_t OnWhite16(uint64_t c, uint64_t a) {
    constexpr uint64_t divisor = uint64_t{65535} * 65535;
    const uint64_t scaled = (c * a + 65535 * (65535 - a)) * 255;
    return static_cast<uint8_t>((scaled + divisor / 2) / divisor);
}

}  // namespace inkrelay
