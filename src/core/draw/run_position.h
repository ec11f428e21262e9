#pragma once
// Where a drawing run stands in its list, by the engine's own names: what the run replays next,
// the row its dots and runs go on, and the events a failed check or a declined abort goes back
// to. The run, its resume point, a failed check, the check and the log's error line all read
// one of these.

#include <cstdint>

namespace inkrelay {

struct RunPosition {
    int32_t i = 1;  // the code cell of the next event
    int16_t Row = 0;
    int16_t SavedRow = 0;  // Row at the last Mk or Gt
    int32_t RmkPnt = 0;    // the last Mk replayed, 0 for none
    int32_t RgtPnt = 0;    // the last Gt replayed, 0 for none
    int32_t RsmPnt = 0;    // the last drawing event that starts a gesture

    // The colour in force was picked up from the canvas rather than set on the bars.
    bool PickedUp() const { return RmkPnt < RgtPnt; }
};

}  // namespace inkrelay
