#pragma once
// Start-up, the close refusal while busy, and shut-down of the main window.

namespace inkrelay {

struct Program;

namespace ExitStatus {
inline constexpr int Normal = 0;
inline constexpr int Fatal = 1;  // a fatal error or a display the program cannot run on
}  // namespace ExitStatus

inline constexpr const char* ColourDepthMessage =
    "インクリレーは、画面の色が65,536色（16ビット）以下ではご使用になれません。\r"
    "画面のプロパティで、画面の色を1,677万色（24ビット）以上に設定してご使用ください。";
inline constexpr const char* BusyCloseMessage = "画像の読み取り中及び描き込み中は終了できません。";
inline constexpr const char* PartialDesktopMessage =
    "Wayland のデスクトップでは、インクリレーは X "
    "を通して表示されているウィンドウにしか描き込めません。\r"
    "ブラウザーのアプレットに描き込むときは、ブラウザーを X で起動してください。\r"
    "（例: chromium --ozone-platform=x11、または MOZ_ENABLE_WAYLAND=0 firefox）";

// The main window's load: colour-depth check, defaults, screen size, settings, controls,
// topmost. Below 24 bits it shows the message and ends the program without touching the
// settings file. On a desktop whose input and reads reach only some windows it says so once
// and goes on.
void StartUp(Program& program);

// Every way of closing the main window passes here. Refused with a message while a read or a
// drawing run is under way (returns false); otherwise the shut-down runs and does not return.
bool MainWindowQueryUnload(Program& program, int exitStatus = ExitStatus::Normal);

// Closing, the settings written, the other windows unloaded, the program ended.
[[noreturn]] void MainWindowUnload(Program& program, int exitStatus);

// The setting defaults of a first start.
struct AppState;
void SetSettingDefaults(AppState& state);

}  // namespace inkrelay
