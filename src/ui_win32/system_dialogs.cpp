#include "system_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <memory>
#include <string_view>
#include <type_traits>

#include "runtime_error.h"
#include "win32_layout.h"

namespace inkrelay::win32 {

std::wstring BoxText(std::string_view text) {
    const std::wstring wide = Wide(text);
    std::wstring shown;
    shown.reserve(wide.size() + 8);
    for (size_t i = 0; i < wide.size(); ++i) {
        shown += wide[i];
        if (wide[i] == L'\r' && (i + 1 == wide.size() || wide[i + 1] != L'\n'))
            shown += L'\n';
    }
    return shown;
}

UINT BoxIconFlag(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical: return MB_ICONHAND;
        case MessageIcon::Exclamation: return MB_ICONEXCLAMATION;
        case MessageIcon::Information: return MB_ICONASTERISK;
        case MessageIcon::Question: return MB_ICONQUESTION;
    }
    return 0;
}

namespace {

constexpr UINT_PTR EscapeSubclass = 1;

// A box with no Cancel button gives Esc no answer on Windows, but wine's answers No. The user who
// holds Esc to stop a drawing run would answer the question "No" with the key's repeats, again
// and again, so the box drops the cancel command itself.
LRESULT CALLBACK IgnoreCancel(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        return 0;
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(box, IgnoreCancel, EscapeSubclass);
    return ::DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK WatchForBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const auto window = reinterpret_cast<HWND>(wParam);
        wchar_t kind[16] = {};
        ::GetClassNameW(window, kind, 16);
        // Only a Yes/No box is watched for.
        if (std::wstring_view(kind) == L"#32770")
            ::SetWindowSubclass(window, IgnoreCancel, EscapeSubclass, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookRemover {
    void operator()(HHOOK hook) const { ::UnhookWindowsHookEx(hook); }
};

// No owner with task modality: every window of the program is disabled while the box stands,
// whichever of them was active.
int RunBox(const std::string& text, MessageIcon icon, UINT buttons) {
    std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover> watch;
    if (buttons == MB_YESNO) {
        watch.reset(::SetWindowsHookExW(WH_CBT, WatchForBox, nullptr, ::GetCurrentThreadId()));
        if (!watch)
            throw RuntimeError(ErrorCode::OutOfMemory);
    }
    const int answer =
        ::MessageBoxW(nullptr, BoxText(text).c_str(), MessageBoxTitle,
                      buttons | BoxIconFlag(icon) | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND);
    if (answer == 0)
        throw RuntimeError(ErrorCode::OutOfMemory);
    return answer;
}

}  // namespace

void ShowMessageBox(const std::string& text, MessageIcon icon) {
    RunBox(text, icon, MB_OK);
}

MessageAnswer AskYesNoBox(const std::string& text, MessageIcon icon) {
    return RunBox(text, icon, MB_YESNO) == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

std::wstring OpenFilterText(std::span<const FileFilter> filters) {
    std::wstring text;
    for (const FileFilter& filter : filters) {
        text += Wide(filter.Label);
        text += L'\0';
        text += Wide(filter.Patterns);
        text += L'\0';
    }
    text += L'\0';
    return text;
}

std::optional<std::string> ChooseOpenFileW32(HWND owner, std::span<const FileFilter> filters) {
    const std::wstring filter = OpenFilterText(filters);
    // Long enough for any path the dialog can give back.
    std::array<wchar_t, 32768> chosen{};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (::GetOpenFileNameW(&dialog) != FALSE)
        return Utf8(chosen.data());
    if (::CommDlgExtendedError() != 0)
        throw RuntimeError(ErrorCode::OutOfMemory);
    return std::nullopt;
}

}  // namespace inkrelay::win32
