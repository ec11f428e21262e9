// libFuzzer over the settings file: arbitrary bytes as Inkrelay.ini, read as start-up reads it
// into the defaults of a first start. A value without its ";" may raise invalid argument (5) and
// nothing else; whatever the file holds, every setting stays one its control accepts, a value
// out of range leaves the default rather than being clamped, and the file the program would
// write back reads back to the same settings.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/settings.h"
#include "draw/applet_profile.h"
#include "fuzz_check.h"
#include "runtime_error.h"

namespace {

using namespace inkrelay;

// The record is large (it holds the draw list); one is made and its settings reset per input.
AppState& Record() {
    static AppState state;
    SetSettingDefaults(state);
    return state;
}

bool Applied(std::string_view joined, AppState& state) {
    try {
        ApplySettings(joined, state);
        return true;
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(e.Code() == ErrorCode::InvalidArgument);
        return false;
    }
}

// A ranged field holds either its default or exactly what the file says.
void KeptOrTaken(int16_t field, int16_t fallback, std::string_view joined, std::string_view key) {
    if (field == fallback)
        return;
    const std::optional<int16_t> stated = IntegerSetting(SettingValue(joined, key));
    FUZZ_CHECK(stated && *stated == field);
}

bool IsFlag(Flag flag) {
    return flag.Raw() == 0 || flag.Raw() == -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    AppState& state = Record();
    const int16_t applet = state.Applet, quality = state.Quality, formula = state.Formula,
                  speed = state.Speed;
    const std::string joined = JoinSettingsFields({reinterpret_cast<const char*>(data), size});
    const bool complete = Applied(joined, state);

    FUZZ_CHECK(state.Applet >= 0 && state.Applet < AppletCount);
    FUZZ_CHECK(state.Quality >= 0 && state.Quality <= 2);
    FUZZ_CHECK(state.Formula >= 0 && state.Formula <= 1);
    FUZZ_CHECK(state.Speed >= 1 && state.Speed <= 5);
    FUZZ_CHECK(IsFlag(state.AutoClose) && IsFlag(state.Check));
    if (complete) {
        KeptOrTaken(state.Applet, applet, joined, "Applet");
        KeptOrTaken(state.Quality, quality, joined, "Quality");
        KeptOrTaken(state.Formula, formula, joined, "Formula");
        KeptOrTaken(state.Speed, speed, joined, "Speed");
    }

    static AppState reread;
    SetSettingDefaults(reread);
    FUZZ_CHECK(Applied(JoinSettingsFields(SettingsFileText(state)), reread));
    FUZZ_CHECK(reread.Mode == state.Mode && reread.Applet == state.Applet &&
               reread.ScanCol == state.ScanCol && reread.Quality == state.Quality &&
               reread.Formula == state.Formula && reread.AutoClose == state.AutoClose &&
               reread.Speed == state.Speed && reread.Check == state.Check);
    return 0;
}
