#include "app/control_states.h"

#include <cstdlib>

#include "app/error_report.h"
#include "app/program.h"
#include "draw/applet_profile.h"
#include "runtime_error.h"
#include "scan/draw_list.h"

namespace inkrelay {

namespace {

std::string Point(int16_t x, int16_t y) {
    return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
}

std::optional<std::string> StatusLine(const AppState& state, const ControlInputs& inputs,
                                      bool notBusy) {
    const auto& c = state.Coords;
    if (state.PickingColour)
        return "復元する線にあわせて左クリック";
    if (state.CapturingDrawPos)
        return "描き込む左上の位置にあわせてクリック";
    if (state.CapturingRGBBarPos)
        return "赤 (R) が " + std::to_string(CapturedRedValue(state.Applet)) +
               " になる位置にあわせてクリック";
    if (inputs.ImageWindowVisible && (state.RangeSelected || state.RangeDragging) && notBusy) {
        const int width = std::abs(c[Coord::RangeRight] - c[Coord::RangeLeft]) + 1;
        const int height = std::abs(c[Coord::RangeBottom] - c[Coord::RangeTop]) + 1;
        return "選択範囲のサイズ:(" + std::to_string(width) + "," + std::to_string(height) + ")";
    }
    if (state.Scanning)
        return "画像を読み取り中...";
    if (state.Drawing)
        return "画像を描き込み中...";
    if (!state.CaptureNote.empty())
        return state.CaptureNote;
    if (state.ScanReady)
        return "イベントメモリ残量：" + std::to_string(EventMemFreePercent(state.EventMemEnd)) +
               "%";
    return std::nullopt;
}

}  // namespace

ControlStates ComputeControlStates(const AppState& state, const ControlInputs& inputs) {
    const bool notCapturing = !state.CapturingDrawPos && !state.CapturingRGBBarPos;
    const bool notBusy = !state.Drawing && !state.Scanning;
    const bool idle = notCapturing && notBusy && !state.PickingColour;

    ControlStates s;
    s.FileOpen = idle;
    s.FileExit = notBusy;
    s.EditPaste = inputs.ClipboardHasBitmap && idle;
    s.EditSelectAll = state.ImageLoaded && idle;
    s.EditSelectSquare = state.ImageLoaded && idle;
    s.EditCancelSelection = state.RangeSelected && state.ImageLoaded && idle;
    s.ViewImageWindow = !state.Drawing && notCapturing;
    s.Option1Enabled = idle;
    s.Option2Enabled = idle;
    s.Picture1Back = inputs.Selected == SelectedOption::Option1
                         ? SwatchColour{true, 0}
                         : SwatchColour{false, state.ScanCol};
    bool option2Selected = inputs.Selected == SelectedOption::Option2;
    if (idle) {
        s.Option1Value = state.Mode == 0;
        s.Option2Value = state.Mode == 1;
        option2Selected = state.Mode == 1;
        // Selecting a button from the state raises its click, whose own update paints the swatch
        // for the button now selected.
        const SelectedOption now = state.Mode == 0   ? SelectedOption::Option1
                                   : state.Mode == 1 ? SelectedOption::Option2
                                                     : SelectedOption::None;
        if (now != SelectedOption::None && now != inputs.Selected)
            s.Picture1Back = now == SelectedOption::Option1 ? SwatchColour{true, 0}
                                                            : SwatchColour{false, state.ScanCol};
    }
    // An index of -1 shows the applet list empty; one past its items is refused.
    if (idle && (state.Applet < -1 || state.Applet >= AppletCount)) {
        s.ErrorCode = ErrorCode::InvalidPropertyValue;
        return s;
    }
    s.Combo1Enabled = idle;
    if (idle)
        s.Combo1Index = state.Applet;
    s.Command1 = state.ImageLoaded && option2Selected && idle;
    s.Command2 = idle;
    s.Command3 = idle;
    s.Command4 = idle;
    s.Command5 = state.RangeSelected && idle;
    s.Command6 = state.RGBBarPosSet && state.DrawPosSet && state.ScanReady && idle;

    const auto& c = state.Coords;
    if (state.RangeSelected || state.RangeDragging) {
        s.Text1 = Point(c[Coord::RangeLeft], c[Coord::RangeTop]);
        s.Text2 = Point(c[Coord::RangeRight], c[Coord::RangeBottom]);
    } else {
        s.Text1 = NoCoordinates;
        s.Text2 = NoCoordinates;
        s.StatusText = "";
    }
    s.Text3 = state.DrawPosSet ? Point(c[Coord::DrawPosX], c[Coord::DrawPosY]) : NoCoordinates;
    s.Text4 = state.RGBBarPosSet ? Point(c[Coord::RGBBarX], c[Coord::RGBBarY]) : NoCoordinates;
    if (auto line = StatusLine(state, inputs, notBusy))
        s.StatusText = std::move(line);
    return s;
}

void UpdateControls(Program& program) {
    RunHandler(program, [&] {
        const ControlStates states =
            ComputeControlStates(program.State, program.Windows.ObserveControls());
        program.Windows.ApplyControls(states);
        if (states.ErrorCode != 0)
            throw RuntimeError(states.ErrorCode);
    });
}

}  // namespace inkrelay
