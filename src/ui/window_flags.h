#pragma once
// The title-bar buttons and stacking of the program's windows.

#include <Qt>

namespace inkrelay::ui {

// Close box and minimize, never maximize; always above other windows.
inline constexpr Qt::WindowFlags MainWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;

// A fixed dialog border with only the close box, above other windows.
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint;

}  // namespace inkrelay::ui
