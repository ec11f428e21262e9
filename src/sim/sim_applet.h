#pragma once
// A drawing applet as the program assumes it behaves: a white canvas the left button paints on
// and the right button picks colours from, and red, green and blue bars of levels 0..51 the left
// button sets. Input comes as the window would get it; the pixels go to a PixelSurface.

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "applet_layout.h"
#include "desktop/desktop.h"
#include "draw/applet_profile.h"
#include "pixel_surface.h"

namespace inkrelay {

// How the applet is placed and how it misbehaves; the defaults behave.
struct SimAppletOptions {
    int16_t Applet = 0;  // index into the applet profiles
    AppletPlace Place;
    int16_t Layout = 0;             // whose pitch the bars are drawn at
    int32_t DropEveryNthPress = 0;  // the n-th, 2n-th, ... accepted bar press is lost; 0 none
    int32_t PaintLag = 0;           // this many calls after a paint do not see it yet
    bool IgnorePickUp = false;
    bool Dead = false;  // takes no input at all

    // The browser applets' ways, each on its own so tests can show what each one does.
    // 13-row bars, an alpha bar, an unsafe row above each bar, all drawn as the real applets'
    // boxes (browser_look.h) on their page, the canvas framed.
    bool BrowserBars = false;
    bool PointerMark = false;  // a 2 x 2 inverted mark at the pointer while the button is held
    int32_t FrameMicros = 0;   // paint reaches the surface only at frame ticks; 0 at once
    // Moves inside one drag that come sooner than this after the last one handed on are held,
    // and a newer move replaces a held one: the corner it made is lost.
    int32_t MergeMovesMicros = 0;

    // A browser applet takes its input from a queue, in order and losing none, at its own pace:
    // each button event and each move handed on costs it this much time, so a sender that goes
    // faster only builds a backlog. Queued input is handled by Clock(). 0 with no stall: every
    // input is handled as it comes.
    int32_t EventCostMicros = 0;
    // After every n-th stroke on the canvas (a left release ending a canvas gesture) is handled,
    // the applet handles nothing for StallMicros; a stall queues input even at no cost.
    int32_t StallEveryNthStroke = 0;
    int32_t StallMicros = 0;
};

// The options of a browser applet (4 or 5) with all of its ways switched on: PaintBBS NEO
// merges moves less than 5 ms apart, しぃペインター NEO those within one 60 Hz frame. Input is
// handled as it comes.
SimAppletOptions BrowserAppletOptions(int16_t applet);

// BrowserAppletOptions(applet) taking its input as fast as the real applet does, on a canvas of
// canvasPixels pixels: PaintBBS NEO also stalls after every 10th stroke for longer the larger
// the canvas. std::invalid_argument for an applet other than 4 or 5 or a negative count.
SimAppletOptions RealisticBrowserApplet(int16_t applet, int32_t canvasPixels);

class SimApplet {
  public:
    // Draws the white canvas and the bars on surface, which must hold them and outlive the
    // applet; the browser bars' page and the canvas's frame are left out where they fall off it.
    // Invalid property value (380) for an unknown applet; std::invalid_argument for a bad layout
    // or place (see AppletLayout), a negative count, or a canvas or bars off the surface.
    SimApplet(const SimAppletOptions& options, PixelSurface& surface);

    // A button went down or up with the pointer at `at`.
    void Mouse(MouseAction action, ScreenPoint at);
    // The pointer moved to `to`, with the left button held or not.
    void Move(ScreenPoint to, bool leftHeld);
    // The program made one call to its desktop; late paints count these.
    void Tick();
    // The time now, in microseconds from any start: held moves are handed on, queued input is
    // handled up to now, and a frame that came is shown with the input handled by its time.
    void Clock(int64_t nowMicros);

    // Whether input waits in the queue for Clock() rather than being handled as it comes.
    bool QueuesInput() const { return queues_; }
    // Input events queued and not handled yet.
    size_t Backlog() const { return queue_.size(); }
    // When the oldest queued input will have been handled, on Clock()'s time; nothing queued,
    // nothing.
    std::optional<int64_t> NextHandlingMicros() const;
    // When paint or the mark last changed what the surface shows, on Clock()'s time; nothing
    // before the first change.
    std::optional<int64_t> LastShownChangeMicros() const { return lastShownChange_; }

    const std::array<int16_t, 3>& Levels() const { return levels_; }
    uint32_t Colour() const;  // 0x00BBGGRR, 5 x the levels
    ScreenPoint CanvasOrigin() const { return options_.Place.Canvas; }
    ScreenPoint BarPoint() const { return options_.Place.Bars; }  // the red bar at Origin
    int32_t BarRow(int channel) const { return layout_.BarRow(channel); }
    // The canvas as painted so far, 0x00BBGGRR row by row, without the pointer mark and
    // including paint a frame has not shown yet.
    std::vector<uint32_t> CanvasPixels() const;
    const SimAppletOptions& Options() const { return options_; }
    const AppletProfile& Profile() const { return profile_; }

  private:
    enum class Gesture { None, Canvas, Bar };
    struct LatePaint {
        ScreenPoint At;
        uint32_t Colour;
        int32_t CallsLeft;
    };
    // One input as the applet takes it, after merging.
    struct Input {
        bool IsMove = false;
        MouseAction Action{};  // of a button event
        ScreenPoint At;
        bool LeftHeld = false;  // of a move
        int64_t Arrival = 0;
    };

    void DrawApplet();
    void DrawBrowserPage();
    // Redraws each browser bar box whose value changed since it was last drawn.
    void ShowBars();
    // Input arriving: merged moves are held here, the rest handed on to HandOn.
    void FlushHeldMove();
    void HandOn(Input input);
    void HandleUpTo(int64_t until);
    // Input taken by the applet, at once or from the queue.
    void Handle(const Input& input);
    void HandleMouse(MouseAction action, ScreenPoint at);
    void HandleMove(ScreenPoint to, bool leftHeld);
    void LeftDown(ScreenPoint at);
    void EndGesture();
    // Lands a paint on the canvas; the surface shows it at the next Present.
    void Land(ScreenPoint at, uint32_t colour);
    // Brings the surface up to the canvas, the mark and the browser bars' values, as of the time
    // at: at once, or at a frame tick.
    void Present(int64_t at);
    void Changed();
    size_t CanvasIndex(ScreenPoint at) const;
    // The canvas pixel as the applet knows it: its own paint not shown yet, or what the
    // surface shows without the mark.
    uint32_t CanvasAt(ScreenPoint at) const;
    void PressBar(const BarHit& hit);
    void DragTo(ScreenPoint to);
    void BarDrag(ScreenPoint to);
    void Paint(ScreenPoint at);
    void PickUp(ScreenPoint at);

    SimAppletOptions options_;
    const AppletProfile& profile_;
    AppletLayout layout_;
    PixelSurface& surface_;
    std::array<int16_t, 3> levels_{};
    std::array<int, 4> shownValues_{-1, -1, -1, -1};  // what each box shows; -1 not drawn yet
    Gesture gesture_ = Gesture::None;
    int barChannel_ = 0;
    ScreenPoint pointer_;
    int64_t acceptedPresses_ = 0;
    std::deque<LatePaint> late_;

    struct MarkedPixel {
        ScreenPoint At;
        uint32_t Under;  // what the surface showed before the mark
    };

    std::vector<uint32_t> canvas_;     // the latest paint of every pixel the applet painted
    std::vector<ScreenPoint> dirty_;   // painted pixels the surface does not show yet
    std::vector<MarkedPixel> marked_;  // pixels the surface shows inverted
    bool markWanted_ = false;
    int64_t now_ = 0;
    int64_t lastFrame_ = 0;
    std::optional<int64_t> lastShownChange_;

    // Arrival: the drag as the merging sees it, before the queue.
    bool draggingCanvas_ = false;
    int64_t lastHandedOn_ = 0;
    std::optional<ScreenPoint> heldMove_;

    // The queue and the applet's own time.
    bool queues_ = false;
    std::deque<Input> queue_;
    int64_t busyUntil_ = 0;   // the end of the last input handled, or of the stall after it
    int64_t handlingAt_ = 0;  // the time of what the applet does now
    int64_t strokes_ = 0;
    uint32_t unsafeSeed_ = 0x2545F491u;
};

}  // namespace inkrelay
