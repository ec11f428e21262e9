#pragma once
// What the program assumes of each applet it can draw into: where the colour bars lie, how a
// level is best set on a bar, and a few details of drawing lines and strokes.

#include <array>
#include <cstdint>
#include <string_view>

#include "desktop/desktop.h"
#include "draw/pointer_actions.h"

namespace inkrelay {

enum class BarClick {
    PressDragAbove49,  // a press above level 49 is refused: press at 49 and drag
    Plain,             // a plain click at the level
    ClampedPressDrag,  // press within 2..49, then drag to the level
};

struct AppletProfile {
    std::string_view Name;         // the item of the applet list
    std::array<int16_t, 2> Pitch;  // rows between bars, layout 0 and layout 1
    int16_t Origin;                // level of the captured point on the red bar
    BarClick Click;
    int16_t LineEndExtension;  // columns added to a line's end column
    bool Waypoints;            // long lines are dragged through points 127 apart
    bool RepressAtVertices;    // each stroke segment is a separate drag
    bool BatchSleep;           // sleeps after every 200th event
    // Takes input from a queue at its own rate and shows paint a frame later: the run sends only
    // a short window ahead of what the canvas shows, and checks each point once it has shown.
    bool PacedByCanvas;
    // Its bars and canvas look as the program knows them: a capture takes the exact point near
    // the click.
    bool SnapsCaptures;
};

inline constexpr int16_t AppletCount = 6;

// The profile of Applet; a value outside the list is invalid property value (380).
const AppletProfile& ProfileOf(int16_t applet);
// The same, or null outside the list.
const AppletProfile* FindProfile(int16_t applet);
// The channel value the RGB bar position stands for on the red bar: 5 x origin (0 outside the
// list).
int16_t CapturedRedValue(int16_t applet);

// Longest single drag step on applets with waypoints.
inline constexpr int16_t WaypointStep = 127;

// Sets one channel: level v (0..51) on the bar whose screen row is y. barX is RGBBarX.
void ClickBar(PointerActions& act, const AppletProfile& profile, int16_t barX, int16_t v,
              int16_t y);

}  // namespace inkrelay
