#pragma once
// The options dialog's logic: loading its controls from the settings, OK and Cancel.

#include <cstdint>

namespace inkrelay {

struct AppState;
struct Program;

// The dialog's control values: two list indexes, two check boxes (1 ticked, 0 empty), the slider.
struct OptionsControls {
    int16_t Combo1Index = 0;  // quality
    int16_t Combo2Index = 0;  // method
    int16_t Check1 = 0;       // auto-close
    int16_t Check2 = 0;       // verify
    int16_t Slider1 = 5;      // speed, 1 .. 5
    friend bool operator==(const OptionsControls&, const OptionsControls&) = default;
};

inline constexpr const char* RestoreSettingsChangedMessage =
    "復元に関する設定が変更されました。\rこの変更を有効にするため、再度読み取りを行ってください。";

class OptionsDialogLogic {
  public:
    // Remembers the quality and method shown. A value its control cannot show raises 380.
    OptionsControls Load(const AppState& state);
    // Stores the values, drops a read made with other restore settings, writes the settings
    // file and updates the main window. The caller hides the dialog afterwards.
    void Ok(Program& program, const OptionsControls& controls);

    int16_t RememberedQuality() const { return rememberedQuality_; }
    int16_t RememberedMethod() const { return rememberedMethod_; }

  private:
    int16_t rememberedQuality_ = 0;
    int16_t rememberedMethod_ = 0;
};

}  // namespace inkrelay
