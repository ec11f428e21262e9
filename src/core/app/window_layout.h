#pragma once
// Where every control of the main window and the two dialogs stands, what it says and in which
// order it is made, and the main window's menu tree: one table that each front end builds its
// windows from, so that the Qt windows and the Win32 ones cannot drift apart. What a control
// does is the handlers'; what it looks like in detail (fonts, list entries, ranges) is the
// front end's.

#include <cstdint>
#include <span>
#include <string_view>

namespace inkrelay {

enum class ControlKind {
    Frame,        // a group box with its caption
    Option,       // a radio button
    Command,      // a push button
    Combo,        // a drop-down list
    Text,         // a read-only text box; the caption is its first text
    Picture,      // a picture box with a sunken border
    Swatch,       // the line colour shown as a filled box
    Icon,         // the program's icon, 32 × 32
    Label,        // static text
    Check,        // a check box
    Slider,       // a horizontal trackbar with ticks below
    StatusBar,    // the status bar; its panels are its parts
    StatusPanel,  // a sunken part of the status bar
    Progress,     // a progress bar
};

struct ControlPlace {
    std::string_view Name;  // the control's numbered name: "Command5"
    ControlKind Kind;
    std::string_view Parent;   // the frame or status bar it stands in; empty: the client area
    std::string_view Caption;  // as shown, "&" before the mnemonic's letter
    int16_t Left;              // in pixels of the parent's client area
    int16_t Top;
    int16_t Width;
    int16_t Height;
    std::string_view Buddy = {};  // a label's: the control its mnemonic gives the focus to
    bool Default = false;         // the button Enter presses
    bool Bold = false;            // a label's caption in bold
};

struct WindowLayout {
    std::string_view Title;
    int16_t ClientWidth;
    int16_t ClientHeight;
    // In the order the controls are made, which is also their tab order. A label comes after the
    // control it names, and a control over another (the progress bar over the status bar's
    // second panel) after the one it covers.
    std::span<const ControlPlace> Controls;
};

struct MenuPlace {
    std::string_view Name;     // "File_Open"; separators are "…_Border"
    std::string_view Parent;   // the menu it opens from; empty for the menu bar's own menus
    std::string_view Caption;  // empty for a separator
    char CtrlKey = 0;          // the shortcut Ctrl + this capital letter; 0 for none
    bool Checkable = false;
    bool IsSeparator() const { return Caption.empty(); }
};

const WindowLayout& Form1Layout();
const WindowLayout& Dialog1Layout();
const WindowLayout& Dialog2Layout();
// Menus before their items, items in their menu's order.
std::span<const MenuPlace> Form1Menus();

// The control or menu item of that name; std::out_of_range when the table has none.
const ControlPlace& PlaceOf(const WindowLayout& window, std::string_view name);
const MenuPlace& MenuItemOf(std::string_view name);

}  // namespace inkrelay
