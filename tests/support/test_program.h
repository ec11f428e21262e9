#pragma once
// A Program over a fresh state record, an empty image window, a FakeUi, a SimDesktop and a
// temporary program folder.

#include <memory>

#include "app/program.h"
#include "fake_ui.h"
#include "sim_desktop.h"
#include "temp_dir.h"

namespace inkrelay::test {

struct TestProgram {
    explicit TestProgram(int32_t colourBits = 24, int32_t width = 1280, int32_t height = 1024)
        : Screen(width, height, colourBits),
          State(std::make_unique<AppState>()),
          Image(std::make_unique<ImageWindowModel>()),
          Run{*State, *Image, Ui, Screen, Folder.String()} {}

    std::filesystem::path SettingsFile() const { return Folder / "Inkrelay.ini"; }

    TempDir Folder;
    FakeUi Ui;
    SimDesktop Screen;
    std::unique_ptr<AppState> State;
    std::unique_ptr<ImageWindowModel> Image;
    Program Run;
};

// The file a first run leaves behind: the defaults in 14 CR LF lines.
inline constexpr const char* DefaultSettingsText =
    "[Version]\r\nVersion=2.10;\r\n[Main Settings]\r\nMode=0;\r\nApplet=1;\r\nScanCol=0;\r\n"
    "[Recovery Settings]\r\nQuality=0;\r\nFormula=0;\r\n[Scan Settings]\r\nAutoClose=1;\r\n"
    "[Draw Settings]\r\nSpeed=5;\r\nCheck=1;\r\n";

}  // namespace inkrelay::test
