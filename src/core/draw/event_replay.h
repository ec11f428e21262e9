#pragma once
// One draw-list event turned into pointer gestures over the applet: bar clicks for a colour, a
// right click for a pick-up, presses and drags over the canvas for the drawing events.

#include <array>
#include <cstdint>
#include <optional>

#include "desktop/desktop.h"
#include "draw/applet_profile.h"
#include "draw/pointer_actions.h"
#include "scan/draw_list.h"

namespace inkrelay {

// An event with its operands read once, where the walker stands.
struct DrawEvent {
    int32_t At = 0;  // its code cell
    EventCode Code = Mk;
    std::array<int16_t, 3> Operands{};

    int32_t Next() const { return At + EventCells[Code]; }
};

DrawEvent DecodeEvent(const EventWalker& walker);

// The screen places a run draws at: the canvas's top-left pixel and the rows of both bar
// layouts, from the positions the run starts with.
struct DrawPlaces {
    ScreenPoint DrawPos;
    int16_t RGBBarX = 0;
    std::array<std::array<int16_t, 3>, 2> BarRowY{};

    // 16-bit overflow (6) where a row leaves the range.
    static DrawPlaces Of(const AppletProfile& profile, ScreenPoint drawPos, ScreenPoint rgbBarPos);
    int16_t ScreenX(int32_t offset) const;
    int16_t ScreenY(int32_t offset) const;
};

class EventReplayer {
  public:
    EventReplayer(PointerActions& act, const AppletProfile& profile, const DrawPlaces& places)
        : act_(act), profile_(profile), places_(places) {}

    // Sets the Mk's levels on the bars of the layout; a negative level is taken to be on its bar
    // already, unless allBars asks for every bar to be set again.
    void SelectLevels(const DrawEvent& mk, int16_t layout, bool allBars);
    // Picks the Gt's colour up with a right click.
    void PickUp(const DrawEvent& gt);
    // Draws a Dt, Ln, CD, CL, St, Mv or Ed (Dt and Ln on the screen row `row`) and gives the
    // point whose colour shows whether it took: a dot, a run's last pixel, the point a stroke
    // pressed or reached, for Ed the stroke's last point. Nothing for the other codes.
    std::optional<ScreenPoint> Draw(const DrawEvent& event, int16_t row);
    // Ends a press the run leaves: a stroke broken off by a check or an abort.
    void LiftLeft();

  private:
    void Dot(int16_t x, int16_t y);
    void Run(int16_t x1, int16_t x2, int16_t y);

    PointerActions& act_;
    const AppletProfile& profile_;
    const DrawPlaces& places_;
    ScreenPoint vertex_;  // the last point a stroke pressed or reached
};

}  // namespace inkrelay
