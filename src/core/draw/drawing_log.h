#pragma once
// The run log: 32 lines kept in memory during a drawing run and written to Inkrelay.log at its
// end. Slot 0 is the header, slot 1 the start line, slots 2 to 31 a ring of error lines; the
// finish line takes the slot the next error line would have taken.

#include <array>
#include <cstdint>
#include <string>

#include "desktop/desktop.h"
#include "draw/run_position.h"
#include "scan/draw_list.h"

namespace inkrelay {

inline constexpr int16_t LogSlotCount = 32;
inline constexpr int16_t FirstErrorSlot = 2;

using DrawLogLines = std::array<std::string, LogSlotCount>;

// n in decimal with at least `digits` digits; a negative n gets its sign before the padding.
std::string PadNumber(int64_t n, int digits);

// The local time of day as HH:MM:SS.
std::string LocalTimeOfDay();

struct LogHeader {
    int16_t Mode = 0;
    int16_t Applet = 0;
    int16_t Speed = 0;
    int32_t ScanWidth = 0;
    int32_t ScanHeight = 0;
    ScreenPoint DrawPos;
    ScreenPoint RGBBarPos;
    int32_t EventMemEnd = 0;
};
std::string HeaderLine(const LogHeader& header);
std::string StartLine(const std::string& time);
std::string FinishLine(const std::string& time);

// What an error line records of the run at a failed check.
struct LogErrorState {
    EventCode FailedCode = Mk;
    int16_t ErrCnt = 0;
    int16_t RGBBarNum = 0;
    int16_t DET = 0;
    RunPosition At;  // just past the failed event
};
// RmkRGB comes from the levels of the Mk at RmkPnt.
std::string ErrorLine(const std::string& time, const LogErrorState& state, const EventMemory& mem);

// The slot after an error line's: 31 is followed by 2.
int16_t NextLogSlot(int16_t slot);

// Replaces the file with the non-empty slots in slot order, each ended by CR LF, through
// ReplaceFileContents. Returns 0, or the runtime's code of the first failure (the new file not
// created, a write, the flush or putting it in place), and then the previous log is kept.
int32_t WriteDrawingLog(const std::string& path, const DrawLogLines& lines);

// The notice after a failed run, naming where the log is.
std::string LogNoticeText(const std::string& path);

}  // namespace inkrelay
