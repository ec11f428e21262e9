#pragma once
// A drawing run over a SimDesktop with hooks that record what the run shows, asks and logs.

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "draw/drawing_run.h"
#include "scan/draw_list.h"
#include "sim_desktop.h"

namespace inkrelay::test {

// Shorthands for the mouse logs a test expects.
using Rec = SimDesktop::MouseRecord;
inline constexpr MouseAction Down = MouseAction::LeftDown;
inline constexpr MouseAction Up = MouseAction::LeftUp;

struct DrawRunFixture {
    DrawRunFixture() : Screen(800, 600) {
        Settings.DrawPos = {100, 200};
        Settings.RGBBarPos = {300, 400};
        Settings.LogPath = "/folder/Inkrelay.log";
        // Every tick read moves the clock, so a wait for paint gives up after its second.
        Screen.SetAutoAdvance(10);
        Hooks.Yield = [this] {
            ++Yields;
            if (OnYield)
                OnYield();
        };
        Hooks.SetProgressMaximum = [this](int32_t maximum) { ProgressMaximum = maximum; };
        Hooks.SetProgress = [this](int32_t value) { Progress.push_back(value); };
        Hooks.AskYesNo = [this](const std::string& text) {
            Asked.push_back(text);
            if (Answers.empty())
                return false;
            const bool yes = Answers.front();
            Answers.pop_front();
            return yes;
        };
        Hooks.Show = [this](const std::string& text, DrawNotice icon) {
            Shown.push_back(text);
            Icons.push_back(icon);
        };
        Hooks.FocusMainWindow = [this] { ++Focused; };
        Hooks.TimeOfDay = [] { return std::string("09:05:01"); };
        Hooks.WriteLog = [this](const DrawLogLines& lines) {
            WrittenLog = lines;
            ++LogWrites;
        };
    }

    // Appends one event to the list.
    void Add(EventCode code, std::initializer_list<int16_t> operands = {}) {
        Mem[++End] = code;
        for (int16_t operand : operands) Mem[++End] = operand;
    }

    DrawOutcome Run() {
        DrawRun run(Screen, Mem, End, Settings, Hooks);
        Report = run.Run();
        return Report.Outcome;
    }

    // The written log's non-empty lines in file order.
    std::vector<std::string> LogFileLines() const {
        std::vector<std::string> lines;
        for (const std::string& line : WrittenLog)
            if (!line.empty())
                lines.push_back(line);
        return lines;
    }

    SimDesktop Screen;
    EventMemory Mem;
    int32_t End = 0;
    DrawSettings Settings;
    DrawHooks Hooks;
    std::function<void()> OnYield;
    int64_t Yields = 0;
    int32_t ProgressMaximum = 0;
    std::vector<int32_t> Progress;
    std::deque<bool> Answers;
    std::vector<std::string> Asked;
    std::vector<std::string> Shown;
    std::vector<DrawNotice> Icons;
    int Focused = 0;
    DrawLogLines WrittenLog;
    int LogWrites = 0;
    DrawReport Report;  // of the last run
};

}  // namespace inkrelay::test
