#include "win32_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <span>
#include <stdexcept>

namespace inkrelay::win32 {

namespace {

struct ClassAndStyle {
    const wchar_t* Class;
    DWORD Style;
};

ClassAndStyle ClassOf(const ControlPlace& place) {
    switch (place.Kind) {
        case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX};
        case ControlKind::Option: return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP};
        case ControlKind::Command:
            return {
                L"BUTTON",
                static_cast<DWORD>(place.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP};
        case ControlKind::Combo: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
        case ControlKind::Text: return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP};
        // Their one-pixel sunken edge is outside the client area, which is then what they show.
        case ControlKind::Picture: return {L"STATIC", 0};
        case ControlKind::Swatch: return {L"STATIC", SS_NOTIFY};
        case ControlKind::Icon: return {L"STATIC", SS_ICON};
        case ControlKind::Label: return {L"STATIC", SS_LEFT};
        case ControlKind::Check: return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP};
        case ControlKind::Slider: return {TRACKBAR_CLASSW, TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP};
        case ControlKind::StatusBar: return {STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE};
        case ControlKind::StatusPanel: return {nullptr, 0};
        case ControlKind::Progress: return {PROGRESS_CLASSW, 0};
    }
    return {nullptr, 0};
}

DWORD ExtendedStyleOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Text: return WS_EX_CLIENTEDGE;
        case ControlKind::Picture:
        case ControlKind::Swatch: return WS_EX_STATICEDGE;
        default: return 0;
    }
}

}  // namespace

RECT ClientRectOf(const WindowLayout& window, const ControlPlace& place) {
    LONG left = place.Left;
    LONG top = place.Top;
    for (std::string_view parent = place.Parent; !parent.empty();) {
        const ControlPlace& outer = PlaceOf(window, parent);
        left += outer.Left;
        top += outer.Top;
        parent = outer.Parent;
    }
    return {left, top, left + place.Width, top + place.Height};
}

Win32Controls::Win32Controls(const WindowLayout& window, HWND client, HFONT font) {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(client, GWLP_HINSTANCE));
    std::vector<int> partEnds;
    for (const ControlPlace& place : window.Controls) {
        if (place.Kind == ControlKind::StatusPanel) {
            panels_.emplace_back(place.Name, static_cast<int>(partEnds.size()));
            partEnds.push_back(place.Left + place.Width);
            made_.emplace_back(place.Name, Find(place.Parent));
            continue;
        }
        const ClassAndStyle kind = ClassOf(place);
        const RECT at = ClientRectOf(window, place);
        // A drop-down list's height is that of its list; the table gives the closed box.
        const LONG height =
            place.Kind == ControlKind::Combo ? place.Height * 8 : at.bottom - at.top;
        // An icon static takes its text as the icon's resource name: it gets none.
        const std::wstring caption = Wide(place.Caption);
        HWND control =
            ::CreateWindowExW(ExtendedStyleOf(place.Kind), kind.Class,
                              place.Kind == ControlKind::Icon ? nullptr : caption.c_str(),
                              WS_CHILD | WS_VISIBLE | kind.Style, at.left, at.top,
                              at.right - at.left, height, client, nullptr, instance, nullptr);
        if (control == nullptr)
            throw std::runtime_error("cannot make the control " + std::string(place.Name));
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (place.Kind == ControlKind::Icon)
            ::SendMessageW(control, STM_SETICON,
                           reinterpret_cast<WPARAM>(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512))),
                           0);
        made_.emplace_back(place.Name, control);
    }
    // One status bar a window: its parts end where its panels do.
    if (!panels_.empty())
        ::SendMessageW(Find(panels_.front().first), SB_SETPARTS, partEnds.size(),
                       reinterpret_cast<LPARAM>(partEnds.data()));
}

HWND Win32Controls::Find(std::string_view name) const {
    const auto found = std::ranges::find(made_, name, &std::pair<std::string_view, HWND>::first);
    if (found == made_.end())
        throw std::logic_error("the layout has no control " + std::string(name));
    return found->second;
}

std::string_view Win32Controls::NameOf(HWND control) const {
    const auto found =
        std::ranges::find(made_, control, &std::pair<std::string_view, HWND>::second);
    return found == made_.end() ? std::string_view{} : found->first;
}

int Win32Controls::PanelPart(std::string_view name) const {
    const auto found = std::ranges::find(panels_, name, &std::pair<std::string_view, int>::first);
    if (found == panels_.end())
        throw std::logic_error("the layout has no status panel " + std::string(name));
    return found->second;
}

HMENU BuildMenuBar() {
    const std::span<const MenuPlace> tree = Form1Menus();
    HMENU bar = ::CreateMenu();
    if (bar == nullptr)
        throw std::runtime_error("cannot make the menu bar");
    std::vector<std::pair<std::string_view, HMENU>> menus;
    const auto menuOf = [&](std::string_view name) {
        if (name.empty())
            return bar;
        const auto found =
            std::ranges::find(menus, name, &std::pair<std::string_view, HMENU>::first);
        if (found == menus.end())
            throw std::logic_error("an item before its menu " + std::string(name));
        return found->second;
    };
    for (size_t row = 0; row < tree.size(); ++row) {
        const MenuPlace& item = tree[row];
        HMENU parent = menuOf(item.Parent);
        const bool opensMenu = std::ranges::any_of(
            tree, [&](const MenuPlace& other) { return other.Parent == item.Name; });
        std::wstring caption = Wide(item.Caption);
        if (item.CtrlKey != 0)
            caption += L"\tCtrl+" + std::wstring(1, static_cast<wchar_t>(item.CtrlKey));
        BOOL added = FALSE;
        if (item.IsSeparator()) {
            added = ::AppendMenuW(parent, MF_SEPARATOR, 0, nullptr);
        } else if (opensMenu) {
            HMENU menu = ::CreatePopupMenu();
            added =
                menu != nullptr && ::AppendMenuW(parent, MF_POPUP | MF_STRING,
                                                 reinterpret_cast<UINT_PTR>(menu), caption.c_str());
            menus.emplace_back(item.Name, menu);
        } else {
            added = ::AppendMenuW(parent, MF_STRING, FirstMenuCommand + row, caption.c_str());
        }
        if (!added)
            throw std::runtime_error("cannot add the menu item " + std::string(item.Name));
    }
    return bar;
}

UINT MenuCommandOf(std::string_view name) {
    const std::span<const MenuPlace> tree = Form1Menus();
    const auto found = std::ranges::find(tree, name, &MenuPlace::Name);
    if (found == tree.end())
        throw std::logic_error("the menu tree has no item " + std::string(name));
    return FirstMenuCommand + static_cast<UINT>(found - tree.begin());
}

const MenuPlace* MenuItemOfCommand(UINT command) {
    const std::span<const MenuPlace> tree = Form1Menus();
    if (command < FirstMenuCommand || command - FirstMenuCommand >= tree.size())
        return nullptr;
    return &tree[command - FirstMenuCommand];
}

std::pair<HMENU, UINT> MenuEntryPosition(HMENU bar, std::string_view name) {
    const std::span<const MenuPlace> tree = Form1Menus();
    const MenuPlace& item = MenuItemOf(name);
    HMENU holder = bar;
    if (!item.Parent.empty()) {
        const auto [outer, at] = MenuEntryPosition(bar, item.Parent);
        holder = ::GetSubMenu(outer, static_cast<int>(at));
    }
    UINT position = 0;
    for (const MenuPlace& other : tree) {
        if (other.Name == name)
            break;
        if (other.Parent == item.Parent)
            ++position;
    }
    return {holder, position};
}

HACCEL BuildAccelerators() {
    const std::span<const MenuPlace> tree = Form1Menus();
    std::vector<ACCEL> keys;
    for (size_t row = 0; row < tree.size(); ++row)
        if (tree[row].CtrlKey != 0)
            keys.push_back({FCONTROL | FVIRTKEY, static_cast<WORD>(tree[row].CtrlKey),
                            static_cast<WORD>(FirstMenuCommand + row)});
    return ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

}  // namespace inkrelay::win32
