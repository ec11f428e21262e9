#include "app/image_window.h"

#include "app/control_states.h"
#include "app/program.h"

namespace inkrelay {

void View_ImageWindow_Click(Program& program) {
    if (program.Windows.ObserveControls().ImageWindowVisible) {
        program.Windows.HideImageWindow();
        return;
    }
    program.Windows.ShowImageWindow();
    program.Windows.FocusMainWindow();
}

bool Form2_QueryUnload(Program& program) {
    if (program.State.Closing)
        return true;
    program.State.PickingColour = false;
    program.Windows.HideImageWindow();
    UpdateControls(program);
    return false;
}

}  // namespace inkrelay
