#include "draw/event_replay.h"

#include <cstdlib>

#include "checked_int.h"

namespace inkrelay {

namespace {
constexpr MouseButton Left = MouseButton::Left;
}  // namespace

DrawEvent DecodeEvent(const EventWalker& walker) {
    const EventView view = walker.Current();
    DrawEvent event{view.Position, view.Code, {}};
    for (int32_t k = 0; k + 1 < EventCells[view.Code]; ++k)
        event.Operands[static_cast<size_t>(k)] = walker.Operand(k);
    return event;
}

DrawPlaces DrawPlaces::Of(const AppletProfile& profile, ScreenPoint drawPos,
                          ScreenPoint rgbBarPos) {
    DrawPlaces places{drawPos, rgbBarPos.X, {}};
    for (size_t layout = 0; layout < 2; ++layout)
        for (int16_t c = 0; c < 3; ++c)
            places.BarRowY[layout][static_cast<size_t>(c)] =
                AddInteger(rgbBarPos.Y, MulInteger(c, profile.Pitch[layout]));
    return places;
}

int16_t DrawPlaces::ScreenX(int32_t offset) const {
    return ToInteger(int64_t{DrawPos.X} + offset);
}

int16_t DrawPlaces::ScreenY(int32_t offset) const {
    return ToInteger(int64_t{DrawPos.Y} + offset);
}

void EventReplayer::SelectLevels(const DrawEvent& mk, int16_t layout, bool allBars) {
    for (size_t c = 0; c < 3; ++c) {
        const int16_t v = mk.Operands[c];
        if (v >= 0 || allBars)
            ClickBar(act_, profile_, places_.RGBBarX, ToInteger(std::abs(int32_t{v})),
                     places_.BarRowY[static_cast<size_t>(layout)][c]);
    }
}

void EventReplayer::PickUp(const DrawEvent& gt) {
    act_.ClickAt(MouseButton::Right, places_.ScreenX(gt.Operands[0]),
                 places_.ScreenY(gt.Operands[1]));
}

std::optional<ScreenPoint> EventReplayer::Draw(const DrawEvent& e, int16_t row) {
    const auto x = [&](size_t k) { return places_.ScreenX(e.Operands[k]); };
    const auto y = [&](size_t k) { return places_.ScreenY(e.Operands[k]); };
    switch (e.Code) {
        case Dt: Dot(x(0), row); return ScreenPoint{x(0), row};
        case Ln: Run(e.Operands[0], e.Operands[1], row); return ScreenPoint{x(1), row};
        case CD: Dot(x(0), y(1)); return ScreenPoint{x(0), y(1)};
        case CL: {
            const int16_t screenY = y(2);
            Run(e.Operands[0], e.Operands[1], screenY);
            return ScreenPoint{x(1), screenY};
        }
        case St:
            vertex_ = {x(0), y(1)};
            act_.PressAt(Left, vertex_.X, vertex_.Y);
            return vertex_;
        case Mv:
            vertex_ = {x(0), y(1)};
            act_.MoveTo(vertex_.X, vertex_.Y);
            act_.Settle();
            if (profile_.RepressAtVertices) {
                act_.Release(Left);
                act_.Settle();
                act_.Press(Left);
            }
            return vertex_;
        case Ed: act_.Release(Left); return vertex_;
        case Mk:
        case Gt:
        case Cr: break;
    }
    return std::nullopt;
}

void EventReplayer::LiftLeft() {
    act_.Release(Left);
}

void EventReplayer::Dot(int16_t x, int16_t y) {
    act_.ClickAt(Left, x, y);
}

void EventReplayer::Run(int16_t x1, int16_t x2, int16_t y) {
    act_.PressAt(Left, places_.ScreenX(x1), y);
    act_.Settle();
    if (profile_.Waypoints && int32_t{x2} - x1 > WaypointStep) {
        for (int32_t w = int32_t{x1} + WaypointStep; w <= x2; w += WaypointStep) {
            act_.MoveTo(places_.ScreenX(w), y);
            act_.Settle();
        }
    }
    act_.MoveTo(places_.ScreenX(int32_t{x2} + profile_.LineEndExtension), y);
    act_.SettleAndRelease(Left);
}

}  // namespace inkrelay
