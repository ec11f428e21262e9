#include "draw/drawing_run.h"

#include <algorithm>
#include <cstdlib>

#include "checked_int.h"
#include "draw/yield_wait.h"
#include "runtime_error.h"

namespace inkrelay {

const std::string DrawChecklist =
    "\r\r【描き込み前の確認】"
    "\r・復元先アプレットが正しく選択されていますか？"
    "\r・描き込み位置とRGBバーの位置が正しく指定されていますか？"
    "\r・ツールが鉛筆になっていますか？"
    "\r・モードが手書き又はフリーハンドになっていますか？"
    "\r・濃さ (A) が 255 、太さが 1 ピクセルになっていますか？"
    "\r・タブレットの上にグリップペンを置いていませんか？"
    "\r\r【描き込み中の注意】"
    "\r・キーボード、マウス、グリップペン（タブレット）を操作しないでください。"
    "\r・描き込みを中止したいときは、キーボードの [Esc] キーを押し続けてください。";
const std::string ConfirmDrawingText = "画像の描き込みを開始しますか？" + DrawChecklist;
const std::string DrawingCompletedMessage = "画像の描き込みが完了しました。";
const std::string DrawingStoppedMessage = "画像の描き込みを中止しました。";
const std::string DrawingFailedText = "画像の描き込みに失敗しました。" + DrawChecklist;
const std::string AbortQuestion = "画像の描き込みを中止しますか？";

namespace {

constexpr int32_t ProgressEvery = 200;
constexpr int16_t LastSettleExponent = 12;
constexpr int16_t FailuresPerLayout = 16;

int32_t ColourOfLevels(const std::array<int16_t, 3>& levels) {
    const auto magnitude = [](int16_t level) { return std::abs(int32_t{level}); };
    return ToLong(int64_t{5} * magnitude(levels[0]) + int64_t{1280} * magnitude(levels[1]) +
                  int64_t{327680} * magnitude(levels[2]));
}

}  // namespace

bool ConfirmDrawing(const DrawHooks& hooks) {
    return hooks.AskYesNo(ConfirmDrawingText);
}

DrawRun::DrawRun(Desktop& screen, const EventMemory& mem, int32_t eventMemEnd,
                 const DrawSettings& settings, const DrawHooks& hooks)
    : screen_(screen),
      mem_(mem),
      end_(eventMemEnd),
      walker_(mem, eventMemEnd),
      settings_(settings),
      hooks_(hooks),
      profile_(ProfileOf(settings.Applet)),
      act_(screen, [this] { Settle(); }),
      replayer_(act_, profile_, places_),
      verifier_(screen, hooks.Yield),
      pacer_(screen, hooks.Yield, settings.Check),
      paced_(profile_.PacedByCanvas && !(settings.Check && settings.PerEventCheck)) {}

void DrawRun::Settle() {
    YieldWait(hooks_.Yield, DET);
}

void DrawRun::Pause(int16_t exponent) {
    YieldWait(hooks_.Yield, exponent);
}

DrawReport DrawRun::Run() {
    try {
        Start();
        bool failed = false;
        for (;;) {
            failed = !ReplayList();
            // The last points are waited for before the run ends, and may send it back.
            if (failed || !succeeded_ || !paced_ || !pacer_.HasPending())
                break;
            const CheckResult last = pacer_.Drain(*dc_, at_.i);
            if (!Take(last))
                failed = true;
            if (last != CheckResult::Failed || failed)
                break;
        }
        const DrawOutcome outcome = End(failed);
        return {outcome, DET, ErrCnt, RGBBarNum, StepCount, LogIdx, places_.BarRowY, LogLines};
    } catch (...) {
        // No stroke may stay pressed in the applet after a fault ends the run.
        try {
            screen_.ReleaseButton(MouseButton::Left);
        } catch (...) {
        }
        dc_.reset();
        throw;
    }
}

bool DrawRun::ReplayList() {
    while (at_.i <= end_) {
        walker_.Seek(at_.i);
        if (!walker_.Intact()) {
            // A list the scanners never write; stopping in order beats a run that never ends.
            succeeded_ = false;
            return true;
        }
        const DrawEvent event = DecodeEvent(walker_);
        const EventCode code = event.Code;
        // After a failure every colour's points are waited for before the next colour, until
        // the run is past what it had drawn: a failure sends the run back over everything drawn
        // since, and an applet that loses presses often would lose another on the way back.
        if ((code == Mk || code == Gt) && paced_ && pacer_.HasPending() &&
            (ErrCnt > 0 || pacer_.Redrawing(at_.i))) {
            const CheckResult result = pacer_.Drain(*dc_, at_.i);
            if (!Take(result))
                return false;
            if (result == CheckResult::Failed)
                continue;
        }
        const std::optional<ScreenPoint> drawn = Replay(event);
        Pause(SpeedExp);
        if (paced_) {
            Track(code, event, drawn);
            if (!Take(pacer_.KeepPace(*dc_, act_.Sent(), at_.i)))
                return false;
        } else if (settings_.Check && code >= Dt) {
            const std::optional<CheckPoint> point =
                drawn ? std::optional(CheckPointOf(code, *drawn, at_)) : std::nullopt;
            if (!Take(verifier_.CheckEvent(*dc_, code, point, ExpectedColour_, at_)))
                return false;
        }
        if (screen_.IsKeyDown(Key::Escape) && AskAbort())
            return true;
        StepCount = AddLong(StepCount, 1);
        if (StepCount % ProgressEvery == 0) {
            screen_.Sleep(static_cast<uint32_t>(BatchSleepMs));
            hooks_.SetProgress(at_.i);
            hooks_.Yield();
        }
    }
    return true;
}

void DrawRun::Start() {
    at_.Row = settings_.DrawPos.Y;
    LogIdx = FirstErrorSlot;
    places_ = DrawPlaces::Of(profile_, settings_.DrawPos, settings_.RGBBarPos);
    BatchSleepMs = profile_.BatchSleep ? SubInteger(2000, MulInteger(200, settings_.Speed)) : 0;
    SpeedExp = MulInteger(ToInteger(std::abs(int32_t{settings_.Speed} - 5)), 3);
    LogLines[0] =
        HeaderLine({settings_.Mode, settings_.Applet, settings_.Speed, settings_.ScanWidth,
                    settings_.ScanHeight, settings_.DrawPos, settings_.RGBBarPos, end_});
    LogLines[1] = StartLine(hooks_.TimeOfDay());
    dc_ = screen_.OpenScreen();
    if (paced_)
        pacer_.Reset(settings_.DrawPos, settings_.ScanWidth, settings_.ScanHeight);
    at_.i = 1;
    resume_ = at_;
    hooks_.SetProgressMaximum(AddLong(end_, 1));
}

std::optional<ScreenPoint> DrawRun::Replay(const DrawEvent& e) {
    at_.i = e.Next();
    switch (e.Code) {
        case Mk:
            // An Mk's unchanged bars hold its levels only if every click before took and
            // nothing was selected since; after going back over later batches neither holds.
            SelectLevels(e, barsUnknown_);
            barsUnknown_ = false;
            return std::nullopt;
        case Gt:
            replayer_.PickUp(e);
            barsUnknown_ = false;
            at_.SavedRow = at_.Row;
            at_.RgtPnt = e.At;
            return std::nullopt;
        case Cr: at_.Row = AddInteger(at_.Row, 1); return std::nullopt;
        case St:
        case Dt:
        case Ln:
        case CD:
        case CL: MarkResumePoint(e.At); break;
        case Ed:
        case Mv: break;
    }
    return replayer_.Draw(e, at_.Row);
}

void DrawRun::SelectLevels(const DrawEvent& mk, bool allBars) {
    replayer_.SelectLevels(mk, RGBBarNum, allBars);
    at_.SavedRow = at_.Row;
    ExpectedColour_ = ColourOfLevels(mk.Operands);
    at_.RmkPnt = mk.At;
}

void DrawRun::MarkResumePoint(int32_t at) {
    at_.RsmPnt = at;
    resume_ = at_;
}

void DrawRun::Track(EventCode code, const DrawEvent& event,
                    const std::optional<ScreenPoint>& drawn) {
    // An Ed's point is the St's or Mv's before it, tracked already.
    if (code == Ed || !drawn)
        return;
    const CheckPoint point = CheckPointOf(code, *drawn, at_);
    pacer_.Track(point, ExpectedColour_, event.At, {code, at_, point.ResumeAt, resume_},
                 act_.Sent());
}

bool DrawRun::Take(CheckResult result) {
    if (result == CheckResult::Undecided)
        return true;
    if (result == CheckResult::Passed) {
        ErrCnt = 0;
        if (DET > 0)
            --DET;
        return true;
    }
    const FailedCheck& f = paced_ ? pacer_.Failure() : verifier_.Failure();
    if (Fail(f))
        return false;
    if (paced_) {
        // The selections since are undone: which came last decides what the points check.
        at_.RmkPnt = f.At.RmkPnt;
        at_.RgtPnt = f.At.RgtPnt;
        // Until the colour is selected again the bars may hold any of the colours drawn since.
        barsUnknown_ = true;
        // A declined abort from here goes back to the failing event, not past it.
        at_.RsmPnt = f.At.RsmPnt;
        resume_ = f.Resume;
    }
    return true;
}

bool DrawRun::Fail(const FailedCheck& f) {
    ErrCnt = AddInteger(ErrCnt, 1);
    LogLines[static_cast<size_t>(LogIdx)] =
        ErrorLine(hooks_.TimeOfDay(), {f.Code, ErrCnt, RGBBarNum, DET, f.At}, mem_);
    if (DET < LastSettleExponent)
        ++DET;
    at_.Row = f.At.SavedRow;
    LogIdx = NextLogSlot(LogIdx);
    replayer_.LiftLeft();
    Settle();
    at_.i = f.ResumeAt;
    if (ErrCnt == FailuresPerLayout) {
        if (RGBBarNum == 0) {
            ErrCnt = 0;
            DET = 1;
            RGBBarNum = 1;
        } else {
            hooks_.FocusMainWindow();
            hooks_.Show(DrawingFailedText, DrawNotice::Critical);
            succeeded_ = false;
            at_.i = end_;
            return true;
        }
    }
    return false;
}

bool DrawRun::AskAbort() {
    replayer_.LiftLeft();
    Settle();
    hooks_.FocusMainWindow();
    if (hooks_.AskYesNo(AbortQuestion)) {
        succeeded_ = false;
        at_.i = end_;
        return true;
    }
    ResumeAfterDeclinedAbort();
    return false;
}

// Goes back to RsmPnt on the row it drew on, with the colour it drew in: a colour selected
// since is replaced by a full selection of the old one (every bar, or the pick-up again).
void DrawRun::ResumeAfterDeclinedAbort() {
    const bool colourChanged =
        barsUnknown_ || at_.RmkPnt != resume_.RmkPnt || at_.RgtPnt != resume_.RgtPnt;
    at_.Row = resume_.Row;
    at_.RmkPnt = resume_.RmkPnt;
    at_.RgtPnt = resume_.RgtPnt;
    if (colourChanged && at_.PickedUp()) {
        walker_.Seek(at_.RgtPnt);
        replayer_.PickUp(DecodeEvent(walker_));
    } else if (colourChanged && at_.RmkPnt > 0) {
        walker_.Seek(at_.RmkPnt);
        SelectLevels(DecodeEvent(walker_), true);
    }
    at_.SavedRow = resume_.SavedRow;
    // Before the first drawing event there is nothing to resume; the list starts again.
    at_.i = at_.RsmPnt > 0 ? at_.RsmPnt : 1;
    barsUnknown_ = false;
    // What is drawn again is checked again.
    pacer_.Forget(at_.i);
}

DrawOutcome DrawRun::End(bool failed) {
    const DrawOutcome outcome =
        failed ? DrawOutcome::Failed : (succeeded_ ? DrawOutcome::Completed : DrawOutcome::Aborted);
    hooks_.SetProgress(AddLong(end_, 1));
    dc_.reset();
    LogLines[static_cast<size_t>(LogIdx)] = FinishLine(hooks_.TimeOfDay());
    hooks_.WriteLog(LogLines);
    hooks_.FocusMainWindow();
    if (outcome == DrawOutcome::Completed) {
        hooks_.Show(DrawingCompletedMessage, DrawNotice::Information);
    } else {
        hooks_.Show(DrawingStoppedMessage, DrawNotice::Information);
        if (ErrCnt == 16)
            hooks_.Show(LogNoticeText(settings_.LogPath), DrawNotice::Information);
    }
    hooks_.SetProgress(0);
    return outcome;
}

}  // namespace inkrelay
