#pragma once
// The drawing-speed benchmark's results: one row per run, the table with its ratios, the
// harness's counts per event, and the plot.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "draw_speed_runs.h"

namespace inkrelay::speed {

enum class Variant {
    Raw,             // raw XTest replay: the limit
    CheckOff,        // inkrelay, Check 0
    CheckOn,         // inkrelay, Check 1 (batched on the browser applets)
    HarnessOff,      // core + X11 back end, check off
    HarnessOn,       // core + X11 back end, check on as the applet's profile does it
    HarnessPerEvent  // core + X11 back end, a check after every event on a batching applet
};

std::string VariantName(Variant v);

struct Row {
    std::string CaseName;  // "photo, inkjet"
    int16_t Applet = 1;
    int32_t Events = 0;  // draw-list events replayed: the list's, or a stopped run's
    Variant Kind = Variant::Raw;
    Measurement Result;

    // The drawing is done when the canvas is exact: times and rates are taken to then.
    double Seconds() const { return Result.ExactAfter; }
    double EventsPerSecond() const { return Seconds() > 0 ? Events / Seconds() : 0; }
};

// The row of the same case and applet with that variant, if it was run.
const Row* Find(const std::vector<Row>& rows, const Row& like, Variant kind);

// Rate ÷ the raw rate, and time per event to the exact canvas ÷ that of the check-off run of the
// same tool (the program's Check 0 for its own rows, the harness's for the harness's): the time
// ratio when both replay the whole list. Nothing where the other was not run or either run did
// not end exact.
std::optional<double> RateToRaw(const std::vector<Row>& rows, const Row& row);
std::optional<double> TimeToCheckOff(const std::vector<Row>& rows, const Row& row);

// A Markdown table of every row, with the ratios.
std::string ResultTable(const std::vector<Row>& rows);
// For the harness's rows: calls per event and the share of the run's time spent in each kind.
std::string HarnessTable(const std::vector<Row>& rows);

// Events per second as bars, one group per case and applet, with the raw rate marked.
void WritePlot(const std::vector<Row>& rows, const std::filesystem::path& path);

}  // namespace inkrelay::speed
