#include "practice_arguments.h"

#include <charconv>
#include <limits>

#include "draw/applet_profile.h"
#include "sim_applet.h"

namespace inkrelay::practice {

namespace {

// A whole number within [lowest, highest] and nothing else.
std::optional<int32_t> Number(std::string_view text, int32_t lowest, int32_t highest) {
    int32_t value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest)
        return std::nullopt;
    return value;
}

bool ParseCanvas(std::string_view text, PracticeArguments& parsed) {
    const size_t x = text.find('x');
    if (x == std::string_view::npos)
        return false;
    const auto width = Number(text.substr(0, x), 1, MaxCanvasSide);
    const auto height = Number(text.substr(x + 1), 1, MaxCanvasSide);
    if (!width || !height)
        return false;
    parsed.CanvasWidth = static_cast<int16_t>(*width);
    parsed.CanvasHeight = static_cast<int16_t>(*height);
    return true;
}

// Applies one option that takes a value; false when the value is not one it takes.
bool ParseValue(const std::string& option, const std::string& value, PracticeArguments& parsed) {
    if (option == "--applet") {
        const auto applet = Number(value, 0, AppletCount - 1);
        parsed.Applet = static_cast<int16_t>(applet.value_or(0));
        return applet.has_value();
    }
    if (option == "--layout") {
        const auto layout = Number(value, 0, 1);
        parsed.Layout = static_cast<int16_t>(layout.value_or(0));
        return layout.has_value();
    }
    if (option == "--canvas")
        return ParseCanvas(value, parsed);
    if (option == "--drop-every") {
        const auto every = Number(value, 1, std::numeric_limits<int32_t>::max());
        parsed.DropEvery = every.value_or(0);
        return every.has_value();
    }
    if (option == "--lag") {
        const auto lag = Number(value, 0, MaxLagMilliseconds);
        parsed.LagMilliseconds = lag.value_or(0);
        return lag.has_value();
    }
    if (option == "--event-cost") {
        parsed.EventCostMicros = Number(value, 0, MaxEventCostMicros);
        return parsed.EventCostMicros.has_value();
    }
    if (option == "--stall-every") {
        parsed.StallEvery = Number(value, 0, std::numeric_limits<int32_t>::max());
        return parsed.StallEvery.has_value();
    }
    if (option == "--stall-ms") {
        parsed.StallMilliseconds = Number(value, 0, MaxStallMilliseconds);
        return parsed.StallMilliseconds.has_value();
    }
    parsed.DumpFile = value;
    return !value.empty();
}

}  // namespace

std::string PracticeUsage() {
    // The defaults as the model has them: the cost, the count, the stall's fixed time and its
    // time per pixel.
    const SimAppletOptions bare = RealisticBrowserApplet(4, 0);
    const SimAppletOptions thousand = RealisticBrowserApplet(4, 1000);
    const std::string usage =
        "usage: practice-applet [--applet 0.." + std::to_string(AppletCount - 1) +
        "] [--layout 0|1] [--canvas WxH] [--drop-every N] [--lag MS] [--event-cost MICROS] "
        "[--stall-every N] [--stall-ms MS] [--no-pickup] [--dead] [--dump FILE.png]\n";
    const std::string cost = "  --event-cost: the applet's time for each input event, 0.." +
                             std::to_string(MaxEventCostMicros) +
                             " microseconds; input waits its turn and none is lost (default " +
                             std::to_string(bare.EventCostMicros) +
                             " for applets 4 and 5, else 0; 0: input handled as it comes, with "
                             "no stall unless one is asked for)\n";
    const std::string stall =
        "  --stall-every, --stall-ms: after every N-th stroke on the canvas nothing is handled "
        "for MS milliseconds, 0.." +
        std::to_string(MaxStallMilliseconds) + " (default for applet 4: every " +
        std::to_string(bare.StallEveryNthStroke) + "th, for " +
        std::to_string(bare.StallMicros / 1000) + " + " +
        std::to_string((thousand.StallMicros - bare.StallMicros) / 1000) +
        " ms per 1000 canvas pixels; else none; N 0: none)";
    return usage + cost + stall;
}

std::string ArgumentFault(const std::string& error) {
    return "practice-applet: " + error + "\n" + PracticeUsage() + "\n";
}

std::optional<PracticeArguments> ParsePracticeArguments(const std::vector<std::string>& args,
                                                        std::string& error) {
    PracticeArguments parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--no-pickup") {
            parsed.NoPickUp = true;
            continue;
        }
        if (arg == "--dead") {
            parsed.Dead = true;
            continue;
        }
        const bool takesValue = arg == "--applet" || arg == "--layout" || arg == "--canvas" ||
                                arg == "--drop-every" || arg == "--lag" || arg == "--event-cost" ||
                                arg == "--stall-every" || arg == "--stall-ms" || arg == "--dump";
        if (!takesValue) {
            error = "unexpected argument: " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (!ParseValue(arg, value, parsed)) {
            error = "bad value for " + arg + ": " + value;
            return std::nullopt;
        }
    }
    return parsed;
}

}  // namespace inkrelay::practice
