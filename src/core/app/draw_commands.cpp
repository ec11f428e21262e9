#include "app/draw_commands.h"

#include <memory>
#include <utility>

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/program.h"
#include "app/settings.h"
#include "checked_int.h"
#include "draw/applet_profile.h"
#include "draw/capture_snap.h"
#include "draw/drawing_run.h"
#include "draw/magnifier.h"
#include "draw/position_capture.h"
#include "runtime_error.h"

namespace inkrelay {

namespace {

constexpr const char* LogFileName = "Inkrelay.log";

// Runs work between setting and clearing one busy flag; a failure is reported before the flag
// is cleared, as every busy operation does.
template <typename Work>
void WhileBusy(Program& program, Flag AppState::*busy, Work&& work) {
    AppState& state = program.State;
    state.*busy = true;
    UpdateControls(program);
    if (const int32_t failure = TrapFailure(std::forward<Work>(work)))
        ReportError(program, failure);
    state.*busy = false;
    UpdateControls(program);
}

CaptureHooks CaptureHooksFor(Program& program) {
    Ui& windows = program.Windows;
    return {[&windows] { windows.YieldOnce(); },
            [&windows](const MagnifierImage& image) { windows.ShowMagnifier(image); }};
}

DrawHooks DrawHooksFor(Program& program) {
    Ui& windows = program.Windows;
    AppState& state = program.State;
    return {
        [&windows] { windows.YieldOnce(); },
        [&windows](int32_t maximum) { windows.SetProgressRange(0, maximum); },
        [&windows](int32_t value) { windows.SetProgressValue(value); },
        [&windows, &state](const std::string& text) {
            const MessageAnswer answer = windows.AskYesNo(text, MessageIcon::Exclamation);
            state.LastAnswer = static_cast<int32_t>(answer);
            return answer == MessageAnswer::Yes;
        },
        [&windows](const std::string& text, DrawNotice icon) {
            windows.ShowMessage(text, icon == DrawNotice::Critical ? MessageIcon::Critical
                                                                   : MessageIcon::Information);
        },
        [&windows] { windows.FocusMainWindow(); },
        [] { return LocalTimeOfDay(); },
        [&program](const DrawLogLines& lines) {
            PrepareSettingsFolder(program);
            if (const int32_t code = WriteDrawingLog(DrawingLogPath(program), lines))
                ReportError(program, code);
        },
    };
}

DrawSettings DrawSettingsOf(const Program& program) {
    const AppState& s = program.State;
    const auto& c = s.Coords;
    return {s.Mode,
            s.Applet,
            s.Speed,
            static_cast<bool>(s.Check),
            {c[Coord::DrawPosX], c[Coord::DrawPosY]},
            {c[Coord::RGBBarX], c[Coord::RGBBarY]},
            AddInteger(SubInteger(c[Coord::RangeRight], c[Coord::RangeLeft]), 1),
            AddInteger(SubInteger(c[Coord::RangeBottom], c[Coord::RangeTop]), 1),
            DrawingLogPath(program)};
}

// The applets whose widget the program knows by sight take the exact point near the click.
bool SnapsCaptures(const AppState& state) {
    const AppletProfile* profile = FindProfile(state.Applet);
    return profile != nullptr && profile->SnapsCaptures;
}

}  // namespace

std::string DrawingLogPath(const Program& program) {
    return ProgramFolderFilePath(SettingsFolder(program), LogFileName);
}

void Command3_Click(Program& program) {
    program.State.CaptureNote.clear();
    WhileBusy(program, &AppState::CapturingDrawPos, [&] {
        program.Windows.HideImageWindow();
        AppState& state = program.State;
        state.DrawPosSet = false;
        ScreenPoint at = CaptureDrawPos(program.Screen, CaptureHooksFor(program));
        if (SnapsCaptures(state)) {
            const CaptureSnap snap = SnapToCanvasCorner(*program.Screen.OpenScreen(), at);
            at = snap.At;
            state.CaptureNote = SnapNote(snap, false);
        }
        state.Coords[Coord::DrawPosX] = at.X;
        state.Coords[Coord::DrawPosY] = at.Y;
        state.DrawPosSet = true;
    });
}

void Command4_Click(Program& program) {
    program.State.CaptureNote.clear();
    WhileBusy(program, &AppState::CapturingRGBBarPos, [&] {
        program.Windows.HideImageWindow();
        AppState& state = program.State;
        state.RGBBarPosSet = false;
        const int32_t screenWidth = state.Coords[Coord::ScreenWidthPx];
        const int32_t screenHeight = state.Coords[Coord::ScreenHeightPx];
        const CaptureHooks hooks = CaptureHooksFor(program);
        ScreenPoint at = CaptureRGBBarPos(program.Screen, screenWidth, screenHeight, hooks);
        if (SnapsCaptures(state)) {
            const std::unique_ptr<ScreenReader> dc = program.Screen.OpenScreen();
            const CaptureSnap snap = SnapToRedBar(*dc, at);
            at = snap.At;
            state.CaptureNote = SnapNote(snap, true);
            hooks.ShowMagnifier(Magnify(*dc, at, screenWidth, screenHeight));
        }
        state.Coords[Coord::RGBBarX] = at.X;
        state.Coords[Coord::RGBBarY] = at.Y;
        state.RGBBarPosSet = true;
    });
}

void Command6_Click(Program& program) {
    program.State.CaptureNote.clear();
    WhileBusy(program, &AppState::Drawing, [&] {
        AppState& state = program.State;
        const DrawHooks hooks = DrawHooksFor(program);
        if (!ConfirmDrawing(hooks))
            return;
        state.DrawSucceeded = true;
        DrawRun run(program.Screen, state.EventMem, state.EventMemEnd, DrawSettingsOf(program),
                    hooks);
        state.DrawSucceeded = run.Run().Outcome == DrawOutcome::Completed;
    });
}

}  // namespace inkrelay
