#pragma once
// The layout table's windows made of Win32 controls: the second front end builds its main window
// and dialogs from the same rows as the Qt one. A frame's controls stand inside the frame's
// rectangle as siblings of it (a Win32 group box holds no children), in the table's order, which
// is also their tab order; the status bar's panels are its parts.

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/window_layout.h"
#include "win32_text.h"

namespace inkrelay::win32 {

// The control's rectangle in the window's client area: its place plus its parents' origins.
RECT ClientRectOf(const WindowLayout& window, const ControlPlace& place);

class Win32Controls {
  public:
    // Every control of window on client, with font. Throws std::runtime_error naming the control
    // that could not be made.
    Win32Controls(const WindowLayout& window, HWND client, HFONT font);

    // The control's window; for a status panel, its status bar.
    HWND Find(std::string_view name) const;
    // The name of the row that made control; empty for a window not made from the table.
    std::string_view NameOf(HWND control) const;
    // The part of the status bar a panel is, counted from 0.
    int PanelPart(std::string_view name) const;

  private:
    std::vector<std::pair<std::string_view, HWND>> made_;
    std::vector<std::pair<std::string_view, int>> panels_;
};

// The main window's menu bar from the menu tree: captions with their mnemonics and, after a tab,
// their shortcuts; each item gets the command id FirstMenuCommand + its row in the tree.
inline constexpr UINT FirstMenuCommand = 1000;
HMENU BuildMenuBar();
// The command id of a menu item, and the item of a command id (nullptr for none of ours).
UINT MenuCommandOf(std::string_view name);
const MenuPlace* MenuItemOfCommand(UINT command);
// The menu that holds the entry and the entry's position in it, for entries that open a menu
// and so have no command id.
std::pair<HMENU, UINT> MenuEntryPosition(HMENU bar, std::string_view name);
// Ctrl + letter for every item with a shortcut, for TranslateAcceleratorW.
HACCEL BuildAccelerators();

}  // namespace inkrelay::win32
