#pragma once
// The system's own modal boxes: message boxes and the open dialog.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/ui_port.h"
#include "win32_window.h"

namespace inkrelay::win32 {

inline constexpr const wchar_t* MessageBoxTitle = L"インクリレー";

// The core's UTF-8 text as the box shows it: a CR alone becomes CR LF.
std::wstring BoxText(std::string_view text);
UINT BoxIconFlag(MessageIcon icon);

// Modal for every window of the program and above every window, with OK.
void ShowMessageBox(const std::string& text, MessageIcon icon);
// The same with Yes and No, Yes first; a box with no Cancel ignores Esc, as the system has it.
MessageAnswer AskYesNoBox(const std::string& text, MessageIcon icon);

// The filter string of the open dialog: each label and its patterns, each ended by a NUL.
std::wstring OpenFilterText(std::span<const FileFilter> filters);
// The open dialog over owner, the first type chosen; empty when cancelled. Raises 7 when the
// dialog itself fails.
std::optional<std::string> ChooseOpenFileW32(HWND owner, std::span<const FileFilter> filters);

}  // namespace inkrelay::win32
