// The inkrelay program for Windows: this machine's desktop, driven from the Win32 windows.

#include "win32_window.h"  // windows.h, before the common controls' header

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/error_report.h"
#include "app/lifecycle.h"
#include "platform_desktop.h"
#include "runtime_error.h"
#include "system_dialogs.h"
#include "wic_pictures.h"
#include "win32_app.h"
#include "win32_layout.h"

namespace {

[[noreturn]] void EndProcess(int exitStatus) {
    // A handler interrupted while yielding to the message loop must never run again, so the
    // program cannot return through the message loop: buffers are flushed and the process ends.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exitStatus);
}

// The folder of the running executable, where the settings, the log and the readme live.
std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return ".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return inkrelay::win32::Utf8(slash == std::wstring::npos ? L"." : path.substr(0, slash));
}

void FailAtStart(const std::string& text) {
    ::MessageBoxW(nullptr, inkrelay::win32::BoxText(text).c_str(), inkrelay::win32::MessageBoxTitle,
                  MB_OK | MB_ICONHAND | MB_TOPMOST);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
    if (::InitCommonControlsEx(&controls) == FALSE) {
        FailAtStart("コモン コントロールを初期化できません。");
        return inkrelay::ExitStatus::Fatal;
    }
    try {
        const inkrelay::win32::ComApartment com;
        std::unique_ptr<inkrelay::Desktop> desktop;
        try {
            desktop = inkrelay::OpenPlatformDesktop();
        } catch (const inkrelay::RuntimeError& error) {
            FailAtStart("画面（ディスプレイ）を使えません。\r" +
                        inkrelay::ComposeErrorMessage(error.Code()).Text);
            return inkrelay::ExitStatus::Fatal;
        }
        inkrelay::win32::Win32App app(*desktop, ProgramFolder(), EndProcess);
        // Settings stay beside the executable, as a program unpacked from a zip has always kept
        // them; a read-only folder is reported when they are written.
        app.Core().SettingsDir = app.Core().ProgramDir;
        app.Start();
        app.Run();
    } catch (const std::exception& error) {
        // Only the windows' own making gets here; the handlers report their failures themselves.
        FailAtStart(std::string("インクリレーを起動できません。\r") + error.what());
        return inkrelay::ExitStatus::Fatal;
    }
}
