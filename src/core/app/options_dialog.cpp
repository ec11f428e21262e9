#include "app/options_dialog.h"

#include "app/control_states.h"
#include "app/program.h"
#include "app/settings.h"
#include "runtime_error.h"

namespace inkrelay {

OptionsControls OptionsDialogLogic::Load(const AppState& state) {
    rememberedQuality_ = state.Quality;
    rememberedMethod_ = state.Formula;
    const bool fits = state.Quality >= 0 && state.Quality < int16_t{QualityListEntries.size()} &&
                      state.Formula >= 0 && state.Formula < int16_t{MethodListEntries.size()} &&
                      state.Speed >= SlowestSpeed && state.Speed <= FastestSpeed;
    if (!fits)
        throw RuntimeError(ErrorCode::InvalidPropertyValue);
    return {state.Quality, state.Formula, static_cast<int16_t>(state.AutoClose ? 1 : 0),
            static_cast<int16_t>(state.Check ? 1 : 0), state.Speed};
}

void OptionsDialogLogic::Ok(Program& program, const OptionsControls& controls) {
    AppState& state = program.State;
    const bool restoreChanged =
        controls.Combo2Index != rememberedMethod_ || controls.Combo1Index != rememberedQuality_;
    if (restoreChanged && state.ScanReady)
        program.Windows.ShowMessage(RestoreSettingsChangedMessage, MessageIcon::Information);
    state.Quality = controls.Combo1Index;
    state.Formula = controls.Combo2Index;
    state.Speed = controls.Slider1;
    state.AutoClose = controls.Check1 == 1;
    state.Check = controls.Check2 == 1;
    if (restoreChanged)
        state.ScanReady = false;
    SaveSettings(program);
    UpdateControls(program);
}

}  // namespace inkrelay
