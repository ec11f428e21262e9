#include "draw/applet_profile.h"

#include <algorithm>

#include "checked_int.h"
#include "runtime_error.h"

namespace inkrelay {

namespace {

// clang-format off
constexpr std::array<AppletProfile, AppletCount> Profiles = {{
    // name, pitches, origin, bar click, line-end extension, waypoints, vertex re-press,
    // batch sleep, paced by the canvas, captures snapped
    {"PaintChatEasy v2.**", {15, 18}, 0, BarClick::PressDragAbove49, 0, false, false, true, false,
     false},
    {"PaintBBS v2.**", {15, 18}, 0, BarClick::PressDragAbove49, 0, false, false, false, false,
     false},
    {"OekakiBBS ver.2.**", {30, 30}, 0, BarClick::Plain, 0, true, false, false, false, false},
    {"しぃペインター通常版 v1.070以降", {14, 20}, 2, BarClick::ClampedPressDrag, 1, false, true,
     false, false, false},
    // The browser applets: bars 13 rows high and 16 apart, any level set by a plain click, a
    // browser that merges the moves of one drag, so every stroke segment is its own press, and
    // input taken from a queue at the applet's own rate, and a widget known by sight.
    {"PaintBBS NEO", {16, 16}, 0, BarClick::Plain, 0, false, true, false, true, true},
    {"しぃペインター NEO", {16, 16}, 0, BarClick::Plain, 0, false, true, false, true, true},
}};
// clang-format on

}  // namespace

const AppletProfile* FindProfile(int16_t applet) {
    if (applet < 0 || applet >= AppletCount)
        return nullptr;
    return &Profiles[static_cast<size_t>(applet)];
}

const AppletProfile& ProfileOf(int16_t applet) {
    const AppletProfile* profile = FindProfile(applet);
    if (profile == nullptr)
        throw RuntimeError(ErrorCode::InvalidPropertyValue);
    return *profile;
}

int16_t CapturedRedValue(int16_t applet) {
    const AppletProfile* profile = FindProfile(applet);
    return profile == nullptr ? int16_t{0} : static_cast<int16_t>(5 * profile->Origin);
}

void ClickBar(PointerActions& act, const AppletProfile& profile, int16_t barX, int16_t v,
              int16_t y) {
    const auto x = [&](int16_t level) {
        return SubInteger(AddInteger(barX, level), profile.Origin);
    };
    constexpr MouseButton Left = MouseButton::Left;
    switch (profile.Click) {
        case BarClick::PressDragAbove49:
            if (v <= 49) {
                act.ClickAt(Left, x(v), y);
                return;
            }
            act.PressAt(Left, x(49), y);
            act.Settle();
            act.MoveTo(x(v), y);
            break;
        case BarClick::Plain: act.ClickAt(Left, x(v), y); return;
        case BarClick::ClampedPressDrag:
            act.PressAt(Left, x(std::max<int16_t>(2, std::min<int16_t>(v, 49))), y);
            act.Settle();
            act.MoveTo(x(v), y);
            break;
    }
    act.SettleAndRelease(Left);
}

}  // namespace inkrelay
