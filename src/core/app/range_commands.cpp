#include "app/range_commands.h"

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/program.h"
#include "app/range_state.h"

namespace inkrelay {

namespace {

// Larger than any picture the window takes, so the range is cut to the whole picture.
constexpr int16_t WholePicture = 32767;

void ShowImageWindowKeepingFocus(Program& program) {
    program.Windows.ShowImageWindow();
    program.Windows.FocusMainWindow();
    UpdateControls(program);
}

}  // namespace

void SelectFromOrigin(Program& program, int16_t size) {
    RunHandler(program, [&] {
        const Picture& picture = program.Image.WorkingPicture;
        program.State.RangeSelected = size > 0;
        StoreRange(program.State, SelectFromOrigin(size, picture.Width(), picture.Height()));
        ShowImageWindowKeepingFocus(program);
    });
}

void Edit_SelectAll_Click(Program& program) {
    SelectFromOrigin(program, WholePicture);
}

void Edit_SelectSquare_Click(Program& program, int16_t size) {
    SelectFromOrigin(program, size);
}

void Edit_CancelSelection_Click(Program& program) {
    SelectFromOrigin(program, 0);
}

void Command2_Click(Program& program) {
    ShowImageWindowKeepingFocus(program);
}

}  // namespace inkrelay
