#pragma once
// The scan range as the state record holds it, and the range procedures that draw on the
// working picture.

#include "image/range_selection.h"

namespace inkrelay {

struct AppState;
struct Program;

RangeSlots StoredRange(const AppState& state);
void StoreRange(AppState& state, const RangeSlots& range);

// No range: the flag dropped, the slots zeroed, the drawn layer cleared; errors reported.
void ClearRange(Program& program);
// Inverts the stored range's outline on the working picture; errors reported.
void ToggleRangeOutline(Program& program);

}  // namespace inkrelay
