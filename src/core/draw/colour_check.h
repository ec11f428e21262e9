#pragma once
// The colour check after a drawing event: which pixel shows whether the event took, what it
// must read, and where the replay resumes when it does not.

#include <cstdint>
#include <optional>

#include "desktop/desktop.h"
#include "scan/draw_list.h"

namespace inkrelay {

struct CheckPoint {
    ScreenPoint At;
    // After a pick-up only white fails; otherwise anything but the expected colour does.
    bool OnlyWhiteFails = false;
    int32_t ResumeAt = 0;  // the Mk or Gt that selected the colour
};

// What the run knows when it checks; i points past the event just replayed.
struct CheckContext {
    int32_t i = 0;
    ScreenPoint DrawPos;
    int16_t Row = 0;
    int32_t RmkPnt = 0;
    int32_t RgtPnt = 0;
};

// The pixel to read for an event of code 2 to 9; none for Cr, whose verdict is the previous
// one. Screen coordinates leaving 16 bits raise overflow (6).
std::optional<CheckPoint> CheckPointOf(int16_t code, const EventMemory& mem,
                                       const CheckContext& context);

// The verdict: 0 for a pass, else the resume index (which is 0 too before any colour event).
int32_t CheckVerdict(const CheckPoint& point, uint32_t pixel, int32_t expectedColour);

}  // namespace inkrelay
