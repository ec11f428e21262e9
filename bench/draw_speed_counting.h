#pragma once
// The harness's desktop: another desktop with every call the drawing makes counted and timed,
// and Esc read as held at a chosen poll, so that a run can be stopped after a given number of
// draw-list events (the engine polls Esc once after each).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/desktop.h"
#include "draw/drawing_run.h"
#include "draw_speed_lists.h"

namespace inkrelay::speed {

// Calls of one kind the harness made and the wall time spent inside them.
struct Tally {
    int64_t Calls = 0;
    double Seconds = 0;
};

struct HarnessTallies {
    Tally Moves, Buttons, EscapePolls, PixelReads, RegionReads, Yields;
};

// Runs call, counted and timed in tally, and hands back what it returns.
template <typename Call>
auto Timed(Tally& tally, Call call) {
    using Clock = std::chrono::steady_clock;
    struct Stop {
        Tally& T;
        Clock::time_point Start = Clock::now();
        ~Stop() {
            ++T.Calls;
            T.Seconds += std::chrono::duration<double>(Clock::now() - Start).count();
        }
    } stop{tally};
    return call();
}

class CountingDesktop final : public Desktop {
  public:
    // escapeAt: the Esc poll (1 for the first) from which Esc reads as held; none: never.
    CountingDesktop(Desktop& inner, HarnessTallies& tallies, std::optional<int32_t> escapeAt);
    int32_t ColourBits() override { return inner_.ColourBits(); }
    ScreenSize ScreenPixels() override { return inner_.ScreenPixels(); }
    void MovePointer(int16_t x, int16_t y) override;
    ScreenPoint PointerPosition() override { return inner_.PointerPosition(); }
    void PressButton(MouseButton button) override;
    void ReleaseButton(MouseButton button) override;
    bool IsKeyDown(Key key) override;
    std::unique_ptr<ScreenReader> OpenScreen() override;
    void Sleep(uint32_t milliseconds) override { inner_.Sleep(milliseconds); }
    int32_t TickCount() override { return inner_.TickCount(); }

  private:
    Desktop& inner_;
    HarnessTallies& tallies_;
    std::optional<int32_t> escapeAt_;
};

struct CountedRun {
    DrawOutcome Outcome = DrawOutcome::Failed;
    bool CompletedBox = false;  // the completion message was shown
    std::string Log;            // the run log's lines
};

// DrawRun of the list over a CountingDesktop around screen: every yield calls yield, counted;
// with stopAfter, Esc reads as held at the poll after that many events and the abort question
// is answered Yes, so the run stops once those events are drawn.
CountedRun RunCounted(Desktop& screen, const DrawList& list, const DrawSettings& settings,
                      HarnessTallies& tallies, std::optional<int32_t> stopAfter,
                      const std::function<void()>& yield);

}  // namespace inkrelay::speed
