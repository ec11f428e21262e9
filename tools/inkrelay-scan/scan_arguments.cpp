#include "scan_arguments.h"

#include <charconv>

namespace inkrelay::tools {

namespace {

// Comma-separated whole numbers within [lowest, highest], exactly count of them.
std::optional<std::vector<int32_t>> Numbers(const std::string& text, size_t count, int32_t lowest,
                                            int32_t highest) {
    std::vector<int32_t> values;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (at <= end) {
        int32_t value = 0;
        const auto [next, fault] = std::from_chars(at, end, value);
        if (fault != std::errc() || value < lowest || value > highest)
            return std::nullopt;
        values.push_back(value);
        if (next == end)
            break;
        if (*next != ',')
            return std::nullopt;
        at = next + 1;
    }
    if (values.size() != count)
        return std::nullopt;
    return values;
}

}  // namespace

std::optional<ScanArguments> ParseScanArguments(const std::vector<std::string>& args,
                                                std::string& error) {
    ScanArguments parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--method" || arg == "--quality" || arg == "--range" ||
                                arg == "--line-colour" || arg == "--dump" || arg == "--render";
        if (!takesValue) {
            if (arg.starts_with("--") || !parsed.Picture.empty()) {
                error = "unexpected argument: " + arg;
                return std::nullopt;
            }
            parsed.Picture = arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--method") {
            if (value == "inkjet")
                parsed.Method = ReadMethod::Inkjet;
            else if (value == "prime")
                parsed.Method = ReadMethod::ColorPrime;
            else if (value == "lineart")
                parsed.Method = ReadMethod::LineArt;
            else {
                error = "unknown method: " + value;
                return std::nullopt;
            }
        } else if (arg == "--quality") {
            const auto quality = Numbers(value, 1, 0, 2);
            if (!quality) {
                error = "quality must be 0, 1 or 2";
                return std::nullopt;
            }
            parsed.Quality = static_cast<int16_t>((*quality)[0]);
        } else if (arg == "--range") {
            const auto r = Numbers(value, 4, 0, 32767);
            if (!r || (*r)[0] > (*r)[2] || (*r)[1] > (*r)[3]) {
                error = "range must be L,T,R,B with L <= R and T <= B";
                return std::nullopt;
            }
            parsed.Range = RangeSlots{static_cast<int16_t>((*r)[0]), static_cast<int16_t>((*r)[1]),
                                      static_cast<int16_t>((*r)[2]), static_cast<int16_t>((*r)[3])};
        } else if (arg == "--line-colour") {
            const auto c = Numbers(value, 3, 0, 255);
            if (!c) {
                error = "line colour must be R,G,B with each 0 to 255";
                return std::nullopt;
            }
            parsed.LineColour = static_cast<uint32_t>((*c)[0] | (*c)[1] << 8 | (*c)[2] << 16);
        } else if (arg == "--dump") {
            parsed.DumpFile = value;
        } else {
            parsed.RenderFile = value;
        }
    }
    if (parsed.Picture.empty()) {
        error = "no picture given";
        return std::nullopt;
    }
    return parsed;
}

}  // namespace inkrelay::tools
