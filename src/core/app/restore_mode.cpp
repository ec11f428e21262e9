#include "app/restore_mode.h"

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/program.h"
#include "app/scan_command.h"

namespace inkrelay {

namespace {

void SwitchMode(Program& program, int16_t newMode) {
    AppState& state = program.State;
    if (state.RangeSelected && state.ScanReady && state.Mode == 1 - newMode) {
        const MessageAnswer answer =
            program.Windows.AskYesNo(ModeChangedQuestion, MessageIcon::Information);
        state.LastAnswer = static_cast<int32_t>(answer);
        // The scan follows the option button, which the click has already selected.
        if (answer == MessageAnswer::Yes)
            Command5_Click(program);
    }
    state.Mode = newMode;
    UpdateControls(program);
}

}  // namespace

void Option1_Click(Program& program) {
    SwitchMode(program, 0);
}

void Option2_Click(Program& program) {
    SwitchMode(program, 1);
}

void Command1_Click(Program& program) {
    program.State.PickingColour = true;
    program.Windows.ShowImageWindow();
    program.Windows.FocusMainWindow();
    UpdateControls(program);
}

std::string ColourReport(int32_t scanCol) {
    const auto channel = [scanCol](int shift) { return std::to_string((scanCol >> shift) & 0xFF); };
    return "読み込み色の RGB 値は、 R:" + channel(0) + " / G:" + channel(8) +
           " / B:" + channel(16) + " です。";
}

void Picture1_Click(Program& program) {
    program.Windows.ShowMessage(ColourReport(program.State.ScanCol), MessageIcon::Information);
}

}  // namespace inkrelay
