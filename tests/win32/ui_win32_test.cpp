// The Windows program's windows under wine, over a simulated desktop: what the controls show
// after each step is what the core's rules decide for the state the step left, the image window
// and the options dialog take their input, and the message boxes carry the icon, the buttons
// and the text they are asked for.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/control_states.h"
#include "app/window_layout.h"
#include "dialogs.h"
#include "form1.h"
#include "form2.h"
#include "sim_desktop.h"
#include "system_dialogs.h"
#include "temp_dir.h"
#include "win32_app.h"
#include "win32_layout.h"
#include "win32_window.h"

#include <commctrl.h>

namespace {

using namespace inkrelay;
using namespace inkrelay::win32;

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

bool Enabled(HWND window) {
    return ::IsWindowEnabled(window) != FALSE;
}

// A 24-bit packed DIB of width × height, every pixel colour (0x00BBGGRR).
HGLOBAL PackedDib(int width, int height, uint32_t colour) {
    const int stride = (width * 3 + 3) & ~3;
    const size_t size = sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * height;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    auto* bytes = static_cast<unsigned char*>(::GlobalLock(block));
    std::memset(bytes, 0, size);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
    header->biSize = sizeof *header;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* pixel = bytes + sizeof *header + y * stride + x * 3;
            pixel[0] = static_cast<unsigned char>(colour >> 16);
            pixel[1] = static_cast<unsigned char>(colour >> 8);
            pixel[2] = static_cast<unsigned char>(colour);
        }
    ::GlobalUnlock(block);
    return block;
}

// Runs check from inside whatever modal loop the next call enters, once it has a window to
// look at, then lets act end the loop.
class InsideModal {
  public:
    explicit InsideModal(std::function<bool()> act) : act_(std::move(act)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 20, Tick);
    }
    ~InsideModal() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Done() const { return done_; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ != nullptr && !current_->done_)
            current_->done_ = current_->act_();
    }
    static inline InsideModal* current_ = nullptr;
    std::function<bool()> act_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
};

HWND MessageBoxShown() {
    return ::FindWindowW(L"#32770", MessageBoxTitle);
}

// The box's icon: the one static child that shows an icon.
HICON IconOf(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        ::GetClassNameW(child, kind, 16);
        if (_wcsicmp(kind, L"Static") == 0 &&
            (::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

class Win32Windows : public testing::Test {
  protected:
    Win32Windows()
        : screen_(1024, 768),
          app_(screen_, folder_.Path().string(), [](int status) { FAIL() << "ended " << status; }) {
        app_.Start();
    }

    Form1& Main() { return app_.MainWindow(); }
    HWND Control(std::string_view name) { return Main().Control(name); }
    bool MenuEnabled(std::string_view item) {
        return (::GetMenuState(Main().MenuBar(), MenuCommandOf(item), MF_BYCOMMAND) & MF_GRAYED) ==
               0;
    }
    void Command(std::string_view item) {
        ::SendMessageW(Main().Handle(), WM_COMMAND, MenuCommandOf(item), 0);
        app_.PumpMessages();
    }
    // Pumps until done() or two seconds have passed.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            app_.PumpMessages();
        }
        return done();
    }

    // Every control shows what the rules give for the state as the windows now stand.
    void ExpectControlsFollowTheRules() {
        ControlInputs inputs;
        inputs.ClipboardHasBitmap = ::IsClipboardFormatAvailable(CF_DIB) != FALSE;
        inputs.ImageWindowVisible =
            app_.LoadedImageWindow() != nullptr && app_.LoadedImageWindow()->Visible();
        inputs.Selected = Main().Selected();
        const ControlStates s = ComputeControlStates(app_.Core().State, inputs);
        const auto expectEnabled = [&](std::string_view name, const std::optional<bool>& on) {
            if (on) {
                EXPECT_EQ(Enabled(Control(name)), *on) << name;
            }
        };
        const auto expectMenu = [&](std::string_view name, const std::optional<bool>& on) {
            if (on) {
                EXPECT_EQ(MenuEnabled(name), *on) << name;
            }
        };
        const auto expectText = [&](std::string_view name, const std::optional<std::string>& text) {
            if (text) {
                EXPECT_EQ(TextOf(Control(name)), Wide(*text)) << name;
            }
        };
        expectMenu("File_Open", s.FileOpen);
        expectMenu("Edit_Paste", s.EditPaste);
        expectMenu("Edit_SelectAll", s.EditSelectAll);
        expectMenu("Edit_CancelSelection", s.EditCancelSelection);
        expectMenu("View_ImageWindow", s.ViewImageWindow);
        for (const auto& [name, on] : {std::pair{"Command1", s.Command1},
                                       {"Command2", s.Command2},
                                       {"Command3", s.Command3},
                                       {"Command4", s.Command4},
                                       {"Command5", s.Command5},
                                       {"Command6", s.Command6},
                                       {"Option1", s.Option1Enabled},
                                       {"Option2", s.Option2Enabled},
                                       {"Combo1", s.Combo1Enabled}})
            expectEnabled(name, on);
        expectText("Text1", s.Text1);
        expectText("Text2", s.Text2);
        expectText("Text3", s.Text3);
        if (s.StatusText) {
            wchar_t status[256] = {};
            ::SendMessageW(Control("StatusPanel1"), SB_GETTEXTW,
                           Main().Controls().PanelPart("StatusPanel1"),
                           reinterpret_cast<LPARAM>(status));
            EXPECT_EQ(std::wstring(status), Wide(*s.StatusText));
        }
    }

    void PutPictureOnClipboard(int width, int height, uint32_t colour) {
        ASSERT_TRUE(::OpenClipboard(Main().Handle()));
        ASSERT_TRUE(::EmptyClipboard());
        ASSERT_NE(::SetClipboardData(CF_DIB, PackedDib(width, height, colour)), nullptr);
        ASSERT_TRUE(::CloseClipboard());
    }

    test::TempDir folder_;
    SimDesktop screen_;
    Win32App app_;
};

TEST_F(Win32Windows, theMainWindowIsTheTablesSizeTitleAndMenuAndIsTopmost) {
    const WindowLayout& layout = Form1Layout();
    RECT client{};
    ::GetClientRect(Main().Handle(), &client);
    EXPECT_EQ(client.right, layout.ClientWidth);
    EXPECT_EQ(client.bottom, layout.ClientHeight);
    EXPECT_EQ(TextOf(Main().Handle()), Wide(layout.Title));
    EXPECT_EQ(::GetMenu(Main().Handle()), Main().MenuBar());
    wchar_t caption[64] = {};
    ::GetMenuStringW(Main().MenuBar(), MenuCommandOf("File_Open"), caption, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(caption), Wide(MenuItemOf("File_Open").Caption) + L"\tCtrl+O");
    EXPECT_NE(::GetWindowLongPtrW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ExpectControlsFollowTheRules();
}

TEST_F(Win32Windows, controlsFollowTheRulesThroughAPasteARangeAndItsRemoval) {
    ::OpenClipboard(Main().Handle());
    ::EmptyClipboard();
    ::CloseClipboard();
    ASSERT_TRUE(PumpUntil([&] { return !MenuEnabled("Edit_Paste"); }));
    ExpectControlsFollowTheRules();

    // The clipboard's change reaches the paste item without the menu being opened.
    PutPictureOnClipboard(40, 30, 0x3366CC);
    ASSERT_TRUE(PumpUntil([&] { return MenuEnabled("Edit_Paste"); }));
    Command("Edit_Paste");
    ASSERT_NE(app_.LoadedImageWindow(), nullptr);
    EXPECT_TRUE(app_.LoadedImageWindow()->Visible());
    EXPECT_TRUE(app_.LoadedImageWindow()->Display().Visible());
    EXPECT_NE(::GetMenuState(Main().MenuBar(), MenuCommandOf("View_ImageWindow"), MF_BYCOMMAND) &
                  MF_CHECKED,
              0u);
    EXPECT_EQ(app_.LoadedImageWindow()->Display().Surface().At(5, 5), 0x3366CCu);
    ExpectControlsFollowTheRules();

    Command("Edit_SelectAll");
    EXPECT_TRUE(app_.Core().State.RangeSelected);
    ExpectControlsFollowTheRules();
    Command("Edit_CancelSelection");
    EXPECT_FALSE(app_.Core().State.RangeSelected);
    ExpectControlsFollowTheRules();
}

TEST_F(Win32Windows, aDragOnTheImageWindowSelectsThatRange) {
    PutPictureOnClipboard(60, 50, 0xFFFFFF);
    ASSERT_TRUE(PumpUntil([&] { return MenuEnabled("Edit_Paste"); }));
    Command("Edit_Paste");
    ASSERT_NE(app_.LoadedImageWindow(), nullptr);
    HWND display = app_.LoadedImageWindow()->Display().Handle();
    ::SendMessageW(display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 12));
    ::SendMessageW(display, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 40));
    ::SendMessageW(display, WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    app_.PumpMessages();
    ASSERT_TRUE(app_.Core().State.RangeSelected);
    EXPECT_EQ(TextOf(Control("Text1")), L"(10,12)");
    ExpectControlsFollowTheRules();
    // The outline is drawn into the display's copy of the picture.
    EXPECT_NE(app_.LoadedImageWindow()->Display().Surface().At(10, 12), 0xFFFFFFu);
}

TEST_F(Win32Windows, messageBoxesCarryTheirIconButtonsAndLines) {
    struct Seen {
        std::wstring Text;
        bool Hand = false, Ok = false, Cancel = false;
    } seen;
    {
        InsideModal look([&] {
            HWND box = MessageBoxShown();
            if (box == nullptr)
                return false;
            seen.Text = TextOf(::GetDlgItem(box, 0xFFFF));
            seen.Hand = IconOf(box) == ::LoadIconW(nullptr, MAKEINTRESOURCEW(32513));  // IDI_HAND
            seen.Ok = ::GetDlgItem(box, IDOK) != nullptr;
            seen.Cancel = ::GetDlgItem(box, IDCANCEL) != nullptr &&
                          ::GetDlgItem(box, IDCANCEL) != ::GetDlgItem(box, IDOK);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        });
        app_.Core().Windows.ShowMessage("一行目\r二行目", MessageIcon::Critical);
        ASSERT_TRUE(look.Done());
    }
    EXPECT_EQ(seen.Text, L"一行目\r\n二行目");
    EXPECT_TRUE(seen.Hand);
    EXPECT_TRUE(seen.Ok);

    // Yes and No, and no Cancel: Esc answers nothing.
    int step = 0;
    bool hadNo = false, hadYes = false, hadCancel = true, stoodEsc = false;
    InsideModal answer([&] {
        HWND box = MessageBoxShown();
        if (box == nullptr)
            return false;
        if (step++ == 0) {
            hadYes = ::GetDlgItem(box, IDYES) != nullptr;
            hadNo = ::GetDlgItem(box, IDNO) != nullptr;
            hadCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
            ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
            ::PostMessageW(box, WM_KEYUP, VK_ESCAPE, 0);
            return false;
        }
        stoodEsc = true;
        ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        return true;
    });
    EXPECT_EQ(app_.Core().Windows.AskYesNo("描き込みますか？", MessageIcon::Question),
              MessageAnswer::No);
    EXPECT_TRUE(hadYes);
    EXPECT_TRUE(hadNo);
    EXPECT_FALSE(hadCancel);
    EXPECT_TRUE(stoodEsc);
}

TEST_F(Win32Windows, theOptionsDialogShowsTheSettingsAndOkStoresWhatWasChosen) {
    app_.Core().State.Speed = 2;
    app_.Core().State.Quality = 1;
    int16_t shownSpeed = 0;
    LRESULT shownQuality = -1;
    InsideModal choose([&] {
        Dialog2* dialog = app_.LoadedOptionsDialog();
        if (dialog == nullptr || !dialog->Visible())
            return false;
        shownSpeed =
            static_cast<int16_t>(::SendMessageW(dialog->Control("Slider1"), TBM_GETPOS, 0, 0));
        shownQuality = ::SendMessageW(dialog->Control("Combo1"), CB_GETCURSEL, 0, 0);
        ::SendMessageW(dialog->Control("Slider1"), TBM_SETPOS, TRUE, 4);
        ::SendMessageW(dialog->Control("Command1"), BM_CLICK, 0, 0);
        return true;
    });
    Command("Tool_Option");
    ASSERT_TRUE(choose.Done());
    EXPECT_EQ(shownSpeed, 2);
    EXPECT_EQ(shownQuality, 1);
    EXPECT_EQ(app_.Core().State.Speed, 4);
    EXPECT_FALSE(app_.LoadedOptionsDialog()->Visible());
    // The main window takes input again once the dialog is gone.
    EXPECT_TRUE(Enabled(Main().Handle()));
}

}  // namespace
