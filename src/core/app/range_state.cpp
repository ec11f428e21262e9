#include "app/range_state.h"

#include "app/error_report.h"
#include "app/program.h"

namespace inkrelay {

RangeSlots StoredRange(const AppState& state) {
    const auto& c = state.Coords;
    return {c[Coord::RangeLeft], c[Coord::RangeTop], c[Coord::RangeRight], c[Coord::RangeBottom]};
}

void StoreRange(AppState& state, const RangeSlots& range) {
    auto& c = state.Coords;
    c[Coord::RangeLeft] = range.Left;
    c[Coord::RangeTop] = range.Top;
    c[Coord::RangeRight] = range.Right;
    c[Coord::RangeBottom] = range.Bottom;
}

void ClearRange(Program& program) {
    RunHandler(program, [&] {
        program.State.RangeSelected = false;
        StoreRange(program.State, RangeSlots{});
        program.Image.WorkingPicture.Cls();
    });
}

void ToggleRangeOutline(Program& program) {
    RunHandler(program, [&] {
        const RangeSlots r = StoredRange(program.State);
        program.Image.WorkingPicture.ToggleRangeOutline(r.Left, r.Top, r.Right, r.Bottom);
    });
}

}  // namespace inkrelay
