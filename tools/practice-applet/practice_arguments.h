#pragma once
// The command line of practice-applet.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace inkrelay::practice {

struct PracticeArguments {
    int16_t Applet = 1;
    int16_t Layout = 0;
    int16_t CanvasWidth = 400;
    int16_t CanvasHeight = 400;
    int32_t DropEvery = 0;  // 0: no bar press is lost
    int32_t LagMilliseconds = 0;
    bool NoPickUp = false;
    bool Dead = false;
    std::string DumpFile;  // empty: no dump
    // How fast the model takes its input; nothing: the applet's own (see SetUp).
    std::optional<int32_t> EventCostMicros;
    std::optional<int32_t> StallEvery;  // 0: no stall
    std::optional<int32_t> StallMilliseconds;
};

// The applets are those of the profile table, however many it holds.
std::string PracticeUsage();

inline constexpr int16_t MaxCanvasSide = 2000;
inline constexpr int32_t MaxLagMilliseconds = 60000;
inline constexpr int32_t MaxEventCostMicros = 1000000;
inline constexpr int32_t MaxStallMilliseconds = 60000;

// The exit statuses: a refused command line, and a window or dump that failed.
inline constexpr int BadArgumentsStatus = 2;
inline constexpr int FailedStatus = 1;

// The arguments after the program's name; on a fault, error says what is wrong.
std::optional<PracticeArguments> ParsePracticeArguments(const std::vector<std::string>& args,
                                                        std::string& error);

// What is said about a refused command line: the fault and the usage, each on its own line.
std::string ArgumentFault(const std::string& error);

}  // namespace inkrelay::practice
