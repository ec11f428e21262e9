#pragma once
// Hooks for a drawing run nobody watches: no yield, no dialogs, no log, the abort declined.

#include <cstdint>
#include <string>

#include "draw/draw_hooks.h"

namespace inkrelay {

inline DrawHooks QuietDrawHooks() {
    DrawHooks hooks;
    hooks.Yield = [] {};
    hooks.SetProgressMaximum = [](int32_t) {};
    hooks.SetProgress = [](int32_t) {};
    hooks.AskYesNo = [](const std::string&) { return false; };
    hooks.Show = [](const std::string&, DrawNotice) {};
    hooks.FocusMainWindow = [] {};
    hooks.TimeOfDay = [] { return std::string("00:00:00"); };
    hooks.WriteLog = [](const DrawLogLines&) {};
    return hooks;
}

}  // namespace inkrelay
