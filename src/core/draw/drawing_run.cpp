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
constexpr size_t BatchLimit = 200;  // events a batch may hold before it is checked

int32_t ColourOfLevels(int16_t r, int16_t g, int16_t b) {
    const auto magnitude = [](int16_t level) { return std::abs(int32_t{level}); };
    return ToLong(int64_t{5} * magnitude(r) + int64_t{1280} * magnitude(g) +
                  int64_t{327680} * magnitude(b));
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
      act_{screen, [this] { Settle(); }} {}

void DrawRun::Settle() {
    YieldWait(hooks_.Yield, DET);
}

void DrawRun::Pause(int16_t exponent) {
    YieldWait(hooks_.Yield, exponent);
}

int16_t DrawRun::Operand(int32_t k) const {
    return walker_.Operand(k - 1);
}

int16_t DrawRun::ScreenX(int32_t offset) const {
    return ToInteger(int64_t{settings_.DrawPos.X} + offset);
}

int16_t DrawRun::ScreenY(int32_t offset) const {
    return ToInteger(int64_t{settings_.DrawPos.Y} + offset);
}

DrawOutcome DrawRun::Run() {
    try {
        Start();
        bool failed = false;
        for (;;) {
            failed = !ReplayList();
            // The last batches are checked before the run ends, and may send it back.
            if (failed || !succeeded_ || !Batched() || pending_.empty())
                break;
            const BatchResult last = CloseBatch(true);
            if (last == BatchResult::Failed)
                failed = true;
            if (last != BatchResult::Resumed)
                break;
        }
        const DrawOutcome outcome =
            failed ? DrawOutcome::Failed
                   : (succeeded_ ? DrawOutcome::Completed : DrawOutcome::Aborted);
        End(outcome);
        return outcome;
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
    while (i <= end_) {
        walker_.Seek(i);
        if (!walker_.Intact()) {
            // A list the scanners never write; stopping in order beats a run that never ends.
            succeeded_ = false;
            return true;
        }
        const EventCode code = walker_.Current().Code;
        // A batch ends with its colour: the next selection changes what the pixels must read.
        if ((code == Mk || code == Gt) && Batched() && !pending_.empty()) {
            const BatchResult result = CloseBatch(false);
            if (result == BatchResult::Failed)
                return false;
            if (result == BatchResult::Resumed)
                continue;
        }
        const int32_t start = i;
        Replay(code);
        Pause(SpeedExp);
        if (settings_.Check && code >= Dt) {
            if (!Batched()) {
                if (CheckStep(code))
                    return false;
            } else {
                if (code != Cr)
                    RememberCheck(code, start);
                if (!stroking_ && (code == Cr || pending_.size() - closed_ >= BatchLimit) &&
                    CloseBatch(false) == BatchResult::Failed)
                    return false;
            }
        }
        if (screen_.IsKeyDown(Key::Escape) && AskAbort())
            return true;
        StepCount = AddLong(StepCount, 1);
        if (StepCount % ProgressEvery == 0) {
            screen_.Sleep(static_cast<uint32_t>(BatchSleepMs));
            hooks_.SetProgress(i);
            hooks_.Yield();
        }
    }
    return true;
}

void DrawRun::Start() {
    Row = settings_.DrawPos.Y;
    LogIdx = FirstErrorSlot;
    for (int16_t layout = 0; layout < 2; ++layout)
        for (int16_t c = 0; c < 3; ++c)
            BarRowY[static_cast<size_t>(layout)][static_cast<size_t>(c)] = AddInteger(
                settings_.RGBBarPos.Y, MulInteger(c, profile_.Pitch[static_cast<size_t>(layout)]));
    BatchSleepMs = profile_.BatchSleep ? SubInteger(2000, MulInteger(200, settings_.Speed)) : 0;
    SpeedExp = MulInteger(ToInteger(std::abs(int32_t{settings_.Speed} - 5)), 3);
    LogLines[0] =
        HeaderLine({settings_.Mode, settings_.Applet, settings_.Speed, settings_.ScanWidth,
                    settings_.ScanHeight, settings_.DrawPos, settings_.RGBBarPos, end_});
    LogLines[1] = StartLine(hooks_.TimeOfDay());
    dc_ = screen_.OpenScreen();
    i = 1;
    resume_ = {Row, SavedRow, RmkPnt, RgtPnt};
    hooks_.SetProgressMaximum(AddLong(end_, 1));
}

void DrawRun::Replay(EventCode code) {
    const int32_t next = i + EventCells[code];
    ReplayEvent(code);
    i = next;
}

void DrawRun::ReplayEvent(EventCode code) {
    switch (code) {
        case Mk:
            // An Mk's unchanged bars hold its levels only if every click before took and
            // nothing was selected since; after going back over later batches neither holds.
            ReplayMk(barsUnknown_);
            barsUnknown_ = false;
            return;
        case Gt:
            ReplayGt();
            barsUnknown_ = false;
            SavedRow = Row;
            RgtPnt = i;
            return;
        case Dt:
            MarkResumePoint();
            DrawDot(ScreenX(Operand(1)), Row);
            return;
        case Ln:
            MarkResumePoint();
            DrawRow(Operand(1), Operand(2), Row);
            return;
        case CD:
            MarkResumePoint();
            DrawDot(ScreenX(Operand(1)), ScreenY(Operand(2)));
            return;
        case CL:
            MarkResumePoint();
            DrawRow(Operand(1), Operand(2), ScreenY(Operand(3)));
            return;
        case Cr: Row = AddInteger(Row, 1); return;
        case St:
            stroking_ = true;
            MarkResumePoint();
            screen_.MovePointer(ScreenX(Operand(1)), ScreenY(Operand(2)));
            Settle();
            screen_.PressButton(MouseButton::Left);
            return;
        case Mv:
            screen_.MovePointer(ScreenX(Operand(1)), ScreenY(Operand(2)));
            Settle();
            if (profile_.RepressAtVertices) {
                screen_.ReleaseButton(MouseButton::Left);
                Settle();
                screen_.PressButton(MouseButton::Left);
            }
            return;
        case Ed:
            stroking_ = false;
            screen_.ReleaseButton(MouseButton::Left);
            return;
    }
}

// The Mk at i. A negative operand says the bar already holds the level, unless allBars asks
// for every bar to be set again.
void DrawRun::ReplayMk(bool allBars) {
    for (int16_t c = 0; c < 3; ++c) {
        const int16_t v = Operand(1 + c);
        if (v >= 0 || allBars) {
            ClickBar(act_, profile_, settings_.RGBBarPos.X, ToInteger(std::abs(int32_t{v})),
                     BarRowY[static_cast<size_t>(RGBBarNum)][static_cast<size_t>(c)]);
        }
    }
    SavedRow = Row;
    ExpectedColour = ColourOfLevels(Operand(1), Operand(2), Operand(3));
    RmkPnt = i;
}

void DrawRun::ReplayGt() {
    screen_.MovePointer(ScreenX(Operand(1)), ScreenY(Operand(2)));
    Settle();
    screen_.PressButton(MouseButton::Right);
    Settle();
    screen_.ReleaseButton(MouseButton::Right);
}

void DrawRun::DrawDot(int16_t x, int16_t y) {
    screen_.MovePointer(x, y);
    Settle();
    screen_.PressButton(MouseButton::Left);
    Settle();
    screen_.ReleaseButton(MouseButton::Left);
}

void DrawRun::DrawRow(int16_t x1, int16_t x2, int16_t y) {
    screen_.MovePointer(ScreenX(x1), y);
    Settle();
    screen_.PressButton(MouseButton::Left);
    Settle();
    if (profile_.Waypoints && int32_t{x2} - x1 > WaypointStep) {
        for (int32_t w = int32_t{x1} + WaypointStep; w <= x2; w += WaypointStep) {
            screen_.MovePointer(ScreenX(w), y);
            Settle();
        }
    }
    screen_.MovePointer(ScreenX(int32_t{x2} + profile_.LineEndExtension), y);
    Settle();
    screen_.ReleaseButton(MouseButton::Left);
}

void DrawRun::MarkResumePoint() {
    RsmPnt = i;
    resume_ = {Row, SavedRow, RmkPnt, RgtPnt};
}

bool DrawRun::AskAbort() {
    screen_.ReleaseButton(MouseButton::Left);
    Settle();
    hooks_.FocusMainWindow();
    if (hooks_.AskYesNo(AbortQuestion)) {
        succeeded_ = false;
        i = end_;
        return true;
    }
    ResumeAfterDeclinedAbort();
    return false;
}

// Goes back to RsmPnt on the row it drew on, with the colour it drew in: a colour selected
// since is replaced by a full selection of the old one (every bar, or the pick-up again).
void DrawRun::ResumeAfterDeclinedAbort() {
    const bool colourChanged = barsUnknown_ || RmkPnt != resume_.RmkPnt || RgtPnt != resume_.RgtPnt;
    Row = resume_.Row;
    RmkPnt = resume_.RmkPnt;
    RgtPnt = resume_.RgtPnt;
    if (colourChanged && RmkPnt < RgtPnt) {
        walker_.Seek(RgtPnt);
        ReplayGt();
    } else if (colourChanged && RmkPnt > 0) {
        const int32_t resumeAt = i;
        i = RmkPnt;
        walker_.Seek(i);
        ReplayMk(true);
        i = resumeAt;
    }
    SavedRow = resume_.SavedRow;
    // Before the first drawing event there is nothing to resume; the list starts again.
    i = RsmPnt > 0 ? RsmPnt : 1;
    stroking_ = false;
    barsUnknown_ = false;
    // What is drawn again is checked again.
    std::erase_if(pending_, [this](const PendingCheck& p) { return p.Start >= i; });
    closed_ = std::min(closed_, pending_.size());
}

void DrawRun::End(DrawOutcome outcome) {
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
}

}  // namespace inkrelay
