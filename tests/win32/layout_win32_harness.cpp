// The Win32 windows built from the layout table, read back as a user's tools would: every row's
// control at its place in the client area, with its caption, in the table's tab order, the
// status bar's parts where the panels end, and the menu bar's tree with its shortcuts.

#include "win32_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace inkrelay;
using namespace inkrelay::win32;

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
    ++(ok ? passed : failed);
    if (!ok)
        std::printf("FAILED: %s\n", what.c_str());
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

bool CaptionShown(ControlKind kind) {
    return kind == ControlKind::Frame || kind == ControlKind::Option ||
           kind == ControlKind::Command || kind == ControlKind::Text ||
           kind == ControlKind::Label || kind == ControlKind::Check;
}

HWND MakeWindow(const WindowLayout& layout) {
    RECT frame{0, 0, layout.ClientWidth, layout.ClientHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    ::AdjustWindowRect(&frame, style, FALSE);
    return ::CreateWindowExW(0, L"LayoutHarness", Wide(layout.Title).c_str(), style, 20, 20,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

void CheckWindow(const WindowLayout& layout) {
    const std::string window(layout.Title);
    HWND top = MakeWindow(layout);
    Check(top != nullptr, window + ": the window is made");
    if (top == nullptr)
        return;
    const Win32Controls controls(layout, top, static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    RECT client{};
    ::GetClientRect(top, &client);
    Check(client.right == layout.ClientWidth && client.bottom == layout.ClientHeight,
          window + ": the client area is the layout's size");
    Check(TextOf(top) == Wide(layout.Title), window + ": the title");

    std::vector<HWND> order;
    for (const ControlPlace& place : layout.Controls) {
        const std::string name = window + " " + std::string(place.Name);
        HWND control = controls.Find(place.Name);
        if (place.Kind == ControlKind::StatusPanel) {
            int ends[8] = {};
            const auto parts = ::SendMessageW(control, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(ends));
            const int part = controls.PanelPart(place.Name);
            Check(part < parts && ends[part] == place.Left + place.Width,
                  name + ": the status bar's part ends where the panel does");
            continue;
        }
        order.push_back(control);
        RECT at{};
        ::GetWindowRect(control, &at);
        ::MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&at), 2);
        const RECT want = ClientRectOf(layout, place);
        const bool placed = at.left == want.left && at.top == want.top &&
                            at.right == want.right &&
                            (place.Kind == ControlKind::Combo || at.bottom == want.bottom);
        Check(placed, name + ": at " + std::to_string(want.left) + "," + std::to_string(want.top) +
                          " " + std::to_string(want.right - want.left) + "x" +
                          std::to_string(want.bottom - want.top) + ", found " +
                          std::to_string(at.left) + "," + std::to_string(at.top) + " " +
                          std::to_string(at.right - at.left) + "x" +
                          std::to_string(at.bottom - at.top));
        if (CaptionShown(place.Kind))
            Check(TextOf(control) == Wide(place.Caption), name + ": its caption");
    }
    // Tab goes through the children in the order they were made.
    std::vector<HWND> zOrder;
    for (HWND child = ::GetWindow(top, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        zOrder.push_back(child);
    Check(zOrder == order, window + ": the controls in the table's order");
    ::DestroyWindow(top);
}

void CheckMenus() {
    HMENU bar = BuildMenuBar();
    std::vector<std::wstring> seen;
    const auto walk = [&](auto&& self, HMENU menu, std::wstring path) -> void {
        const int count = ::GetMenuItemCount(menu);
        for (int k = 0; k < count; ++k) {
            wchar_t text[256] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(k), text, 256, MF_BYPOSITION);
            seen.push_back(path + L"/" + (text[0] == 0 ? std::wstring(L"-") : std::wstring(text)));
            if (HMENU sub = ::GetSubMenu(menu, k))
                self(self, sub, std::wstring(seen.back()));
        }
    };
    walk(walk, bar, L"");
    std::vector<std::wstring> want;
    for (const MenuPlace& item : Form1Menus()) {
        std::wstring path;
        for (std::string_view parent = item.Parent; !parent.empty();
             parent = MenuItemOf(parent).Parent)
            path = L"/" + Wide(MenuItemOf(parent).Caption) + path;
        std::wstring caption = item.IsSeparator() ? L"-" : Wide(item.Caption);
        if (item.CtrlKey != 0)
            caption += L"\tCtrl+" + std::wstring(1, static_cast<wchar_t>(item.CtrlKey));
        want.push_back(path + L"/" + caption);
    }
    // The tree's rows are menus first, then their items, as the bar lists them.
    Check(seen.size() == want.size(), "the menu bar holds every row of the tree");
    for (const std::wstring& row : want)
        Check(std::find(seen.begin(), seen.end(), row) != seen.end(),
              "a menu row is on the menu bar");
    Check(BuildAccelerators() != nullptr, "the shortcuts make an accelerator table");
    ::DestroyMenu(bar);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                   ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&common);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LayoutHarness";
    ::RegisterClassW(&windowClass);
    CheckWindow(Form1Layout());
    CheckWindow(Dialog1Layout());
    CheckWindow(Dialog2Layout());
    CheckMenus();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
