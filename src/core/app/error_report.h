#pragma once
// The one place failures end up: the message table, the fatal rule and the message box.

#include <cstdint>
#include <string>
#include <string_view>

namespace inkrelay {

struct Program;

inline constexpr int32_t MessageTableSize = 522;  // entries 0 .. 521

// The table's text for code, or an empty text (entry 0 and unlisted codes).
std::string_view MessageTableText(int32_t code);

struct ErrorMessage {
    std::string Text;
    bool Fatal = false;
};

// The box text for code and whether the program must end. A text not ending in "。", an empty
// entry and codes of 522 and above are fatal. Negative codes come from failed platform calls;
// they get a message of their own and the program goes on.
ErrorMessage ComposeErrorMessage(int32_t code);

// Shows the message; a fatal one clears Scanning and Drawing and closes the main window, which
// ends the program and does not return.
void ReportError(Program& program, int32_t code);

// Runs body; the runtime's code of the failure that stopped it, or 0.
template <typename Body>
int32_t TrapFailure(Body&& body);

// Runs a handler's body, handing its first failure to ReportError.
template <typename Body>
void RunHandler(Program& program, Body&& body);

}  // namespace inkrelay

#include "app/error_report_inl.h"
