#pragma once
// One drawing run: the draw list replayed into the applet on the screen, with pacing, the Esc
// abort, progress, the colour check with retry and the run log.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "desktop/desktop.h"
#include "draw/applet_profile.h"
#include "draw/colour_check.h"
#include "draw/draw_hooks.h"
#include "draw/drawing_log.h"
#include "draw/event_replay.h"
#include "draw/paced_check.h"
#include "draw/pointer_actions.h"
#include "draw/run_position.h"
#include "scan/draw_list.h"

namespace inkrelay {

// The checklist shown before a run and after a failed one; it begins with two CRs.
extern const std::string DrawChecklist;
extern const std::string ConfirmDrawingText;
extern const std::string DrawingCompletedMessage;
extern const std::string DrawingStoppedMessage;
extern const std::string DrawingFailedText;
extern const std::string AbortQuestion;

// The settings and positions a run reads at its start.
struct DrawSettings {
    int16_t Mode = 0;
    int16_t Applet = 0;
    int16_t Speed = 5;
    bool Check = false;
    ScreenPoint DrawPos;
    ScreenPoint RGBBarPos;
    int32_t ScanWidth = 0;
    int32_t ScanHeight = 0;
    std::string LogPath;  // named by the notice after a failed run
    // Checks after every event even where the profile checks in batches (for comparing them).
    bool PerEventCheck = false;
};

enum class DrawOutcome { Completed, Aborted, Failed };

// How a run ended, by the engine's own names for its counters.
struct DrawReport {
    DrawOutcome Outcome = DrawOutcome::Completed;
    int16_t DET = 0;
    int16_t ErrCnt = 0;
    int16_t RGBBarNum = 0;
    int32_t StepCount = 0;
    int16_t LogIdx = FirstErrorSlot;
    std::array<std::array<int16_t, 3>, 2> BarRowY{};
    DrawLogLines LogLines;
};

// Asks whether to start; true for Yes.
bool ConfirmDrawing(const DrawHooks& hooks);

class DrawRun {
  public:
    DrawRun(Desktop& screen, const EventMemory& mem, int32_t eventMemEnd,
            const DrawSettings& settings, const DrawHooks& hooks);
    DrawRun(const DrawRun&) = delete;
    DrawRun& operator=(const DrawRun&) = delete;

    // The run from its start to its closing message. A run-time fault propagates after the
    // left button is released; it writes no log and shows no message.
    DrawReport Run();

    // The colour the last Mk selected, as the screen shows it.
    int32_t ExpectedColour() const { return ExpectedColour_; }
    // What pacing saw of the applet; all zero for the profiles that are not paced.
    PaceStats Pace() const { return paced_ ? pacer_.Stats() : PaceStats{}; }

  private:
    void Start();
    // The main loop; false when the run has failed.
    bool ReplayList();
    // Replays the event at i and moves i past it; gives the point a check reads, if any.
    std::optional<ScreenPoint> Replay(const DrawEvent& event);
    void SelectLevels(const DrawEvent& mk, bool allBars);
    void MarkResumePoint(int32_t at);
    // What the verifier found, taken into the run; false when the run has failed.
    bool Take(CheckResult result);
    // The failure's bookkeeping, the same per event and per batch; true when the run has failed.
    bool Fail(const FailedCheck& failure);
    void Track(EventCode code, const DrawEvent& event, const std::optional<ScreenPoint>& drawn);
    bool AskAbort();
    void ResumeAfterDeclinedAbort();
    DrawOutcome End(bool failed);

    void Settle();
    void Pause(int16_t exponent);

    Desktop& screen_;
    const EventMemory& mem_;
    int32_t end_;
    EventWalker walker_;
    DrawSettings settings_;
    const DrawHooks& hooks_;
    const AppletProfile& profile_;
    DrawPlaces places_;
    PointerActions act_;
    EventReplayer replayer_;
    ColourVerifier verifier_;
    PacedVerifier pacer_;
    bool paced_;  // by the canvas, with or without the check
    std::unique_ptr<ScreenReader> dc_;

    // The run state, by the engine's own names.
    RunPosition at_;
    RunPosition resume_;  // what a declined abort goes back to: the row and colour at RsmPnt
    int32_t ExpectedColour_ = 0;
    int16_t DET = 0;
    int16_t ErrCnt = 0;
    int16_t RGBBarNum = 0;
    int16_t SpeedExp = 0;
    int16_t BatchSleepMs = 0;
    int32_t StepCount = 0;
    DrawLogLines LogLines;
    int16_t LogIdx = FirstErrorSlot;

    bool succeeded_ = true;
    // The bars may not hold the colour RmkPnt and RgtPnt name; the next Mk sets every bar.
    bool barsUnknown_ = false;
};

}  // namespace inkrelay
