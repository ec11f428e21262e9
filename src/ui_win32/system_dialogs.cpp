#include "system_dialogs.h"

#include <commdlg.h>

#include <array>

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

// No owner with task modality: every window of the program is disabled while the box stands,
// whichever of them was active.
int RunBox(const std::string& text, MessageIcon icon, UINT buttons) {
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
