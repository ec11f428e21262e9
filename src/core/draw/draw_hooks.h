#pragma once
// The drawing half's view of the windows: yields, the progress bar, questions, messages, focus,
// the clock's time of day and the log file. Handlers in app/ wire them to the program.

#include <cstdint>
#include <functional>
#include <string>

#include "draw/drawing_log.h"

namespace inkrelay {

enum class DrawNotice { Information, Critical };

struct DrawHooks {
    std::function<void()> Yield;
    std::function<void(int32_t maximum)> SetProgressMaximum;
    std::function<void(int32_t value)> SetProgress;
    // A Yes/No box with the exclamation icon; true for Yes.
    std::function<bool(const std::string& text)> AskYesNo;
    // A box with an OK button; CR in the text is a line break.
    std::function<void(const std::string& text, DrawNotice icon)> Show;
    std::function<void()> FocusMainWindow;
    std::function<std::string()> TimeOfDay;
    // Writes Inkrelay.log; its failures are reported by the hook and do not stop the run.
    std::function<void(const DrawLogLines& lines)> WriteLog;
};

}  // namespace inkrelay
