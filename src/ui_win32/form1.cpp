#include "form1.h"

#include <commctrl.h>

#include <array>
#include <stdexcept>
#include <string>

#include "app/draw_commands.h"
#include "app/error_report.h"
#include "app/image_window.h"
#include "app/lifecycle.h"
#include "app/main_window.h"
#include "app/picture_loading.h"
#include "app/range_commands.h"
#include "app/restore_mode.h"
#include "app/scan_command.h"
#include "app/window_layout.h"
#include "win32_app.h"

namespace inkrelay::win32 {

namespace {

// Not WS_CLIPCHILDREN: a group box paints no background of its own, so the window must paint
// the one inside each frame.
constexpr DWORD Form1Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Tab and the mnemonics move among the controls as in a dialog.
constexpr DWORD Form1ExStyle = WS_EX_CONTROLPARENT;

using Handler = void (*)(Program&);

struct NamedHandler {
    std::string_view Name;
    Handler Run;
};

constexpr std::array MenuHandlers = {
    NamedHandler{"File_Open", File_Open_Click},
    NamedHandler{"File_Exit", File_Exit_Click},
    NamedHandler{"Edit_Paste", Edit_Paste_Click},
    NamedHandler{"Edit_SelectAll", Edit_SelectAll_Click},
    NamedHandler{"Edit_CancelSelection", Edit_CancelSelection_Click},
    NamedHandler{"View_ImageWindow", View_ImageWindow_Click},
    NamedHandler{"Help_ShowReadme", Help_ShowReadme_Click},
};

constexpr std::array ButtonHandlers = {
    NamedHandler{"Option1", Option1_Click},   NamedHandler{"Option2", Option2_Click},
    NamedHandler{"Command1", Command1_Click}, NamedHandler{"Command2", Command2_Click},
    NamedHandler{"Command3", Command3_Click}, NamedHandler{"Command4", Command4_Click},
    NamedHandler{"Command5", Command5_Click}, NamedHandler{"Command6", Command6_Click},
};

constexpr std::string_view SquarePrefix = "Edit_SelectSquare_";

Handler Find(std::span<const NamedHandler> table, std::string_view name) {
    for (const NamedHandler& entry : table)
        if (entry.Name == name)
            return entry.Run;
    return nullptr;
}

void SetEnabled(HWND control, const std::optional<bool>& enabled) {
    if (enabled)
        ::EnableWindow(control, *enabled ? TRUE : FALSE);
}

void SetText(HWND control, const std::optional<std::string>& text) {
    if (text)
        ::SetWindowTextW(control, Wide(*text).c_str());
}

}  // namespace

Form1::Form1(Win32App& app) : app_(app) {
    const WindowLayout& layout = Form1Layout();
    menuBar_ = BuildMenuBar();
    accelerators_.reset(BuildAccelerators());
    if (!accelerators_)
        throw std::runtime_error("cannot make the shortcut keys");
    const std::wstring title = Wide(layout.Title);
    Create(L"InkrelayForm1", ::GetSysColorBrush(COLOR_BTNFACE), Form1ExStyle, Form1Style,
           title.c_str(), DefaultPlace,
           OuterSize(layout.ClientWidth, layout.ClientHeight, Form1Style, Form1ExStyle, true),
           nullptr, menuBar_);
    // A menu bar too wide for one line would take client height; the table's size holds.
    RECT client{};
    ::GetClientRect(Handle(), &client);
    if (client.bottom != layout.ClientHeight) {
        RECT outer{};
        ::GetWindowRect(Handle(), &outer);
        ::SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left,
                       outer.bottom - outer.top + layout.ClientHeight - client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    controls_.emplace(layout, Handle(), app_.Font());

    // The first option starts a group of the two; the arrows move between them.
    ::SetWindowLongPtrW(Control("Option1"), GWL_STYLE,
                        ::GetWindowLongPtrW(Control("Option1"), GWL_STYLE) | WS_GROUP);
    for (const std::string_view entry : AppletListEntries())
        ::SendMessageW(Control("Combo1"), CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    const RECT previewBox = ClientRectOf(layout, PlaceOf(layout, "Picture2"));
    const RECT magnifierBox = ClientRectOf(layout, PlaceOf(layout, "Picture3"));
    // The sunken edge takes a pixel on each side.
    preview_.Reset(previewBox.right - previewBox.left - 2, previewBox.bottom - previewBox.top - 2,
                   SystemColour(COLOR_BTNFACE));
    magnifier_.Reset(magnifierBox.right - magnifierBox.left - 2,
                     magnifierBox.bottom - magnifierBox.top - 2, SystemColour(COLOR_BTNFACE));
    PaintControlFrom(Control("Picture2"), preview_);
    PaintControlFrom(Control("Picture3"), magnifier_);
    SetSwatch(swatch_);
    // The paste item, and with it Ctrl+V, follows the clipboard without the menu being opened.
    if (::AddClipboardFormatListener(Handle()) == FALSE)
        throw std::runtime_error("cannot follow the clipboard");
}

Form1::~Form1() {
    if (Handle() != nullptr)
        ::RemoveClipboardFormatListener(Handle());
}

SelectedOption Form1::Selected() const {
    if (::SendMessageW(Control("Option1"), BM_GETCHECK, 0, 0) == BST_CHECKED)
        return SelectedOption::Option1;
    if (::SendMessageW(Control("Option2"), BM_GETCHECK, 0, 0) == BST_CHECKED)
        return SelectedOption::Option2;
    return SelectedOption::None;
}

void Form1::EnableMenuEntry(std::string_view name, const std::optional<bool>& enabled) {
    if (!enabled)
        return;
    const UINT state = *enabled ? MF_ENABLED : MF_GRAYED;
    if (name == "Edit_SelectSquare") {  // it opens a menu, so it has no command id
        const auto [menu, position] = MenuEntryPosition(menuBar_, name);
        ::EnableMenuItem(menu, position, MF_BYPOSITION | state);
        return;
    }
    ::EnableMenuItem(menuBar_, MenuCommandOf(name), MF_BYCOMMAND | state);
}

void Form1::SetSwatch(const SwatchColour& colour) {
    swatch_ = colour;
    swatchBrush_.reset(::CreateSolidBrush(
        colour.ButtonFace ? ::GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour.Colour)));
    ::InvalidateRect(Control("Picture1"), nullptr, TRUE);
}

void Form1::Apply(const ControlStates& s) {
    EnableMenuEntry("File_Open", s.FileOpen);
    EnableMenuEntry("File_Exit", s.FileExit);
    EnableMenuEntry("Edit_Paste", s.EditPaste);
    EnableMenuEntry("Edit_SelectAll", s.EditSelectAll);
    EnableMenuEntry("Edit_SelectSquare", s.EditSelectSquare);
    EnableMenuEntry("Edit_CancelSelection", s.EditCancelSelection);
    EnableMenuEntry("View_ImageWindow", s.ViewImageWindow);
    SetEnabled(Control("Option1"), s.Option1Enabled);
    SetEnabled(Control("Option2"), s.Option2Enabled);
    if (s.Picture1Back && !(*s.Picture1Back == swatch_))
        SetSwatch(*s.Picture1Back);
    // Win32's radio buttons may all be off, as the rules sometimes ask.
    if (s.Option1Value)
        ::SendMessageW(Control("Option1"), BM_SETCHECK,
                       *s.Option1Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (s.Option2Value)
        ::SendMessageW(Control("Option2"), BM_SETCHECK,
                       *s.Option2Value ? BST_CHECKED : BST_UNCHECKED, 0);
    SetEnabled(Control("Combo1"), s.Combo1Enabled);
    if (s.Combo1Index)
        ::SendMessageW(Control("Combo1"), CB_SETCURSEL, static_cast<WPARAM>(*s.Combo1Index), 0);
    SetEnabled(Control("Command1"), s.Command1);
    SetEnabled(Control("Command2"), s.Command2);
    SetEnabled(Control("Command3"), s.Command3);
    SetEnabled(Control("Command4"), s.Command4);
    SetEnabled(Control("Command5"), s.Command5);
    SetEnabled(Control("Command6"), s.Command6);
    SetText(Control("Text1"), s.Text1);
    SetText(Control("Text2"), s.Text2);
    SetText(Control("Text3"), s.Text3);
    SetText(Control("Text4"), s.Text4);
    if (s.StatusText)
        ::SendMessageW(Control("StatusPanel1"), SB_SETTEXTW,
                       static_cast<WPARAM>(controls_->PanelPart("StatusPanel1")),
                       reinterpret_cast<LPARAM>(Wide(*s.StatusText).c_str()));
}

void Form1::SetImageWindowChecked(bool checked) {
    ::CheckMenuItem(menuBar_, MenuCommandOf("View_ImageWindow"),
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Form1::SetProgressRange(int minimum, int maximum) {
    ::SendMessageW(Control("ProgressBar1"), PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void Form1::SetProgressValue(int value) {
    ::SendMessageW(Control("ProgressBar1"), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void Form1::RepaintPictureBox(std::string_view name) {
    HWND box = Control(name);
    ::InvalidateRect(box, nullptr, FALSE);
    ::UpdateWindow(box);
}

void Form1::OnMenuItem(std::string_view name) {
    Program& program = app_.Core();
    if (name == "Tool_Option") {
        app_.ShowOptionsDialog();
    } else if (name == "Help_VersionInformation") {
        app_.ShowVersionDialog();
    } else if (name.starts_with(SquarePrefix)) {
        const auto side =
            static_cast<int16_t>(std::stoi(std::string(name.substr(SquarePrefix.size()))));
        RunHandler(program, [&] { Edit_SelectSquare_Click(program, side); });
    } else if (const Handler run = Find(MenuHandlers, name)) {
        RunHandler(program, [&] { run(program); });
    }
}

void Form1::OnControl(std::string_view name, WORD notification) {
    Program& program = app_.Core();
    if (name == "Combo1" && notification == CBN_SELCHANGE) {
        const auto index =
            static_cast<int16_t>(::SendMessageW(Control("Combo1"), CB_GETCURSEL, 0, 0));
        RunHandler(program, [&] { Combo1_Click(program, index); });
    } else if (name == "Picture1" && notification == STN_CLICKED) {
        RunHandler(program, [&] { Picture1_Click(program); });
    } else if (notification == BN_CLICKED) {
        if (const Handler run = Find(ButtonHandlers, name))
            RunHandler(program, [&] { run(program); });
    }
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0) {  // a menu item or its shortcut
                if (const MenuPlace* item = MenuItemOfCommand(LOWORD(wParam)))
                    OnMenuItem(item->Name);
            } else {
                OnControl(controls_->NameOf(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
            }
            return 0;
        case WM_INITMENUPOPUP: {
            // The File and Edit menus bring the controls up to date as they open.
            const auto opened = reinterpret_cast<HMENU>(wParam);
            const auto menuOf = [&](std::string_view name) {
                const auto [bar, position] = MenuEntryPosition(menuBar_, name);
                return ::GetSubMenu(bar, static_cast<int>(position));
            };
            if (HIWORD(lParam) == 0 && (opened == menuOf("File") || opened == menuOf("Edit")))
                RunHandler(app_.Core(), [&] { Menu_Opening(app_.Core()); });
            return 0;
        }
        case WM_CLIPBOARDUPDATE:
            RunHandler(app_.Core(), [&] { UpdateControls(app_.Core()); });
            return 0;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == Control("Picture1"))
                return reinterpret_cast<LRESULT>(swatchBrush_.get());
            break;
        case WM_CLOSE:
            // Never closed by the system: an allowed close ends the program inside the core.
            RunHandler(app_.Core(), [&] { MainWindowQueryUnload(app_.Core()); });
            return 0;
        default: break;
    }
    return Win32Window::HandleMessage(message, wParam, lParam);
}

}  // namespace inkrelay::win32
