#pragma once
// The core's message boxes as Qt message boxes.

#include <QMessageBox>
#include <string_view>

#include "app/ui_port.h"

namespace inkrelay::ui {

inline constexpr const char* MessageBoxTitle = "インクリレー";

// The core's UTF-8 text for display: a CR, or a CR LF, is a line break.
QString DisplayText(std::string_view text);
QMessageBox::Icon BoxIcon(MessageIcon icon);

// Modal and above every window, with OK.
void ShowMessageBox(const std::string& text, MessageIcon icon);
// Modal and above every window, with Yes and No; closing it some other way answers No.
MessageAnswer AskYesNoBox(const std::string& text, MessageIcon icon);

}  // namespace inkrelay::ui
