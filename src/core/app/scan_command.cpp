#include "app/scan_command.h"

#include <optional>

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/program.h"
#include "app/range_state.h"
#include "runtime_error.h"
#include "scan/read_method.h"
#include "scan/scan_preview.h"

namespace inkrelay {

namespace {

// The progress bar's maximum is kept, since the finish sets the bar to it.
ScanHooks HooksFor(Program& program, int32_t& progressMaximum) {
    Ui& windows = program.Windows;
    return {[&windows, &progressMaximum](int32_t maximum) {
                progressMaximum = maximum;
                windows.SetProgressRange(0, maximum);
            },
            [&windows](int32_t value) { windows.SetProgressValue(value); },
            [&windows] { windows.YieldOnce(); }};
}

// What every scanner ends with; the mode names the kind of list a completed read leaves.
void FinishScan(Program& program, const ScanResult& result, int16_t mode, bool lineArt,
                int32_t progressMaximum) {
    AppState& state = program.State;
    program.Windows.SetProgressValue(progressMaximum);
    program.Windows.FocusMainWindow();
    if (result.Completed()) {
        state.Mode = mode;
        state.EventMemEnd = result.EventMemEnd();
        const ClientSize box = program.Windows.ScanPreviewSize();
        const std::optional<uint32_t> lineColour =
            lineArt ? std::optional<uint32_t>(static_cast<uint32_t>(state.ScanCol)) : std::nullopt;
        program.Windows.ShowScanPreview(DrawScanPreview(
            program.Image.WorkingPicture, StoredRange(state), box.Width, box.Height, lineColour));
        program.Windows.ShowMessage(ScanCompletedMessage, MessageIcon::Information);
    } else {
        state.ScanReady = false;
        program.Windows.ShowMessage(TooManyColoursMessage, MessageIcon::Critical);
    }
    program.Windows.SetProgressValue(0);
}

void RunScanner(Program& program) {
    AppState& state = program.State;
    const RangeSlots range = StoredRange(state);
    const Picture& picture = program.Image.WorkingPicture;
    const bool lineArt = program.Windows.ObserveControls().Selected != SelectedOption::Option1;
    int32_t progressMaximum = 0;
    const ScanHooks hooks = HooksFor(program, progressMaximum);
    state.ScanReady = true;
    const ScanResult result =
        ReadRange(ReadMethodFor(lineArt, state.Formula), picture, range, state.Quality,
                  static_cast<uint32_t>(state.ScanCol), state.EventMem, hooks);
    FinishScan(program, result, lineArt ? 1 : 0, lineArt, progressMaximum);
}

}  // namespace

void Command5_Click(Program& program) {
    AppState& state = program.State;
    const RangeSlots range = StoredRange(state);
    if (RangeTooLargeToRead(range)) {
        program.Windows.ShowMessage(RangeTooLargeMessage, MessageIcon::Critical);
        return;
    }
    state.Scanning = true;
    state.CaptureNote.clear();
    UpdateControls(program);
    const int32_t failure = TrapFailure([&] {
        program.Image.WorkingPicture.Cls();
        program.Windows.ClearScanPreview();
        RunScanner(program);
        if (program.Windows.ObserveControls().ImageWindowVisible && state.AutoClose &&
            state.ScanReady)
            program.Windows.HideImageWindow();
    });
    if (failure != 0) {
        // The cells were overwritten part way: the list is not the one a drawing may replay.
        state.ScanReady = false;
        state.Scanning = false;
        ReportError(program, failure);
        UpdateControls(program);
        return;
    }
    state.Scanning = false;
    UpdateControls(program);
}

}  // namespace inkrelay
