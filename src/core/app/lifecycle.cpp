#include "app/lifecycle.h"

#include <cstdlib>

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/program.h"
#include "app/settings.h"
#include "checked_int.h"

namespace inkrelay {

void SetSettingDefaults(AppState& state) {
    state.Mode = 0;
    state.AutoClose = true;
    state.Check = true;
    state.Applet = 1;
    state.Quality = 0;
    state.Formula = 0;
    state.Speed = 5;
    state.ScanCol = 0;
}

void StartUp(Program& program) {
    AppState& state = program.State;
    if (program.Screen.ColourBits() < 24) {
        program.Windows.ShowMessage(ColourDepthMessage, MessageIcon::Critical);
        program.Windows.UnloadOtherWindows();
        program.Windows.EndProgram(ExitStatus::Fatal);
    }
    SetSettingDefaults(state);
    RunHandler(program, [&] {
        const ScreenSize size = program.Screen.ScreenPixels();
        state.Coords[Coord::ScreenWidthPx] = ToInteger(size.Width);
        state.Coords[Coord::ScreenHeightPx] = ToInteger(size.Height);
    });
    LoadSettings(program);
    UpdateControls(program);
    program.Windows.KeepOnTop();
    // Said before anything is drawn: otherwise a capture waits for a click it never sees, and a
    // run draws into nothing, without a word.
    if (!program.Screen.Capabilities().ReachesEveryWindow)
        program.Windows.ShowMessage(PartialDesktopMessage, MessageIcon::Information);
}

bool MainWindowQueryUnload(Program& program, int exitStatus) {
    if (program.State.Scanning || program.State.Drawing) {
        program.Windows.ShowMessage(BusyCloseMessage, MessageIcon::Critical);
        return false;
    }
    MainWindowUnload(program, exitStatus);
}

void MainWindowUnload(Program& program, int exitStatus) {
    program.State.Closing = true;
    SaveSettings(program);
    program.Windows.UnloadOtherWindows();
    program.Windows.EndProgram(exitStatus);
    std::abort();  // a Ui whose EndProgram returns would let the caller run on after the end
}

}  // namespace inkrelay
