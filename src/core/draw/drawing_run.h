#pragma once
// One drawing run: the draw list replayed into the applet on the screen, with pacing, the Esc
// abort, progress, the colour check with retry and the run log.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/desktop.h"
#include "draw/applet_profile.h"
#include "draw/colour_check.h"
#include "draw/draw_hooks.h"
#include "draw/drawing_log.h"
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

// Asks whether to start; true for Yes.
bool ConfirmDrawing(const DrawHooks& hooks);

class DrawRun {
  public:
    DrawRun(Desktop& screen, const EventMemory& mem, int32_t eventMemEnd,
            const DrawSettings& settings, const DrawHooks& hooks);

    // The run from its start to its closing message. A run-time fault propagates after the
    // left button is released; it writes no log and shows no message.
    DrawOutcome Run();

    // The run state, by the engine's own names.
    int32_t i = 1;
    int16_t Row = 0;
    int16_t SavedRow = 0;
    int32_t RmkPnt = 0;
    int32_t RgtPnt = 0;
    int32_t RsmPnt = 0;
    int32_t ExpectedColour = 0;
    int16_t DET = 0;
    int16_t ErrCnt = 0;
    int16_t RGBBarNum = 0;
    std::array<std::array<int16_t, 3>, 2> BarRowY{};
    int16_t SpeedExp = 0;
    int16_t BatchSleepMs = 0;
    int32_t StepCount = 0;
    DrawLogLines LogLines;
    int16_t LogIdx = FirstErrorSlot;

  private:
    // What a declined abort goes back to: the row and colour in force at RsmPnt.
    struct ResumePoint {
        int16_t Row = 0;
        int16_t SavedRow = 0;
        int32_t RmkPnt = 0;
        int32_t RgtPnt = 0;
    };

    // A failed check: where the replay resumes and what the error line records.
    struct FailedCheck {
        EventCode Code = Mk;
        int32_t After = 0;  // i past the failed event
        int32_t RmkPnt = 0;
        int32_t RgtPnt = 0;
        int32_t RsmPnt = 0;
        int16_t SavedRow = 0;
        int32_t ResumeAt = 0;
    };
    // A drawing event whose pixel a batch checks later.
    struct PendingCheck {
        CheckPoint Point;
        int32_t Expected = 0;
        int32_t Start = 0;  // the event's own index
        FailedCheck IfFailed;
        ResumePoint Resume;    // what a declined abort would go back to after the event
        int32_t ClosedAt = 0;  // tick count when its batch closed
    };
    enum class BatchResult { Passed, Resumed, Failed };

    void Start();
    // The main loop; false when the run has failed.
    bool ReplayList();
    // Replays the event at i and moves i past it.
    void Replay(EventCode code);
    void ReplayEvent(EventCode code);
    void ReplayMk(bool allBars);
    void ReplayGt();
    void DrawDot(int16_t x, int16_t y);
    void DrawRow(int16_t x1, int16_t x2, int16_t y);
    void MarkResumePoint();
    // The check after a drawing event; true when the run has failed.
    bool CheckStep(int16_t code);
    // The failure's bookkeeping, the same per event and per batch; true when the run has failed.
    bool Fail(const FailedCheck& failure);
    bool Batched() const;
    void RememberCheck(int16_t code, int32_t start);
    // Closes the open batch. Checks the closed points whose paint has had time to reach the
    // screen, or at the run's end all of them.
    BatchResult CloseBatch(bool runEnd);
    // Waits for the last of the first n points' paint, then reads them in one grab.
    BatchResult CheckBatch(size_t n);
    // The first of the first n points that does not show its colour, or n.
    size_t FirstFailing(size_t n);
    bool AskAbort();
    void ResumeAfterDeclinedAbort();
    void End(DrawOutcome outcome);

    void Settle();
    void Pause(int16_t exponent);
    int16_t ScreenX(int32_t offset) const;
    int16_t ScreenY(int32_t offset) const;
    // Operand k (1-based) of the event at i.
    int16_t Operand(int32_t k) const;

    Desktop& screen_;
    const EventMemory& mem_;
    int32_t end_;
    EventWalker walker_;  // at the event being replayed
    DrawSettings settings_;
    const DrawHooks& hooks_;
    const AppletProfile& profile_;
    PointerActions act_;
    std::unique_ptr<ScreenReader> dc_;
    int32_t verdict_ = 0;  // the last check's resume index, 0 for a pass
    ResumePoint resume_;
    bool succeeded_ = true;
    bool stroking_ = false;              // between an St and its Ed
    std::vector<PendingCheck> pending_;  // in the order drawn
    size_t closed_ = 0;                  // the first closed_ pending points are in closed batches
    // The bars may not hold the colour RmkPnt and RgtPnt name; the next Mk sets every bar.
    bool barsUnknown_ = false;
    int32_t redrawnTo_ = 0;  // how far the run had drawn when a check last sent it back
    std::vector<uint32_t> region_;
};

}  // namespace inkrelay
