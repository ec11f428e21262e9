#pragma once
// The drawing-speed benchmark's runs, each on a private Xvfb of its own with a fresh practice
// applet: the raw XTest replay of a list (the limit), the real inkrelay driven along the user's
// road, and the core with the X11 back end driven directly (the harness, which can count).

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "draw_speed_counting.h"
#include "draw_speed_lists.h"

namespace inkrelay::speed {

struct Programs {
    std::filesystem::path Inkrelay;
    std::filesystem::path Readme;
    std::filesystem::path PracticeApplet;
};

// One picture read one way and drawn into one applet.
struct Case {
    std::string Name;  // "photo, inkjet"
    ReadMethod Method = ReadMethod::Inkjet;
    int16_t Applet = 1;
    const Picture* Source = nullptr;
    const DrawList* List = nullptr;
    const std::vector<uint32_t>* Expected = nullptr;
};

struct Measurement {
    double Seconds = 0;  // start to the end the variant defines (see each run)
    // Start until the canvas on the screen was first seen exact (read every 5 ms on a thread of
    // its own); 0 if never.
    double ExactAfter = 0;
    int32_t Wrong = -1;      // canvas pixels that differ at the end; 0 for exact
    int32_t ErrorLines = 0;  // the program's failed checks in Inkrelay.log
    bool Completed = false;  // the run ended as it should (completion box, outcome)
    // Draw-list events replayed: the list's, or those a stopped harness run replayed.
    int32_t Events = 0;
    bool Capped = false;
    HarnessTallies Tallies;  // the harness only
    int64_t XEvents = 0;     // the raw replay only: moves and button events sent
    std::string Note;        // why a canvas was not exact, where the run can tell
};

// Raw XTest: the recorded moves and button events with no pause, one XFlush per draw-list event
// and an XSync after the last. Seconds: until the canvas on the screen is exact, within deadline.
Measurement RunRaw(const Programs& programs, const Case& c, std::chrono::seconds deadline);

// inkrelay along the user's road at Speed 5. Seconds: from the confirmation answered to the
// completion box.
Measurement RunProgram(const Programs& programs, const Case& c, bool check,
                       std::chrono::seconds deadline);

// DrawRun over the X11 back end, counted and timed per call, yielding with Qt's processEvents
// (on the offscreen platform: no X connection of its own). perEventCheck applies to the browser
// applets. Seconds: Run() from start to return. With stopAfter, Esc reads as held at the
// poll after that many events and the abort question is answered Yes: the run stops there, and
// its canvas is compared with what those events draw.
Measurement RunHarness(const Programs& programs, const Case& c, bool check, bool perEventCheck,
                       std::optional<int32_t> stopAfter);

}  // namespace inkrelay::speed
