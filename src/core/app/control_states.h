#pragma once
// The rules that turn the state record into every control's state and the status text.

#include <cstdint>
#include <optional>
#include <string>

namespace inkrelay {

struct AppState;
struct Program;

enum class SelectedOption { None, Option1, Option2 };

// What the rules read from the windows rather than from the state record.
struct ControlInputs {
    bool ClipboardHasBitmap = false;
    bool ImageWindowVisible = false;
    SelectedOption Selected = SelectedOption::Option1;  // before the rules bring it in line
};

struct SwatchColour {
    bool ButtonFace = true;  // the system button-face colour
    int32_t Colour = 0;      // otherwise this 0x00BBGGRR colour
    friend bool operator==(const SwatchColour&, const SwatchColour&) = default;
};

// Every field left empty keeps its control as it is: an option value or list index while busy,
// the status text when no line of its table matches, and everything from a failed step on.
struct ControlStates {
    std::optional<bool> FileOpen, FileExit, EditPaste, EditSelectAll, EditSelectSquare,
        EditCancelSelection, ViewImageWindow, Option1Enabled, Option2Enabled;
    std::optional<SwatchColour> Picture1Back;
    std::optional<bool> Option1Value, Option2Value;
    std::optional<bool> Combo1Enabled;
    std::optional<int16_t> Combo1Index;
    std::optional<bool> Command1, Command2, Command3, Command4, Command5, Command6;
    std::optional<std::string> Text1, Text2, Text3, Text4;
    std::optional<std::string> StatusText;
    // Non-zero when a step failed; that step and the ones after it are left empty.
    int32_t ErrorCode = 0;
};

inline constexpr const char* NoCoordinates = "(---,---)";

ControlStates ComputeControlStates(const AppState& state, const ControlInputs& inputs);

// Observes the windows, computes the states, applies them; a failed step goes to ReportError
// after the steps before it were applied.
void UpdateControls(Program& program);

}  // namespace inkrelay
