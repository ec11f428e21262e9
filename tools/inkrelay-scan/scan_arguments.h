#pragma once
// The command line of inkrelay-scan.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/range_selection.h"
#include "scan/read_method.h"

namespace inkrelay::tools {

struct ScanArguments {
    ReadMethod Method = ReadMethod::Inkjet;
    int16_t Quality = 0;
    std::optional<RangeSlots> Range;  // the whole picture when absent
    uint32_t LineColour = 0;          // 0x00BBGGRR
    std::string DumpFile;
    std::string RenderFile;
    std::string Picture;
};

inline constexpr const char* ScanUsage =
    "usage: inkrelay-scan [--method inkjet|prime|lineart] [--quality 0|1|2] "
    "[--range L,T,R,B] [--line-colour R,G,B] [--dump FILE] [--render FILE.png] PICTURE";

// The arguments after the program's name; on a fault, error says what is wrong.
std::optional<ScanArguments> ParseScanArguments(const std::vector<std::string>& args,
                                                std::string& error);

}  // namespace inkrelay::tools
