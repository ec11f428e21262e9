#pragma once
// Checks the four range slots of the state record at once.

#include <gtest/gtest.h>

#include "app/app_state.h"

namespace inkrelay::test {

inline void ExpectRange(const AppState& state, int16_t left, int16_t top, int16_t right,
                        int16_t bottom) {
    const auto& c = state.Coords;
    EXPECT_EQ(c[Coord::RangeLeft], left);
    EXPECT_EQ(c[Coord::RangeTop], top);
    EXPECT_EQ(c[Coord::RangeRight], right);
    EXPECT_EQ(c[Coord::RangeBottom], bottom);
}

}  // namespace inkrelay::test
