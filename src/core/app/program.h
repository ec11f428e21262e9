#pragma once
// What every handler works on: the state record, the image window's data and the two ports.

#include <string>

#include "app/app_state.h"
#include "app/image_window_model.h"
#include "app/ui_port.h"
#include "desktop/desktop.h"

namespace inkrelay {

struct Program {
    AppState& State;
    ImageWindowModel& Image;
    Ui& Windows;
    Desktop& Screen;
    std::string ProgramDir;  // the running executable's folder, where the readme lives
    // Where Inkrelay.ini and Inkrelay.log live; empty means ProgramDir. See ChooseSettingsDir.
    std::string SettingsDir{};
};

}  // namespace inkrelay
