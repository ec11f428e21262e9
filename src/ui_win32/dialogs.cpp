#include "dialogs.h"

#include <commctrl.h>

#include <cwctype>

#include "app/error_report.h"
#include "app/program.h"

namespace inkrelay::win32 {

namespace {

// Not WS_CLIPCHILDREN, for the frames' insides (see Form1).
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
// Above every window, like the main window, and tabbing among its controls.
constexpr DWORD DialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

// The letter after a single "&" of a caption, upper case; 0 for none.
wchar_t MnemonicOf(std::string_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

int16_t Ticked(HWND box) {
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

}  // namespace

TableDialog::TableDialog(const WindowLayout& layout, HWND owner, HFONT font) : layout_(layout) {
    const std::wstring title = Wide(layout.Title);
    Create(L"InkrelayDialog", ::GetSysColorBrush(COLOR_BTNFACE), DialogExStyle, DialogStyle,
           title.c_str(), DefaultPlace,
           OuterSize(layout.ClientWidth, layout.ClientHeight, DialogStyle, DialogExStyle, false),
           owner, nullptr);
    controls_.emplace(layout, Handle(), font);
}

void TableDialog::Present() {
    OnShowing();
    // Over the middle of its owner, as a dialog box opens.
    RECT owner{};
    RECT self{};
    ::GetWindowRect(::GetWindow(Handle(), GW_OWNER), &owner);
    ::GetWindowRect(Handle(), &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    ::SetWindowPos(Handle(), HWND_TOPMOST, owner.left + (owner.right - owner.left - width) / 2,
                   owner.top + (owner.bottom - owner.top - height) / 2, 0, 0, SWP_NOSIZE);
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    for (const ControlPlace& place : layout_.Controls) {
        HWND control = Control(place.Name);
        if ((::GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) != 0) {
            ::SetFocus(control);
            break;
        }
    }
}

bool TableDialog::TakeMnemonic(const MSG& message) {
    if (message.message != WM_SYSCHAR || !::IsChild(Handle(), message.hwnd))
        return false;
    const auto letter = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(message.wParam)));
    for (const ControlPlace& place : layout_.Controls) {
        if (place.Kind == ControlKind::Label && !place.Buddy.empty() &&
            MnemonicOf(place.Caption) == letter) {
            ::SetFocus(Control(place.Buddy));
            return true;
        }
    }
    return false;
}

LRESULT TableDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && lParam == 0) {
                Accept();
            } else if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
                Reject();
            } else if (HIWORD(wParam) == BN_CLICKED) {
                OnControl(controls_->NameOf(reinterpret_cast<HWND>(lParam)));
            }
            return 0;
        case DM_GETDEFID:
            // Enter presses the table's default button.
            for (const ControlPlace& place : layout_.Controls)
                if (place.Default)
                    return MAKELRESULT(IDOK, DC_HASDEFID);
            return 0;
        case WM_CLOSE: Reject(); return 0;
        default: break;
    }
    return Win32Window::HandleMessage(message, wParam, lParam);
}

Dialog1::Dialog1(HWND owner, HFONT font, HFONT boldFont)
    : TableDialog(Dialog1Layout(), owner, font) {
    for (const ControlPlace& place : Dialog1Layout().Controls)
        if (place.Bold)
            ::SendMessageW(Control(place.Name), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont),
                           FALSE);
    if (HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)))
        ::SendMessageW(Control("Picture1"), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void Dialog1::OnControl(std::string_view name) {
    if (name == "Command1")
        Accept();
}

Dialog2::Dialog2(Program& program, HWND owner, HFONT font)
    : TableDialog(Dialog2Layout(), owner, font), program_(program) {
    for (const std::string_view entry : QualityListEntries)
        ::SendMessageW(Control("Combo1"), CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    for (const std::string_view entry : MethodListEntries)
        ::SendMessageW(Control("Combo2"), CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    HWND slider = Control("Slider1");
    ::SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(SlowestSpeed, FastestSpeed));
    ::SendMessageW(slider, TBM_SETLINESIZE, 0, 1);
    ::SendMessageW(slider, TBM_SETPAGESIZE, 0, 1);
    ::SendMessageW(slider, TBM_SETTICFREQ, 1, 0);
}

void Dialog2::ShowValues(const OptionsControls& values) {
    ::SendMessageW(Control("Combo1"), CB_SETCURSEL, static_cast<WPARAM>(values.Combo1Index), 0);
    ::SendMessageW(Control("Combo2"), CB_SETCURSEL, static_cast<WPARAM>(values.Combo2Index), 0);
    ::SendMessageW(Control("Check1"), BM_SETCHECK, values.Check1 == 1 ? BST_CHECKED : BST_UNCHECKED,
                   0);
    ::SendMessageW(Control("Check2"), BM_SETCHECK, values.Check2 == 1 ? BST_CHECKED : BST_UNCHECKED,
                   0);
    ::SendMessageW(Control("Slider1"), TBM_SETPOS, TRUE, values.Slider1);
}

OptionsControls Dialog2::ReadValues() const {
    return {static_cast<int16_t>(::SendMessageW(Control("Combo1"), CB_GETCURSEL, 0, 0)),
            static_cast<int16_t>(::SendMessageW(Control("Combo2"), CB_GETCURSEL, 0, 0)),
            Ticked(Control("Check1")), Ticked(Control("Check2")),
            static_cast<int16_t>(::SendMessageW(Control("Slider1"), TBM_GETPOS, 0, 0))};
}

void Dialog2::OnShowing() {
    // Every showing starts from the stored settings.
    RunHandler(program_, [&] { ShowValues(logic_.Load(program_.State)); });
}

void Dialog2::Accept() {
    RunHandler(program_, [&] { logic_.Ok(program_, ReadValues()); });
    TableDialog::Accept();
}

void Dialog2::OnControl(std::string_view name) {
    if (name == "Command1")
        Accept();
    else if (name == "Command2")
        Reject();
}

}  // namespace inkrelay::win32
